# Installs the library for other projects: the shared object with its links,
# the public headers, the examples, a CMake package (neural::neural) and a
# pkg-config file. Everything is found relative to where it lies, so an
# installed tree can be moved. All of it is the "neural" component.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(neural_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/neural)
set(neural_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/neural)
set(neural_dir ${CMAKE_CURRENT_LIST_DIR}/..)

install(TARGETS neural EXPORT neuralTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT neural
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The headers of the game's own file handling (safe saving, the regular-file
# check) are the library's helpers, not part of what it offers.
install(DIRECTORY ${neural_dir}/include/neural
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT neural
  FILES_MATCHING PATTERN "*.h"
  PATTERN "safe_save.h" EXCLUDE PATTERN "regular_file.h" EXCLUDE)
install(DIRECTORY ${neural_dir}/examples/
  DESTINATION ${neural_doc_dir} COMPONENT neural)

install(EXPORT neuralTargets NAMESPACE neural::
  DESTINATION ${neural_cmake_dir} COMPONENT neural)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/neuralConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/neuralConfig.cmake
  INSTALL_DESTINATION ${neural_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/neuralConfigVersion.cmake
  VERSION ${neural_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/neuralConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/neuralConfigVersion.cmake
  DESTINATION ${neural_cmake_dir} COMPONENT neural)

# pkg-config finds the prefix from the .pc file's own directory.
file(RELATIVE_PATH neural_pc_to_prefix /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" neural_pc_to_prefix "${neural_pc_to_prefix}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/neural.pc.in ${CMAKE_CURRENT_BINARY_DIR}/neural.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/neural.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT neural)
