// Just enough of the database module's point helpers, behaving as the family's do, for
// growing boxes around points, midpoints and the user coordinate system.
#pragma once

#include <ZoGePoint.h>

// The component-wise minimum and maximum of two points (x, y and z each on its own).
ZoGePoint Min(const ZoGePoint& a, const ZoGePoint& b);
ZoGePoint Max(const ZoGePoint& a, const ZoGePoint& b);
// The midpoint of two points, in ptMid.
void GetMidPt(const ZoGePoint& pt1, const ZoGePoint& pt2, ZoGePoint& ptMid);

// Between the current user coordinate system and world coordinates: a point when nDisp is 0, a
// displacement (no translation) otherwise. The point comes back unchanged when the host cannot
// convert it.
ZoGePoint UcsToWcs(const ZoGePoint& pt, int nDisp = 0);
ZoGePoint WcsToUcs(const ZoGePoint& pt, int nDisp = 0);

// The world point under the mouse cursor in the drawing view (on the current viewport's view
// plane), to the pixel; the origin when the drawing view is not there.
ZoGePoint GetCursorPoint();
