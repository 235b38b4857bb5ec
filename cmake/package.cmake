# The release package: cmake --build build/win --target package gives
# filepick-<version>-win32.zip with both programs, the user's README.txt,
# the SHA-256 sums of the programs, and sdk/ (the header and the sample host).
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/SHA256SUMS
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${CMAKE_BINARY_DIR}/SHA256SUMS
          -P ${PROJECT_SOURCE_DIR}/cmake/sha256sums.cmake
          $<TARGET_FILE:filepick> $<TARGET_FILE:filepick-host>
  DEPENDS filepick filepick-host ${PROJECT_SOURCE_DIR}/cmake/sha256sums.cmake
  COMMENT "Listing the programs' SHA-256 sums")
add_custom_target(checksums ALL DEPENDS ${CMAKE_BINARY_DIR}/SHA256SUMS)

# The user's README, with Windows' line ends (the developer README stays
# in the sources).
configure_file(${PROJECT_SOURCE_DIR}/resources/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(TARGETS filepick filepick-host RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/SHA256SUMS DESTINATION .)
# For the debugger's developers: the public header and the sample host.
install(FILES ${PROJECT_SOURCE_DIR}/include/filepick.h ${PROJECT_SOURCE_DIR}/examples/host/exchange_host.c
              ${PROJECT_SOURCE_DIR}/examples/host/module_host.c DESTINATION sdk)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME filepick)
set(CPACK_PACKAGE_FILE_NAME filepick-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
