# The release package, filepick-<version>-win32.zip: both programs (signed
# where the build signs), the user's README.txt, the licence, the programs'
# SHA-256 sums, and sdk/ (the public header and the sample host); its own
# sum beside it.
#   cmake -DBUILD=<build/win> -DSOURCE=<sources> -DVERSION=<version> -P release-zip.cmake
set(name filepick-${VERSION}-win32)
set(work ${BUILD}/release)
set(dir ${work}/${name})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${dir}/sdk)
file(COPY ${BUILD}/filepick.exe ${BUILD}/filepick-host.exe ${BUILD}/README.txt ${BUILD}/SHA256SUMS
     DESTINATION ${dir})
configure_file(${SOURCE}/LICENSE ${dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
file(COPY ${SOURCE}/include/filepick.h ${SOURCE}/examples/host/exchange_host.c
          ${SOURCE}/examples/host/module_host.c DESTINATION ${dir}/sdk)
execute_process(COMMAND ${CMAKE_COMMAND} -DFOLDER=${work} -DNAME=${name} -DZIP=${BUILD}/${name}.zip
                        -DSOURCE=${SOURCE} -P ${SOURCE}/cmake/zip.cmake
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "made ${BUILD}/${name}.zip")
