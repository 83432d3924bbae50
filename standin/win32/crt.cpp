// Just enough of the Microsoft C runtime's wide-string extras, behaving as the CRT does,
// for the module.
#include "standin/win32/crt.h"

#include <cwchar>
#include <cwctype>

wchar_t* _wcsdup(const wchar_t* strSource) {
  if (!strSource) return nullptr;
  const size_t bytes = (std::wcslen(strSource) + 1) * sizeof(wchar_t);
  auto* copy = static_cast<wchar_t*>(std::malloc(bytes));
  if (copy) std::wmemcpy(copy, strSource, bytes / sizeof(wchar_t));
  return copy;
}

int _wcsnicmp(const wchar_t* string1, const wchar_t* string2, size_t count) {
  if (!string1 || !string2) return 0x7fffffff;  // the CRT's _NLSCMPERROR
  for (size_t i = 0; i < count; ++i) {
    const auto a = std::towlower(static_cast<wint_t>(string1[i]));
    const auto b = std::towlower(static_cast<wint_t>(string2[i]));
    if (a != b) return a < b ? -1 : 1;
    if (!a) break;
  }
  return 0;
}

int _wcsicmp(const wchar_t* string1, const wchar_t* string2) {
  return _wcsnicmp(string1, string2, static_cast<size_t>(-1));
}

double _wtof(const wchar_t* str) { return str ? std::wcstod(str, nullptr) : 0.0; }

int _wtoi(const wchar_t* str) { return str ? static_cast<int>(std::wcstol(str, nullptr, 10)) : 0; }
