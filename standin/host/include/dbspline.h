// Just enough of the host's spline, behaving as the host's does.
#pragma once

#include <dbcurve.h>

// A NURBS curve: degree, control points with their weights and knots, or the fit points it
// passes through.
class AcDbSpline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSpline);
  int degree() const;
  int numControlPoints() const;
  int numFitPoints() const;
  // eInvalidIndex.
  Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
  Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
  STANDIN_LISTED_ENTITY(AcDbSpline)
};
