# Makes the release package, unpacks it, checks what it holds, and runs the
# unpacked programs under Wine.
#   cmake -DBUILD=<build/win> -DSOURCE=<sources> -DVERSION=<version> -P package_test.cmake
set(name filepick-${VERSION}-win32)
set(work ${BUILD}/package-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${CMAKE_COMMAND} -DBUILD=${BUILD} -DSOURCE=${SOURCE} -DVERSION=${VERSION}
                        -P ${SOURCE}/cmake/release-zip.cmake
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0 OR NOT EXISTS ${BUILD}/${name}.zip)
  message(FATAL_ERROR "release-zip.cmake made no ${name}.zip (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${BUILD}/${name}.zip
                WORKING_DIRECTORY ${work})
file(GLOB_RECURSE unpacked RELATIVE ${work}/${name} ${work}/${name}/*)
list(SORT unpacked)
if(NOT unpacked STREQUAL
   "LICENSE.txt;README.txt;SHA256SUMS;filepick-host.exe;filepick.exe;sdk/exchange_host.c;sdk/filepick.h;sdk/module_host.c")
  message(FATAL_ERROR "the package holds: ${unpacked}")
endif()
# The README a Windows user reads: Windows' line ends, and how to install.
# (file(READ) drops carriage returns: the line ends are counted in hex, of
# an ASCII text, where "0a" and "0d0a" stand only for whole bytes.)
file(READ ${work}/${name}/README.txt readme)
file(READ ${work}/${name}/README.txt bytes HEX)
string(REGEX MATCHALL "0a" ends "${bytes}")
string(REGEX MATCHALL "0d0a" crlf "${bytes}")
list(LENGTH ends lines)
list(LENGTH crlf windowsLines)
foreach(words "Copy filepick.exe into that folder" "Keep the helper" "certutil -hashfile"
              "Get-FileHash" "removes any C:\\\\FILE" "--doctor" "sdk\\\\filepick.h")
  if(NOT readme MATCHES "${words}")
    message(FATAL_ERROR "README.txt does not say \"${words}\"")
  endif()
endforeach()
if(lines EQUAL 0 OR NOT lines EQUAL windowsLines)
  message(FATAL_ERROR "README.txt: ${windowsLines} of ${lines} lines end in CRLF")
endif()
file(STRINGS ${work}/${name}/SHA256SUMS sums)
foreach(line IN LISTS sums)
  string(REGEX MATCH "^([0-9a-f]+)  (.+)$" line "${line}")
  file(SHA256 ${work}/${name}/${CMAKE_MATCH_2} sum)
  if(NOT sum STREQUAL CMAKE_MATCH_1)
    message(FATAL_ERROR "SHA256SUMS does not match ${CMAKE_MATCH_2}")
  endif()
endforeach()
list(LENGTH sums count)
# The zip's own sum, beside it.
file(SHA256 ${BUILD}/${name}.zip zipSum)
file(READ ${BUILD}/${name}.zip.sha256 published)
if(NOT published STREQUAL "${zipSum}  ${name}.zip\n")
  message(FATAL_ERROR "${name}.zip.sha256 does not hold the zip's sum: ${published}")
endif()
execute_process(COMMAND ${BUILD}/wine-run ${work}/${name}/filepick-host.exe --version
                OUTPUT_VARIABLE version RESULT_VARIABLE status)
execute_process(COMMAND ${BUILD}/wine-run ${work}/${name}/filepick.exe NoSuchVerb
                RESULT_VARIABLE unknown)
if(NOT count EQUAL 2 OR NOT status EQUAL 0 OR NOT version MATCHES "^filepick-host ${VERSION}"
   OR NOT unknown EQUAL 0)
  message(FATAL_ERROR "sums ${count}, --version ${status}: ${version}, unknown verb: ${unknown}")
endif()
message(STATUS "${name}.zip: ${unpacked}; ${version}")
