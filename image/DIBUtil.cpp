// Device-independent bitmaps in movable global memory blocks.
#include "image/DIBUtil.h"

#include <cstdint>
#include <cstring>

#include "platform/Localization.h"

namespace {

constexpr WORD kBmpType = 0x4D42;  // "BM"
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr DWORD kCoreHeaderSize = sizeof(BITMAPCOREHEADER);

// Fields are copied out byte-wise: a DIB's address need not be aligned.
uint32_t Read32(const void* p, size_t at) {
  uint32_t v;
  std::memcpy(&v, static_cast<const BYTE*>(p) + at, sizeof v);
  return v;
}
uint16_t Read16(const void* p, size_t at) {
  uint16_t v;
  std::memcpy(&v, static_cast<const BYTE*>(p) + at, sizeof v);
  return v;
}

bool IsInfoHeader(const void* lpbi) { return Read32(lpbi, 0) == kInfoHeaderSize; }

// Whether the header, as this module reads it, and the whole colour table of DIBNumColors
// entries lie within the first size bytes.
bool ColorTableFits(LPSTR lpbi, uint64_t size) {
  if (size < 4) return false;
  const bool info = IsInfoHeader(lpbi);
  if (size < (info ? kInfoHeaderSize : kCoreHeaderSize)) return false;
  const uint64_t entries = DIBNumColors(lpbi);
  const uint64_t tableEnd = uint64_t{Read32(lpbi, 0)} + entries * (info ? 4 : 3);
  // PaletteSize is 16 bits wide: the bits it points to must lie inside too.
  return tableEnd <= size && uint64_t{Read32(lpbi, 0)} + PaletteSize(lpbi) <= size;
}

// Whether everything GDI reads to paint the DIB (its header, its colour table, and its pixel
// rows from FindDIBBits, or its RLE data) lies within the first size bytes. GDI reads the
// header by its own rule (12 bytes, or 40 and more), so this checks both readings.
bool DIBIsComplete(LPSTR lpbi, uint64_t size) {
  if (!ColorTableFits(lpbi, size)) return false;
  const uint64_t headerSize = Read32(lpbi, 0);
  uint64_t width, height, bpp, compression = BI_RGB, sizeImage = 0, clrUsed = 0;
  if (headerSize == kCoreHeaderSize) {
    width = Read16(lpbi, 4);
    height = Read16(lpbi, 6);
    bpp = Read16(lpbi, 10);
  } else if (headerSize >= kInfoHeaderSize && headerSize <= size) {
    const int32_t w = static_cast<int32_t>(Read32(lpbi, 4)), h = static_cast<int32_t>(Read32(lpbi, 8));
    if (w <= 0 || h == 0 || h == INT32_MIN) return false;
    width = static_cast<uint64_t>(w);
    height = static_cast<uint64_t>(h < 0 ? -static_cast<int64_t>(h) : h);
    bpp = Read16(lpbi, 14);
    compression = Read32(lpbi, 16);
    sizeImage = Read32(lpbi, 20);
    clrUsed = Read32(lpbi, 32);
  } else {
    return false;
  }
  if (width == 0 || height == 0 || bpp == 0 || bpp > 32) return false;
  if (bpp <= 8) {
    const uint64_t full = uint64_t{1} << bpp;
    const uint64_t entries = clrUsed && clrUsed < full ? clrUsed : full;
    if (headerSize + entries * (headerSize == kCoreHeaderSize ? 3 : 4) > size) return false;
  }
  if (compression == BI_BITFIELDS && headerSize + 12 > size) return false;
  const uint64_t bitsAt = headerSize + PaletteSize(lpbi);
  const uint64_t available = size - bitsAt;
  if (compression == BI_RLE4 || compression == BI_RLE8) return sizeImage <= available;
  const uint64_t stride = ((width * bpp + 31) / 32) * 4;
  return stride <= available / height;
}

int RectWidth(const RECT* r) { return r->right - r->left; }
int RectHeight(const RECT* r) { return r->bottom - r->top; }

// Steps shared by Bitmap2Dib and SaveBitmapToFile: the bitmap converted into a new locked
// block, with the sizes of its colour table and bits. Null when it cannot be done.
HGLOBAL LockedDibOfBitmap(HBITMAP hBitmap, LPBITMAPINFOHEADER* ppHeader, int* pPalSize, int* pBitsSize) {
  BITMAP bm;
  if (!hBitmap || ::GetObjectW(hBitmap, sizeof bm, &bm) != static_cast<int>(sizeof bm)) return nullptr;
  const int planeBits = bm.bmPlanes * bm.bmBitsPixel;
  const WORD bitCount = planeBits <= 1 ? 1 : planeBits <= 4 ? 4 : planeBits <= 8 ? 8 : 24;
  const int palSize = bitCount <= 8 ? (1 << bitCount) * static_cast<int>(sizeof(RGBQUAD)) : 0;

  BITMAPINFOHEADER bi = {};
  bi.biSize = kInfoHeaderSize;
  bi.biWidth = bm.bmWidth;
  bi.biHeight = bm.bmHeight;
  bi.biPlanes = 1;
  bi.biBitCount = bitCount;
  bi.biCompression = BI_RGB;

  // Signed 32-bit sizes, as the file format's fields are: a size that does not fit wraps and
  // then cannot be allocated.
  const int64_t rowBytes = ((int64_t{bm.bmWidth} * bitCount + 31) / 32) * 4;
  const int bitsSize = static_cast<int>(static_cast<uint32_t>(rowBytes * bm.bmHeight));
  const int total = static_cast<int>(static_cast<uint32_t>(int64_t{bitsSize} + palSize + kInfoHeaderSize));
  const HGLOBAL hDib = total > 0 ? ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(total)) : nullptr;
  if (!hDib) {
    CString message;
    message.Format(Translate(L"不能分配%d大小的内存,其中bsize=%d;palSize=%d;infoSize=%d"), total, bitsSize, palSize,
                   static_cast<int>(kInfoHeaderSize));
    AfxMessageBox(message, MB_OK);
    return nullptr;
  }
  auto* lpbi = static_cast<LPBITMAPINFOHEADER>(::GlobalLock(hDib));
  *lpbi = bi;

