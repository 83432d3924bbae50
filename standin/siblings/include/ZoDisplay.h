// Just enough of the database module's display helpers, behaving as the family's do, for
// previews painted in the colours of the host's drawing area.
#pragma once

#include <windows.h>

// The drawing area's background as a Windows RGB value. Chosen: the host's default colours,
// black behind model space (TILEMODE 1) and white behind a layout (TILEMODE 0).
COLORREF GetBackgroundColor();
