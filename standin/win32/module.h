// Control of the module loader stand-in, for the DLL start-up code linked into every module.
#pragma once

#include <libloaderapi.h>

namespace standin {
// Called by the DLL start-up code linked into every module with the entry's verdict on
// DLL_PROCESS_ATTACH, so that LoadLibraryW fails as Windows does when the entry refuses.
void ReportDllAttach(HMODULE hModule, BOOL bAccepted);
}  // namespace standin
