// The outline of an entity in world coordinates, as the stand-in host's display would draw it:
// segments, circular arcs in planes parallel to XY, points, and hulls standing for parts too big
// to draw. Extents are answered from it, and the view's hit-testing works on it in the XY plane.
#pragma once

#include <dbmain.h>
#include <gepnt3d.h>
#include <gevec3d.h>

#include <utility>
#include <vector>

namespace standin {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

struct Arc {
  AcGePoint3d center;
  double radius;
  double start, end;  // counter-clockwise from start to end, radians
};

class Shape {
 public:
  std::vector<std::pair<AcGePoint3d, AcGePoint3d>> segments;
  std::vector<Arc> arcs;
  std::vector<AcGePoint3d> points;
  // Parts known only by points whose convex hull holds them; hit-testing takes the hull as filled.
  std::vector<std::vector<AcGePoint3d>> hulls;

  bool Empty() const { return segments.empty() && arcs.empty() && points.empty() && hulls.empty(); }
  // Segments, arcs, points and hulls together.
  size_t Pieces() const { return segments.size() + arcs.size() + points.size() + hulls.size(); }
  bool Finite() const;
  void AddSegment(const AcGePoint3d& a, const AcGePoint3d& b) { segments.emplace_back(a, b); }
  void AddArc(const AcGePoint3d& center, double radius, double start, double end);
  void AddPoint(const AcGePoint3d& p) { points.push_back(p); }
  // The eight corners of the box, through m.
  void AddHull(const AcDbExtents& box, const AcGeMatrix3d& m);
  // A polyline segment in the plane of the normal from a to b (OCS points) with a bulge.
  void AddBulgeSegment(const AcGeVector3d& normal, const AcGePoint3d& a, const AcGePoint3d& b, double bulge);
  // A circle or arc in the plane of the normal (centre in world coordinates).
  void AddCurve(const AcGeVector3d& normal, const AcGePoint3d& center, double radius, double start, double end);
  void Append(const Shape& other);
  // Arcs stay arcs under moves, rotations about Z, uniform scaling and mirrors in XY; any other
  // matrix turns them into chains of short segments.
  void TransformBy(const AcGeMatrix3d& m);

  // False (ext untouched) for an empty shape or one with a coordinate that is not finite.
  bool Extents(AcDbExtents& ext) const;
};

// Arcs that cannot stay arcs become chains of at most this many segments.
constexpr int kStepsPerTurn = 360;

// Whether the angle lies on the counter-clockwise sweep of the arc.
bool OnSweep(const Arc& arc, double angle);
AcGePoint3d PointOnArc(const Arc& arc, double angle);
// The arc as a chain of short segments.
void Tessellate(const Arc& arc, std::vector<std::pair<AcGePoint3d, AcGePoint3d>>& out);

// The host's arbitrary-axis rule: the x and y axes of the coordinate system of a normal.
void OcsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis);
AcGePoint3d OcsToWcs(const AcGeVector3d& normal, const AcGePoint3d& p);
AcGePoint3d WcsToOcs(const AcGeVector3d& normal, const AcGePoint3d& p);
bool IsWorldZ(const AcGeVector3d& normal);

// The vector scaled to length 1; the z axis for a zero vector.
AcGeVector3d Unit(const AcGeVector3d& v);

// Scale, rotation and mirror of a matrix that is a similarity in XY.
struct PlaneMotion {
  double scale, rotation;
  bool mirrored;
};
PlaneMotion MotionOf(const AcGeMatrix3d& m);
// Whether m is a rotation times one scale factor in XY (a mirror allowed).
bool SimilarInXY(const AcGeMatrix3d& m);
// Whether arcs stay arcs under m (Shape::TransformBy), else they become chains of segments.
bool KeepsArcs(const AcGeMatrix3d& m);
AcGeMatrix3d Translation(const AcGeVector3d& v);
// a times b: b applied first.
AcGeMatrix3d Multiply(const AcGeMatrix3d& a, const AcGeMatrix3d& b);

// Whether m, restricted to directions, is a rotation times one scale factor (a mirror
// allowed); the factor is returned in scale.
bool IsUniformScaling(const AcGeMatrix3d& m, double* scale = nullptr);
// Whether m keeps the XY plane's directions in XY and Z on Z (the z factor positive).
bool KeepsXYPlane(const AcGeMatrix3d& m);

}  // namespace standin
