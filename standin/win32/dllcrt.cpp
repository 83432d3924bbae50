// The DLL start-up code that the C runtime links into every module, standing in for the
// Windows loader's call of the DLL entry: DllMain gets DLL_PROCESS_ATTACH with the module's
// own handle when the module is loaded, and DLL_PROCESS_DETACH when it is unloaded.
#include <dlfcn.h>

#include "standin/win32/module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

namespace {

HINSTANCE OwnHandle() {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&OwnHandle), &info)) return nullptr;
  return static_cast<HINSTANCE>(info.dli_fbase);
}

__attribute__((constructor)) void DllAttach() {
  const HINSTANCE self = OwnHandle();
  standin::ReportDllAttach(self, DllMain(self, DLL_PROCESS_ATTACH, nullptr));
}

__attribute__((destructor)) void DllDetach() { DllMain(OwnHandle(), DLL_PROCESS_DETACH, nullptr); }

}  // namespace
