// Just enough of the host's dimensions, behaving as the host's do.
#pragma once

#include <dbmain.h>

// A dimension of any kind: its definition points, and an anonymous block that draws it.
class AcDbDimension : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDimension);
  // The block that draws the dimension; null when the drawing lacks it.
  AcDbObjectId dimBlockId() const;
  STANDIN_LISTED_ENTITY(AcDbDimension)
};
