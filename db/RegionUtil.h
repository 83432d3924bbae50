// Regions and hatches from the family's 2D polylines, handed to the caller outside any drawing.
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// A new region (the caller's, in no drawing) bounded by the closed polyline; null for an open
// polyline or one that encloses nothing.
TOVU_PLATFORM_API AcDbRegion* CreateRegionFromPoly2d(const ZoGePolyline2d& poly);

// A new, evaluated hatch (the caller's, in no drawing) filling the polyline with a predefined
// pattern. pszPattern is a pattern name, optionally followed by ":" and a factor that
// multiplies dScale when it is above 1e-6 ("ANSI31:2"). Null when the pattern or the outline
// is refused; nothing is left behind then.
TOVU_PLATFORM_API AcDbHatch* CreateHatchFromPoly2d(const ZoGePolyline2d& poly, const wchar_t* pszPattern, double dScale,
                                                   double dAngle);
