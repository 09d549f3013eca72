# lorvex-viewer is built the way a third-party host is: its own CMake project
# finds the installed package with find_package(lorvexops). After the library
# links, it is installed into a prefix inside the build folder and the viewer
# project is configured and built against that prefix (ExternalProject), so
# one `cmake --build` still makes everything and the viewer never sees the
# library's build tree or internal headers.
include(ExternalProject)
set(LORVEX_VIEWER_PREFIX ${CMAKE_BINARY_DIR}/viewer-prefix/package)
add_custom_target(lorvexops_viewer_package
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${LORVEX_VIEWER_PREFIX}
  COMMENT "Installing lorvexops for the viewer"
  VERBATIM)
add_dependencies(lorvexops_viewer_package lorvexops_dll)
ExternalProject_Add(lorvex_viewer
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/viewer
  BINARY_DIR ${CMAKE_BINARY_DIR}/viewer
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/winelib-toolchain.cmake
             -DCMAKE_PREFIX_PATH=${LORVEX_VIEWER_PREFIX} -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS lorvexops_viewer_package)
if(LORVEX_BUILD_TESTS)
  # The tour is the viewer's end-to-end test: it fails when a step's result is missing.
  add_test(NAME viewer_tour COMMAND ${CMAKE_SOURCE_DIR}/scripts/viewer-tour.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/tour)
  set_tests_properties(viewer_tour PROPERTIES TIMEOUT 600)
endif()
