// Just enough of the host's colour index palette, behaving as the host's does, for converting
// colour numbers into screen colours.
#include <aced.h>

#include <array>

namespace {

Adesk::UInt32 Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// The palette is regular: index 10 + 10 * hue + 2 * shade (+ 1 for the paler variant). Hues
// step by 15 degrees around the colour wheel from red; shades are 255, 204, 153, 127 and 76
// of full brightness; a paler variant mixes its shade half-way towards white.
std::array<Adesk::UInt32, 256> MakePalette() {
  std::array<Adesk::UInt32, 256> palette{};
  const Adesk::UInt32 standard[10] = {Rgb(0, 0, 0),       Rgb(255, 0, 0),    Rgb(255, 255, 0), Rgb(0, 255, 0),
                                      Rgb(0, 255, 255),   Rgb(0, 0, 255),    Rgb(255, 0, 255), Rgb(255, 255, 255),
                                      Rgb(128, 128, 128), Rgb(192, 192, 192)};
  for (int i = 0; i < 10; ++i) palette[i] = standard[i];
  const unsigned shades[5] = {255, 204, 153, 127, 76};
  for (int hue = 0; hue < 24; ++hue) {
    // Quarters of full intensity of each channel at this hue.
    const int sector = hue / 4, step = hue % 4;
    int q[3];
    switch (sector) {
      case 0:
        q[0] = 4, q[1] = step, q[2] = 0;
        break;
      case 1:
        q[0] = 4 - step, q[1] = 4, q[2] = 0;
        break;
      case 2:
        q[0] = 0, q[1] = 4, q[2] = step;
        break;
      case 3:
        q[0] = 0, q[1] = 4 - step, q[2] = 4;
        break;
      case 4:
        q[0] = step, q[1] = 0, q[2] = 4;
        break;
      default:
        q[0] = 4, q[1] = 0, q[2] = 4 - step;
        break;
    }
    for (int shade = 0; shade < 5; ++shade) {
      const unsigned v = shades[shade];
      unsigned full[3], pale[3];
      for (int c = 0; c < 3; ++c) {
        full[c] = v * q[c] / 4;
        pale[c] = v * (4 + q[c]) / 8;
      }
      palette[10 + 10 * hue + 2 * shade] = Rgb(full[0], full[1], full[2]);
      palette[11 + 10 * hue + 2 * shade] = Rgb(pale[0], pale[1], pale[2]);
    }
  }
  for (int i = 0; i < 6; ++i) {
    const unsigned v = 51 + 204 * i / 5;
    palette[250 + i] = Rgb(v, v, v);
  }
  return palette;
}

}  // namespace

Adesk::UInt32 acedGetRGB(int color) {
  static const std::array<Adesk::UInt32, 256> palette = MakePalette();
  return color >= 0 && color < 256 ? palette[color] : 0;
}
