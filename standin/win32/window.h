// Control of the window stand-in, for the host: windows of the simulated platform.
#pragma once

#include <winuser.h>

namespace standin {

// A top-level window of the stand-in platform: name is what the journal calls it, its client
// area is width by height pixels with its top-left corner at (left, top) on the screen. Safe to
// use from any thread.
HWND CreateStandInWindow(const wchar_t* name, LONG width, LONG height, LONG left = 0, LONG top = 0);

}  // namespace standin
