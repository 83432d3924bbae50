// A second process for the settings tests: an application's settings as the family keeps
// them (a master with one object bound to three variables, and a value of the master's own)
// in the registry file named by TOVU_REGISTRY. Texts are ASCII.
//   store COUNT NAME FLAG(0|1) SCALE   sets the variables, then Init writes them as defaults
//   read                               Init, then prints COUNT NAME FLAG SCALE, one a line
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "registry/Registry.h"

int main(int argc, char** argv) {
  const bool store = argc == 6 && std::strcmp(argv[1], "store") == 0;
  const bool read = argc == 2 && std::strcmp(argv[1], "read") == 0;
  if (!store && !read) {
    std::fprintf(stderr, "usage: %s store COUNT NAME FLAG SCALE | read\n", argv[0]);
    return 2;
  }
  DWORD dwCount = 0;
  CString strName(L"unset");
  bool bFlag = false;
  ZoPtRegistry master(L"Software\\Tovu Test\\Application", L"General", 1.5);
  master.SetTopRootKey(HKEY_CURRENT_USER);
  ZoPtRegistryBase settings(L"Settings", true, nullptr, &master, false);
  settings.SetTopRootKey(HKEY_CURRENT_USER);
  settings.AttachValue(&dwCount, L"Count");
  settings.AttachValue(&strName, L"Name");
  settings.AttachValue(&bFlag, L"Flag");
  if (store) {
    dwCount = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    strName = std::wstring(argv[3], argv[3] + std::strlen(argv[3])).c_str();
    bFlag = std::strcmp(argv[4], "1") == 0;
    if (!master.Init() || !master.SetValue(L"Scale", std::strtod(argv[5], nullptr))) return 1;
    return 0;
  }
  double dScale = -1;
  if (!master.Init() || !master.GetValue(L"Scale", dScale)) return 1;
  const std::string name(strName.GetString(), strName.GetString() + strName.GetLength());
  std::printf("%u\n%s\n%d\n%g\n", static_cast<unsigned>(dwCount), name.c_str(), bFlag ? 1 : 0, dScale);
  return 0;
}
