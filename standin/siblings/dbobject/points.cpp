// Just enough of the database module's point helpers, behaving as the family's do, for
// growing boxes around points, midpoints and the user coordinate system.
#include <ZoPoints.h>
#include <aced.h>
#include <acedads.h>
#include <rxmfcapi.h>
#include <windows.h>

#include <algorithm>

namespace {

// Through the host's conversion between coordinate systems given by their codes.
ZoGePoint Trans(const ZoGePoint& pt, short from, short to, int nDisp) {
  resbuf rbFrom = {}, rbTo = {};
  rbFrom.restype = rbTo.restype = RTSHORT;
  rbFrom.resval.rint = from;
  rbTo.resval.rint = to;
  const ads_point in = {pt.x, pt.y, pt.z};
  ads_point out;
  if (acedTrans(in, &rbFrom, &rbTo, nDisp != 0, out) != RTNORM) return pt;
  return ZoGePoint(out[X], out[Y], out[Z]);
}

}  // namespace

ZoGePoint Min(const ZoGePoint& a, const ZoGePoint& b) {
  return ZoGePoint(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
}

ZoGePoint Max(const ZoGePoint& a, const ZoGePoint& b) {
  return ZoGePoint(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
}

void GetMidPt(const ZoGePoint& pt1, const ZoGePoint& pt2, ZoGePoint& ptMid) {
  // Halving first keeps the sum of two huge coordinates finite.
  ptMid = ZoGePoint(pt1.x / 2 + pt2.x / 2, pt1.y / 2 + pt2.y / 2, pt1.z / 2 + pt2.z / 2);
}

ZoGePoint UcsToWcs(const ZoGePoint& pt, int nDisp) { return Trans(pt, 1, 0, nDisp); }

ZoGePoint WcsToUcs(const ZoGePoint& pt, int nDisp) { return Trans(pt, 0, 1, nDisp); }

ZoGePoint GetCursorPoint() {
  CView* pView = acedGetAcadDwgView();
  POINT pt = {0, 0};
  if (!pView || !GetCursorPos(&pt)) return ZoGePoint();
  pView->ScreenToClient(&pt);
  acedDwgPoint world = {0, 0, 0};
  acedCoordFromPixelToWorld(CPoint(pt.x, pt.y), world);
  return ZoGePoint(world[0], world[1], world[2]);
}
