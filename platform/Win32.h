// The module's only window on Win32 and MFC, included by the real names of their headers: a
// Windows build finds the SDK's and MFC's own on its include path, this build the stand-ins'.
#pragma once

#include <afxwin.h>
#include <imm.h>
#include <io.h>
#include <olectl.h>
#include <windows.h>
