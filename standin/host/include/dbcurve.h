// Just enough of the host's curve base class, behaving as the host's does.
#pragma once

#include <dbmain.h>

// Every curve (lines, circles and arcs, polylines): what regions and hatches are made from.
class AcDbCurve : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCurve);
  virtual bool isClosed() const { return false; }
};
