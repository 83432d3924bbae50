// Inside the stand-in host: closed boundaries of straight and bulged segments, shared by hatches
// and regions (their area, length, outline and transforms). Not used by the module.
#pragma once

#include <gemat3d.h>
#include <gepnt2d.h>

#include <vector>

#include "standin/host/drawing/shape.h"

namespace standin {

// A closed loop in the XY plane: segment i runs from point i to point i + 1 (the last one back
// to point 0) with bulge i, the tangent of a quarter of its included angle.
struct Loop {
  std::vector<AcGePoint2d> points;
  std::vector<double> bulges;
};

// The loop of a vertex list as callers hand it over: a last vertex that repeats the first only
// closes the loop, and missing bulges are 0.
Loop ClosedLoop(const std::vector<AcGePoint2d>& points, const std::vector<double>& bulges);
// Positive when the loop runs counter-clockwise; arcs add or take away their segment of circle.
double SignedArea(const Loop& loop);
double Perimeter(const Loop& loop);
// No area to fill: under three corners without arcs, points that are not finite, or an area
// that vanishes against the size of the loop.
bool IsDegenerate(const Loop& loop);
void AddOutline(Shape& shape, const Loop& loop, double elevation);
// A similarity in XY (checked by the caller) applied to the points; mirrors turn the arcs.
void TransformLoop(Loop& loop, const AcGeMatrix3d& xform, double elevation);
// Whether the matrix mirrors the XY plane.
bool Mirrors(const AcGeMatrix3d& xform);

}  // namespace standin
