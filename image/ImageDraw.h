// The image painter: shows one preview (a slide file, a DIB, a bitmap or another picture
// file) in a rectangle of a device context that its owner keeps.
//
// Loading an image forgets the device context, so a load paints nothing: the owner sets the
// device context (and rectangle) and calls Redraw whenever the window needs painting.
#pragma once

#include "image/DIBUtil.h"
#include "image/ImageList.h"
#include "platform/Export.h"
#include "platform/Win32.h"

class TOVU_PLATFORM_API ZoPtImageDraw {
 public:
  enum ImageKind { kNone = 0, kDIB = 1, kSlide = 2, kBitmap = 3, kPictureFile = 4 };

  // Nothing loaded, no device context, the drawing area's background colour, fitted DIBs
  // that keep their proportions, no highlight.
  ZoPtImageDraw();
  ~ZoPtImageDraw();
  // A painter owns its DIB, palette and bitmap: copies would share them, so there are none.
  ZoPtImageDraw(const ZoPtImageDraw&) = delete;
  ZoPtImageDraw& operator=(const ZoPtImageDraw&) = delete;

  // Settings: plain stores and reads, none of them repaints.
  void SetDC(CDC* pDC) { m_pDC = pDC; }
  void SetRect(const CRect& rect) { m_rect = rect; }
  void GetRect(CRect& rect) const { rect = m_rect; }
  void SetBackColor(COLORREF color) { m_backColor = color; }
  COLORREF GetBkColor() const { return m_backColor; }
  void SetHighlight(int bHighlight) { m_bHighlight = bHighlight; }
  int IsHighlight() const { return m_bHighlight; }
  // DIBs with auto-scale: keep proportions (non-zero) or stretch to the rectangle (0).
  void SetUniformScale(int bUniform) { m_bUniformScale = bUniform; }
  // DIBs: fit into the rectangle (non-zero) or show at natural size (0).
  void SetAutoScale(int bAuto) { m_bAutoScale = bAuto; }

  // Each load starts with Reset (which forgets the device context) and returns what its
  // painting step returned: 0 in effect, as there is no device context to paint in.
  // A name holding ".BMP" anywhere (any case) is read as a BMP file, any other as a picture
  // file through the system's picture loader.
  int PaintImage(const wchar_t* path);
  int PaintSlide(const wchar_t* path);
  // The painter takes over the DIB and frees it.
  int PaintDIB(HDIB hDIB);
  // The painter takes over the bitmap, which must come from new, and deletes it.
  int PaintBitmap(CBitmap* pBitmap);
  // Paints what is loaded, or fills the rectangle light grey when nothing is. 1 when it
  // painted an image.
  int Redraw();
  // Fills the rectangle with the colour (0: the back colour) when a device context is set.
  void Fill(COLORREF color);

  // Whether an image is held: a DIB, a slide with something in it, a bitmap, a picture path.
  int IsImageLoaded() const;
  // The size of a DIB loaded with its palette object (through PaintImage or PaintDIB): 1, or 0
  // with the size untouched for anything else.
  int GetImageSize(CSize& size) const;
  // Frees the image and forgets the device context; the kind, rectangle, colours and flags
  // stay as they are.
  void Reset();

 protected:
  int DrawSlide();
  int DrawDIB();
  int DrawBitmap();
  int DrawPictureFile();
  // The colour number's screen colour, inverted when it is the back colour.
  COLORREF LineColor(int nColor) const;

  CDC* m_pDC = nullptr;
  CRect m_rect;
  COLORREF m_backColor;
  int m_bAutoScale = 1;
  int m_bUniformScale = 1;
  int m_bHighlight = 0;
  int m_nImageKind = kNone;
  HDIB m_hDIB = nullptr;
  CString m_strPath;
  CPalette* m_pPalette = nullptr;
  ZoPtImageList m_imageList;
  CBitmap* m_pBitmap = nullptr;
};
