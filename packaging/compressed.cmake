# quorla_gzip(SOURCE OUTPUT_VARIABLE): SOURCE gzipped into the build tree at
# build time, at the highest compression and without the name or the time
# (gzip -9n), so that the same source always gives the same bytes; Debian
# wants its changelogs and manual pages so. OUTPUT_VARIABLE names the file.
include_guard(GLOBAL)
find_program(QUORLA_GZIP gzip REQUIRED)

function(quorla_gzip source output_variable)
  get_filename_component(name ${source} NAME)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(copy ${CMAKE_BINARY_DIR}/compressed/${folder}/${name})
  configure_file(${source} ${copy} COPYONLY)
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${QUORLA_GZIP} -9nkf ${copy}
    DEPENDS ${copy}
    COMMENT "Compressing ${name}"
    VERBATIM)
  set(${output_variable} ${copy}.gz PARENT_SCOPE)
endfunction()
