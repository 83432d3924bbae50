// Just enough of the geometry library's closed-capable 2D polyline, behaving as the family's
// does, for outlines that become regions and hatch boundaries.
#pragma once

#include <ZoGeMLine2d.h>

// The polyline of ZoGeMLine2d with the family's closing rule. Bulges stay included angles
// (radians, positive counter-clockwise, 0 for a straight segment).
class ZoGePolyline2d : public ZoGeMLine2d {
 public:
  explicit ZoGePolyline2d(long nAllocUnit = 0, bool bClosed = false) : ZoGeMLine2d(nAllocUnit, bClosed) {}
  ZoGePolyline2d(const ZoGePolyline2d& src) = default;
  ZoGePolyline2d& operator=(const ZoGePolyline2d& src) = default;
  ~ZoGePolyline2d() override;

  const wchar_t* GetRxClassName() const override;
  ZoGeObject* Clone() const override { return new ZoGePolyline2d(*this); }
  bool CopyFrom(const ZoGeObject& src) override;

  using ZoGeMLine2d::SetClosed;
  // Chosen: closing drops a last vertex that lies within dTol (at least g_distZero) of the
  // first, so that the closing segment is never of zero length; its bulge was that of a
  // segment of zero length and goes with it. Opening changes nothing else.
  void SetClosed(bool bClosed, double dTol);
};
