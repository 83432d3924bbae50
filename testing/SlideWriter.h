// Slide files written byte by byte, in either byte order, for the slide tests, the fuzzers'
// seeds and the benchmark.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace tovutest {

class SlideWriter {
 public:
  explicit SlideWriter(bool bigEndian = false, int level = 2, const std::string& id = "AutoCAD Slide")
      : m_big(bigEndian) {
    m_bytes = id.substr(0, 13);
    m_bytes.resize(13, ' ');
    m_bytes += "\r\n\x1a";
    m_bytes += '\0';
    Byte(0x56).Byte(level).Word(799).Word(599);
    // Aspect ratio 4/3 times 10^7, always least significant byte first.
    const uint32_t aspect = 13333333;
    for (int i = 0; i < 4; ++i) Byte((aspect >> (8 * i)) & 0xFF);
    Word(2).Word(0x1234);
  }

  // from-x must be 0 to 32767: its high byte is the record type.
  SlideWriter& Vector(int fx, int fy, int tx, int ty) {
    ++m_lines;
    Word(fx).Word(fy).Word(tx).Word(ty);
    return Mark();
  }
  SlideWriter& OffsetVector(int dfx, int dfy, int dtx, int dty) {
    ++m_lines;
    Word(0xFB00 | (dfx & 0xFF)).Byte(dfy).Byte(dtx).Byte(dty);
    return Mark();
  }
  SlideWriter& CommonEndpoint(int dx, int dy) {
    ++m_lines;
    Word(0xFE00 | (dx & 0xFF)).Byte(dy);
    return Mark();
  }
  SlideWriter& Color(int color) {
    Word(0xFF00 | (color & 0xFF));
    return Mark();
  }
  // One raw solid-fill record.
  SlideWriter& Fill(int x, int y) {
    Word(0xFD00).Word(x).Word(y);
    return Mark();
  }
  // A polygon as the host writes it: start (n + 1, -2), the vertices, and the last vertex
  // again with y negated (-1 for y 0) as the closing record.
  SlideWriter& Polygon(const std::vector<std::pair<int, int>>& vertices) {
    Word(0xFD00).Word(static_cast<int>(vertices.size()) + 1).Word(-2);
    for (const auto& v : vertices) Word(0xFD00).Word(v.first).Word(v.second);
    const auto& last = vertices.back();
    Word(0xFD00).Word(last.first).Word(last.second > 0 ? -last.second : -1);
    ++m_polygons;
    return Mark();
  }
  SlideWriter& End() {
    Word(0xFC00);
    return Mark();
  }
  SlideWriter& Word(int v) {
    const auto w = static_cast<uint16_t>(v);
    return m_big ? Byte(w >> 8).Byte(w & 0xFF) : Byte(w & 0xFF).Byte(w >> 8);
  }
  SlideWriter& Byte(int v) {
    m_bytes += static_cast<char>(static_cast<uint8_t>(v));
    return *this;
  }

  const std::string& bytes() const { return m_bytes; }
  // After each record written with the functions above: where it ends, and how many lines and
  // polygons the slide holds up to there.
  struct RecordEnd {
    size_t end;
    int lines;
    int polygons;
  };
  const std::vector<RecordEnd>& marks() const { return m_marks; }

  void Save(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary);
    out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
  }

 private:
  SlideWriter& Mark() {
    m_marks.push_back({m_bytes.size(), m_lines, m_polygons});
    return *this;
  }

  bool m_big;
  std::string m_bytes;
  int m_lines = 0;
  int m_polygons = 0;
  std::vector<RecordEnd> m_marks;
};

}  // namespace tovutest
