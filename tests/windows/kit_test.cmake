# Makes the test kit, unpacks it into a fresh folder and runs its
# run-tests.cmd there through Wine's cmd, as Windows runs it: the kit must
# hold all it needs. FILEPICK_TESTS_PLATFORM=windows makes the test program
# clean up with Win32, as on Windows, wherever Wine behaves as Windows does.
#   cmake -DBUILD=<build/win> -DSOURCE=<sources> -DVERSION=<version> -P kit_test.cmake
set(name filepick-${VERSION}-win32-tests)
set(work ${BUILD}/kit-test)
execute_process(COMMAND ${CMAKE_COMMAND} -DBUILD=${BUILD} -DSOURCE=${SOURCE} -DVERSION=${VERSION}
                        -P ${SOURCE}/cmake/test-kit.cmake
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${BUILD}/${name}.zip WORKING_DIRECTORY ${work})
file(GLOB unpacked RELATIVE ${work}/${name} ${work}/${name}/*)
list(SORT unpacked)
if(NOT unpacked STREQUAL
   "LICENSE.txt;README-tests.txt;SHA256SUMS;exchange_host.exe;filepick-host.exe;filepick.exe;module_host.exe;run-tests.cmd;windows_tests.exe")
  message(FATAL_ERROR "the kit holds: ${unpacked}")
endif()
file(READ ${work}/${name}/run-tests.cmd script HEX)
if(NOT script MATCHES "0d0a$")
  message(FATAL_ERROR "run-tests.cmd has no CRLF line ends")
endif()
# In a prefix of its own, as made by plain wineboot: COM1 and LPT1 are
# Wine's devices there, with no stand-ins.
execute_process(COMMAND ${CMAKE_COMMAND} -E env FILEPICK_TESTS_PLATFORM=windows
                        FILEPICK_WINEPREFIX=${BUILD}/wineprefix-kit FILEPICK_PREFIX_DEVICES=wine
                        ${BUILD}/wine-run cmd /c run-tests.cmd
                WORKING_DIRECTORY ${work}/${name}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
file(WRITE ${work}/run-tests.log "${output}${errors}")
# The rows that did not run, and why: gtest prints each reason after
# "Skipped", and the row's name after it (list items: no semicolons).
string(REPLACE ";" "," listed "${output}")
string(REGEX MATCHALL ": Skipped\r?\n[^\r\n]*" reasons "${listed}")
string(REGEX MATCHALL "\\[  SKIPPED \\] [^ \r\n]+ \\([0-9]+ ms\\)" names "${listed}")
foreach(reason row IN ZIP_LISTS reasons names)
  string(REGEX REPLACE "^: Skipped\r?\n" "" reason "${reason}")
  string(REGEX REPLACE "^\\[  SKIPPED \\] ([^ ]+).*" "\\1" row "${row}")
  message(STATUS "skipped ${row}: ${reason}")
endforeach()
# Under Wine the token is elevated: the run is named so.
if(NOT status EQUAL 0 OR NOT output MATCHES "run-tests: passed" OR
   NOT EXISTS ${work}/${name}/results-elevated.xml)
  message(FATAL_ERROR "run-tests.cmd: status ${status}\n${output}\n${errors}")
endif()
# The kit leaves in C:\ only what README-tests.txt names (C:\filepick-tests).
file(GLOB left RELATIVE ${BUILD}/wineprefix-kit/drive_c ${BUILD}/wineprefix-kit/drive_c/*)
list(REMOVE_ITEM left "Program Files" "Program Files (x86)" ProgramData users windows filepick-tests)
if(left)
  message(FATAL_ERROR "the kit left in C:\\: ${left}")
endif()
string(REGEX MATCH "\\[  PASSED  \\] [0-9]+ tests" passed "${output}")
message(STATUS "${name}.zip, run as on Windows: ${passed}")
# A test program that ends before it writes its results, with status 0 (as
# one ended from outside under Wine reports): run-tests.cmd fails all the
# same, though the results of the run before are still there.
file(COPY_FILE ${BUILD}/floor_exit.exe ${work}/${name}/windows_tests.exe)
execute_process(COMMAND ${CMAKE_COMMAND} -E env FILEPICK_WINEPREFIX=${BUILD}/wineprefix-kit
                        ${BUILD}/wine-run cmd /c run-tests.cmd
                WORKING_DIRECTORY ${work}/${name}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(status EQUAL 0 OR NOT output MATCHES "run-tests: FAILED: the test program ended before it wrote its results")
  message(FATAL_ERROR "run-tests.cmd after a test program that ended early: status ${status}\n${output}\n${errors}")
endif()
