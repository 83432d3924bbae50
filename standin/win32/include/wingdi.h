// Just enough of Win32 GDI, behaving as GDI does, for painting previews headless: device
// contexts render into real rasters (32-bit RGB for the screen and for bitmaps compatible with
// it, 1-bit for monochrome bitmaps), and DIBs are decoded as GDI decodes them (1, 4, 8, 16,
// 24 and 32 bits per pixel, uncompressed, RLE4/RLE8 and bit fields, bottom-up and top-down).
// Device coordinates only (MM_TEXT); no clipping regions, fonts or text.
//
// GDI reads DIBs through raw addresses, as Windows' does. When such an address lies in a global
// memory block (winbase.h), every read is kept inside that block, and a DIB whose header,
// colour table or bits would reach past its end is refused with ERROR_INVALID_PARAMETER, as
// Windows' probing of the caller's memory refuses it.
#pragma once

#include <windef.h>

#ifndef VOID
#define VOID void
#endif

#ifndef DECLARE_HANDLE
#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  typedef struct name##__* name
#endif

typedef void* HGDIOBJ;
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HPALETTE);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HWND);

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *PSIZE, *LPSIZE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))
#define PALETTEINDEX(i) ((COLORREF)(0x01000000 | (DWORD)(WORD)(i)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))
#ifndef LOBYTE
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#endif
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR (0xFFFFFFFFL)
#define HGDI_ERROR ((HANDLE)(LONG_PTR)-1)
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_PIXEL_FORMAT 2000L

// --- DIB records ---

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagRGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
} RGBTRIPLE, *LPRGBTRIPLE;

typedef struct tagBITMAPCOREHEADER {
  DWORD bcSize;
  WORD bcWidth;
  WORD bcHeight;
  WORD bcPlanes;
  WORD bcBitCount;
} BITMAPCOREHEADER, *LPBITMAPCOREHEADER;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;

typedef struct tagBITMAPCOREINFO {
  BITMAPCOREHEADER bmciHeader;
  RGBTRIPLE bmciColors[1];
} BITMAPCOREINFO, *LPBITMAPCOREINFO;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagPALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *LPLOGPALETTE;

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH, *LPLOGBRUSH;

#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define BI_JPEG 4L
#define BI_PNG 5L

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

// --- Raster operations, modes, styles ---

#define SRCCOPY (DWORD)0x00CC0020
#define SRCPAINT (DWORD)0x00EE0086
#define SRCAND (DWORD)0x008800C6
#define SRCINVERT (DWORD)0x00660046
#define SRCERASE (DWORD)0x00440328
#define NOTSRCCOPY (DWORD)0x00330008
#define NOTSRCERASE (DWORD)0x001100A6
#define MERGECOPY (DWORD)0x00C000CA
#define MERGEPAINT (DWORD)0x00BB0226
#define PATCOPY (DWORD)0x00F00021
#define PATPAINT (DWORD)0x00FB0A09
#define PATINVERT (DWORD)0x005A0049
#define DSTINVERT (DWORD)0x00550009
#define BLACKNESS (DWORD)0x00000042
#define WHITENESS (DWORD)0x00FF0062

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

#define TRANSPARENT 1
#define OPAQUE 2

#define ALTERNATE 1
#define WINDING 2

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_PALETTE 15

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define RC_BITBLT 1
#define RC_PALETTE 0x0100
#define RC_DI_BITMAP 0x0080
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

// --- Device contexts ---

// A memory device context starts with a 1 by 1 monochrome bitmap selected, as on Windows.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// The screen: a 1024 by 768 raster of 32-bit RGB pixels (chosen), shared by every screen DC.
// Window device contexts are not supported: any window handle fails with ERROR_INVALID_WINDOW_HANDLE.
HDC GetDC(HWND hWnd);
// 1 when the DC was released, 0 otherwise.
int ReleaseDC(HWND hWnd, HDC hDC);
// A true-colour screen: BITSPIXEL 32, PLANES 1, no RC_PALETTE, 96 dots per inch.
int GetDeviceCaps(HDC hdc, int index);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
DWORD GetObjectType(HGDIOBJ h);

COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
// A new DC stretches in BLACKONWHITE mode, as on Windows.
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);

// --- Objects ---

