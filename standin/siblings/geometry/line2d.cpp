// The geometry library's 2D vector and infinite line: feet of perpendiculars and meeting points.
#include <ZoGeBaseLine2d.h>

#include <cmath>

ZoGeVector2d ZoGeVector2d::CreateFromAngle(double dAngle) { return ZoGeVector2d(std::cos(dAngle), std::sin(dAngle)); }

double ZoGeVector2d::Length() const { return std::hypot(x, y); }

ZoGeBaseLine2d::ZoGeBaseLine2d() : m_vDir(1, 0) {}

ZoGeBaseLine2d::ZoGeBaseLine2d(const ZoGePoint2d& ptBase, const ZoGeVector2d& vDir) { Set(ptBase, vDir); }

void ZoGeBaseLine2d::Set(const ZoGePoint2d& ptBase, const ZoGeVector2d& vDir) {
  m_ptBase = ptBase;
  const double len = vDir.Length();
  // A direction that is zero, or not a number, leaves no way along the line.
  if (!(len > 0) || !std::isfinite(len))
    m_vDir = ZoGeVector2d(1, 0);
  else
    m_vDir = ZoGeVector2d(vDir.x / len, vDir.y / len);
}

ZoGePoint2d ZoGeBaseLine2d::GetNearestPoint(const ZoGePoint2d& pt) const {
  const double t = (pt.x - m_ptBase.x) * m_vDir.x + (pt.y - m_ptBase.y) * m_vDir.y;
  return ZoGePoint2d(m_ptBase.x + t * m_vDir.x, m_ptBase.y + t * m_vDir.y);
}

int ZoGeBaseLine2d::IntersectWith(const ZoGeBaseLine2d& line, ZoGePoint2d& ptInt, bool) const {
  // Both directions are unit vectors, so their cross product is the sine of the angle between them.
  const ZoGeVector2d& d = line.m_vDir;
  const double sine = m_vDir.x * d.y - m_vDir.y * d.x;
  if (!(std::fabs(sine) > g_angleZero)) return 0;
  const double dx = line.m_ptBase.x - m_ptBase.x, dy = line.m_ptBase.y - m_ptBase.y;
  const double t = (dx * d.y - dy * d.x) / sine;
  ptInt = ZoGePoint2d(m_ptBase.x + t * m_vDir.x, m_ptBase.y + t * m_vDir.y);
  return 1;
}
