# The CMake package of the program: find_package(Orvane) gives the imported
# program Orvane::orvane and orvane_generate() (cmake/OrvaneGenerate.cmake).
# The package works from the build tree (Orvane_DIR=<build>/cmake) and
# installed (<prefix>/<libdir>/cmake/Orvane).
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(ORVANE_PACKAGE_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Orvane")
set(ORVANE_PACKAGE_BUILD_DIR "${PROJECT_BINARY_DIR}/cmake")

# Installed: the program in the binary folder of the prefix.
set(ORVANE_PROGRAM "${CMAKE_INSTALL_BINDIR}/orvane")
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/OrvaneConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/cmake-install/OrvaneConfig.cmake"
  INSTALL_DESTINATION "${ORVANE_PACKAGE_INSTALL_DIR}"
  PATH_VARS ORVANE_PROGRAM)

# Build tree: the program where the build makes it.
set(ORVANE_PROGRAM "src/orvane")
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/OrvaneConfig.cmake.in"
  "${ORVANE_PACKAGE_BUILD_DIR}/OrvaneConfig.cmake"
  INSTALL_DESTINATION "${ORVANE_PACKAGE_BUILD_DIR}"
  INSTALL_PREFIX "${PROJECT_BINARY_DIR}"
  PATH_VARS ORVANE_PROGRAM)

write_basic_package_version_file(
  "${ORVANE_PACKAGE_BUILD_DIR}/OrvaneConfigVersion.cmake"
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
configure_file("${PROJECT_SOURCE_DIR}/cmake/OrvaneGenerate.cmake"
               "${ORVANE_PACKAGE_BUILD_DIR}/OrvaneGenerate.cmake" COPYONLY)

install(FILES "${PROJECT_BINARY_DIR}/cmake-install/OrvaneConfig.cmake"
              "${ORVANE_PACKAGE_BUILD_DIR}/OrvaneConfigVersion.cmake"
              "${PROJECT_SOURCE_DIR}/cmake/OrvaneGenerate.cmake"
        DESTINATION "${ORVANE_PACKAGE_INSTALL_DIR}")
