// Slides: reading and fitting a slide of 100,000 vectors, measured in MB/s of file data against
// a plain fread of the same file (the baseline), and painting it into 800 by 600 pixels.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "image/ImageDraw.h"
#include "image/ImageList.h"
#include "platform/Host.h"
#include "testing/Canvas.h"
#include "testing/SlideWriter.h"

namespace {

constexpr int kVectors = 100000;

// A slide of kVectors vectors: a grid of strokes in 16 colours, mostly full vectors with a
// quarter as offset and common-endpoint vectors, as the host writes them for detailed drawings.
class SlideFile {
 public:
  SlideFile() {
    tovutest::SlideWriter slide;
    for (int i = 0; i < kVectors; ++i) {
      if (i % 500 == 0) slide.Color(1 + (i / 500) % 16);
      const int x = (i * 37) % 1800, y = (i * 91) % 1000;
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

// The baseline: the same file read whole into memory with one fread.
void BM_FreadBaseline(benchmark::State& state) {
  const SlideFile& slide = Slide();
  std::unique_ptr<char[]> buffer(new char[slide.size()]);
  for (auto _ : state) {
    FILE* f = std::fopen(slide.path().c_str(), "rb");
    const size_t n = std::fread(buffer.get(), 1, slide.size(), f);
    std::fclose(f);
    benchmark::DoNotOptimize(n);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * slide.size()));
}
BENCHMARK(BM_FreadBaseline);

void BM_ReadAndFitSlide(benchmark::State& state) {
  const SlideFile& slide = Slide();
  const std::wstring path = slide.wpath();
  for (auto _ : state) {
    ZoPtImageList list;
    if (list.ReadSlideFile(path.c_str()) != RTNORM || list.GetLength() != kVectors) state.SkipWithError("not read");
    list.WcsToDcs(800, 600, 5);
    benchmark::DoNotOptimize(list.GetFirst());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * slide.size()));
  state.counters["vectors/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kVectors, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAndFitSlide)->Unit(benchmark::kMillisecond);

// One Redraw of the loaded slide: copy, fit and paint into 800 by 600.
void BM_PaintSlide800x600(benchmark::State& state) {
  const std::wstring path = Slide().wpath();
  tovutest::Canvas canvas(800, 600);
  CDC dc;
  dc.Attach(canvas.dc());
  ZoPtImageDraw draw;
  draw.PaintSlide(path.c_str());
  for (auto _ : state) {
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, 800, 600));
    if (draw.Redraw() != 1) state.SkipWithError("not painted");
  }
  dc.Detach();
  state.counters["vectors/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kVectors, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PaintSlide800x600)->Unit(benchmark::kMillisecond);

}  // namespace
