// Just enough of the host's leader, behaving as the host's does.
#pragma once

#include <dbcurve.h>

// A leader line through its vertices (world points), with or without an arrowhead.
class AcDbLeader : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLeader);
  int numVertices() const;
  // The origin for an index out of range.
  AcGePoint3d vertexAt(int vertexIndex) const;
  STANDIN_LISTED_ENTITY(AcDbLeader)
};