  const HDC hdc = ::GetDC(nullptr);
  const HPALETTE hOldPal = ::SelectPalette(hdc, static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
  ::RealizePalette(hdc);
  ::GetDIBits(hdc, hBitmap, 0, static_cast<UINT>(bm.bmHeight),
              reinterpret_cast<LPBYTE>(lpbi) + kInfoHeaderSize + palSize, reinterpret_cast<LPBITMAPINFO>(lpbi),
              DIB_RGB_COLORS);
  if (hOldPal) {
    ::SelectPalette(hdc, hOldPal, TRUE);
    ::RealizePalette(hdc);
  }
  ::ReleaseDC(nullptr, hdc);

  *ppHeader = lpbi;
  *pPalSize = palSize;
  *pBitsSize = bitsSize;
  return hDib;
}

}  // namespace

HGLOBAL CopyHandle(HGLOBAL h) {
  if (!h) return nullptr;
  const DWORD size = static_cast<DWORD>(::GlobalSize(h));
  const HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!hCopy) return nullptr;
  void* to = ::GlobalLock(hCopy);
  const void* from = ::GlobalLock(h);
  if (to && from && size > 0) std::memcpy(to, from, size);
  ::GlobalUnlock(hCopy);
  ::GlobalUnlock(h);
  return hCopy;
}

WORD DIBNumColors(LPSTR lpbi) {
  WORD bitCount;
  if (IsInfoHeader(lpbi)) {
    const DWORD clrUsed = Read32(lpbi, offsetof(BITMAPINFOHEADER, biClrUsed));
    if (clrUsed != 0) return static_cast<WORD>(clrUsed);
    bitCount = Read16(lpbi, offsetof(BITMAPINFOHEADER, biBitCount));
  } else {
    bitCount = Read16(lpbi, offsetof(BITMAPCOREHEADER, bcBitCount));
  }
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

WORD PaletteSize(LPSTR lpbi) {
  return static_cast<WORD>(DIBNumColors(lpbi) * (IsInfoHeader(lpbi) ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE)));
}

DWORD DIBWidth(LPSTR lpDIB) {
  return IsInfoHeader(lpDIB) ? Read32(lpDIB, offsetof(BITMAPINFOHEADER, biWidth))
                             : Read16(lpDIB, offsetof(BITMAPCOREHEADER, bcWidth));
}

