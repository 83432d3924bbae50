// Screen colours of the host's colour numbers.
#include "image/ColorToRGB.h"

#include "platform/Host.h"

void ColorToRGB(int nColor, int& nRed, int& nGreen, int& nBlue) {
  const unsigned long value = acedGetRGB(nColor);
  nRed = static_cast<int>(value & 0xFF);
  nGreen = static_cast<int>((value & 0xFFFF) >> 8);
  nBlue = static_cast<int>((value >> 16) & 0xFF);
}
