# Helpers shared by every folder: compile options of our own code, the stand-in libraries,
# and the one way a folder registers its test program with CTest.

function(tovu_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Module code: hidden by default, exported only through TOVU_PLATFORM_API, as on Windows.
# It compiles against its own folders and the platform's public headers only: the include root
# it gets holds links to the module's folders and nothing else, so a module file that reaches a
# stand-in's control header does not build. Code that uses the module (tests, tools) gets the
# whole tree.
function(tovu_module_options target)
  tovu_warnings(${target})
  target_compile_options(${target} PRIVATE -fvisibility=hidden -fvisibility-inlines-hidden)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Unique symbols would pin the module in memory and make unloading a no-op.
    target_compile_options(${target} PRIVATE -fno-gnu-unique)
  endif()
  # Programs that link the module's objects themselves (its tests) take its declarations as their
  # own, not as imports from the DLL.
  target_compile_definitions(${target} PUBLIC TOVUPLATFORM_EXPORTS)
  set(root ${CMAKE_BINARY_DIR}/module-include)
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${TOVU_MODULE_FOLDERS})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root} INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
endfunction()

# tovu_standin_library(name SOURCES ... [PUBLIC_HEADERS dir] [LIBS ...])
# Whoever links a stand-in sees the real platform's headers in PUBLIC_HEADERS; the stand-in's
# own control headers stay its own (tests and tools reach them from the top of the tree).
function(tovu_standin_library name)
  cmake_parse_arguments(ARG "" "PUBLIC_HEADERS" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  tovu_warnings(${name})
  if(ARG_PUBLIC_HEADERS)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${ARG_PUBLIC_HEADERS})
    target_include_directories(${name} PUBLIC
      $<BUILD_INTERFACE:${ARG_PUBLIC_HEADERS}> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/TovuPlatform/${relative}>)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(NOT WIN32)
    # Nothing replaces a stand-in's functions from outside, so calls inside one may be inlined.
    target_compile_options(${name} PRIVATE -fno-semantic-interposition)
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
  set_property(GLOBAL APPEND PROPERTY TOVU_STANDIN_LIBRARIES ${name})
endfunction()

# tovu_add_test(name LABEL label SOURCES ... [STANDIN_ONLY ...] [LIBS ...])
# One test program per folder; every case is registered with CTest on its own. STANDIN_ONLY
# sources drive the Win32 stand-in's own controls (its registry file, virtual clock, simulated
# keyboard, journal of what it shows, PNG pictures): the Windows build leaves them out.
function(tovu_add_test name)
  if(NOT TOVU_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;STANDIN_ONLY;LIBS" ${ARGN})
  if(NOT WIN32)
    list(APPEND ARG_SOURCES ${ARG_STANDIN_ONLY})
  endif()
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
