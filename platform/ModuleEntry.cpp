// The DLL entry and the ARX entry point: start-up and unload as the host drives them.
#include "platform/Module.h"

HINSTANCE g_hInstance = nullptr;
HINSTANCE g_hResource = nullptr;

namespace {

AFX_EXTENSION_MODULE g_extModule = {FALSE, nullptr, nullptr};

void InitApplication(void* appId) {
  // A failed MFC initialisation leaves the resource handle unset; start-up goes on.
  if (AfxInitExtensionModule(g_extModule, g_hInstance)) {
    g_hResource = g_hInstance;
    new CDynLinkLibrary(g_extModule);  // owned by MFC's library chain
  }
  acrxUnlockApplication(appId);
  // Per-document state lives in the siblings' document reactors, so one module serves
  // every open drawing.
  if (AcRxDynamicLinker* linker = acrxDynamicLinker) linker->registerAppMDIAware(appId);
  ZoDefineCommand(g_pszCmdGroup, g_cmdTable, g_nCmdCount, 0);
}

void UnloadApplication() {
  if (AcEdCommandStack* commands = acedRegCmds) commands->removeGroup(g_pszCmdGroup);
  AfxTermExtensionModule(g_extModule, FALSE);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD /*dwReason*/, LPVOID /*lpReserved*/) {
  g_hInstance = hInstance;
  return TRUE;
}

extern "C" TOVU_PLATFORM_API AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      InitApplication(appId);
      break;
    case AcRx::kUnloadAppMsg:
      UnloadApplication();
      break;
    default:
      break;  // document load and unload, subroutine calls: nothing to do
  }
  return AcRx::kRetOK;
}
