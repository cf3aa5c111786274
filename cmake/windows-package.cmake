# The Windows package: one zip with diadim.exe, the README and the example
# files, in a folder named for the version.
#
#   cmake --build --preset windows --target package
#   -> build/windows/diadim-<version>-windows.zip
set(DIADIM_PACKAGE_NAME diadim-${PROJECT_VERSION}-windows)
set(DIADIM_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package/${DIADIM_PACKAGE_NAME})
set(DIADIM_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${DIADIM_PACKAGE_NAME}.zip)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
file(GLOB_RECURSE DIADIM_EXAMPLE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*)

# The examples are copied byte for byte: they are code page 932 with CR LF,
# as the host writes its files.
add_custom_command(
  OUTPUT ${DIADIM_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${DIADIM_PACKAGE_DIR} ${DIADIM_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIADIM_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:diadim> ${PROJECT_SOURCE_DIR}/README.md
          ${DIADIM_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/examples
          ${DIADIM_PACKAGE_DIR}/examples
  COMMAND ${CMAKE_COMMAND} -E tar cf ${DIADIM_PACKAGE_ZIP} --format=zip ${DIADIM_PACKAGE_NAME}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/package
  DEPENDS diadim ${PROJECT_SOURCE_DIR}/README.md ${DIADIM_EXAMPLE_FILES}
  COMMENT "Packing ${DIADIM_PACKAGE_NAME}.zip"
  VERBATIM)
add_custom_target(package DEPENDS ${DIADIM_PACKAGE_ZIP})
