// The drawing view as a picture: the 100,000 entities of the view benchmark's grid rendered at
// 1600 x 1200, against the slide painter (image/) painting as many vectors into a raster of the
// same size in the same run (the baseline). "vs_slide" is how many times longer a render takes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
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

// Frames per second and, once the baseline ran, the ratio to it.
void Report(benchmark::State& state, std::chrono::steady_clock::duration spent) {
  const double seconds = std::chrono::duration<double>(spent).count() / static_cast<double>(state.iterations());
  state.counters["fps"] = 1 / seconds;
  if (g_slideSeconds > 0) state.counters["vs_slide"] = seconds / g_slideSeconds;
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
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, kWidth, kHeight));
    if (draw.Redraw() != 1) state.SkipWithError("not painted");
  }
  const auto spent = std::chrono::steady_clock::now() - start;
  dc.Detach();
  std::filesystem::remove(path);
  Report(state, spent);
  g_slideSeconds = std::chrono::duration<double>(spent).count() / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SlidePainter1600x1200)->Unit(benchmark::kMillisecond);

void BM_RenderView1600x1200(benchmark::State& state) {
  tovubench::BuildGridDrawing(kEntities);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const standin::RenderResult result = standin::RenderView(kWidth, kHeight);
    if (!result.leftOut.empty()) state.SkipWithError("entities were left out");
    benchmark::DoNotOptimize(result.raster.pixels.data());
  }
  Report(state, std::chrono::steady_clock::now() - start);
}
BENCHMARK(BM_RenderView1600x1200)->Unit(benchmark::kMillisecond);

}  // namespace
