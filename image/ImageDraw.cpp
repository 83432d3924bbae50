// The image painter: slides, DIBs, bitmaps and picture files in a rectangle of a device context.
#include "image/ImageDraw.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/ColorToRGB.h"
#include "image/SlideFit.h"
#include "platform/Siblings.h"

namespace {

constexpr COLORREF kHighlightFill = 0xC08000;
constexpr COLORREF kEmptyFill = 0xC0C0C0;
constexpr COLORREF kFrameShadow = 0x808080;
constexpr COLORREF kFrameLight = 0xF0F0F0;
constexpr COLORREF kFrameRed = 0x0000FF;
constexpr int kSlideMargin = 5;

// Toward zero, kept inside the coordinate range GDI works in (27 bits), so that no fit of a
// freak size overflows an int; NaN gives 0.
int Truncate(double v) {
  if (!(v == v)) return 0;
  if (v > (1 << 27)) return 1 << 27;
  if (v < -(1 << 27)) return -(1 << 27);
  return static_cast<int>(v);
}

// Half away from zero.
int Round(double v) { return v >= 0 ? Truncate(v + 0.5) : Truncate(v - 0.5); }

// A DIB's width and height in pixels; a top-down DIB's negative height counts by its size.
void DibSize(HDIB hDIB, DWORD& width, DWORD& height) {
  const HGLOBAL hMem = reinterpret_cast<HGLOBAL>(hDIB);
  const auto lpDIB = static_cast<LPSTR>(::GlobalLock(hMem));
  width = height = 0;
  if (!lpDIB) return;
  width = DIBWidth(lpDIB);
  height = DIBHeight(lpDIB);
  DWORD headerSize;
  std::memcpy(&headerSize, lpDIB, sizeof headerSize);
  if (headerSize == sizeof(BITMAPINFOHEADER) && static_cast<int32_t>(height) < 0)
    height = static_cast<DWORD>(-static_cast<int64_t>(static_cast<int32_t>(height)));
  ::GlobalUnlock(hMem);
}

}  // namespace

ZoPtImageDraw::ZoPtImageDraw() : m_rect(0, 0, 0, 0), m_backColor(GetBackgroundColor()) {}

ZoPtImageDraw::~ZoPtImageDraw() { Reset(); }

void ZoPtImageDraw::Reset() {
  if (m_pPalette) {
    delete m_pPalette;
    m_pPalette = nullptr;
  }
  if (m_hDIB) {
    const HGLOBAL hMem = reinterpret_cast<HGLOBAL>(m_hDIB);
    ::GlobalUnlock(hMem);
    ::GlobalFree(hMem);
    m_hDIB = nullptr;
  }
  if (m_pBitmap) {
    delete m_pBitmap;
    m_pBitmap = nullptr;
  }
  m_imageList.Reset();
  m_pDC = nullptr;
  m_strPath.Empty();
}

int ZoPtImageDraw::IsImageLoaded() const {
  switch (m_nImageKind) {
    case kDIB:
      return m_hDIB != nullptr;
    case kSlide:
      return !m_imageList.IsEmpty();
    case kBitmap:
      return m_pBitmap != nullptr;
    case kPictureFile:
      return !m_strPath.IsEmpty();
    default:
      return 0;
  }
}

int ZoPtImageDraw::GetImageSize(CSize& size) const {
  if (!m_hDIB || !m_pPalette) return 0;
  DWORD width, height;
  DibSize(m_hDIB, width, height);
  size.cx = static_cast<LONG>(width);
  size.cy = static_cast<LONG>(height);
  return 1;
}

void ZoPtImageDraw::Fill(COLORREF color) {
  if (!m_pDC) return;
  m_pDC->FillSolidRect(&m_rect, color == 0 ? m_backColor : color);
}

int ZoPtImageDraw::Redraw() {
  if (!IsImageLoaded()) {
    Fill(kEmptyFill);
    return 0;
  }
  switch (m_nImageKind) {
    case kSlide:
      return DrawSlide();
    case kDIB:
      return DrawDIB();
    case kBitmap:
      return DrawBitmap();
    case kPictureFile:
      return DrawPictureFile();
    default:
      return 0;
  }
}

int ZoPtImageDraw::PaintImage(const wchar_t* path) {
  Reset();
  if (path) {
    CString upper(path);
    upper.MakeUpper();
    if (upper.Find(L".BMP") < 0) {
      m_strPath = path;
      m_nImageKind = kPictureFile;
      return DrawPictureFile();
    }
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return 0;
    m_hDIB = ReadDIBFile(file);
  }
  if (m_hDIB) {
    m_pPalette = new CPalette;
    CreateDIBPalette(m_hDIB, m_pPalette);
  }
  m_nImageKind = kDIB;
  return DrawDIB();
}

