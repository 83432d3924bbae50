// The module's only window on Win32 and MFC. A Windows build includes <afxwin.h> and friends
// here; this build includes the stand-in Win32 layer.
#pragma once

#include "standin/win32/afx.h"
#include "standin/win32/afxwin.h"
#include "standin/win32/crt.h"
#include "standin/win32/cstring.h"
#include "standin/win32/files.h"
#include "standin/win32/gdi.h"
#include "standin/win32/globalmem.h"
#include "standin/win32/module.h"
#include "standin/win32/picture.h"
#include "standin/win32/registry.h"
#include "standin/win32/timer.h"
#include "standin/win32/windef.h"
#include "standin/win32/window.h"
