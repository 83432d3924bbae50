// Just enough of the geometry library's closed-capable 2D polyline, behaving as the family's
// does, for outlines that become regions and hatch boundaries.
#include <ZoGePolyline2d.h>

ZoGePolyline2d::~ZoGePolyline2d() = default;

const wchar_t* ZoGePolyline2d::GetRxClassName() const { return L"ZoGePolyline2d"; }

bool ZoGePolyline2d::CopyFrom(const ZoGeObject& src) {
  const auto* line = dynamic_cast<const ZoGePolyline2d*>(&src);
  if (!line) return false;
  *this = *line;
  return true;
}

void ZoGePolyline2d::SetClosed(bool bClosed, double dTol) {
  if (bClosed) {
    const double tol = dTol > g_distZero ? dTol : g_distZero;
    const long n = GetVertexNum();
    if (n > 1 && GetVertex(n - 1).DistanceTo(GetVertex(0)) <= tol) {
      const ZoGePolyline2d all(*this);
      RemoveAll();
      for (long i = 0; i + 1 < n; ++i) AppendVertex(all.GetVertex(i), all.GetBulge(i));
    }
  }
  ZoGeMLine2d::SetClosed(bClosed);
}