int ZoPtImageDraw::PaintSlide(const wchar_t* path) {
  Reset();
  if (path) m_imageList.ReadSlideFile(path);
  m_nImageKind = kSlide;
  return DrawSlide();
}

int ZoPtImageDraw::PaintDIB(HDIB hDIB) {
  Reset();
  m_hDIB = hDIB;
  if (m_hDIB) {
    m_pPalette = new CPalette;
    CreateDIBPalette(m_hDIB, m_pPalette);
  }
  m_nImageKind = kDIB;
  return DrawDIB();
}

int ZoPtImageDraw::PaintBitmap(CBitmap* pBitmap) {
  Reset();
  m_pBitmap = pBitmap;
  m_nImageKind = kBitmap;
  return DrawBitmap();
}

COLORREF ZoPtImageDraw::LineColor(int nColor) const {
  int red, green, blue;
  ColorToRGB(nColor, red, green, blue);
  if (RGB(red, green, blue) == m_backColor) return RGB(255 - red, 255 - green, 255 - blue);
  return RGB(red, green, blue);
}

int ZoPtImageDraw::DrawSlide() {
  if (!m_pDC) return 0;
  Fill(m_bHighlight ? kHighlightFill : m_backColor);
  // Each point is fitted as it is painted: the painter's own list keeps slide coordinates for the
  // next paint. A list without extent has nothing to paint.
  ZoPtSlideFit fit;
  if (!fit.Compute(m_imageList, m_rect.Width(), m_rect.Height(), kSlideMargin)) return 1;
  auto pixel = [&](ZoGePoint p) {
    fit.Apply(p);
    return CPoint(Round(p.x) + m_rect.left, Round(p.y) + m_rect.top);
  };

  // Slides come in runs of one colour: a run is painted with one pen in one call, in pieces of
  // a bounded number of lines.
  constexpr size_t kLinesPerCall = 4096;
  const std::vector<DWORD> twos(kLinesPerCall, 2);
  std::vector<POINT> ends;
  ends.reserve(2 * kLinesPerCall);
  int nRunColor = 0;
  auto paintRun = [&] {
    if (ends.empty()) return;
    CPen pen;
    if (pen.CreatePen(PS_SOLID, 1, LineColor(nRunColor))) {
      CPen* pOldPen = m_pDC->SelectObject(&pen);
      m_pDC->PolyPolyline(ends.data(), twos.data(), static_cast<int>(ends.size() / 2));
      m_pDC->SelectObject(pOldPen);
    }
    ends.clear();
  };
  for (ZoPtImageLine* const* p = m_imageList.GetLast(); p; p = m_imageList.GetPre(p)) {
    if (!*p) continue;
    const ZoPtImageLine& line = **p;
    if (line.m_nColor != nRunColor || ends.size() == 2 * kLinesPerCall) paintRun();
    nRunColor = line.m_nColor;
    const CPoint from = pixel(line.m_ptStart);
    CPoint to = pixel(line.m_ptEnd);
    // GDI leaves a line's last pixel out: a dot becomes a one-pixel diagonal step.
    if (from == to) to.Offset(1, 1);
    ends.push_back(from);
    ends.push_back(to);
  }
  paintRun();

  const ZoPDList<ZoPtImageHatch>& hatches = m_imageList.GetHatchList();
  std::vector<POINT> points;
  for (ZoPtImageHatch* const* p = hatches.GetFirst(); p; p = hatches.GetNext(p)) {
    if (!*p) continue;
    const ZoPtImageHatch& hatch = **p;
    CBrush brush;
    if (!brush.CreateSolidBrush(LineColor(hatch.m_nColor))) continue;
    CBrush* pOldBrush = m_pDC->SelectObject(&brush);
    points.resize(static_cast<size_t>(hatch.GetVertexNum()));
    for (long i = 0; i < hatch.GetVertexNum(); ++i) points[static_cast<size_t>(i)] = pixel(hatch.GetVertex(i));
    CRgn region;
    if (region.CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE))
      m_pDC->FillRgn(&region, &brush);
    m_pDC->SelectObject(pOldBrush);
  }
  return 1;
}

