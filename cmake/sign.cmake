# Signs programs in place with Authenticode (osslsigncode, SHA-256), with
# the certificate and key of a PKCS#12 file whose password osslsigncode
# reads from a file itself: the password is on no command line and in no
# log. A signature the file already has is replaced.
#   cmake -DPKCS12=<file.p12> -DPASSWORD_FILE=<file> [-DTIMESTAMP_URL=<url>]
#         -P sign.cmake PROGRAM...
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
set(timestamp)
if(TIMESTAMP_URL)
  set(timestamp -ts ${TIMESTAMP_URL})
endif()
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 1 ${last})
  if(NOT CMAKE_ARGV${i} STREQUAL "-P")
    continue()
  endif()
  math(EXPR first "${i} + 2")
endforeach()
foreach(i RANGE ${first} ${last})
  set(file "${CMAKE_ARGV${i}}")
  execute_process(COMMAND ${OSSLSIGNCODE} remove-signature -in ${file} -out ${file}.unsigned
                  RESULT_VARIABLE unsigned OUTPUT_QUIET ERROR_QUIET)
  if(unsigned EQUAL 0)
    file(RENAME ${file}.unsigned ${file})
  endif()
  file(REMOVE ${file}.unsigned ${file}.signed)
  execute_process(COMMAND ${OSSLSIGNCODE} sign -pkcs12 ${PKCS12} -readpass ${PASSWORD_FILE} -h sha256
                          -n filepick ${timestamp} -in ${file} -out ${file}.signed
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "osslsigncode could not sign ${file}:\n${output}")
  endif()
  file(RENAME ${file}.signed ${file})
  message(STATUS "signed ${file}")
endforeach()
