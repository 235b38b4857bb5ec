# The Windows test kit: filepick-<version>-win32-tests.zip holds the test
# program, the two programs it tests, the sample host's two programs, their SHA-256 sums, run-tests.cmd and
# README-tests.txt (CRLF, as Windows' tools want them).
#   cmake -DBUILD=<build/win> -DSOURCE=<sources> -DVERSION=<version> -P test-kit.cmake
set(name filepick-${VERSION}-win32-tests)
set(work ${BUILD}/test-kit)
set(dir ${work}/${name})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${dir})
set(programs ${BUILD}/windows_tests.exe ${BUILD}/filepick.exe ${BUILD}/filepick-host.exe
             ${BUILD}/exchange_host.exe ${BUILD}/module_host.exe)
file(COPY ${programs} DESTINATION ${dir})
foreach(text run-tests.cmd README-tests.txt)
  configure_file(${SOURCE}/tests/windows/kit/${text} ${dir}/${text} @ONLY NEWLINE_STYLE CRLF)
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -DOUTPUT=${dir}/SHA256SUMS
                        -P ${SOURCE}/cmake/sha256sums.cmake ${programs}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${BUILD}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${BUILD}/${name}.zip --format=zip ${name}
                WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "made ${BUILD}/${name}.zip")
