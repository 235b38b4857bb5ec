# Native build: the portable code under AddressSanitizer and UBSan, and its
# unit tests.
option(FILEPICK_SANITIZE "Build with AddressSanitizer and UBSan" ON)
if(FILEPICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra)

add_library(filepick_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(filepick_portable PUBLIC src include)

if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/native)
endif()
