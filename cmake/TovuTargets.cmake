# Helpers shared by every folder: compile options of our own code, the stand-in libraries,
# and the one way a folder registers its test program with CTest.

function(tovu_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Module code: hidden by default, exported only through TOVU_PLATFORM_API, as on Windows.
function(tovu_module_options target)
  tovu_warnings(${target})
  target_compile_options(${target} PRIVATE -fvisibility=hidden -fvisibility-inlines-hidden)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Unique symbols would pin the module in memory and make unloading a no-op.
    target_compile_options(${target} PRIVATE -fno-gnu-unique)
  endif()
  target_compile_definitions(${target} PRIVATE TOVUPLATFORM_EXPORTS)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
endfunction()

# tovu_standin_library(name SOURCES ... [LIBS ...])
function(tovu_standin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  tovu_warnings(${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/TovuPlatform>)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
  set_property(GLOBAL APPEND PROPERTY TOVU_STANDIN_LIBRARIES ${name})
endfunction()

# tovu_add_test(name LABEL label SOURCES ... [LIBS ...])
# One test program per folder; every case is registered with CTest on its own.
function(tovu_add_test name)
  if(NOT TOVU_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  tovu_warnings(${name})
  target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/testing/test_main.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    TOVU_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TOVU_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 120
    DISCOVERY_TIMEOUT 60)
endfunction()
