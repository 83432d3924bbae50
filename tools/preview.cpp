// The host program's preview: paints a slide, BMP or picture file with the module's image
// painter into a raster and writes it as a BMP file (through the module's SaveBitmapToFile)
// or a PNG file. Built as a library beside the module and loaded by tovu-host only for
// `tovu-host preview`, after the module itself, so that the host keeps loading the module
// the way the host does; it uses the module's exported classes as the family's applications do.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "image/DIBUtil.h"
#include "image/ImageDraw.h"
#include "platform/Host.h"
#include "standin/win32/png.h"

namespace {

// A painter that takes a slide read beforehand, so that the file is read once: the reading tells
// whether it is a slide at all.
class Painter : public ZoPtImageDraw {
 public:
  // True when the file's header is a slide's; the slide is then what the painter shows.
  bool LoadSlide(const wchar_t* path) {
    Reset();
    if (m_imageList.ReadSlideFile(path) != RTNORM) return false;
    m_nImageKind = kSlide;
    return true;
  }
};

bool EndsWith(const std::wstring& text, const wchar_t* tail) {
  const size_t n = std::wcslen(tail);
  return text.size() >= n && _wcsicmp(text.c_str() + text.size() - n, tail) == 0;
}

// The raster as a PNG file; false with the reason in error.
bool SaveRasterAsPng(HDC hdc, HBITMAP bitmap, int width, int height, const std::wstring& out, std::wstring& error) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<BYTE> bgrx(static_cast<size_t>(width) * height * 4);
  if (GetDIBits(hdc, bitmap, 0, static_cast<UINT>(height), bgrx.data(), &info, DIB_RGB_COLORS) != height)
    return error = L"the painted raster cannot be read back", false;
  std::vector<BYTE> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0, j = 0; i < bgrx.size(); i += 4, j += 3) {
    rgb[j] = bgrx[i + 2];
    rgb[j + 1] = bgrx[i + 1];
    rgb[j + 2] = bgrx[i];
  }
  return standin::WritePng(out, width, height, rgb.data(), &error);
}

void Say(wchar_t* message, int size, const std::wstring& text) {
  if (!message || size <= 0) return;
  std::wcsncpy(message, text.c_str(), static_cast<size_t>(size) - 1);
  message[size - 1] = L'\0';
}

}  // namespace

// Paints input into a width by height raster and writes it to output (.bmp or .png). 0 when
// written; otherwise non-zero with the reason in message.
#if defined(_WIN32)
#define TOVU_PREVIEW_API __declspec(dllexport)
#else
#define TOVU_PREVIEW_API __attribute__((visibility("default")))
#endif
extern "C" TOVU_PREVIEW_API int TovuPreviewRender(const wchar_t* input, const wchar_t* output, int width, int height,
                                                  int highlight, wchar_t* message, int messageSize) {
  const std::wstring in = input ? input : L"", out = output ? output : L"";
  const bool png = EndsWith(out, L".png");
  if (!png && !EndsWith(out, L".bmp")) {
    Say(message, messageSize, L"the output file must end in .png or .bmp");
    return 2;
  }
  HDC screen = GetDC(nullptr);
  CDC dc;
  dc.Attach(CreateCompatibleDC(screen));
  CBitmap raster;
  raster.Attach(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  if (!dc.GetSafeHdc() || !raster.GetSafeHandle()) {
    Say(message, messageSize, L"no raster of that size can be made");
    return 1;
  }
  CBitmap* old = dc.SelectObject(&raster);

  // A slide whose header is accepted is shown even when it holds nothing (light grey).
  bool shown;
  {
    Painter draw;
    draw.SetHighlight(highlight);
    const bool slide = draw.LoadSlide(in.c_str());
    if (!slide) draw.PaintImage(in.c_str());
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, width, height));
    shown = draw.Redraw() != 0 || slide;
  }
  dc.SelectObject(old);
  if (!shown) {
    Say(message, messageSize, in + L" is not a slide, BMP or picture file that can be read");
    return 1;
  }
  std::wstring why;
  const bool written =
      png ? SaveRasterAsPng(dc.GetSafeHdc(), static_cast<HBITMAP>(raster.GetSafeHandle()), width, height, out, why)
          : SaveBitmapToFile(static_cast<HBITMAP>(raster.GetSafeHandle()), out.c_str()) != 0;
  if (!written) {
    Say(message, messageSize, why.empty() ? L"cannot write " + out : why);
    return 1;
  }
  return 0;
}
