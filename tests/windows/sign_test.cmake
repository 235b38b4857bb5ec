# Signs the second build tree (win.Reproducible's) with a throwaway
# certificate through the build's own options, then checks: a valid SHA-256
# signature by that certificate on both programs and on the kit's test
# program; SHA256SUMS holding the signed files' sums; the signed package
# passing the package test; the password in no build output; and the
# signature removed, the very bytes of the unsigned build (as README.md
# tells users to check).
#   cmake -DBUILD=<build/win> -DVERSION=<version> -P sign_test.cmake
cmake_policy(VERSION 3.20)
set(work ${BUILD}/repro)
set(copy ${work}/sources)
set(tree ${work}/build)
set(keys ${work}/signer)
find_program(OPENSSL openssl REQUIRED)
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
file(REMOVE_RECURSE ${keys})
file(MAKE_DIRECTORY ${keys})
string(RANDOM LENGTH 24 password)
file(WRITE ${keys}/password.txt "${password}")
execute_process(COMMAND ${OPENSSL} req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=filepick test signer"
                        -keyout ${keys}/key.pem -out ${keys}/cert.pem
                COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${OPENSSL} pkcs12 -export -inkey ${keys}/key.pem -in ${keys}/cert.pem
                        -out ${keys}/signer.p12 -passout file:${keys}/password.txt
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} ${tree} -DFILEPICK_SIGN_PKCS12=${keys}/signer.p12
                        -DFILEPICK_SIGN_PASSWORD_FILE=${keys}/password.txt
                OUTPUT_VARIABLE log ERROR_VARIABLE log COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${tree}/filepick.exe ${tree}/filepick-host.exe ${tree}/SHA256SUMS)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${tree} --target package test-kit --verbose
                OUTPUT_VARIABLE build ERROR_VARIABLE build RESULT_VARIABLE status)
string(APPEND log "${build}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the signed build failed:\n${log}")
endif()
string(FIND "${log}" "${password}" leaked)
if(NOT leaked EQUAL -1)
  message(FATAL_ERROR "the certificate's password shows in the build's output")
endif()
set(kit ${tree}/test-kit/filepick-${VERSION}-win32-tests)
foreach(program ${tree}/filepick.exe ${tree}/filepick-host.exe ${kit}/windows_tests.exe)
  execute_process(COMMAND ${OSSLSIGNCODE} verify -in ${program} -CAfile ${keys}/cert.pem
                  OUTPUT_VARIABLE verified ERROR_VARIABLE verified RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT verified MATCHES "Signature verification: ok" OR
     NOT verified MATCHES "SHA256" OR NOT verified MATCHES "filepick test signer")
    message(FATAL_ERROR "${program}: no valid SHA-256 signature by the test signer:\n${verified}")
  endif()
endforeach()
file(STRINGS ${tree}/SHA256SUMS sums)
foreach(program filepick.exe filepick-host.exe)
  file(SHA256 ${tree}/${program} sum)
  if(NOT "${sum}  ${program}" IN_LIST sums)
    message(FATAL_ERROR "SHA256SUMS does not hold the signed ${program}'s sum")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -DBUILD=${tree} -DSOURCE=${copy} -DVERSION=${VERSION}
                        -P ${copy}/tests/windows/package_test.cmake
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the signed package fails the package test:\n${output}")
endif()
foreach(program filepick.exe filepick-host.exe)
  execute_process(COMMAND ${OSSLSIGNCODE} remove-signature -in ${tree}/${program}
                          -out ${keys}/${program} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILD}/${program} ${keys}/${program}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${program} without its signature is not the unsigned build's")
  endif()
endforeach()
message(STATUS "signed, verified, summed, packaged; unsigned again, the unsigned build's bytes")
