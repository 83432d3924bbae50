// The drawing view as a picture: the 100,000 entities of the view benchmark's grid rendered at
// 1600 x 1200, against the slide painter (image/) painting as many vectors into a raster of the
// same size in the same run (the baseline). Frames per second and "vs_slide", how many times longer
// a render takes than a paint of the slide, are taken from the processor time the process spent,
// so that other work on a shared machine does not count.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "bench/grid_drawing.h"
#include "image/ImageDraw.h"
#include "platform/Host.h"
#include "standin/host/view/render.h"
#include "testing/Canvas.h"
#include "testing/SlideWriter.h"

namespace {

constexpr long kEntities = 100000;
constexpr int kWidth = 1600, kHeight = 1200;

double g_slideSeconds = 0;  // one paint of the baseline, measured first

// Processor seconds per iteration since start; frames per second from them.
double Report(benchmark::State& state, std::clock_t start) {
  const double seconds =
      static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / static_cast<double>(state.iterations());
  state.counters["fps"] = 1 / seconds;
  return seconds;
}

void BM_SlidePainter1600x1200(benchmark::State& state) {
  // The grid's lines as slide vectors, as many as the drawing has entities.
  tovutest::SlideWriter slide;
  for (long i = 0; i < kEntities; ++i) {
    const int x = static_cast<int>(i % 317) * 2, y = static_cast<int>(i / 317) * 2 % 600;
    slide.Vector(x, y, x + 1, y + 1);
  }
  slide.End();
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tovu-render-bench-" + std::to_string(getpid()) + ".sld");
  slide.Save(path);
  tovutest::Canvas canvas(kWidth, kHeight);
  CDC dc;
  dc.Attach(canvas.dc());
  ZoPtImageDraw draw;
  draw.PaintSlide(path.wstring().c_str());
  const std::clock_t start = std::clock();
  for (auto _ : state) {
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, kWidth, kHeight));
    if (draw.Redraw() != 1) state.SkipWithError("not painted");
  }
  g_slideSeconds = Report(state, start);
  dc.Detach();
  std::filesystem::remove(path);
}
BENCHMARK(BM_SlidePainter1600x1200)->Unit(benchmark::kMillisecond);

void BM_RenderView1600x1200(benchmark::State& state) {
  tovubench::BuildGridDrawing(kEntities);
  const std::clock_t start = std::clock();
  for (auto _ : state) {
    const standin::RenderResult result = standin::RenderView(kWidth, kHeight);
    if (!result.leftOut.empty()) state.SkipWithError("entities were left out");
    benchmark::DoNotOptimize(result.raster.pixels.data());
  }
  const double seconds = Report(state, start);
  if (g_slideSeconds > 0) state.counters["vs_slide"] = seconds / g_slideSeconds;
}
BENCHMARK(BM_RenderView1600x1200)->Unit(benchmark::kMillisecond);

}  // namespace