int ZoPtImageDraw::DrawDIB() {
  if (!m_pDC) return 0;
  Fill(m_bHighlight ? kHighlightFill : m_backColor);
  DWORD w, h;
  DibSize(m_hDIB, w, h);
  CRect source(0, 0, static_cast<int>(w), static_cast<int>(h));
  CRect dest;
  if (!m_bAutoScale) {
    dest = CRect(m_rect.left, m_rect.top, Truncate(static_cast<double>(m_rect.left) + w),
                 Truncate(static_cast<double>(m_rect.top) + h));
  } else if (m_bUniformScale && w > 0 && h > 0) {
    const double sx = static_cast<double>(m_rect.Width()) / w, sy = static_cast<double>(m_rect.Height()) / h;
    const double s = sy > sx ? sx : sy;
    const double ox = (m_rect.Width() - s * w) / 2, oy = (m_rect.Height() - s * h) / 2;
    dest = m_rect;
    dest.InflateRect(-Truncate(ox), -Truncate(oy));
  } else {
    dest = m_rect;
  }
  // A palette that could not be made is not selected.
  CPalette* pPalette = m_pPalette && m_pPalette->GetSafeHandle() ? m_pPalette : nullptr;
  ::PaintDIB(m_pDC->GetSafeHdc(), &dest, m_hDIB, &source, pPalette);

  CRect frame = m_rect;
  if (m_bHighlight) {
    for (int i = 0; i < 2; ++i) {
      m_pDC->Draw3dRect(&frame, kFrameShadow, kFrameLight);
      frame.InflateRect(-1, -1);
    }
    CBrush red;
    if (red.CreateSolidBrush(kFrameRed)) {
      m_pDC->FrameRect(&frame, &red);
      frame.InflateRect(-1, -1);
      m_pDC->FrameRect(&frame, &red);
    }
  } else {
    CBrush back;
    if (back.CreateSolidBrush(m_backColor)) {
      for (int i = 0; i < 4; ++i) {
        if (i > 0) frame.InflateRect(-1, -1);
        m_pDC->FrameRect(&frame, &back);
      }
    }
  }
  return 1;
}

int ZoPtImageDraw::DrawBitmap() {
  if (!m_pDC) return 0;
  Fill(m_bHighlight ? kHighlightFill : m_backColor);
  BITMAP bm = {};
  if (!m_pBitmap || m_pBitmap->GetObject(sizeof bm, &bm) != static_cast<int>(sizeof bm)) return 1;
  CDC memDC;
  if (!memDC.CreateCompatibleDC(m_pDC)) return 1;
  CBitmap* pOld = memDC.SelectObject(m_pBitmap);
  m_pDC->StretchBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), &memDC, 0, 0, bm.bmWidth, bm.bmHeight,
                    SRCCOPY);
  memDC.SelectObject(pOld);
  memDC.DeleteDC();
  return 1;
}

int ZoPtImageDraw::DrawPictureFile() {
  if (!m_pDC) return 0;
  CFile file;
  if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyNone)) return 0;
  HGLOBAL hGlobal = nullptr;
  ULONGLONG length = 0;
  try {
    length = file.GetLength();
    // The loader takes a 32-bit signed size.
    if (length > 0x7FFFFFFF) return 0;
    hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length));
    if (!hGlobal) return 0;
    void* pData = ::GlobalLock(hGlobal);
    const bool complete = pData && file.Read(pData, static_cast<UINT>(length)) == length;
    ::GlobalUnlock(hGlobal);
    file.Close();
    if (!complete) {
      ::GlobalFree(hGlobal);
      return 0;
    }
  } catch (CFileException* e) {
    e->Delete();
    if (hGlobal) ::GlobalFree(hGlobal);
    return 0;
  }

  LPSTREAM pStream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(hGlobal, TRUE, &pStream))) {
    ::GlobalFree(hGlobal);
    return 0;
  }
  LPPICTURE pPicture = nullptr;
  if (FAILED(::OleLoadPicture(pStream, static_cast<LONG>(length), TRUE, IID_IPicture,
                              reinterpret_cast<LPVOID*>(&pPicture)))) {
    pStream->Release();
    return 0;
  }
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  pPicture->get_Width(&hmWidth);
  pPicture->get_Height(&hmHeight);
  pPicture->Render(m_pDC->GetSafeHdc(), 0, 0, m_rect.Width(), m_rect.Height(), 0, hmHeight, hmWidth, -hmHeight,
                   nullptr);
  pPicture->Release();
  pStream->Release();
  return 1;
}
