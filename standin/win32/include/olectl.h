// Just enough of COM streams and OLE picture loading, behaving as OLE's do (reference counted
// interfaces, HRESULTs, HIMETRIC sizes, Render's source rectangle with its y axis upwards), for
// showing picture files in previews. Pictures are decoded into 32-bit bitmaps: BMP as GDI
// reads a BMP file (bits at the file header's offset), JPEG through libjpeg and PNG through
// libpng (OLE itself reads no PNG; the stand-in does, for the previews that show PNG files).
#pragma once

#include <winbase.h>
#include <windef.h>
#include <wingdi.h>

typedef short SHORT;

#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define STG_E_INVALIDFUNCTION ((HRESULT)0x80030001L)
#define STG_E_MEDIUMFULL ((HRESULT)0x80030070L)
#define CTL_E_INVALIDPICTURE ((HRESULT)0x800A01E1L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

typedef struct _GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
} GUID, IID, CLSID;
typedef const IID& REFIID;
bool operator==(const GUID& a, const GUID& b);
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

extern const IID IID_IUnknown;
extern const IID IID_ISequentialStream;
extern const IID IID_IStream;
extern const IID IID_IPicture;

typedef union _LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
} LARGE_INTEGER;

typedef union _ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
} ULARGE_INTEGER;

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

struct ISequentialStream : IUnknown {
  virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
  virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;

 protected:
  ~ISequentialStream() = default;
};

// Reading, writing within the block and seeking; the other IStream methods are not provided.
struct IStream : ISequentialStream {
  virtual HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER libNewSize) = 0;

 protected:
  ~IStream() = default;
};
typedef IStream* LPSTREAM;

typedef LONG OLE_XPOS_HIMETRIC;
typedef LONG OLE_YPOS_HIMETRIC;
typedef LONG OLE_XSIZE_HIMETRIC;
typedef LONG OLE_YSIZE_HIMETRIC;
typedef UINT OLE_HANDLE;

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1

// Sizes in HIMETRIC units (0.01 mm) of the picture's pixels at 96 dots per inch.
struct IPicture : IUnknown {
  virtual HRESULT get_Type(SHORT* pType) = 0;
  virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* pWidth) = 0;
  virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* pHeight) = 0;
  // Draws the source rectangle (HIMETRIC, y counted upwards from the picture's bottom, so
  // ySrc = height with cySrc = -height is the upright picture) stretched onto x, y, cx, cy
  // with StretchBlt in the DC's stretch mode. Metafile bounds are ignored (bitmaps only).
  virtual HRESULT Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                         OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) = 0;

 protected:
  ~IPicture() = default;
};
typedef IPicture* LPPICTURE;

// A stream over the block (a new empty one when hGlobal is null), which it frees on its last
// Release when fDeleteOnRelease. E_INVALIDARG for a handle that names no block.
HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);
// Reads lSize bytes (0: the rest of the stream) and decodes them. CTL_E_INVALIDPICTURE for
// data that is no picture the loader knows or that does not decode; E_OUTOFMEMORY for a
// picture of more than 2^24 pixels; E_NOINTERFACE for an interface other than IPicture or
// IUnknown.
HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL fRunmode, REFIID riid, LPVOID* lplpvObj);
