// Slides: reading and fitting a slide of 100,000 vectors against a plain decoder of the same file
// into a std::vector of records (the baseline: the same reading and fit without the vector list),
// with the heap allocations per vector of each; and painting it into 800 by 600 pixels.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "image/ImageDraw.h"
#include "image/ImageList.h"
#include "platform/Host.h"
#include "testing/Canvas.h"
#include "testing/SlideWriter.h"

namespace {
std::atomic<uint64_t> g_allocations{0};
}  // namespace

// Every heap allocation of the process (the module's and the stand-ins' too) is counted here.
void* operator new(size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

constexpr int kVectors = 100000;
constexpr int kPolygonEvery = 100;  // one filled polygon per this many vectors

// A slide of kVectors vectors: a grid of strokes in 16 colours, mostly full vectors with a
// quarter as offset and common-endpoint vectors, as the host writes them for detailed drawings,
// and a filled quadrilateral every hundred vectors.
class SlideFile {
 public:
  SlideFile() {
    tovutest::SlideWriter slide;
    for (int i = 0; i < kVectors; ++i) {
      if (i % 500 == 0) slide.Color(1 + (i / 500) % 16);
      const int x = (i * 37) % 1800, y = (i * 91) % 1000;
      if (i % kPolygonEvery == 50) slide.Polygon({{x, y}, {x + 20, y + 3}, {x + 17, y + 25}, {x - 2, y + 19}});
      switch (i % 8) {
        case 0:
          slide.OffsetVector(3, -2, 40, 25);
          break;
        case 1:
          slide.CommonEndpoint(-20, 17);
          break;
        default:
          slide.Vector(x, y, x + (i % 61) - 30, y + (i % 47) - 23);
      }
    }
    slide.End();
    m_path = std::filesystem::temp_directory_path() / ("tovu-bench-" + std::to_string(getpid()) + ".sld");
    slide.Save(m_path);
    m_size = std::filesystem::file_size(m_path);
  }
  ~SlideFile() { std::filesystem::remove(m_path); }

  const std::filesystem::path& path() const { return m_path; }
  std::wstring wpath() const { return m_path.wstring(); }
  uintmax_t size() const { return m_size; }

 private:
  std::filesystem::path m_path;
  uintmax_t m_size;
};

const SlideFile& Slide() {
  static const SlideFile file;
  return file;
}

void CountPerVector(benchmark::State& state, uint64_t allocationsBefore) {
  const double allocations = static_cast<double>(g_allocations.load() - allocationsBefore);
  state.counters["allocs/vector"] = allocations / (static_cast<double>(state.iterations()) * kVectors);
  state.counters["vectors/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kVectors, benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Slide().size()));
}

// The baseline: the slide decoded as plainly as it can be (little-endian records only, which is
// what the benchmark's file holds) into vectors of records, then fitted as the list is.
struct PlainPoint {
  double x, y;
};
struct PlainLine {
  int color;
  PlainPoint from, to;
};
struct PlainPolygon {
  int color;
  int count;
  PlainPoint vertices[10];
};

void PlainDecode(const unsigned char* d, size_t size, std::vector<PlainLine>& lines,
                 std::vector<PlainPolygon>& polygons) {
  auto word = [d](size_t at) { return static_cast<unsigned>(d[at] | (d[at + 1] << 8)); };
  auto s16 = [&](size_t at) { return static_cast<double>(static_cast<int16_t>(word(at))); };
  auto s8 = [d](size_t at) { return static_cast<double>(static_cast<signed char>(d[at])); };
  int color = 7;
  PlainPoint last = {0, 0};
  size_t at = 31;
  while (at + 2 <= size) {
    const unsigned w = word(at), type = w >> 8;
    if (type <= 0x7F && at + 8 <= size) {
      last = {static_cast<double>(static_cast<int16_t>(w)), s16(at + 2)};
      lines.push_back({color, last, {s16(at + 4), s16(at + 6)}});
      at += 8;
    } else if (type == 0xFB && at + 5 <= size) {
      const PlainPoint from = {last.x + s8(at), last.y + s8(at + 2)};
      lines.push_back({color, from, {last.x + s8(at + 3), last.y + s8(at + 4)}});
      last = from;
      at += 5;
    } else if (type == 0xFE && at + 3 <= size) {
      const PlainPoint to = {last.x + s8(at), last.y + s8(at + 2)};
      lines.push_back({color, last, to});
      last = to;
      at += 3;
    } else if (type == 0xFF) {
      color = static_cast<int>(w & 0xFF);
      at += 2;
    } else if (type == 0xFD && at + 6 <= size) {
      const int count = static_cast<int16_t>(word(at + 2));
      at += 6;
      PlainPolygon polygon = {color, 0, {}};
      for (int i = 0; i < count && at + 6 <= size; ++i, at += 6)
        if (static_cast<int16_t>(word(at + 4)) >= 0 && polygon.count < 10)
          polygon.vertices[polygon.count++] = {s16(at + 2), s16(at + 4)};
      polygons.push_back(polygon);
    } else {
      return;
    }
  }
}

void BM_PlainDecodeAndFit(benchmark::State& state) {
  const SlideFile& slide = Slide();
  const uint64_t before = g_allocations.load();
  for (auto _ : state) {
    FILE* f = std::fopen(slide.path().c_str(), "rb");
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[slide.size()]);
    const size_t n = std::fread(buffer.get(), 1, slide.size(), f);
    std::fclose(f);
    std::vector<PlainLine> lines;
    std::vector<PlainPolygon> polygons;
    PlainDecode(buffer.get(), n, lines, polygons);
    if (lines.size() != kVectors) state.SkipWithError("not read");
    PlainPoint lo = lines[0].from, hi = lo;
    auto grow = [&](const PlainPoint& p) {
      lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
      hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    };
    for (const PlainLine& l : lines) grow(l.from), grow(l.to);
    for (const PlainPolygon& p : polygons)
      for (int i = 0; i < p.count; ++i) grow(p.vertices[i]);
    const double s = std::min(790 / (hi.x - lo.x), 590 / (hi.y - lo.y));
    auto fit = [&](PlainPoint& p) { p = {(p.x - lo.x) * s + 5, 600 - ((p.y - lo.y) * s + 5)}; };
    for (PlainLine& l : lines) fit(l.from), fit(l.to);
    for (PlainPolygon& p : polygons)
      for (int i = 0; i < p.count; ++i) fit(p.vertices[i]);
    benchmark::DoNotOptimize(lines.data());
    benchmark::DoNotOptimize(polygons.data());
  }
  CountPerVector(state, before);
}
BENCHMARK(BM_PlainDecodeAndFit)->Unit(benchmark::kMillisecond);

void BM_ReadAndFitSlide(benchmark::State& state) {
  const std::wstring path = Slide().wpath();
  const uint64_t before = g_allocations.load();
  for (auto _ : state) {
    ZoPtImageList list;
    if (list.ReadSlideFile(path.c_str()) != RTNORM || list.GetLength() != kVectors) state.SkipWithError("not read");
    list.WcsToDcs(800, 600, 5);
    benchmark::DoNotOptimize(list.GetFirst());
  }
  CountPerVector(state, before);
}
BENCHMARK(BM_ReadAndFitSlide)->Unit(benchmark::kMillisecond);

// One Redraw of the loaded slide: fit and paint into 800 by 600.
void BM_PaintSlide800x600(benchmark::State& state) {
  const std::wstring path = Slide().wpath();
  tovutest::Canvas canvas(800, 600);
  CDC dc;
  dc.Attach(canvas.dc());
  ZoPtImageDraw draw;
  draw.PaintSlide(path.c_str());
  const uint64_t before = g_allocations.load();
  for (auto _ : state) {
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, 800, 600));
    if (draw.Redraw() != 1) state.SkipWithError("not painted");
  }
  dc.Detach();
  CountPerVector(state, before);
  state.SetBytesProcessed(0);
}
BENCHMARK(BM_PaintSlide800x600)->Unit(benchmark::kMillisecond);

}  // namespace
