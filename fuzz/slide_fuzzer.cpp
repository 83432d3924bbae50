// Fuzzes the slide reader with whole files, then fits, copies and paints what it read.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "image/ImageDraw.h"
#include "image/ImageList.h"
#include "platform/Host.h"
#include "testing/Canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring& path = fuzz::FileWith(data, size);
  ZoPtImageList list;
  if (list.ReadSlideFile(path.c_str()) != RTNORM || list.IsEmpty()) return 0;
  ZoGePoint lo, hi;
  if (list.GetExtend(lo, hi) != RTNORM) __builtin_trap();
  ZoPtImageList copy(list);
  copy.WcsToDcs(64, 48, 5);

  static tovutest::Canvas canvas(64, 48);
  CDC dc;
  dc.Attach(canvas.dc());
  ZoPtImageDraw draw;
  draw.PaintSlide(path.c_str());
  draw.SetDC(&dc);
  draw.SetRect(CRect(0, 0, 64, 48));
  if (draw.Redraw() != 1) __builtin_trap();
  dc.Detach();
  return 0;
}
