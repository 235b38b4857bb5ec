# The release package: cmake --build build/win --target package gives
# filepick-<version>-win32.zip (cmake/release-zip.cmake), the same to the
# byte from every build of the same commit.
#
# With a code-signing certificate, -DFILEPICK_SIGN_PKCS12=<file.p12>
# -DFILEPICK_SIGN_PASSWORD_FILE=<file> (and, if wanted,
# -DFILEPICK_SIGN_TIMESTAMP_URL=<an RFC 3161 time-stamp server>) sign the
# programs before their sums are made: both programs here, the test program
# and the sample host in the test kit. Without, nothing is signed.
set(FILEPICK_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file of the code-signing certificate and key")
set(FILEPICK_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the PKCS#12 file's password")
set(FILEPICK_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server for the signatures")
set(SIGN_ARGUMENTS)
if(FILEPICK_SIGN_PKCS12)
  if(NOT FILEPICK_SIGN_PASSWORD_FILE)
    message(FATAL_ERROR "FILEPICK_SIGN_PKCS12 needs FILEPICK_SIGN_PASSWORD_FILE, the file holding its password")
  endif()
  set(SIGN_ARGUMENTS -DPKCS12=${FILEPICK_SIGN_PKCS12} -DPASSWORD_FILE=${FILEPICK_SIGN_PASSWORD_FILE}
                     -DTIMESTAMP_URL=${FILEPICK_SIGN_TIMESTAMP_URL})
endif()

# Signs the files (a list) when a certificate is given: the commands for a
# custom command, into the variable out.
function(filepick_sign_commands out)
  set(commands)
  if(SIGN_ARGUMENTS)
    set(commands COMMAND ${CMAKE_COMMAND} ${SIGN_ARGUMENTS} -P ${PROJECT_SOURCE_DIR}/cmake/sign.cmake
                         ${ARGN})
  endif()
  set(${out} ${commands} PARENT_SCOPE)
endfunction()

filepick_sign_commands(sign_programs $<TARGET_FILE:filepick> $<TARGET_FILE:filepick-host>)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/SHA256SUMS
  ${sign_programs}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${CMAKE_BINARY_DIR}/SHA256SUMS
          -P ${PROJECT_SOURCE_DIR}/cmake/sha256sums.cmake
          $<TARGET_FILE:filepick> $<TARGET_FILE:filepick-host>
  DEPENDS filepick filepick-host ${PROJECT_SOURCE_DIR}/cmake/sha256sums.cmake
  COMMENT "Signing where a certificate is given, then listing the programs' SHA-256 sums")
add_custom_target(checksums ALL DEPENDS ${CMAKE_BINARY_DIR}/SHA256SUMS)

# The user's README, with Windows' line ends (the developer README stays
# in the sources).
configure_file(${PROJECT_SOURCE_DIR}/resources/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
# (A tree that CPack made the package in before keeps CPack's files, which
# would reserve the target's name.)
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
add_custom_target(package
  COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DSOURCE=${PROJECT_SOURCE_DIR}
          -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/release-zip.cmake
  DEPENDS checksums)
