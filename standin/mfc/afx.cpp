// Just enough of MFC's extension-module support and module state, behaving as MFC does,
// for an extension module to initialise and terminate itself.
#include <afxwin.h>

#include <cstdio>

namespace {
// One module state for the process: the host application's, which extension modules share.
AFX_MODULE_STATE g_moduleState = {nullptr, nullptr, nullptr};
}  // namespace

AFX_MODULE_STATE* AfxGetModuleState() { return &g_moduleState; }
HINSTANCE AfxGetResourceHandle() { return g_moduleState.m_hCurrentResourceHandle; }
// MFC asserts a non-null handle in debug builds only; restoring a null handle is allowed.
void AfxSetResourceHandle(HINSTANCE hInstResource) { g_moduleState.m_hCurrentResourceHandle = hInstResource; }

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem), m_pNextDLL(nullptr) {
  // New libraries go to the head of the chain, as MFC's do.
  m_pNextDLL = g_moduleState.m_libraryList;
  g_moduleState.m_libraryList = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
  for (CDynLinkLibrary** link = &g_moduleState.m_libraryList; *link; link = &(*link)->m_pNextDLL) {
    if (*link == this) {
      *link = m_pNextDLL;
      break;
    }
  }
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (!hModule) {
    std::fprintf(stderr, "AfxInitExtensionModule: refused a null module handle\n");
    return FALSE;
  }
  if (state.bInitialized) return TRUE;
  state.bInitialized = TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  if (!state.bInitialized) return;
  for (CDynLinkLibrary* lib = g_moduleState.m_libraryList; lib;) {
    CDynLinkLibrary* next = lib->m_pNextDLL;
    if (bAll || lib->m_hModule == state.hModule) delete lib;
    lib = next;
  }
}

// MFC titles the box with the application's name; an extension module has none of its own.
int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT /*nIDHelp*/) {
  return ::MessageBoxW(nullptr, lpszText ? lpszText : L"", L"", nType);
}
