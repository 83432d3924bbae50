// Helpers of the image tests: DIBs built in memory, BMP files read through the module, and the
// BMP test suite in the shared test data.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/DIBUtil.h"

namespace imagetest {

struct Bytes : std::vector<BYTE> {
  Bytes& u8(unsigned v) {
    push_back(static_cast<BYTE>(v));
    return *this;
  }
  Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& pad(size_t to) {
    while (size() % to) push_back(0);
    return *this;
  }
  Bytes& append(const Bytes& more) {
    insert(end(), more.begin(), more.end());
    return *this;
  }
};

inline Bytes InfoHeader(int32_t w, int32_t h, int bpp, DWORD clrUsed = 0, DWORD compression = BI_RGB,
                        DWORD sizeImage = 0) {
  Bytes b;
  b.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bpp).u32(compression);
  b.u32(sizeImage).u32(0).u32(0).u32(clrUsed).u32(0);
  return b;
}

inline Bytes CoreHeader(int w, int h, int bpp) {
  Bytes b;
  b.u32(12).u16(w).u16(h).u16(1).u16(bpp);
  return b;
}

// The DIB's bytes in a new movable block, as an HDIB.
inline HDIB MakeDib(const Bytes& dib) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  std::memcpy(GlobalLock(h), dib.data(), dib.size());
  GlobalUnlock(h);
  return reinterpret_cast<HDIB>(h);
}

// A BMP file's bytes: the file header (with the given bits offset, 0 for the honest one) and
// the DIB.
inline Bytes BmpFile(const Bytes& dib, uint32_t offBits) {
  Bytes b;
  b.u8('B').u8('M').u32(static_cast<uint32_t>(14 + dib.size())).u16(0).u16(0).u32(offBits);
  return b.append(dib);
}

inline std::wstring Wide(const std::filesystem::path& p) { return p.wstring(); }

// Reads a BMP file as the painter does: opened for reading, writers kept out.
inline HDIB ReadBmp(const std::filesystem::path& path) {
  CFile file;
  if (!file.Open(Wide(path).c_str(), CFile::modeRead | CFile::shareDenyWrite)) return nullptr;
  return ReadDIBFile(file);
}

// The BMP suite folder, or empty when the shared test data is absent.
inline std::filesystem::path BmpSuite() {
  const std::filesystem::path dir = std::filesystem::path(TOVU_SOURCE_DIR) / ".." / "shared" / "testdata" / "bmp";
  return std::filesystem::exists(dir / "SOURCES.md") ? dir : std::filesystem::path();
}

}  // namespace imagetest
