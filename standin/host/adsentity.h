// Just enough of the host's ADS entity functions, behaving as the host's do, for the module to
// read entity data by entity name, walk the drawing and delete entities.
#pragma once

#include "standin/host/adsdef.h"

// The entity's data as the host lists it: (-1 name) (0 type) (330 owner) (5 handle), then the
// groups of its classes (100 markers, 67 and 410 for entities of a space, 8 layer, 6 linetype
// and 62 colour unless BYLAYER, then its geometry; angles in radians, points of planar
// entities in their own coordinate system). A new chain the caller releases; NULL for a name
// that names nothing, an erased entity, or an entity someone has open for write.
struct resbuf* acdbEntGet(const ads_name ent);
// The entity after ent in the drawing (the first one for NULL): every entity of model and
// paper space in the order they were created, each followed by its attributes or vertices
// and its SEQEND; erased entities are passed over. For an entity of a block definition, the
// next one of that block. RTERROR at the end or for a name that names no entity.
int acdbEntNext(const ads_name ent, ads_name result);
// The last main entity of the drawing that is not erased; RTERROR for an empty drawing.
int acdbEntLast(ads_name result);
// Erases a main entity, or brings it back when it is erased. RTERROR for a sub-entity (attribute,
// vertex, SEQEND), an entity of a block definition, one on a locked layer or one someone has
// open, and for a name that names nothing.
int acdbEntDel(const ads_name ent);
// The name of the object with that handle (hexadecimal), erased ones included; RTERROR when
// the drawing has none.
int acdbHandEnt(const ACHAR* handle, ads_name entres);
