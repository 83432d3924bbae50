// Block references with their attributes. Closes what it opens before it returns.
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"

// Inserts the block definition into the current space at the point, with the scale factors and
// the rotation (radians), and gives the reference one attribute per attribute definition of the
// block, placed by the reference's transform. The reference stays even when no attribute can be made.
TOVU_PLATFORM_API void CreateAttributeBlock(AcDbObjectId idBlock, const AcGePoint3d& ptInsert, const AcGeScale3d& scale,
                                            double dRotation);
