// The geometry library's 3D vector and transform, and angles brought into one turn.
#include <ZoGeMatrix.h>

#include <cmath>

double ZoGeVector3d::Length() const { return std::sqrt(x * x + y * y + z * z); }

ZoGeMatrix::ZoGeMatrix() { SetIdentity(); }

void ZoGeMatrix::SetIdentity() {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m_dValue[r][c] = r == c ? 1.0 : 0.0;
}

ZoGeMatrix& ZoGeMatrix::CreateMoveMatrix(const ZoGeVector3d& v) {
  SetIdentity();
  m_dValue[0][3] = v.x;
  m_dValue[1][3] = v.y;
  m_dValue[2][3] = v.z;
  return *this;
}

ZoGeMatrix& ZoGeMatrix::CreateRotateMatrix(double dAngle, const ZoGePoint& ptCenter) {
  SetIdentity();
  const double c = std::cos(dAngle), s = std::sin(dAngle);
  m_dValue[0][0] = c;
  m_dValue[0][1] = -s;
  m_dValue[1][0] = s;
  m_dValue[1][1] = c;
  // The centre stays where it is: t = centre - R * centre.
  m_dValue[0][3] = ptCenter.x - (c * ptCenter.x - s * ptCenter.y);
  m_dValue[1][3] = ptCenter.y - (s * ptCenter.x + c * ptCenter.y);
  return *this;
}

void ZoGeMatrix::Transform(ZoGePoint& pt) const {
  const double in[3] = {pt.x, pt.y, pt.z};
  double out[3];
  for (int r = 0; r < 3; ++r)
    out[r] = m_dValue[r][0] * in[0] + m_dValue[r][1] * in[1] + m_dValue[r][2] * in[2] + m_dValue[r][3];
  pt = ZoGePoint(out[0], out[1], out[2]);
}

double GetStdAngle(double dAngle) {
  if (!std::isfinite(dAngle)) return 0;
  constexpr double kTurn = 6.283185307179586;
  double a = std::fmod(dAngle, kTurn);  // exact, and constant time for any magnitude
  if (a < 0) a += kTurn;
  return a < kTurn ? a : 0;  // a tiny negative angle rounds up to a whole turn
}
