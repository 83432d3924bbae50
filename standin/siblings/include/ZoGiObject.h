// Just enough of the family's drawable objects, behaving as theirs do, for the lists the
// platform exports over them: an object with its colour, never equal and never ordered.
#pragma once

class ZoGiObject {
 public:
  explicit ZoGiObject(int nColor = 0) : m_nColor(nColor) {}

  bool operator==(const ZoGiObject&) const { return false; }
  bool operator!=(const ZoGiObject&) const { return false; }
  bool operator<(const ZoGiObject&) const { return false; }
  bool operator>(const ZoGiObject&) const { return false; }

  int m_nColor;
};
