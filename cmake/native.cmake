# Native build: the portable code under AddressSanitizer and UBSan, its
# unit tests, and (with clang) the fuzz targets.
option(FILEPICK_SANITIZE "Build with AddressSanitizer and UBSan" ON)
if(FILEPICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra)

add_library(filepick_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(filepick_portable PUBLIC src)

if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/native)
endif()

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(fuzz_default ON)
else()
  set(fuzz_default OFF)
endif()
option(FILEPICK_FUZZ "Build the libFuzzer targets (needs clang)" ${fuzz_default})
if(FILEPICK_FUZZ)
  add_subdirectory(tests/fuzz)
endif()
