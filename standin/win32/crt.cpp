// Just enough of the Microsoft C runtime's wide-string and file extras, behaving as the CRT
// does, for the module.
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <string>

#include "standin/win32/utf8.h"

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

FILE* _wfopen(const wchar_t* filename, const wchar_t* mode) {
  if (!filename || !mode || !*filename || (mode[0] != L'r' && mode[0] != L'w' && mode[0] != L'a')) {
    errno = EINVAL;
    return nullptr;
  }
  std::string narrowMode(1, static_cast<char>(mode[0]));
  for (const wchar_t* m = mode + 1; *m; ++m) {
    if (*m != L'+' && *m != L'b' && *m != L't') {
      errno = EINVAL;
      return nullptr;
    }
    // Text mode translates nothing here: line ends are kept as they are.
    if (*m != L't') narrowMode += static_cast<char>(*m);
  }
  return std::fopen(standin::ToUtf8(filename).c_str(), narrowMode.c_str());
}

int _fileno(FILE* stream) {
  if (!stream) {
    errno = EINVAL;
    return -1;
  }
  return fileno(stream);
}

long _filelength(int fd) {
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) {
    errno = EBADF;
    return -1;
  }
  if (st.st_size > INT32_MAX) {
    errno = EFBIG;
    return -1;
  }
  return static_cast<long>(st.st_size);
}