DWORD DIBHeight(LPSTR lpDIB) {
  return IsInfoHeader(lpDIB) ? Read32(lpDIB, offsetof(BITMAPINFOHEADER, biHeight))
                             : Read16(lpDIB, offsetof(BITMAPCOREHEADER, bcHeight));
}

LPSTR FindDIBBits(LPSTR lpbi) { return lpbi + Read32(lpbi, 0) + PaletteSize(lpbi); }

BOOL CreateDIBPalette(HDIB hDIB, CPalette* pPal) {
  if (!hDIB || !pPal) return FALSE;
  const HGLOBAL hMem = reinterpret_cast<HGLOBAL>(hDIB);
  auto lpbi = static_cast<LPSTR>(::GlobalLock(hMem));
  if (!lpbi) return FALSE;
  const WORD numColors = DIBNumColors(lpbi);
  if (numColors == 0 || !ColorTableFits(lpbi, ::GlobalSize(hMem))) {
    ::GlobalUnlock(hMem);
    return FALSE;
  }
  const HGLOBAL hLogPal =
      ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * numColors);
  if (!hLogPal) {
    ::GlobalUnlock(hMem);
    return FALSE;
  }
  auto lpPal = static_cast<LPLOGPALETTE>(::GlobalLock(hLogPal));
  lpPal->palVersion = 0x300;
  lpPal->palNumEntries = numColors;
  const bool info = IsInfoHeader(lpbi);
  const BYTE* table = reinterpret_cast<const BYTE*>(lpbi) + Read32(lpbi, 0);
  for (WORD i = 0; i < numColors; ++i) {
    // Blue, green, red in either entry size.
    const BYTE* entry = table + static_cast<size_t>(i) * (info ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE));
    lpPal->palPalEntry[i].peRed = entry[2];
    lpPal->palPalEntry[i].peGreen = entry[1];
    lpPal->palPalEntry[i].peBlue = entry[0];
    lpPal->palPalEntry[i].peFlags = 0;
  }
  const BOOL result = pPal->CreatePalette(lpPal);
  ::GlobalUnlock(hLogPal);
  ::GlobalFree(hLogPal);
  ::GlobalUnlock(hMem);
  return result;
}

BOOL PaintDIB(HDC hDC, LPRECT lpDCRect, HDIB hDIB, LPRECT lpDIBRect, CPalette* pPal) {
  if (!hDIB || !lpDCRect || !lpDIBRect) return FALSE;
  const HGLOBAL hMem = reinterpret_cast<HGLOBAL>(hDIB);
  auto lpDIBHdr = static_cast<LPSTR>(::GlobalLock(hMem));
  if (!lpDIBHdr) return FALSE;
  if (!DIBIsComplete(lpDIBHdr, ::GlobalSize(hMem))) {
    ::GlobalUnlock(hMem);
    return FALSE;
  }
  LPSTR lpDIBBits = FindDIBBits(lpDIBHdr);

  HPALETTE hOldPal = nullptr;
  if (pPal) hOldPal = ::SelectPalette(hDC, static_cast<HPALETTE>(pPal->m_hObject), TRUE);
  ::SetStretchBltMode(hDC, COLORONCOLOR);

  BOOL bSuccess;
  const auto info = reinterpret_cast<LPBITMAPINFO>(lpDIBHdr);
  if (RectWidth(lpDCRect) == RectWidth(lpDIBRect) && RectHeight(lpDCRect) == RectHeight(lpDIBRect)) {
    // DIB rows count from the bottom, but a top-down DIB's (negative height) from the top.
    const auto signedHeight = static_cast<int32_t>(DIBHeight(lpDIBHdr));
    const bool topDown = IsInfoHeader(lpDIBHdr) && signedHeight < 0;
    const int ySrc = topDown ? lpDIBRect->top
                             : static_cast<int>(DIBHeight(lpDIBHdr) - static_cast<DWORD>(lpDIBRect->bottom));
    const DWORD lines = topDown ? static_cast<DWORD>(-static_cast<int64_t>(signedHeight)) : DIBHeight(lpDIBHdr);
    bSuccess = ::SetDIBitsToDevice(hDC, lpDCRect->left, lpDCRect->top, static_cast<DWORD>(RectWidth(lpDCRect)),
                                   static_cast<DWORD>(RectHeight(lpDCRect)), lpDIBRect->left, ySrc, 0,
                                   topDown ? lines : static_cast<WORD>(lines), lpDIBBits, info, DIB_RGB_COLORS);
  } else {
    bSuccess = ::StretchDIBits(hDC, lpDCRect->left, lpDCRect->top, RectWidth(lpDCRect), RectHeight(lpDCRect),
                               lpDIBRect->left, lpDIBRect->top, RectWidth(lpDIBRect), RectHeight(lpDIBRect), lpDIBBits,
                               info, DIB_RGB_COLORS, SRCCOPY);
  }
  ::GlobalUnlock(hMem);
  if (hOldPal) ::SelectPalette(hDC, hOldPal, TRUE);
  return bSuccess;
}

