// Just enough of the host's region entity, behaving as the host's does, for the module to turn
// closed outlines into regions: the regions of a set of curves, their area and perimeter.
#pragma once

#include <acarray.h>
#include <dbmain.h>
#include <gepnt2d.h>

#include <vector>

// A bounded planar area. This stand-in keeps its outline (one loop in the XY plane at an
// elevation) in place of the host's modeler data.
class AcDbRegion : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRegion);
  AcDbRegion() = default;

  // One new region (the caller's, in no drawing) for every closed loop the curves form: closed
  // polylines (arcs included) and circles each on their own, then lines, arcs and open
  // polylines whose ends meet. curveSegments holds AcDbCurve pointers; the curves are left as
  // they were. eInvalidInput for a null pointer or when no loop closes (chosen: regions is then
  // left empty); eNotImplementedYet, with a note on standard error, for a curve this stand-in
  // cannot follow (old-style polylines, planes other than XY).
  static Acad::ErrorStatus createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions);

  // A region without outline holds nothing.
  bool isNull() const { return m_points.empty(); }
  Acad::ErrorStatus getArea(double& regionArea) const;
  Acad::ErrorStatus getPerimeter(double& perimeter) const;

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
  // The outline: segment i runs from point i to point i + 1 (the last back to the first) with
  // bulge i.
  std::vector<AcGePoint2d> m_points;
  std::vector<double> m_bulges;
  double m_elevation = 0;
};