// Selecting a bitmap works only into a memory DC, only when it is not selected into another DC,
// and only for monochrome bitmaps or bitmaps of the screen's format (32 bits); otherwise null.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
// Stock objects are never deleted (TRUE). An object selected into a DC is deleted when it is
// deselected or its DC is deleted (TRUE now).
BOOL DeleteObject(HGDIOBJ ho);
HGDIOBJ GetStockObject(int i);
// BITMAP (32 bytes) for bitmaps, LOGPEN, LOGBRUSH, and the WORD entry count for palettes.
// With a null buffer, the size it would write.
int GetObjectW(HGDIOBJ h, int c, LPVOID pv);
#define GetObject GetObjectW

// Cosmetic pens one pixel wide; PS_SOLID and PS_NULL only (others fail, saying so once).
HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
// Bitmaps of 1, 4, 8, 16, 24 or 32 bits per pixel with one plane, rows in lpBits padded to
// 16 bits as DDBs are. Only 1- and 32-bit ones can be selected into a DC.
HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits);
// The format of the bitmap selected into hdc (monochrome for a new memory DC); a zero width or
// height gives a 1 by 1 monochrome bitmap, as on Windows.
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);

// Palettes must be of version 0x300 with at least one entry.
HPALETTE CreatePalette(const LOGPALETTE* plpal);
UINT GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries);
// The previous palette, or null on failure. On a true-colour screen the palette only matters
// to PALETTEINDEX colours and DIB_PAL_COLORS colour tables.
HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd);
// The number of entries of the selected palette (chosen: a true-colour screen maps them
// all); GDI_ERROR for a bad DC.
UINT RealizePalette(HDC hdc);

// --- Regions ---

// A polygon region: the pixels whose centres lie inside the polygon by the fill mode's rule
// (the left and top edges belong to it, the right and bottom ones do not, as GDI's rectangles).
// Fewer than 3 points give an empty region (chosen).
HRGN CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode);
HRGN CreateRectRgn(int x1, int y1, int x2, int y2);
BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr);
BOOL PtInRegion(HRGN hrgn, int x, int y);
int GetRgnBox(HRGN hrgn, LPRECT lprc);

// --- Drawing ---

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt);
// Draws with the selected pen from the current position up to, but not including, the end
// point, which becomes the current position. Where a line passes exactly half way between two
// pixels, the pixel nearer the start is drawn (chosen).
BOOL LineTo(HDC hdc, int x, int y);
// Each run of points (every count at least 2; otherwise nothing is drawn) as LineTo draws it,
// without using or moving the current position.
BOOL PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz);
BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
// Only the opaque rectangle is drawn (in the background colour, the rectangle ordered first);
// text is not supported and fails, saying so once.
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c, const INT* lpDx);
BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
// Negative widths or heights mirror: an extent -w at x covers x - w + 1 to x. Destination
// pixel i of an axis takes source pixel floor(i * source extent / destination extent)
// (chosen); when shrinking, BLACKONWHITE ANDs and WHITEONBLACK ORs the pixels that fall
// together, and HALFTONE averages them.
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop);

// --- DIBs ---

// Rows counted from the DIB's origin: the bottom-left corner of a bottom-up DIB, the top-left
// corner of a top-down one (whose bits then start with the top row). lpvBits holds cLines
// rows from StartScan. Returns the number of scan lines set, 0 on failure.
// Pixels that RLE data skips are left as they were on the device, as on Windows.
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan, UINT cLines,
                      const VOID* lpvBits, const BITMAPINFO* lpbmi, UINT ColorUse);
// The source rectangle is in the DIB's own coordinates, as for SetDIBitsToDevice; mapping and
// mirroring as StretchBlt. Returns the number of source scan lines (chosen), 0 on failure.
// RLE data is always sampled, whatever the stretch mode.
int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc, int SrcWidth,
                  int SrcHeight, const VOID* lpBits, const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop);
// Uncompressed DIBs of 1, 4, 8, 16 (5-5-5), 24 and 32 bits, with a BITMAPINFOHEADER or a
// BITMAPCOREHEADER. Colour tables of 1 to 8 bits are the screen's defaults: black and white;
// the 16 VGA colours; the 20 static colours with a 6x6x6 cube and greys between them
// (chosen). Each pixel takes the nearest table colour. The header is left as given. With a
// null lpvBits and a bit count of 0 it fills the header with the bitmap's own format;
// with another bit count it fills biSizeImage and the colour table.
int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage);
// The DIB's pixels into the bitmap (which must not be selected into a DC); the number of
// scan lines set, 0 on failure. Skipped RLE pixels are left as they were.
int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const VOID* lpBits, const BITMAPINFO* lpbmi,
              UINT ColorUse);

