// What the image tests share: vector lists and painted pixels written out as text, DIBs in
// global memory, BMP files read as the painter reads them, the real files of the shared test
// data with their reference tables, and the fuzzers' seeds.
#pragma once

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "image/DIBUtil.h"
#include "image/ImageList.h"
#include "testing/BmpBytes.h"
#include "testing/Canvas.h"

namespace tovutest {

using Strings = std::vector<std::string>;

// "(x,y)", or "(x,y,z)" when z is not 0.
inline std::string Text(const ZoGePoint& p) {
  std::ostringstream out;
  out << "(" << p.x << "," << p.y;
  if (p.z != 0) out << "," << p.z;
  out << ")";
  return out.str();
}

// Every line as "cCOLOUR (x,y)-(x,y)", in list order.
inline Strings Lines(const ZoPtImageList& list) {
  Strings out;
  for (ZoPtImageLine* const* p = list.GetFirst(); p; p = list.GetNext(p))
    out.push_back(*p ? "c" + std::to_string((*p)->m_nColor) + " " + Text((*p)->m_ptStart) + "-" + Text((*p)->m_ptEnd)
                     : "empty");
  return out;
}

// Every polygon as "cCOLOUR (x,y) (x,y) ...", a vertex's bulge other than 0 after it as "/b",
// and " closed" at the end of a closed outline.
inline Strings Polygons(const ZoPtImageList& list) {
  Strings out;
  const ZoPDList<ZoPtImageHatch>& hatches = list.GetHatchList();
  for (ZoPtImageHatch* const* p = hatches.GetFirst(); p; p = hatches.GetNext(p)) {
    std::ostringstream text;
    text << "c" << (*p)->m_nColor;
    for (long i = 0; i < (*p)->GetVertexNum(); ++i) {
      text << " " << Text((*p)->GetVertex(i));
      if ((*p)->GetBulge(i) != 0) text << "/" << (*p)->GetBulge(i);
    }
    if ((*p)->IsClosed()) text << " closed";
    out.push_back(text.str());
  }
  return out;
}

// The DIB's bytes in a new movable block.
inline HDIB MakeDib(const Bytes& dib) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  std::memcpy(GlobalLock(h), dib.data(), dib.size());
  GlobalUnlock(h);
  return reinterpret_cast<HDIB>(h);
}

// The runs of colour met going from (x, y) in steps of (dx, dy) to the canvas's edge: the step
// where each run starts and the colour's character in names ('?' for a colour not named).
inline std::string Runs(const Canvas& canvas, const std::map<COLORREF, char>& names, int x, int y, int dx, int dy) {
  std::string out;
  COLORREF last = CLR_INVALID;
  for (int i = 0; x >= 0 && y >= 0 && x < canvas.width() && y < canvas.height(); ++i, x += dx, y += dy) {
    const COLORREF c = canvas.Pixel(x, y);
    if (c == last) continue;
    const auto name = names.find(c);
    out += (out.empty() ? "" : " ") + std::to_string(i) + (name == names.end() ? '?' : name->second);
    last = c;
  }
  return out;
}

// A memory block's bytes, as many as GlobalSize reports (none for a null block).
inline std::string Held(HGLOBAL h) {
  const char* p = h ? static_cast<const char*>(GlobalLock(h)) : nullptr;
  const std::string bytes = p ? std::string(p, GlobalSize(h)) : std::string();
  if (p) GlobalUnlock(h);
  return bytes;
}

inline void FreeDib(HDIB dib) {
  if (dib) GlobalFree(reinterpret_cast<HGLOBAL>(dib));
}

// Reads a BMP file as the painter does: opened for reading, writers kept out.
inline HDIB ReadBmp(const std::filesystem::path& path) {
  CFile file;
  if (!file.Open(path.wstring().c_str(), CFile::modeRead | CFile::shareDenyWrite)) return nullptr;
  return ReadDIBFile(file);
}

// The folder ../shared/testdata/NAME beside the source tree, or empty when it is absent.
inline std::filesystem::path SharedTestData(const char* name) {
  const auto dir = std::filesystem::path(TOVU_SOURCE_DIR) / ".." / "shared" / "testdata" / name;
  return std::filesystem::exists(dir / "SOURCES.md") ? dir : std::filesystem::path();
}

// The numbers in a text, in order: "(153,170,204)" gives 153, 170, 204; "3..1870" gives 3, 1870.
inline std::vector<int> Numbers(const std::string& text) {
  std::vector<int> out;
  for (size_t i = 0; (i = text.find_first_of("0123456789", i)) != std::string::npos;) {
    const size_t end = text.find_first_not_of("0123456789", i);
    out.push_back(static_cast<int>(std::strtol(text.c_str() + i, nullptr, 10)));
    i = end;
  }
  return out;
}

// The rows of the first Markdown table under the heading that contains `heading`, each as its
// cells without surrounding blanks; the table's own heading row and rule are left out.
inline std::vector<std::vector<std::string>> TableRows(const std::filesystem::path& markdown,
                                                       const std::string& heading) {
  std::ifstream in(markdown);
  std::vector<std::vector<std::string>> rows;
  bool inSection = false, tableSeen = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind('#', 0) == 0) inSection = !tableSeen && line.find(heading) != std::string::npos;
    if (!inSection || line.rfind('|', 0) != 0) continue;
    tableSeen = true;
    std::vector<std::string> cells;
    for (size_t at = 1, bar; (bar = line.find('|', at)) != std::string::npos; at = bar + 1) {
      const std::string cell = line.substr(at, bar - at);
      const size_t a = cell.find_first_not_of(' '), b = cell.find_last_not_of(' ');
      cells.push_back(a == std::string::npos ? std::string() : cell.substr(a, b - a + 1));
    }
    if (!cells.empty() && cells[0].rfind("---", 0) != 0) rows.push_back(cells);
  }
  if (!rows.empty()) rows.erase(rows.begin());
  return rows;
}

// Keeps a file's bytes as a seed of a fuzzer's corpus (fuzz/run.sh): under
// TOVU_BINARY_DIR/fuzz/seeds/KIND/.
inline void KeepAsFuzzSeed(const char* kind, const std::string& name, const std::string& bytes) {
  const auto dir = std::filesystem::path(TOVU_BINARY_DIR) / "fuzz" / "seeds" / kind;
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

}  // namespace tovutest
