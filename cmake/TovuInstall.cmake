# Installs the module, the stand-ins, the host program, the headers and the dictionaries, with
# a package configuration: find_package(TovuPlatform) gives TovuPlatform::TovuPlatform (the
# module) and TovuPlatform::StandIn (the stand-ins, for hosts and tests).
include(CMakePackageConfigHelpers)

get_property(tovu_standins GLOBAL PROPERTY TOVU_STANDIN_LIBRARIES)
add_library(StandIn INTERFACE)
target_link_libraries(StandIn INTERFACE ${tovu_standins})

install(TARGETS TovuPlatform StandIn ${tovu_standins} EXPORT TovuPlatformTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tovu-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/TovuPlatform
  FILES_MATCHING PATTERN "*.h"
  PATTERN ".git" EXCLUDE PATTERN "build*" EXCLUDE PATTERN "tools" EXCLUDE
  PATTERN "bench" EXCLUDE PATTERN "fuzz" EXCLUDE PATTERN "examples" EXCLUDE PATTERN "testing" EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/lang/ DESTINATION ${CMAKE_INSTALL_DATADIR}/TovuPlatform/lang)
install(EXPORT TovuPlatformTargets NAMESPACE TovuPlatform::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TovuPlatform)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TovuPlatformConfig.cmake.in
  ${CMAKE_BINARY_DIR}/TovuPlatformConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TovuPlatform)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TovuPlatformConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TovuPlatformConfig.cmake ${CMAKE_BINARY_DIR}/TovuPlatformConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TovuPlatform)

# An application builds against the installed package with nothing but the umbrella header.
if(TOVU_BUILD_TESTS)
  string(TOUPPER "${CMAKE_BUILD_TYPE}" tovu_build_type)
  add_test(NAME platform.package
    COMMAND bash ${PROJECT_SOURCE_DIR}/testing/package_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR}
      ${CMAKE_CXX_COMPILER} "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${tovu_build_type}}" "${CMAKE_EXE_LINKER_FLAGS}")
  set_tests_properties(platform.package PROPERTIES LABELS platform TIMEOUT 300)
endif()
