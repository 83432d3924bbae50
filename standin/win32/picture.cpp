// Just enough of COM streams and OLE picture loading, behaving as OLE's do, for showing
// picture files in previews: BMP through GDI, JPEG through libjpeg, PNG through libpng.
#include <olectl.h>
#include <png.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_ISequentialStream = {0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}};
const IID IID_IStream = {0x0000000c, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IPicture = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

namespace {

// Pictures of more pixels (4096 by 4096) are refused before anything is allocated for them, so
// that a lying header costs nothing (chosen).
constexpr int64_t kMaxPicturePixels = int64_t{1} << 24;

class GlobalStream final : public IStream {
 public:
  GlobalStream(HGLOBAL block, bool deleteOnRelease) : m_block(block), m_deleteOnRelease(deleteOnRelease) {}

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
      *ppvObject = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (pcbRead) *pcbRead = 0;
    if (!pv) return STG_E_INVALIDFUNCTION;
    const SIZE_T size = GlobalSize(m_block);
    const ULONG n = m_position >= size ? 0 : static_cast<ULONG>(std::min<ULONGLONG>(cb, size - m_position));
    if (n > 0) {
      const BYTE* data = static_cast<const BYTE*>(GlobalLock(m_block));
      if (!data) return STG_E_INVALIDFUNCTION;
      std::memcpy(pv, data + m_position, n);
      GlobalUnlock(m_block);
      m_position += n;
    }
    if (pcbRead) *pcbRead = n;
    return S_OK;
  }

  // The block does not grow: writing past its end fails.
  HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv) return STG_E_INVALIDFUNCTION;
    const SIZE_T size = GlobalSize(m_block);
    if (m_position + cb > size) return STG_E_MEDIUMFULL;
    if (cb > 0) {
      BYTE* data = static_cast<BYTE*>(GlobalLock(m_block));
      if (!data) return STG_E_MEDIUMFULL;
      std::memcpy(data + m_position, pv, cb);
      GlobalUnlock(m_block);
      m_position += cb;
    }
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override {
    LONGLONG base;
    switch (dwOrigin) {
      case STREAM_SEEK_SET:
        base = 0;
        break;
      case STREAM_SEEK_CUR:
        base = static_cast<LONGLONG>(m_position);
        break;
      case STREAM_SEEK_END:
        base = static_cast<LONGLONG>(GlobalSize(m_block));
        break;
      default:
        return STG_E_INVALIDFUNCTION;
    }
    const LONGLONG target = base + dlibMove.QuadPart;
    if (target < 0) return STG_E_INVALIDFUNCTION;
    m_position = static_cast<ULONGLONG>(target);
    if (plibNewPosition) plibNewPosition->QuadPart = m_position;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER libNewSize) override {
    return libNewSize.QuadPart == GlobalSize(m_block) ? S_OK : STG_E_MEDIUMFULL;
  }

 private:
  ~GlobalStream() {
    if (m_deleteOnRelease) GlobalFree(m_block);
  }

  std::atomic<ULONG> m_refs{1};
  HGLOBAL m_block;
  bool m_deleteOnRelease;
  ULONGLONG m_position = 0;
};

class BitmapPicture final : public IPicture {
 public:
  BitmapPicture(HBITMAP bitmap, int width, int height) : m_bitmap(bitmap), m_width(width), m_height(height) {}

  HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPicture) {
      *ppvObject = static_cast<IPicture*>(this);
      AddRef();
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

  HRESULT get_Type(SHORT* pType) override {
    if (!pType) return E_POINTER;
    *pType = PICTYPE_BITMAP;
    return S_OK;
  }
  HRESULT get_Width(OLE_XSIZE_HIMETRIC* pWidth) override {
    if (!pWidth) return E_POINTER;
    *pWidth = HiMetric(m_width);
    return S_OK;
  }
  HRESULT get_Height(OLE_YSIZE_HIMETRIC* pHeight) override {
    if (!pHeight) return E_POINTER;
    *pHeight = HiMetric(m_height);
    return S_OK;
  }

  HRESULT Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                 OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT) override {
    if (!hDC || cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0) return E_INVALIDARG;
    const double hmWidth = HiMetric(m_width), hmHeight = HiMetric(m_height);
    // Columns from the left; rows from the top, HIMETRIC y counting up from the bottom.
    const LONG c0 = ToPixels(xSrc, m_width, hmWidth), c1 = ToPixels(int64_t{xSrc} + cxSrc, m_width, hmWidth);
    const LONG r0 = m_height - ToPixels(ySrc, m_height, hmHeight);
    const LONG r1 = m_height - ToPixels(int64_t{ySrc} + cySrc, m_height, hmHeight);
    const LONG colFirst = c1 > c0 ? c0 : c0 - 1, colExtent = c1 - c0;
    const LONG rowFirst = r1 > r0 ? r0 : r0 - 1, rowExtent = r1 - r0;
    if (colExtent == 0 || rowExtent == 0) return S_OK;
    const HDC memory = CreateCompatibleDC(hDC);
    if (!memory) return E_FAIL;
    const HGDIOBJ previous = SelectObject(memory, m_bitmap);
    const BOOL ok =
        previous && StretchBlt(hDC, x, y, cx, cy, memory, colFirst, rowFirst, colExtent, rowExtent, SRCCOPY);
    if (previous) SelectObject(memory, previous);
    DeleteDC(memory);
    return ok ? S_OK : E_FAIL;
  }

 private:
  ~BitmapPicture() { DeleteObject(m_bitmap); }
  static LONG HiMetric(int pixels) { return static_cast<LONG>(std::lround(pixels * 2540.0 / 96.0)); }
  static LONG ToPixels(int64_t hiMetric, int pixels, double hmSize) {
    return static_cast<LONG>(std::lround(static_cast<double>(hiMetric) * pixels / hmSize));
  }

  std::atomic<ULONG> m_refs{1};
  HBITMAP m_bitmap;
  int m_width;
  int m_height;
};

