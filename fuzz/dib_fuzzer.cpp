// Fuzzes ReadDIBFile with whole BMP files, then paints what it accepted as the painter does:
// fitted, stretched, at natural size and highlighted.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "image/DIBUtil.h"
#include "image/ImageDraw.h"
#include "testing/Canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring& path = fuzz::FileWith(data, size);
  CFile file;
  if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite)) __builtin_trap();
  HDIB dib = ReadDIBFile(file);
  file.Close();
  if (!dib) return 0;

  static tovutest::Canvas canvas(64, 48);
  CDC dc;
  dc.Attach(canvas.dc());
  ZoPtImageDraw draw;
  draw.PaintDIB(dib);
  CSize imageSize;
  if (!draw.GetImageSize(imageSize)) __builtin_trap();
  draw.SetDC(&dc);
  draw.SetRect(CRect(2, 3, 62, 45));
  for (int mode = 0; mode < 4; ++mode) {
    draw.SetAutoScale(mode != 2);
    draw.SetUniformScale(mode != 1);
    draw.SetHighlight(mode == 3);
    if (draw.Redraw() != 1) __builtin_trap();
  }
  dc.Detach();
  return 0;
}
