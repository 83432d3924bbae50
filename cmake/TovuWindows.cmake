# The Windows build (preset windows, cmake/mingw-w64.cmake): the module and the stand-ins of the
# host and the siblings become DLLs over the real Win32 of MinGW's SDK headers; MFC's stand-in is
# built over it. Its programs run under Wine (tools/wine-run.sh).
add_compile_definitions(UNICODE _UNICODE NOMINMAX _USE_MATH_DEFINES)
# The C++ runtime stays a DLL of its own, so that exceptions and objects cross the module's
# boundary as they do between DLLs that share one runtime.
set(TOVU_WIN32_LIBS gdi32 user32 winmm ole32 oleaut32 advapi32 uuid)

if(TOVU_BUILD_TESTS)
  # No MinGW build of GoogleTest is packaged: Debian's libgtest-dev ships its sources.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
