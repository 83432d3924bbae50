// Just enough of the database module's drawing utilities, behaving as the family's do, for a
// module to put new entities into the working drawing, turn the family's geometry into host
// entities and place what block references hold.
#pragma once

#include <ZoGeCurve2d.h>
#include <acarray.h>
#include <dbents.h>

// Appends a new entity to model space (or to the current space: paper space while a layout's
// paper space is current, model space otherwise) of the working drawing and returns its id; bClose non-zero closes
// it afterwards, otherwise it stays open for write for the caller to close. The null id when
// the drawing refuses it; the entity is then deleted when bClose is non-zero (the caller gave
// it away) and left to the caller otherwise, a choice of this stand-in.
AcDbObjectId AddToModelSpace(AcDbEntity* pEnt, int bClose);
AcDbObjectId AddToCurrentSpace(AcDbEntity* pEnt, int bClose);

// A new host entity (the caller's, in no drawing, with the working drawing's current layer and
// BYLAYER properties) for a geometry object: a 2D polyline (ZoGeMLine2d and its kinds) becomes
// an AcDbPolyline, its included angles turned into bulges, its elevation and closure kept; a
// line segment becomes an AcDbLine. NULL for any other kind. The object is read, not kept.
AcDbEntity* ZoGe2AcDb(ZoGeObject* pGeObj);
// Deletes the entities (AcDbEntity pointers) and empties the array. Chosen: an entity that has
// joined a drawing belongs to it and is left alone.
void ReleaseEntSet(AcDbVoidPtrArray& ents);
// The block-to-world transform of a block reference (the identity for NULL).
AcGeMatrix3d BlockTransform(const AcDbBlockReference* pRef);

// The id of the named linetype of the drawing (the working drawing for NULL), loading it from the
// host's standard millimetre linetype library when the drawing does not have it yet. The null id
// for a name the library does not know either.
// Chosen: "DASH", which the host's library lacks, is made here as a plain dash (12.7 on, 6.35 off).
AcDbObjectId InitLineType(const wchar_t* pszName, AcDbDatabase* pDb);
