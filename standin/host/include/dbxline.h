// Just enough of the host's construction line, behaving as the host's does.
#pragma once

#include <dbcurve.h>

// A line through its base point along its unit direction, endless both ways.
class AcDbXline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbXline);
  AcGePoint3d basePoint() const;
  AcGeVector3d unitDir() const;
  STANDIN_LISTED_ENTITY(AcDbXline)
};
