// Just enough of the host's ellipse, behaving as the host's does.
#pragma once

#include <dbcurve.h>

// An ellipse or elliptical arc: a centre, the major axis (a vector from the centre), the ratio of
// the minor to the major axis, and the parameters of its ends (radians).
class AcDbEllipse : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEllipse);
  AcGePoint3d center() const;
  AcGeVector3d majorAxis() const;
  AcGeVector3d normal() const;
  double radiusRatio() const;
  STANDIN_LISTED_ENTITY(AcDbEllipse)
};
