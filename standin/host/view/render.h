// Control of the host's drawing view as a picture: the current space of the session's drawing
// painted through the current view, with what the host draws over it (temporary vectors, the
// image of a set being dragged, what a jig shows) and the cursor, the way the screen shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "standin/host/view/views.h"

namespace standin {

struct Raster {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, the top row first
  // Red, green and blue bytes per pixel, as PNG and GIF files take them.
  std::vector<uint8_t> Rgb() const;
};

struct RenderResult {
  Raster raster;
  // What was left out, one line per reason with its count ("2 entities with coordinates that
  // are not finite").
  std::vector<std::wstring> leftOut;
};

// Paints the drawing view into width by height pixels; another size than the drawing view's shows
// the same view scaled to the raster's height. Reasons for leaving something out are also said on
// standard error, each once per drawing.
RenderResult RenderView(int width = kDrawingViewWidth, int height = kDrawingViewHeight);

// The drawing view as a PNG file; false with the reason in error when it cannot be written.
bool WriteViewPng(const std::wstring& path, std::wstring& error, int width = kDrawingViewWidth,
                  int height = kDrawingViewHeight);

}  // namespace standin
