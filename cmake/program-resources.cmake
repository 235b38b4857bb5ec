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
# A requested execution level switches UAC file virtualization off for the
# program, while it stays on for a legacy host without one: the two would
# see different files at C:\FILE. Checked whenever the manifest changes.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MANIFEST})
file(READ ${MANIFEST} manifest_text)
if(manifest_text MATCHES "<[A-Za-z0-9_.:]*(trustInfo|requestedExecutionLevel)")
  message(FATAL_ERROR "${MANIFEST} requests an execution level: "
          "filepick must be virtualized exactly when its host is")
endif()

function(filepick_program_resources target description)
  set(PROGRAM_NAME ${target})
  set(PROGRAM_FILE ${target}.exe)
  set(PROGRAM_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/${target}-program.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/program.rc.in ${rc} @ONLY)
  # Without a requested execution level, Windows' installer detection asks
  # for elevation when a 32-bit program's file name or version strings hold
  # words such as these.
  file(STRINGS ${rc} strings REGEX "^ *VALUE \"[A-Za-z]+\", \"")
  string(TOLOWER "${PROGRAM_FILE} ${strings}" words)
  if(words MATCHES "install|setup|update|patch")
    message(FATAL_ERROR "${PROGRAM_FILE} would be taken for an installer: ${strings}")
  endif()
  target_sources(${target} PRIVATE ${rc})
  # In the target's own directory: source properties are per directory,
  # and a program of another one would keep a stale manifest.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${MANIFEST})
  add_dependencies(${target} manifest_check)
endfunction()
