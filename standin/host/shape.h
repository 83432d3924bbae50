// The outline of an entity in world coordinates, as the stand-in host's display would draw it:
// segments, circular arcs in planes parallel to XY, and points. Extents, picking and window
// selection are answered from it; all selection tests work in the XY plane.
#pragma once

#include <vector>

#include "standin/host/database.h"

namespace standin {

struct Arc {
  AcGePoint3d center;
  double radius;
  double start, end;  // counter-clockwise from start to end, radians
};

struct XY {
  double x, y;
};

class Shape {
 public:
  std::vector<std::pair<AcGePoint3d, AcGePoint3d>> segments;
  std::vector<Arc> arcs;
  std::vector<AcGePoint3d> points;

  bool Empty() const { return segments.empty() && arcs.empty() && points.empty(); }
  void AddSegment(const AcGePoint3d& a, const AcGePoint3d& b) { segments.emplace_back(a, b); }
  void AddArc(const AcGePoint3d& center, double radius, double start, double end);
  void AddPoint(const AcGePoint3d& p) { points.push_back(p); }
  // A polyline segment in the plane of the normal from a to b (OCS points) with a bulge.
  void AddBulgeSegment(const AcGeVector3d& normal, const AcGePoint3d& a, const AcGePoint3d& b, double bulge);
  // A circle or arc in the plane of the normal (centre in world coordinates).
  void AddCurve(const AcGeVector3d& normal, const AcGePoint3d& center, double radius, double start, double end);
  void Append(const Shape& other);
  // Arcs stay arcs under moves, rotations about Z, uniform scaling and mirrors in XY; any other
  // matrix turns them into chains of short segments.
  void TransformBy(const AcGeMatrix3d& m);

  // False (ext untouched) for an empty shape.
  bool Extents(AcDbExtents& ext) const;
  // Every part lies inside the rectangle.
  bool InsideRect(double minX, double minY, double maxX, double maxY) const;
  // Some part lies inside the rectangle or crosses its edges.
  bool TouchesRect(double minX, double minY, double maxX, double maxY) const;
  bool InsidePolygon(const std::vector<XY>& polygon) const;
  bool TouchesPolygon(const std::vector<XY>& polygon) const;

 private:
  // Segments and points only, arcs split finely (for polygon tests).
  std::vector<std::pair<XY, XY>> Flattened() const;
};

// The host's arbitrary-axis rule: the x and y axes of the coordinate system of a normal.
void OcsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis);
AcGePoint3d OcsToWcs(const AcGeVector3d& normal, const AcGePoint3d& p);
AcGePoint3d WcsToOcs(const AcGeVector3d& normal, const AcGePoint3d& p);
bool IsWorldZ(const AcGeVector3d& normal);

// Whether m, restricted to directions, is a rotation times one scale factor (a mirror
// allowed); the factor is returned in scale.
bool IsUniformScaling(const AcGeMatrix3d& m, double* scale = nullptr);
// Whether m keeps the XY plane's directions in XY and Z on Z (the z factor positive).
bool KeepsXYPlane(const AcGeMatrix3d& m);

}  // namespace standin
