// A memory device context with a 32-bit bitmap of its own, for tests that paint and then
// look at the pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tovutest {

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width), m_height(height) {
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return m_dc; }
  int width() const { return m_width; }
  int height() const { return m_height; }

  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = {0, 0, m_width, m_height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
  }
  COLORREF Pixel(int x, int y) const { return GetPixel(m_dc, x, y); }
  // Every pixel as 0x00RRGGBB, the top row first.
  std::vector<uint32_t> Pixels() const {
    std::vector<uint32_t> out;
    out.reserve(static_cast<size_t>(m_width) * m_height);
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) {
        const COLORREF c = GetPixel(m_dc, x, y);
        out.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
      }
    return out;
  }
  // How many pixels have the colour.
  int Count(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) n += GetPixel(m_dc, x, y) == color;
    return n;
  }

 private:
  int m_width;
  int m_height;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

}  // namespace tovutest
