# Each program carries a version resource and the application manifest,
# generated from resources/program.rc.in. A malformed manifest stops a
# program from starting on Windows, so the build checks it first.
find_program(XMLLINT xmllint REQUIRED)
set(MANIFEST ${PROJECT_SOURCE_DIR}/resources/filepick.manifest)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/manifest.checked
  COMMAND ${XMLLINT} --noout ${MANIFEST}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/manifest.checked
  DEPENDS ${MANIFEST}
  COMMENT "Checking the application manifest")
add_custom_target(manifest_check DEPENDS ${CMAKE_BINARY_DIR}/manifest.checked)

function(filepick_program_resources target description)
  set(PROGRAM_NAME ${target})
  set(PROGRAM_FILE ${target}.exe)
  set(PROGRAM_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/${target}-program.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${MANIFEST})
  add_dependencies(${target} manifest_check)
endfunction()
