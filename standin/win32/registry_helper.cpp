// A second process for the registry's persistence tests: it writes or reads one value under
// HKEY_CURRENT_USER of the registry file named by TOVU_REGISTRY and exits.
//   set <key> <name> <text>       creates the key, writes a REG_SZ and closes the key
//   set-at-exit <key> <name> <text>  the same, leaving the key open until the process exits
//   get <key> <name>              prints the REG_SZ text; exit status 1 and the result code
//                                 on standard error when it cannot be read
#include <cstdio>
#include <cstring>
#include <string>

#include "standin/win32/registry.h"
#include "standin/win32/utf8.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s set|set-at-exit|get KEY NAME [TEXT]\n", argv[0]);
    return 2;
  }
  const std::string command = argv[1];
  const std::wstring key = standin::FromUtf8(argv[2]);
  const std::wstring name = standin::FromUtf8(argv[3]);
  HKEY hKey = nullptr;
  if ((command == "set" || command == "set-at-exit") && argc == 5) {
    const std::wstring text = standin::FromUtf8(argv[4]);
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                  nullptr, &hKey, nullptr);
    if (result == ERROR_SUCCESS)
      result = RegSetValueExW(hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (result != ERROR_SUCCESS) {
      std::fprintf(stderr, "%ld\n", static_cast<long>(result));
      return 1;
    }
    if (command == "set") RegCloseKey(hKey);
    return 0;
  }
  if (command == "get") {
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &hKey);
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = REG_NONE;
    if (result == ERROR_SUCCESS)
      result = RegQueryValueExW(hKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    if (result == ERROR_SUCCESS && type != REG_SZ) result = ERROR_BAD_FORMAT;
    if (result != ERROR_SUCCESS) {
      std::fprintf(stderr, "%ld\n", static_cast<long>(result));
      return 1;
    }
    std::printf("%s\n", standin::ToUtf8(text).c_str());
    return 0;
  }
  std::fprintf(stderr, "unknown command %s\n", command.c_str());
  return 2;
}
