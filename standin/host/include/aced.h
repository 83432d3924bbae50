// Just enough of the host's editor functions, behaving as the host's do: the command stack, the
// current viewport and the colour palette.
#pragma once

#include <acadstrc.h>
#include <accmd.h>
#include <adesk.h>
#include <adsdef.h>
#include <afxwin.h>

// Makes the viewport of that number current (CVPORT); eInvalidInput when the list in use has
// no such viewport.
Acad::ErrorStatus acedSetCurrentVPort(int vpnumber);

// The RGB value of a colour index, red in the lowest byte, green in the second, blue in the
// third: the host's 256-entry palette (0 black, 1 to 9 the standard colours, 10 to 249 the
// 24 hues in five shades with a paler variant each, 250 to 255 greys). An index outside 0 to
// 255 gives 0, black (chosen).
Adesk::UInt32 acedGetRGB(int color);

class AcDbViewTableRecord;
class AcDbViewport;

// A point of the drawing (world coordinates) as the pixel conversions take it.
typedef double acedDwgPoint[3];

// Makes the view current in the current viewport (pVp must be NULL: the stand-in has no
// floating viewport objects). eNullObjectPointer for a NULL record; eInvalidInput for a height
// or width that is not positive and finite, a zero view direction, or a value that is not
// finite; eBadPaperspaceView for a paper-space view while TILEMODE is 1 or model space is current
// on a layout. A view whose width and height do not match the viewport's proportions shows both:
// VIEWSIZE becomes the height that fits the width too (chosen, the host does not say).
Acad::ErrorStatus acedSetCurrentView(AcDbViewTableRecord* pVwRec, AcDbViewport* pVP);

// The world point on the view plane of viewport windnum under a pixel of the drawing view (x to
// the right, y down, origin at the top-left corner of the drawing view); false for a viewport
// that does not exist. The first form works on the current viewport.
void acedCoordFromPixelToWorld(const CPoint& ptIn, acedDwgPoint ptOut);
bool acedCoordFromPixelToWorld(int windnum, CPoint ptIn, acedDwgPoint ptOut);
// The pixel of the drawing view that shows the world point, rounded to the nearest; false for a
// viewport that does not exist.
bool acedCoordFromWorldToPixel(int windnum, const acedDwgPoint ptIn, CPoint& ptOut);

// A function that sees the window messages of the user's input before the host does; returning
// true swallows the message. Typed input reaches it as one WM_CHAR per character, then a WM_CHAR
// of '\r' for the Enter that ends the line. A swallowed character does not reach the command
// line; a swallowed Enter drops the whole line (chosen: the line never ends for the host).
typedef bool (*AcedFilterWinMsgFn)(MSG* pMsg);
// True when registered (a function is registered once; false for NULL or a second time).
bool acedRegisterFilterWinMsg(const AcedFilterWinMsgFn pfn);
// True when it was registered.
bool acedRemoveFilterWinMsg(const AcedFilterWinMsgFn pfn);
