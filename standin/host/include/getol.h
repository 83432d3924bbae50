// Just enough of the host geometry library's tolerance, behaving as the host's does.
#pragma once

class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return m_point; }
  double equalVector() const { return m_vector; }
  void setEqualPoint(double val) { m_point = val; }
  void setEqualVector(double val) { m_vector = val; }

 private:
  double m_point = 1e-10;
  double m_vector = 1e-12;
};
