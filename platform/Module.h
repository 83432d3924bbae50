// The module's life cycle as the host sees it: the DLL entry, the ARX entry point and the
// command table of the group "TovuPlatform".
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"
#include "platform/Win32.h"

// The module's instance handle, written by the DLL entry on every call.
extern HINSTANCE g_hInstance;
// The module's resource handle: the instance handle once the MFC extension module has been
// initialised, else null.
extern HINSTANCE g_hResource;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);
// Returns kRetOK for every message.
extern "C" TOVU_PLATFORM_API AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);

// The command group and its table, in the order the commands are defined.
extern const wchar_t* const g_pszCmdGroup;
extern const ZoCmdTable g_cmdTable[];
extern const int g_nCmdCount;
