# The Windows test kit: filepick-<version>-win32-tests.zip holds the test
# program, the two programs it tests, the sample host's two programs, their SHA-256 sums, run-tests.cmd and
# README-tests.txt (CRLF, as Windows' tools want them).
#   cmake -DBUILD=<build/win> -DSOURCE=<sources> -DVERSION=<version> [signing] -P test-kit.cmake
set(name filepick-${VERSION}-win32-tests)
set(work ${BUILD}/test-kit)
set(dir ${work}/${name})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${dir})
set(programs ${BUILD}/windows_tests.exe ${BUILD}/filepick.exe ${BUILD}/filepick-host.exe
             ${BUILD}/exchange_host.exe ${BUILD}/module_host.exe)
file(COPY ${programs} DESTINATION ${dir})
# Signed where the build signs (PKCS12, PASSWORD_FILE, TIMESTAMP_URL, as
# cmake/sign.cmake takes them): the test program and the sample host here;
# filepick and filepick-host come signed.
if(PKCS12)
  execute_process(COMMAND ${CMAKE_COMMAND} -DPKCS12=${PKCS12} -DPASSWORD_FILE=${PASSWORD_FILE}
                          -DTIMESTAMP_URL=${TIMESTAMP_URL} -P ${SOURCE}/cmake/sign.cmake
                          ${dir}/windows_tests.exe ${dir}/exchange_host.exe ${dir}/module_host.exe
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
list(TRANSFORM programs REPLACE "^.*/" "${dir}/")
foreach(text run-tests.cmd README-tests.txt)
  configure_file(${SOURCE}/tests/windows/kit/${text} ${dir}/${text} @ONLY NEWLINE_STYLE CRLF)
endforeach()
configure_file(${SOURCE}/LICENSE ${dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
execute_process(COMMAND ${CMAKE_COMMAND} -DOUTPUT=${dir}/SHA256SUMS
                        -P ${SOURCE}/cmake/sha256sums.cmake ${programs}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -DFOLDER=${work} -DNAME=${name} -DZIP=${BUILD}/${name}.zip
                        -DSOURCE=${SOURCE} -P ${SOURCE}/cmake/zip.cmake
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "made ${BUILD}/${name}.zip")
