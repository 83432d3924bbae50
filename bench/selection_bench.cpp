// Selection at scale: a window around every entity of drawings of 100,000 to 1,000,000 entities
// (lines, arcs and references to a small block, built in memory, and the same drawing written by
// ezdxf and read from its file), drawn by the user at the "Select objects" prompt and asked for
// with "W". The counter per_entity is the time per entity; it should stay about the same at every
// size.
#include <acedads.h>
#include <benchmark/benchmark.h>
#include <dbapserv.h>
#include <dbents.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/views.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

// Zooms to the grid, as windows select only what the view shows.
double ShowGrid(double side) {
  const double center[3] = {side / 2, side / 2, 0};
  standin::ZoomTo(center, side + 4);
  return side;
}

// A square grid of n entities, one per unit cell; returns the grid's side.
double BuildDrawing(long n) {
  Session::Get().Reset();
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  standin::AddBlock(db, L"MARK",
                    {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0.4, 0, 0)),
                     new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 0.4, 0))});
  const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(n))));
  for (long i = 0; i < n; ++i) {
    const double x = static_cast<double>(i % side), y = static_cast<double>(i / side);
    switch (i % 3) {
      case 0:
        standin::AddEntity(db, new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 0.5, y + 0.5, 0)));
        break;
      case 1:
        standin::AddEntity(db, new AcDbArc(AcGePoint3d(x + 0.5, y + 0.5, 0), 0.25, 0.5, 2.5));
        break;
      default:
        standin::AddBlockReference(db, L"MARK", AcGePoint3d(x + 0.2, y + 0.2, 0), 0.3);
    }
  }
  return ShowGrid(static_cast<double>(side));
}

void Report(benchmark::State& state, long n) {
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["per_entity"] = benchmark::Counter(
      static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The same grid written by ezdxf into a temporary file (never kept) and opened; 0 when ezdxf
// cannot write it or the drawing does not load.
double ReadEzdxfDrawing(long n) {
  Session::Get().Reset();
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tovu-grid-" + std::to_string(n) + ".dxf");
  const std::string command = "/usr/bin/python3 " TOVU_SOURCE_DIR "/bench/make_grid_dxf.py " + std::to_string(n) + " " +
                              file.string() + " 2>/dev/null";
  std::wstring error;
  const bool loaded = std::system(command.c_str()) == 0 && standin::OpenDxfDrawing(file.wstring(), error);
  std::filesystem::remove(file);
  return loaded ? ShowGrid(std::ceil(std::sqrt(static_cast<double>(n)))) : 0;
}

void UserWindow(benchmark::State& state, long n, double side) {
  for (auto _ : state) {
    InputEvent window = InputEvent::At(InputKind::Window, -1, -1);
    window.corner[0] = window.corner[1] = side + 1;
    Session::Get().Queue({window, InputEvent::Key(InputKind::Enter)});
    ads_name ss;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) state.SkipWithError("nothing selected");
    long length = 0;
    acedSSLength(ss, &length);
    if (length != n) state.SkipWithError("the window missed entities");
    acedSSFree(ss);
    Session::Get().ClearTranscript();
  }
  Report(state, n);
}

void BM_UserWindow(benchmark::State& state) { UserWindow(state, state.range(0), BuildDrawing(state.range(0))); }

void BM_UserWindowEzdxfDrawing(benchmark::State& state) {
  const double side = ReadEzdxfDrawing(state.range(0));
  if (side == 0) {
    state.SkipWithError("no drawing: python3-ezdxf is needed to write it");
    return;
  }
  UserWindow(state, state.range(0), side);
}

void BM_WindowMode(benchmark::State& state) {
  const long n = state.range(0);
  const double side = BuildDrawing(n);
  const double a[3] = {-1, -1, 0}, b[3] = {side + 1, side + 1, 0};
  for (auto _ : state) {
    ads_name ss;
    if (acedSSGet(L"W", a, b, nullptr, ss) != RTNORM) state.SkipWithError("nothing selected");
    long length = 0;
    acedSSLength(ss, &length);
    if (length != n) state.SkipWithError("the window missed entities");
    acedSSFree(ss);
  }
  Report(state, n);
}

BENCHMARK(BM_UserWindow)->Arg(100000)->Arg(400000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowMode)->Arg(100000)->Arg(400000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UserWindowEzdxfDrawing)->Arg(100000)->Arg(400000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
