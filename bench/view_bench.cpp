// The view at drawing scale: pixels to drawing units (the module's PixelToWcs) and pixel to world
// and back through the host's conversions; the module's window selection (the user opening a
// window with the selection jig) and a filtered polygon window over a drawing of 100,000
// entities, against the host's "X" with the same filter (the goal: within 5 times of "X").
#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include <benchmark/benchmark.h>
#include <dbapserv.h>
#include <dbents.h>

#include <array>
#include <cmath>

#include "bench/grid_drawing.h"
#include "input/Picking.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/views.h"
#include "view/ViewControl.h"

namespace {

using standin::Session;

void BM_PixelRoundTrip(benchmark::State& state) {
  Session::Get().Reset();
  standin::View v;
  v.twist = 0.3;
  v.height = 1234;
  standin::ShowView(v);
  int x = 0;
  double drift = 0;
  for (auto _ : state) {
    acedDwgPoint world;
    CPoint pixel((x * 7) % 800, (x * 13) % 600), back;
    acedCoordFromPixelToWorld(2, pixel, world);
    acedCoordFromWorldToPixel(2, world, back);
    drift += std::abs(back.x - pixel.x) + std::abs(back.y - pixel.y);
    ++x;
  }
  if (drift != 0) state.SkipWithError("a pixel did not come back");
  state.SetItemsProcessed(state.iterations());
}

void BM_PixelToWcs(benchmark::State& state) {
  Session::Get().Reset();
  int n = 0;
  double sum = 0;
  for (auto _ : state) sum += PixelToWcs(++n & 1023);
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}

// Circles on layer DOOR, a quarter of the drawing.
resbuf* DoorFilter() { return acutBuildList(RTDXF0, L"CIRCLE", 8, L"DOOR", 0); }

void BM_FilteredAll(benchmark::State& state) {
  const long n = state.range(0);
  tovubench::BuildGridDrawing(n);
  resbuf* filter = DoorFilter();
  for (auto _ : state) {
    ads_name ss;
    long length = 0;
    if (acedSSGet(L"X", nullptr, nullptr, filter, ss) != RTNORM) state.SkipWithError("nothing selected");
    acedSSLength(ss, &length);
    if (length != n / 4) state.SkipWithError("the filter missed entities");
    acedSSFree(ss);
  }
  acutRelRb(filter);
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_FilteredPolygonWindow(benchmark::State& state) {
  const long n = state.range(0);
  const double side = tovubench::BuildGridDrawing(n);
  resbuf* filter = DoorFilter();
  resbuf* polygon = acutBuildList(RTPOINT, std::array<double, 3>{-1, -1, 0}.data(), RTPOINT,
                                  std::array<double, 3>{side + 1, -1, 0}.data(), RTPOINT,
                                  std::array<double, 3>{side + 1, side + 1, 0}.data(), RTPOINT,
                                  std::array<double, 3>{-1, side + 1, 0}.data(), 0);
  for (auto _ : state) {
    ads_name ss;
    long length = 0;
    if (acedSSGet(L"WP", polygon, nullptr, filter, ss) != RTNORM) state.SkipWithError("nothing selected");
    acedSSLength(ss, &length);
    if (length != n / 4) state.SkipWithError("the window missed entities");
    acedSSFree(ss);
  }
  acutRelRb(polygon);
  acutRelRb(filter);
  state.SetItemsProcessed(state.iterations() * n);
}

// The user clicks below the grid's lower-left corner, moves and clicks above its upper-right
// corner (a window), then presses Enter.
void BM_UserWindowSelection(benchmark::State& state) {
  const long n = state.range(0);
  const double side = tovubench::BuildGridDrawing(n);
  ZoAdsRBList filter(DoorFilter());
  for (auto _ : state) {
    Session::Get().Queue({standin::InputEvent::At(standin::InputKind::Point, -1, -1),
                          standin::InputEvent::At(standin::InputKind::Cursor, side / 2, side / 2),
                          standin::InputEvent::At(standin::InputKind::Point, side + 1, side + 1),
                          standin::InputEvent::Key(standin::InputKind::Enter)});
    ZoAdsEntSet set;
    if (ZoPtSelectEntsWetherHighlight(L"\nSelect: ", set, filter, 1) != RTNORM || set.GetLength() != n / 4)
      state.SkipWithError("the window missed entities");
    Session::Get().ClearTranscript();
    Session::Get().ClearJournal();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(BM_PixelToWcs);
BENCHMARK(BM_PixelRoundTrip);
BENCHMARK(BM_UserWindowSelection)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredAll)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredPolygonWindow)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
