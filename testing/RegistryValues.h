// Registry values as the registry tests write and read them, through the Win32 registry API.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace tovutest::reg {

inline const BYTE* Bytes(const wchar_t* text) { return reinterpret_cast<const BYTE*>(text); }
inline DWORD TextSize(const wchar_t* text) { return static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)); }
// A text as the registry holds it, with its terminator.
inline std::vector<BYTE> Text(const wchar_t* text) {
  return std::vector<BYTE>(Bytes(text), Bytes(text) + TextSize(text));
}
inline LONG SetText(HKEY h, const wchar_t* name, const wchar_t* text, DWORD type = REG_SZ) {
  return RegSetValueExW(h, name, 0, type, Bytes(text), TextSize(text));
}
// A value's bytes, or the single byte 0xEE when it cannot be read.
inline std::vector<BYTE> Query(HKEY h, const wchar_t* name, DWORD* type = nullptr) {
  DWORD size = 0;
  if (RegQueryValueExW(h, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return {BYTE(0xEE)};
  std::vector<BYTE> data(size);
  EXPECT_EQ(RegQueryValueExW(h, name, nullptr, type, data.data(), &size), ERROR_SUCCESS);
  return data;
}
inline std::wstring ClassOf(HKEY h) {
  wchar_t buffer[64];
  DWORD count = 64;
  EXPECT_EQ(RegQueryInfoKeyW(h, buffer, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr),
            ERROR_SUCCESS);
  return std::wstring(buffer, count);
}

}  // namespace tovutest::reg
