// Just enough of the Win32 module loader, behaving as Windows does, for the host to load
// modules and for a module to find its own file. A module handle is the module's load
// address; the file name reported is the real path of the loaded file.
#pragma once

#include <windef.h>

HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
BOOL FreeLibrary(HMODULE hLibModule);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
// NULL names the program itself. Returns the characters copied without the terminator; when
// the buffer is too small the name is cut to nSize - 1 characters, terminated, and the
// result is nSize with ERROR_INSUFFICIENT_BUFFER (Windows XP behaviour differs; this is Vista's).
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
// With GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, lpModuleName is an address inside the module.
BOOL GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule);
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004
