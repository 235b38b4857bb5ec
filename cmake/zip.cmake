# Zips a folder so that every build of the same sources gives the same
# bytes: its files in sorted order, each dated SOURCE_DATE_EPOCH (from the
# environment; else the last commit's time; never before 1980, which a zip
# cannot date), and none of the extra fields that hold access and change
# times or owners (zip -X). Times are written in UTC. Its SHA-256 sum goes
# beside it, in ZIP.sha256.
#   cmake -DFOLDER=<parent> -DNAME=<folder to zip> -DZIP=<file> -DSOURCE=<sources> -P zip.cmake
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${SOURCE} log -1 --format=%ct OUTPUT_VARIABLE epoch
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$" OR epoch LESS 315532800)
  set(epoch 315532800)
endif()
find_program(ZIP_PROGRAM zip REQUIRED)
file(GLOB_RECURSE files RELATIVE ${FOLDER} ${FOLDER}/${NAME}/*)
list(SORT files)
execute_process(COMMAND touch -h -d @${epoch} ${files} WORKING_DIRECTORY ${FOLDER}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP_PROGRAM} -X -D -q ${ZIP} ${files}
                WORKING_DIRECTORY ${FOLDER} COMMAND_ERROR_IS_FATAL ANY)
# Its sum, published beside it: what a user checks before unpacking.
file(SHA256 ${ZIP} sum)
get_filename_component(zipName ${ZIP} NAME)
file(WRITE ${ZIP}.sha256 "${sum}  ${zipName}\n")
