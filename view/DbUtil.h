// Database utilities of the family: block references with their attributes, regions and hatches
// from the family's polylines, groups made from selection sets and selection sets made from
// groups, the hard-reference test and the check for another loaded module. Each closes what it
// opens before it returns, except what it hands back.
#pragma once

#include "ads/AdsEntSet.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// Inserts the block definition into the current space at the point, with the scale factors and
// the rotation (radians), and gives the reference one attribute per attribute definition of the
// block, placed by the reference's transform. The reference stays even when no attribute can be made.
TOVU_PLATFORM_API void CreateAttributeBlock(AcDbObjectId idBlock, const AcGePoint3d& ptInsert, const AcGeScale3d& scale,
                                            double dRotation);

// A new region (the caller's, in no drawing) bounded by the closed polyline; null for an open
// polyline or one that encloses nothing.
TOVU_PLATFORM_API AcDbRegion* CreateRegionFromPoly2d(const ZoGePolyline2d& poly);

// A new, evaluated hatch (the caller's, in no drawing) filling the polyline with a predefined
// pattern. pszPattern is a pattern name, optionally followed by ":" and a factor that
// multiplies dScale when it is above 1e-6 ("ANSI31:2"). Null when the pattern or the outline
// is refused; nothing is left behind then.
TOVU_PLATFORM_API AcDbHatch* CreateHatchFromPoly2d(const ZoGePolyline2d& poly, const wchar_t* pszPattern, double dScale,
                                                   double dAngle);

// Whether some object of the database (the working one for null) refers to the object by a
// hard reference; false when the database cannot count.
TOVU_PLATFORM_API bool IsHardReferenced(AcDbObjectId id, AcDbDatabase* pDb = nullptr);

// Puts the set's entities into the group of that name, created when the group dictionary has
// none (an existing group is emptied first when bClear is true); the group is made not
// selectable. False at the first entity the group refuses, which keeps those before it.
TOVU_PLATFORM_API bool MakeGroup(ZoAdsEntSet& set, const wchar_t* pszGroupName, bool bClear);

// As MakeGroup, into a new selectable anonymous group.
TOVU_PLATFORM_API bool MakeAnonymousGroup(ZoAdsEntSet& set);

// Adds the entities of the named group to the set. False when there is no such group or it
// cannot be opened; the set is then untouched.
TOVU_PLATFORM_API bool GetPickSetByGroup(const wchar_t* pszGroupName, ZoAdsEntSet& set);

// Whether a module of that file name (any directory, any case) is loaded; a path is reduced
// to its file name first.
TOVU_PLATFORM_API bool IsArxLoaded(const wchar_t* pszArxName);
