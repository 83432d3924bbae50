// Running object snaps on the outlines the display draws: endpoints, midpoints and centres of
// segments and arcs, and the nearest point of an outline.
#include "standin/host/view/osnap.h"

#include <dbents.h>

#include <cmath>
#include <limits>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/view/hittest.h"

namespace standin {

namespace {

struct Best {
  double distance = std::numeric_limits<double>::infinity();
  AcGePoint3d point;
  bool found = false;
  void Offer(const AcGePoint3d& q, const double* p) {
    const double d = std::hypot(q.x - p[0], q.y - p[1]);
    if (!std::isfinite(d) || d >= distance) return;
    distance = d;
    point = q;
    found = true;
  }
};

bool InBox(const AcGePoint3d& q, const double* p, double h) {
  return std::fabs(q.x - p[0]) <= h && std::fabs(q.y - p[1]) <= h;
}

AcGePoint3d NearestOnSegment(const AcGePoint3d& a, const AcGePoint3d& b, const double* p) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p[0] - a.x) * dx + (p[1] - a.y) * dy) / len2 : 0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return {a.x + t * dx, a.y + t * dy, a.z + t * (b.z - a.z)};
}

AcGePoint3d NearestOnArc(const Arc& arc, const double* p) {
  const double angle = std::atan2(p[1] - arc.center.y, p[0] - arc.center.x);
  if (OnSweep(arc, angle) && (p[0] != arc.center.x || p[1] != arc.center.y)) return PointOnArc(arc, angle);
  const AcGePoint3d s = PointOnArc(arc, arc.start), e = PointOnArc(arc, arc.end);
  return std::hypot(s.x - p[0], s.y - p[1]) <= std::hypot(e.x - p[0], e.y - p[1]) ? s : e;
}

bool ClosedArc(const Arc& arc) { return arc.end - arc.start >= kTwoPi - 1e-9; }

}  // namespace

// APERTURE is taken as a half size in pixels, as PICKBOX is (chosen, the host says "size").
double ApertureHalf() { return ViewPixels(SysVarInt(L"APERTURE", 10)); }

bool RunningSnap(const double p[3], int osmode, double snapped[3]) {
  if (osmode & kSnapOff || !(osmode & (kSnapEndpoint | kSnapMidpoint | kSnapCenter | kSnapNearest))) return false;
  const double h = ApertureHalf();
  // The host's AutoSnap takes the snap point nearest to the cursor among the enabled modes;
  // nearest only when no other mode finds a point (chosen: it would otherwise always win).
  Best special, nearest;
  for (const AcDbEntity* ent : Candidates(true, false)) {
    Shape s;
    DbAccess::ShapeOf(ent, s);
    if (!TouchesRect(s, p[0] - h, p[1] - h, p[0] + h, p[1] + h)) continue;
    auto offer = [&](int mode, const AcGePoint3d& q) {
      if ((osmode & mode) && InBox(q, p, h)) special.Offer(q, p);
    };
    for (const auto& [a, b] : s.segments) {
      offer(kSnapEndpoint, a);
      offer(kSnapEndpoint, b);
      offer(kSnapMidpoint, {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2});
      if (osmode & kSnapNearest) nearest.Offer(NearestOnSegment(a, b, p), p);
    }
    for (const Arc& arc : s.arcs) {
      if (!ClosedArc(arc)) {
        offer(kSnapEndpoint, PointOnArc(arc, arc.start));
        offer(kSnapEndpoint, PointOnArc(arc, arc.end));
        offer(kSnapMidpoint, PointOnArc(arc, (arc.start + arc.end) / 2));
      }
      // The centre is found from the outline under the box, far as it may lie from the cursor.
      if ((osmode & kSnapCenter) && TouchesRect(Shape{{}, {arc}, {}, {}}, p[0] - h, p[1] - h, p[0] + h, p[1] + h))
        special.Offer(arc.center, p);
      if (osmode & kSnapNearest) nearest.Offer(NearestOnArc(arc, p), p);
    }
  }
  const Best& best = special.found ? special : nearest;
  if (!best.found) return false;
  snapped[0] = best.point.x, snapped[1] = best.point.y, snapped[2] = best.point.z;
  return true;
}

}  // namespace standin