// Rows of 32-bit pixels (blue, green, red, 0), top row first, as a 32-bit DDB holds them.
HRESULT MakeBitmap(int width, int height, const std::vector<BYTE>& bgrx, HBITMAP* out) {
  *out = CreateBitmap(width, height, 1, 32, bgrx.data());
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT DecodePng(const std::vector<BYTE>& data, HBITMAP* out, int* width, int* height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return CTL_E_INVALIDPICTURE;
  if (image.width == 0 || image.height == 0 || static_cast<int64_t>(image.width) * image.height > kMaxPicturePixels) {
    png_image_free(&image);
    return image.width && image.height ? E_OUTOFMEMORY : CTL_E_INVALIDPICTURE;
  }
  // Transparent parts are shown over white, the colour of the previews' paper (chosen).
  image.format = PNG_FORMAT_BGR;
  std::vector<BYTE> bgr(PNG_IMAGE_SIZE(image));
  png_color white = {255, 255, 255};
  if (!png_image_finish_read(&image, &white, bgr.data(), 0, nullptr)) {
    png_image_free(&image);
    return CTL_E_INVALIDPICTURE;
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  std::vector<BYTE> bgrx(static_cast<size_t>(*width) * *height * 4);
  for (size_t i = 0, n = static_cast<size_t>(*width) * *height; i < n; ++i) {
    std::memcpy(&bgrx[4 * i], &bgr[3 * i], 3);
    bgrx[4 * i + 3] = 0;
  }
  return MakeBitmap(*width, *height, bgrx, out);
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }
void JpegQuiet(j_common_ptr) {}

// Everything DecodeJpeg changes after setjmp lives here, on the heap, so that a longjmp from
// libjpeg leaves nothing indeterminate behind.
struct JpegState {
  jpeg_decompress_struct cinfo;
  JpegError error;
  std::vector<BYTE> bgrx;
  std::vector<BYTE> row;
};

HRESULT DecodeJpeg(const std::vector<BYTE>& data, HBITMAP* out, int* width, int* height) {
  const std::unique_ptr<JpegState> state(new JpegState);
  jpeg_decompress_struct& cinfo = state->cinfo;
  cinfo.err = jpeg_std_error(&state->error.manager);
  state->error.manager.error_exit = JpegFail;
  state->error.manager.output_message = JpegQuiet;
  jpeg_create_decompress(&cinfo);
  if (setjmp(state->error.jump)) {
    jpeg_destroy_decompress(&state->cinfo);
    return CTL_E_INVALIDPICTURE;
  }
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height > kMaxPicturePixels) {
    jpeg_destroy_decompress(&cinfo);
    return E_OUTOFMEMORY;
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  const size_t w = cinfo.output_width, h = cinfo.output_height;
  state->bgrx.assign(w * h * 4, 0);
  state->row.assign(w * 3, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    const size_t y = cinfo.output_scanline;
    JSAMPROW rows[1] = {state->row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    for (size_t x = 0; x < w; ++x) {
      BYTE* px = &state->bgrx[(y * w + x) * 4];
      px[0] = state->row[3 * x + 2];
      px[1] = state->row[3 * x + 1];
      px[2] = state->row[3 * x];
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return MakeBitmap(*width, *height, state->bgrx, out);
}

// A BMP file as GDI reads one: the DIB after the 14-byte file header, its bits at bfOffBits.
// The bytes are copied into a global block so that GDI keeps every read inside them.
HRESULT DecodeBmp(const std::vector<BYTE>& data, HBITMAP* out, int* width, int* height) {
  if (data.size() < 14 + 12) return CTL_E_INVALIDPICTURE;
  auto get32 = [&](size_t at) {
    return static_cast<uint32_t>(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16)) |
           (static_cast<uint32_t>(data[at + 3]) << 24);
  };
  const uint32_t offBits = get32(10), headerSize = get32(14);
  int64_t w, h;
  if (headerSize == 12) {
    w = data[18] | (data[19] << 8);
    h = data[20] | (data[21] << 8);
  } else if (headerSize >= 40 && data.size() >= 14 + 40) {
    w = static_cast<int32_t>(get32(18));
    h = static_cast<int32_t>(get32(22));
  } else {
    return CTL_E_INVALIDPICTURE;
  }
  if (h < 0) h = -h;
  if (w <= 0 || h <= 0 || offBits >= data.size()) return CTL_E_INVALIDPICTURE;
  if (w * h > kMaxPicturePixels) return E_OUTOFMEMORY;
  // Uncompressed bits must all be in the file before a bitmap is made for them.
  const uint32_t bpp = headerSize == 12 ? (data[24] | (data[25] << 8)) : (data[28] | (data[29] << 8));
  const uint32_t compression = headerSize == 12 ? BI_RGB : get32(30);
  if ((compression == BI_RGB || compression == BI_BITFIELDS) &&
      static_cast<uint64_t>((w * bpp + 31) / 32 * 4) * static_cast<uint64_t>(h) > data.size() - offBits)
    return CTL_E_INVALIDPICTURE;
  const HGLOBAL block = GlobalAlloc(GMEM_FIXED, data.size());
  if (!block) return E_OUTOFMEMORY;
  std::memcpy(block, data.data(), data.size());
  const HBITMAP bitmap = CreateBitmap(static_cast<int>(w), static_cast<int>(h), 1, 32, nullptr);
  HRESULT result = E_OUTOFMEMORY;
  if (bitmap) {
    const HDC screen = GetDC(nullptr);
    const BYTE* bytes = static_cast<const BYTE*>(block);
    const int lines = SetDIBits(screen, bitmap, 0, static_cast<UINT>(h), bytes + offBits,
                                reinterpret_cast<const BITMAPINFO*>(bytes + 14), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines > 0) {
      *out = bitmap;
      *width = static_cast<int>(w);
      *height = static_cast<int>(h);
      result = S_OK;
    } else {
      DeleteObject(bitmap);
      result = CTL_E_INVALIDPICTURE;
    }
  }
  GlobalFree(block);
  return result;
}

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm) {
  if (!ppstm) return E_INVALIDARG;
  *ppstm = nullptr;
  if (!hGlobal) {
    hGlobal = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!hGlobal) return E_OUTOFMEMORY;
  } else if (GlobalFlags(hGlobal) == GMEM_INVALID_HANDLE) {
    return E_INVALIDARG;
  }
  *ppstm = new GlobalStream(hGlobal, fDeleteOnRelease != FALSE);
  return S_OK;
}

HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL, REFIID riid, LPVOID* lplpvObj) {
  if (!lplpvObj) return E_POINTER;
  *lplpvObj = nullptr;
  if (!lpstream || lSize < 0) return E_INVALIDARG;
  if (riid != IID_IPicture && riid != IID_IUnknown) return E_NOINTERFACE;
  // Read in pieces, so that a size larger than the stream allocates nothing for it.
  std::vector<BYTE> data;
  ULONGLONG remaining = lSize > 0 ? static_cast<ULONGLONG>(lSize) : ~ULONGLONG{0};
  while (remaining > 0) {
    const ULONG want = static_cast<ULONG>(std::min<ULONGLONG>(remaining, 65536));
    const size_t at = data.size();
    data.resize(at + want);
    ULONG read = 0;
    const HRESULT hr = lpstream->Read(data.data() + at, want, &read);
    data.resize(at + read);
    if (FAILED(hr)) return hr;
    remaining -= read;
    if (read < want) break;
  }
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;
  HRESULT hr = CTL_E_INVALIDPICTURE;
  if (data.size() >= 8 && std::memcmp(data.data(), "\x89PNG\r\n\x1a\n", 8) == 0)
    hr = DecodePng(data, &bitmap, &width, &height);
  else if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
    hr = DecodeJpeg(data, &bitmap, &width, &height);
  else if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M')
    hr = DecodeBmp(data, &bitmap, &width, &height);
  if (FAILED(hr)) return hr;
  *lplpvObj = static_cast<IPicture*>(new BitmapPicture(bitmap, width, height));
  return S_OK;
}
