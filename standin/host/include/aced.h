// Just enough of the host's editor functions, behaving as the host's do: the command stack, the
// current viewport and the colour palette.
#pragma once

#include <acadstrc.h>
#include <accmd.h>
#include <adesk.h>

// Makes the viewport of that number current (CVPORT); eInvalidInput when the list in use has
// no such viewport.
Acad::ErrorStatus acedSetCurrentVPort(int vpnumber);

// The RGB value of a colour index, red in the lowest byte, green in the second, blue in the
// third: the host's 256-entry palette (0 black, 1 to 9 the standard colours, 10 to 249 the
// 24 hues in five shades with a paler variant each, 250 to 255 greys). An index outside 0 to
// 255 gives 0, black (chosen).
Adesk::UInt32 acedGetRGB(int color);
