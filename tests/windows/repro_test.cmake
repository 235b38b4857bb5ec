# Builds the sources a second time, copied into another folder, in a build
# tree of its own, and compares the programs and both zips with this tree's,
# to the byte. The two share only the toolchain; both zips are dated by the
# same SOURCE_DATE_EPOCH (the last commit's time, unless it is set).
#   cmake -DBUILD=<build/win> -DSOURCE=<sources> -DVERSION=<version> -P repro_test.cmake
set(work ${BUILD}/repro)
set(copy ${work}/sources)
set(tree ${work}/build)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${SOURCE} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
# The sources: every file but the build trees and git's; a file is copied
# only where it differs, so a second run builds only what changed.
file(GLOB entries RELATIVE ${SOURCE} LIST_DIRECTORIES true ${SOURCE}/* ${SOURCE}/.[!.]*)
list(REMOVE_ITEM entries build .git)
set(files)
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY ${SOURCE}/${entry})
    file(GLOB_RECURSE inside RELATIVE ${SOURCE} ${SOURCE}/${entry}/*)
    list(APPEND files ${inside})
  else()
    list(APPEND files ${entry})
  endif()
endforeach()
foreach(file IN LISTS files)
  if(file AND EXISTS ${SOURCE}/${file} AND NOT IS_DIRECTORY ${SOURCE}/${file})
    get_filename_component(folder ${copy}/${file} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(COPY_FILE ${SOURCE}/${file} ${copy}/${file} ONLY_IF_DIFFERENT)
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${copy} -B ${tree} --toolchain ${copy}/cmake/mingw-i686.cmake
                        -DCMAKE_BUILD_TYPE=Release -DFILEPICK_SIGN_PKCS12= -DFILEPICK_SIGN_PASSWORD_FILE=
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
set(programs filepick.exe filepick-host.exe windows_tests.exe exchange_host.exe module_host.exe)
# Linked anew: a signed run before may have left signed ones.
list(TRANSFORM programs PREPEND ${tree}/ OUTPUT_VARIABLE stale)
file(REMOVE ${stale} ${tree}/SHA256SUMS)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${tree} --target checksums windows_tests exchange_host
                        module_host
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the second build failed:\n${log}")
endif()
set(builds ${BUILD} ${tree})
set(sources ${SOURCE} ${copy})
foreach(zip release-zip test-kit)
  foreach(build source IN ZIP_LISTS builds sources)
    execute_process(COMMAND ${CMAKE_COMMAND} -DBUILD=${build} -DSOURCE=${source} -DVERSION=${VERSION}
                            -P ${source}/cmake/${zip}.cmake
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endforeach()
set(differ)
foreach(file ${programs} filepick-${VERSION}-win32.zip filepick-${VERSION}-win32-tests.zip)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILD}/${file} ${tree}/${file}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(APPEND differ ${file})
  endif()
endforeach()
if(differ)
  message(FATAL_ERROR "two builds of the same sources differ in: ${differ} (${BUILD}, ${tree})")
endif()
file(SHA256 ${BUILD}/filepick-${VERSION}-win32.zip sum)
message(STATUS "two builds, the same bytes; the release zip's SHA-256: ${sum}")
