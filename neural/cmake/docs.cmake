# The API reference, from the installed headers, with Doxygen: the target
# neural_docs (`make docs`) builds it into docs/html, failing on any warning;
# the install takes it when it has been built.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  return()
endif()
set(neural_docs_dir ${CMAKE_CURRENT_BINARY_DIR}/docs)
set(neural_include_dir ${CMAKE_CURRENT_LIST_DIR}/../include)
set(neural_docs_mainpage ${CMAKE_CURRENT_LIST_DIR}/../docs/mainpage.md)
file(GLOB neural_docs_headers ${neural_include_dir}/neural/*.h)
list(FILTER neural_docs_headers EXCLUDE REGEX "/(safe_save|regular_file)\\.h$")
list(JOIN neural_docs_headers " " neural_docs_inputs)
string(APPEND neural_docs_inputs " ${neural_docs_mainpage}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/../docs/Doxyfile.in ${neural_docs_dir}/Doxyfile @ONLY)
add_custom_target(neural_docs
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${neural_docs_dir}/html
  COMMAND ${DOXYGEN_EXECUTABLE} ${neural_docs_dir}/Doxyfile
  WORKING_DIRECTORY ${neural_docs_dir}
  COMMENT "The neural API reference into ${neural_docs_dir}/html")
install(DIRECTORY ${neural_docs_dir}/html/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/neural/html
  COMPONENT neural OPTIONAL)
