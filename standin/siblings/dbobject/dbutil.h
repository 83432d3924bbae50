// Just enough of the database module's drawing utilities, behaving as the family's do, for a
// module to put new entities into the working drawing.
#pragma once

#include "standin/host/entities.h"

// Appends a new entity to model space (or to the current space: paper space while a layout's
// paper space is current, model space otherwise) of the working drawing and returns its id; bClose non-zero closes
// it afterwards, otherwise it stays open for write for the caller to close. The null id when
// the drawing refuses it; the entity is then deleted when bClose is non-zero (the caller gave
// it away) and left to the caller otherwise, a choice of this stand-in.
AcDbObjectId AddToModelSpace(AcDbEntity* pEnt, int bClose);
AcDbObjectId AddToCurrentSpace(AcDbEntity* pEnt, int bClose);
