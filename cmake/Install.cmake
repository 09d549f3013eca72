# Installs headers, the DLL (its .dll.so, fake module and import library) and
# a CMake package so a host project can use find_package(lorvexops).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/lorvexops DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${LORVEX_DLL_DIR}/lorvexops.dll.so ${LORVEX_FAKE_DLL} ${LORVEX_IMPLIB}
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/lorvexops)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/lorvexopsConfig.cmake.in
  ${CMAKE_BINARY_DIR}/lorvexopsConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/lorvexops
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/lorvexopsConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/lorvexopsConfig.cmake ${CMAKE_BINARY_DIR}/lorvexopsConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/lorvexops)
