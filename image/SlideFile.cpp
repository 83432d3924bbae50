// Reading slide files (the host's vector snapshots of a drawing view) into a vector list.
//
// A slide is a 31-byte header ("AutoCAD Slide", CR, LF, 0x1A, NUL, a type byte, the level 1
// or 2, the screen size, aspect ratio, hardware fill and a test word that tells the byte
// order) followed by records that start with a 16-bit word whose high byte is the type:
// 0x00-0x7F vector (8 bytes), 0xFB offset vector (5), 0xFC end (2), 0xFD solid fill (6),
// 0xFE common-endpoint vector (3), 0xFF new colour (2); other types end the reading.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "image/ImageList.h"
#include "platform/Host.h"
#include "platform/Win32.h"

namespace {

constexpr size_t kHeaderSize = 31;
constexpr char kIdentification[] = "AutoCAD Slide";
constexpr int kMaxFillVertices = 10;
// Before the first new-colour record lines take colour 7, the host's foreground colour, and
// before the first full vector the offset forms count from the origin (0, 0).
constexpr int kStartColor = 7;

class SlideDecoder {
 public:
  SlideDecoder(const BYTE* data, size_t size, ZoPtImageList& list, ZoPDList<ZoPtImageHatch>& hatches)
      : m_data(data), m_size(size), m_list(list), m_hatches(hatches) {}

  // false when the header is not a slide's.
  bool ReadHeader() {
    if (m_size < kHeaderSize) return false;
    for (size_t i = 0; i + 1 < sizeof kIdentification; ++i) {
      BYTE c = m_data[i];
      if (c >= 'a' && c <= 'z') c = static_cast<BYTE>(c - 'a' + 'A');
      BYTE want = static_cast<BYTE>(kIdentification[i]);
      if (want >= 'a' && want <= 'z') want = static_cast<BYTE>(want - 'a' + 'A');
      if (c != want) return false;
    }
    const auto level = static_cast<signed char>(m_data[18]);
    if (level != 1 && level != 2) return false;
    m_littleEndian = (m_data[29] | (m_data[30] << 8)) == 0x1234;
    return true;
  }

  // Decodes records up to the end record, an undefined record, a broken fill sequence or the
  // end of the data, whichever comes first.
  void ReadRecords() {
    size_t at = kHeaderSize;
    while (Has(at, 2)) {
      const unsigned word = Word(at);
      const unsigned type = word >> 8;
      if (type <= 0x7F) {
        if (!Has(at, 8)) return;
        const ZoGePoint from(static_cast<int16_t>(word), Signed(at + 2));
        const ZoGePoint to(Signed(at + 4), Signed(at + 6));
        m_last = from;
        AddLine(from, to);
        at += 8;
      } else if (type == 0xFB) {
        if (!Has(at, 5)) return;
        const ZoGePoint from(m_last.x + Offset(word), m_last.y + Offset(m_data[at + 2]));
        const ZoGePoint to(m_last.x + Offset(m_data[at + 3]), m_last.y + Offset(m_data[at + 4]));
        m_last = from;
        AddLine(from, to);
        at += 5;
      } else if (type == 0xFE) {
        if (!Has(at, 3)) return;
        const ZoGePoint from = m_last;
        const ZoGePoint to(m_last.x + Offset(word), m_last.y + Offset(m_data[at + 2]));
        m_last = to;
        AddLine(from, to);
        at += 3;
      } else if (type == 0xFF) {
        m_color = static_cast<int>(word & 0xFF);
        at += 2;
      } else if (type == 0xFD) {
        if (!ReadFill(at)) return;
      } else {
        return;  // 0xFC, the end, or an undefined type
      }
    }
  }

 private:
  bool Has(size_t at, size_t n) const { return at <= m_size && m_size - at >= n; }
  unsigned Word(size_t at) const {
    return m_littleEndian ? m_data[at] | (m_data[at + 1] << 8) : (m_data[at] << 8) | m_data[at + 1];
  }
  double Signed(size_t at) const { return static_cast<int16_t>(Word(at)); }
  static double Offset(unsigned byte) { return static_cast<signed char>(byte & 0xFF); }

  void AddLine(const ZoGePoint& from, const ZoGePoint& to) { m_list.Append(new ZoPtImageLine(from, to, m_color)); }

  // A solid-fill record at `at`: a sequence start (negative y, count 2 to 10) and its vertex
  // records become one polygon; any other fill record is skipped. Moves `at` past what was
  // read; false when the reading of the file must stop.
  bool ReadFill(size_t& at) {
    if (!Has(at, 6)) return false;
    const int count = static_cast<int16_t>(Word(at + 2));
    const int y = static_cast<int16_t>(Word(at + 4));
    at += 6;
    if (y >= 0 || count < 2 || count > kMaxFillVertices) return true;
    ZoGePoint vertices[kMaxFillVertices];
    int n = 0;
    for (int i = 0; i < count; ++i, at += 6) {
      if (!Has(at, 6) || Word(at) >> 8 != 0xFD) return false;
      const ZoGePoint p(Signed(at + 2), Signed(at + 4));
      if (p.y < 0) {
        if (i != count - 1) return false;
        continue;  // the closing record is no vertex
      }
      vertices[n++] = p;
    }
    // Built in place, its vertices reserved at once: a slide may hold many polygons.
    std::unique_ptr<ZoPtImageHatch> hatch(new ZoPtImageHatch(m_color));
    static_cast<ZoGeMLine2d&>(*hatch) = ZoGeMLine2d(n, false);
    for (int i = 0; i < n; ++i) hatch->AppendVertex(vertices[i], 0.0);
    m_hatches.Append(hatch.get());
    hatch.release();
    return true;
  }

  const BYTE* m_data;
  size_t m_size;
  ZoPtImageList& m_list;
  ZoPDList<ZoPtImageHatch>& m_hatches;
  bool m_littleEndian = true;
  int m_color = kStartColor;
  ZoGePoint m_last;
};

}  // namespace

int ZoPtImageList::ReadSlideFile(const wchar_t* path) {
  if (!path) return RTERROR;
  FILE* file = _wfopen(path, L"rb");
  if (!file) return RTERROR;
  const long length = _filelength(_fileno(file));
  if (length < static_cast<long>(kHeaderSize)) {
    fclose(file);
    return RTERROR;
  }
  // The header is read and checked first: a file that is no slide costs no more than that.
  BYTE header[kHeaderSize];
  if (fread(header, 1, kHeaderSize, file) != kHeaderSize ||
      !SlideDecoder(header, kHeaderSize, *this, m_hatchList).ReadHeader()) {
    fclose(file);
    return RTERROR;
  }
  std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[static_cast<size_t>(length)]);
  if (!buffer) {
    fclose(file);
    return RTERROR;
  }
  std::memcpy(buffer.get(), header, kHeaderSize);
  // The file may have shrunk since it was measured: only what was read is decoded.
  const size_t size =
      kHeaderSize + fread(buffer.get() + kHeaderSize, 1, static_cast<size_t>(length) - kHeaderSize, file);
  fclose(file);
  SlideDecoder decoder(buffer.get(), size, *this, m_hatchList);
  decoder.ReadHeader();
  decoder.ReadRecords();
  return RTNORM;
}
