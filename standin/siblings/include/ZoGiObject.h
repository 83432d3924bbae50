// Just enough of the family's drawable objects, behaving as theirs do, for the lists the
// platform exports over them: a polymorphic base, never equal and never ordered.
#pragma once

class ZoGiObject {
 public:
  explicit ZoGiObject(int nColor = 0) : m_nColor(nColor) {}
  ZoGiObject(const ZoGiObject&) = default;
  ZoGiObject& operator=(const ZoGiObject&) = default;
  virtual ~ZoGiObject();

  bool operator==(const ZoGiObject&) const { return false; }
  bool operator!=(const ZoGiObject&) const { return false; }
  bool operator<(const ZoGiObject&) const { return false; }
  bool operator>(const ZoGiObject&) const { return false; }

  int m_nColor;
};
