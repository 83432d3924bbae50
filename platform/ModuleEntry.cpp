// The DLL entry and the ARX entry point: start-up and unload as the host drives them.
#include "platform/Module.h"

#include "ads/AdsEntFlicker.h"
#include "platform/Localization.h"
#include "registry/Registry.h"

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

// Records the host's profile under its product key: the default value of Profiles names the
// unnamed profile, in the user's language when the host has a profile of that name.
void RecordProfile() {
  const wchar_t* pszProductKey = acrxProductKey();
  CString strPath;
  strPath.Format(Translate(L"%s\\Profiles\\<<未命名配置>>"), pszProductKey);
  const wchar_t* pszProfile = L"<<Unnamed Profile>>";
  HKEY hKey = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
    RegCloseKey(hKey);
    pszProfile = Translate(L"<<未命名配置>>");
  }
  ZoPtRegistry registry(pszProductKey, L"Profiles");
  registry.SetTopRootKey(HKEY_CURRENT_USER);
  registry.SetValue(L"", pszProfile, false);  // a failed write changes nothing the user relies on
}

void UnloadApplication() {
  if (ZoAdsEntFlicker* pFlicker = ZoAdsEntFlicker::GetFlickerInstance()) pFlicker->EndFlicker();
  RecordProfile();
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
