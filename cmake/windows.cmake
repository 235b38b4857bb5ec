# The Windows build: filepick.exe, the host companion filepick-host.exe and
# the Windows-side tests, which run under Wine (cmake/wine-run.sh.in).
enable_language(RC)

# Size-optimised, no exceptions or RTTI, statically linked: the programs
# import only Windows system DLLs and the C runtime DLL.
set(PRODUCT_COMPILE_OPTIONS -Os -fno-exceptions -fno-rtti -Wall -Wextra
    -ffunction-sections -fno-asynchronous-unwind-tables)
set(STATIC_LINK_OPTIONS -static -static-libgcc -static-libstdc++)

# Reproducible images: the same bytes from every build of the same sources,
# wherever they lie. No time stamp (the PE header's and the export
# directory's are 0; the linker computes the checksum over the rest), and
# the source and build folders mapped out of the file names the code holds
# (GoogleTest's, for one).
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>")
add_link_options(-Wl,--no-insert-timestamp)

# All programs side by side: the host tool finds filepick.exe beside itself.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_library(filepick_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(filepick_portable PUBLIC src include resources)
target_compile_options(filepick_portable PRIVATE ${PRODUCT_COMPILE_OPTIONS})

# The common dialog library, USER32 and ADVAPI32 (asked only where a move
# of the reply was refused) are delay-imported: loaded when first called
# (a dialog's first showing), so a run without one (an unknown verb, no request)
# starts and ends as fast as a program without them. Their import libraries
# are made from the functions called (cmake/delay-import/*.def), and only
# filepick.exe links them: a program that also imports USER32 as usual
# would find its import slots there.
foreach(dll comdlg32 user32 advapi32)
  set(def ${PROJECT_SOURCE_DIR}/cmake/delay-import/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/lib${dll}-delay.a)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  execute_process(COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --output-delaylib ${lib}
                  COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND DELAY_IMPORTS ${lib})
endforeach()

add_library(filepick_core STATIC
  src/entry/dispatch.cpp
  src/exchange/exchange.cpp
  src/exchange/file_ops_win32.cpp
  src/exchange/virtual_store.cpp
  src/dialog_support/chosen_file.cpp
  src/dialog_support/code_page.cpp
  src/dialog_support/file_dialog.cpp
  src/dialog_support/replies.cpp
  src/dialog_support/warning.cpp
  src/debug_file/load_dialog.cpp
  src/debug_file/do_load_debug_file.cpp
  src/dump_module/dump_file.cpp
  src/dump_module/module_list.cpp)
target_include_directories(filepick_core PUBLIC src)
target_compile_options(filepick_core PRIVATE ${PRODUCT_COMPILE_OPTIONS})
# Declared without dllimport, the calls name the delay-import stubs: GNU ld
# discards a stub that only the import slot points to, and the first call
# would jump to 0.
target_compile_definitions(filepick_core PRIVATE WINUSERAPI= WINCOMMDLGAPI= WINADVAPI=)
target_link_libraries(filepick_core PUBLIC filepick_portable kernel32)

include(cmake/program-resources.cmake)

add_executable(filepick WIN32 src/entry/main.cpp resources/filepick.rc)
filepick_program_resources(filepick "File chooser of the 8051 debugger")
target_compile_options(filepick PRIVATE ${PRODUCT_COMPILE_OPTIONS})
# The exported routines live in the library: take all of it. Keep the
# relocation table, since a host may load the program as a module.
target_link_libraries(filepick PRIVATE
  -Wl,--whole-archive filepick_core filepick_portable -Wl,--no-whole-archive
  ${DELAY_IMPORTS} kernel32)
# The .def file names the exports as hosts look them up.
target_link_options(filepick PRIVATE ${STATIC_LINK_OPTIONS}
  ${PROJECT_SOURCE_DIR}/src/filepick.def
  -Wl,--gc-sections -Wl,--dynamicbase -Wl,--enable-reloc-section
  $<$<CONFIG:Release,MinSizeRel>:-s>)

add_subdirectory(driver)
add_subdirectory(host)
filepick_program_resources(filepick-host "Host companion of filepick")
add_subdirectory(bench)
add_subdirectory(examples/host)
include(cmake/package.cmake)

if(BUILD_TESTING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/windows)
endif()
