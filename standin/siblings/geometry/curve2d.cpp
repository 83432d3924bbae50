// Just enough of the geometry library's object and 2D curve interface, behaving as the
// family's do, for the module's line segments and polygons.
#include <ZoGeCurve2d.h>

#include <cmath>

ZoGeObject::~ZoGeObject() = default;

const wchar_t* ZoGeObject::GetRxClassName() const { return L"ZoGeObject"; }

bool ZoGeObject::operator<(const ZoGeObject& other) const {
  ZoGeExtent2d mine, theirs;
  const bool haveMine = GetExtent2d(mine), haveTheirs = other.GetExtent2d(theirs);
  if (!haveMine || !haveTheirs) return !haveMine && haveTheirs;
  const ZoGePoint a = mine.GetMinPoint(), b = theirs.GetMinPoint();
  if (std::fabs(a.x - b.x) > g_distZero) return a.x < b.x;
  return b.y - a.y > g_distZero;
}

const wchar_t* ZoGeCurve2d::GetRxClassName() const { return L"ZoGeCurve2d"; }

const wchar_t* ZoGeLineSeg2d::GetRxClassName() const { return L"ZoGeLineSeg2d"; }

bool ZoGeLineSeg2d::CopyFrom(const ZoGeObject& src) {
  const auto* seg = dynamic_cast<const ZoGeLineSeg2d*>(&src);
  if (!seg) return false;
  *this = *seg;
  return true;
}

bool ZoGeLineSeg2d::GetExtent2d(ZoGeExtent2d& ext) const {
  ext = ZoGeExtent2d(ZoGeExtent(m_start.x, m_end.x), ZoGeExtent(m_start.y, m_end.y));
  return true;
}

void ZoGeLineSeg2d::Move(double dx, double dy) {
  m_start.x += dx;
  m_start.y += dy;
  m_end.x += dx;
  m_end.y += dy;
}

double ZoGeLineSeg2d::GetLength() const { return std::hypot(m_end.x - m_start.x, m_end.y - m_start.y); }

void ZoGeLineSeg2d::Reverse() {
  const ZoGePoint start = m_start;
  m_start = m_end;
  m_end = start;
}
