// The Win32 API as a Windows program sees it through <windows.h>: base types and error codes,
// global memory, the module loader, files, GDI, windows, the registry and the multimedia timer.
#pragma once

#include <fileapi.h>
#include <libloaderapi.h>
#include <mmsystem.h>
#include <winbase.h>
#include <windef.h>
#include <wingdi.h>
#include <winreg.h>
#include <winuser.h>
