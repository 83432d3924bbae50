// BMP files and DIBs built byte by byte, least significant byte first as the format has them,
// for the tests and the fuzzers' seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovutest {

struct Bytes : std::vector<uint8_t> {
  Bytes& u8(unsigned v) {
    push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  // Zeros up to the next multiple of `to` bytes, as DIB rows are padded to 4.
  Bytes& pad(size_t to) {
    while (size() % to) push_back(0);
    return *this;
  }
  Bytes& append(const Bytes& more) {
    insert(end(), more.begin(), more.end());
    return *this;
  }
  std::string str() const { return std::string(begin(), end()); }
};

// A 40-byte information header (compression 0 is BI_RGB).
inline Bytes InfoHeader(int32_t width, int32_t height, int bpp, uint32_t clrUsed = 0, uint32_t compression = 0,
                        uint32_t sizeImage = 0) {
  Bytes b;
  b.u32(40).u32(static_cast<uint32_t>(width)).u32(static_cast<uint32_t>(height)).u16(1).u16(bpp).u32(compression);
  return b.u32(sizeImage).u32(0).u32(0).u32(clrUsed).u32(0);
}

// An RLE DIB (8 or 4 bits) of the given run data, with the colour table 0 blue, 1 green, 2 red.
inline Bytes RleDib(int bpp, int32_t width, int32_t height, const Bytes& data) {
  Bytes b = InfoHeader(width, height, bpp, 3, bpp == 8 ? 1 : 2, static_cast<uint32_t>(data.size()));
  b.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
  return b.append(data);
}

// A 12-byte core header.
inline Bytes CoreHeader(int width, int height, int bpp) {
  return Bytes().u32(12).u16(width).u16(height).u16(1).u16(bpp);
}

// A BMP file: the 14-byte file header, with offBits as the offset of the bits, and the DIB.
inline Bytes BmpFile(const Bytes& dib, uint32_t offBits) {
  Bytes b;
  b.u8('B').u8('M').u32(static_cast<uint32_t>(14 + dib.size())).u16(0).u16(0).u32(offBits);
  return b.append(dib);
}

}  // namespace tovutest