HDIB ReadDIBFile(CFile& file) {
  HGLOBAL hDIB = nullptr;
  bool locked = false;
  try {
    const ULONGLONG length = file.GetLength();
    BITMAPFILEHEADER bmfHeader;
    if (length < sizeof bmfHeader || length > 0xFFFFFFFFu) return nullptr;
    if (file.Read(&bmfHeader, sizeof bmfHeader) != sizeof bmfHeader || bmfHeader.bfType != kBmpType) return nullptr;
    hDIB = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(length));
    if (!hDIB) return nullptr;
    auto pDIB = static_cast<LPSTR>(::GlobalLock(hDIB));
    locked = pDIB != nullptr;
    const UINT dibBytes = static_cast<UINT>(length - sizeof bmfHeader);
    // The file's own size and offset fields are not trusted: the DIB must hold together in
    // the bytes the file really has.
    if (!pDIB || file.Read(pDIB, dibBytes) != dibBytes || !DIBIsComplete(pDIB, dibBytes)) {
      if (locked) ::GlobalUnlock(hDIB);
      ::GlobalFree(hDIB);
      return nullptr;
    }
    ::GlobalUnlock(hDIB);
    return reinterpret_cast<HDIB>(hDIB);
  } catch (CFileException* e) {
    e->Delete();
    if (hDIB) {
      if (locked) ::GlobalUnlock(hDIB);
      ::GlobalFree(hDIB);
    }
    return nullptr;
  }
}

HDIB Bitmap2Dib(HBITMAP hBitmap) {
  LPBITMAPINFOHEADER lpbi;
  int palSize, bitsSize;
  const HGLOBAL hDib = LockedDibOfBitmap(hBitmap, &lpbi, &palSize, &bitsSize);
  if (!hDib) return nullptr;
  ::GlobalUnlock(hDib);
  return reinterpret_cast<HDIB>(hDib);
}

BOOL SaveBitmapToFile(HBITMAP hBitmap, LPCTSTR lpszFileName) {
  LPBITMAPINFOHEADER lpbi;
  int palSize, bitsSize;
  const HGLOBAL hDib = LockedDibOfBitmap(hBitmap, &lpbi, &palSize, &bitsSize);
  if (!hDib) return 0;
  const HANDLE fh = ::CreateFileW(lpszFileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (fh == INVALID_HANDLE_VALUE) {
    ::GlobalUnlock(hDib);
    ::GlobalFree(hDib);
    return 0;
  }
  const DWORD headers = sizeof(BITMAPFILEHEADER) + kInfoHeaderSize;
  BITMAPFILEHEADER bmfHdr;
  bmfHdr.bfType = kBmpType;
  bmfHdr.bfSize = headers + static_cast<DWORD>(palSize) + static_cast<DWORD>(bitsSize);
  bmfHdr.bfReserved1 = 0;
  bmfHdr.bfReserved2 = 0;
  bmfHdr.bfOffBits = headers + static_cast<DWORD>(palSize);
  DWORD written = 0;
  const DWORD dibSize = kInfoHeaderSize + static_cast<DWORD>(palSize) + static_cast<DWORD>(bitsSize);
  // A file that could not be written whole is a failure, not a success.
  const bool ok = ::WriteFile(fh, &bmfHdr, sizeof bmfHdr, &written, nullptr) && written == sizeof bmfHdr &&
                  ::WriteFile(fh, lpbi, dibSize, &written, nullptr) && written == dibSize;
  ::GlobalUnlock(hDib);
  ::GlobalFree(hDib);
  ::CloseHandle(fh);
  return ok ? 1 : 0;
}
