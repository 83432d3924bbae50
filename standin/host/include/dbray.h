// Just enough of the host's ray, behaving as the host's does.
#pragma once

#include <dbcurve.h>

// A half-line from its base point along its unit direction.
class AcDbRay : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRay);
  AcGePoint3d basePoint() const;
  AcGeVector3d unitDir() const;
  STANDIN_LISTED_ENTITY(AcDbRay)
};
