// Device-independent bitmaps (DIBs) held in movable global memory blocks: reading BMP files,
// measuring a DIB and its colour table, making a logical palette from it, painting it, and
// turning device-dependent bitmaps into DIBs and BMP files.
//
// An HDIB holds one packed DIB: a header, the colour table, then the pixel bits, with nothing
// in between. A header whose size field is 40 is a BITMAPINFOHEADER with 4-byte colour
// entries; a header of any other size is read as a 12-byte BITMAPCOREHEADER with 3-byte
// entries. Whoever holds an HDIB frees it with GlobalFree. The measuring functions take the
// address of a locked DIB.
#pragma once

#include "platform/Export.h"
#include "platform/Win32.h"

DECLARE_HANDLE(HDIB);

// A new block with the same contents (as many bytes as GlobalSize reports), or null.
TOVU_PLATFORM_API HGLOBAL CopyHandle(HGLOBAL h);

// Colour-table entries: an information header's colours-used field when it is non-zero (its low
// 16 bits), otherwise 2, 16 or 256 for 1, 4 or 8 bits per pixel, and 0 for other depths.
TOVU_PLATFORM_API WORD DIBNumColors(LPSTR lpbi);
// The colour table's size in bytes: 4 per entry after an information header, 3 after a core one.
TOVU_PLATFORM_API WORD PaletteSize(LPSTR lpbi);
TOVU_PLATFORM_API DWORD DIBWidth(LPSTR lpDIB);
// An information header's height read unsigned: a top-down DIB's height is above 2^31.
TOVU_PLATFORM_API DWORD DIBHeight(LPSTR lpDIB);
// The address after the header and the colour table.
TOVU_PLATFORM_API LPSTR FindDIBBits(LPSTR lpbi);

// Fills pPal with a logical palette of the DIB's colour table. 0 (and nothing created) for a
// null DIB, a DIB without colour table, or one whose colour table runs past its block.
TOVU_PLATFORM_API BOOL CreateDIBPalette(HDIB hDIB, CPalette* pPal);
// Paints the source rectangle of the DIB (rows counted from the top) onto the destination
// rectangle, selecting pPal as background palette when given: SetDIBitsToDevice when both
// rectangles have the same size, StretchDIBits (COLORONCOLOR) otherwise. The blit's result;
// 0 for a null DIB or one whose pixels run past its block.
TOVU_PLATFORM_API BOOL PaintDIB(HDC hDC, LPRECT lpDCRect, HDIB hDIB, LPRECT lpDIBRect, CPalette* pPal);

// Reads a BMP file from the file's current position: the 14-byte file header (type "BM"),
// then the DIB, whose bits are taken to follow its colour table whatever the file header's
// offset says. Null for a file that is not a BMP file, is shorter than its header, colour
// table and pixels, or cannot be read; the caller frees the result.
TOVU_PLATFORM_API HDIB ReadDIBFile(CFile& file);

// The bitmap as a DIB of 1, 4, 8 or 24 bits per pixel (deeper bitmaps become 24-bit ones),
// with the screen's default colour table. Null for a null bitmap, or when the memory cannot
// be had (the user is told so).
TOVU_PLATFORM_API HDIB Bitmap2Dib(HBITMAP hBitmap);
// Writes the bitmap as a BMP file (as Bitmap2Dib converts it), replacing any file of that name.
// Non-zero on success.
TOVU_PLATFORM_API BOOL SaveBitmapToFile(HBITMAP hBitmap, LPCTSTR lpszFileName);
