// Just enough of the host's colour value, behaving as the host's does.
#pragma once

#include <acadstrc.h>
#include <adesk.h>

// The host's colour value; only the index colours (0 BYBLOCK, 1-255, 256 BYLAYER) exist here.
class AcCmColor {
 public:
  AcCmColor() = default;
  Adesk::UInt16 colorIndex() const { return m_index; }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  bool isByLayer() const { return m_index == 256; }
  bool isByBlock() const { return m_index == 0; }

 private:
  Adesk::UInt16 m_index = 256;
};
