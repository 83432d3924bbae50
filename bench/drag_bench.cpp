// The drag loop at the mouse's rate: each cursor sample runs the module's move sampler (grid
// snap, user to world coordinates, the move matrix), moves the image of the set (the host
// transforms its outline to know where it lies) and goes into the journal. The host redraws a
// drag at about 100 samples a second, so a set keeps up while a sample costs under 10 ms.
#include <benchmark/benchmark.h>
#include <dbapserv.h>
#include <dbents.h>

#include <cmath>

#include "ads/AdsEntSet.h"
#include "drag/Drag.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/views.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

constexpr int kSamplesPerDrag = 200;

// n lines and circles in a square grid within the view.
void BuildSet(long n) {
  Session::Get().Reset();
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(n))));
  const double step = 400.0 / static_cast<double>(side);
  for (long i = 0; i < n; ++i) {
    const double x = 100 + step * static_cast<double>(i % side), y = 100 + step * static_cast<double>(i / side);
    if (i % 2)
      standin::AddEntity(db, new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d::kZAxis, step / 3));
    else
      standin::AddEntity(db, new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + step / 2, y + step / 2, 0)));
  }
}

void BM_DragSample(benchmark::State& state) {
  BuildSet(state.range(0));
  ZoAdsEntSet set;
  set.Get(L"X");
  const ZoGePoint base(300, 300);
  ZoGePoint result;
  long samples = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Session::Get().ClearJournal();
    Session::Get().ClearTranscript();
    for (int i = 0; i < kSamplesPerDrag; ++i)
      Session::Get().Queue(InputEvent::At(InputKind::Cursor, 200 + i % 300, 150 + (i * 7) % 300));
    Session::Get().Queue(InputEvent::Key(InputKind::Enter));
    state.ResumeTiming();
    if (ZoPtDragMoveEntSet(set, L"", base, result) != RTNONE) state.SkipWithError("the drag did not end on Enter");
    samples += kSamplesPerDrag;
  }
  state.SetItemsProcessed(samples);
  state.counters["entities"] = static_cast<double>(set.GetLength());
}
BENCHMARK(BM_DragSample)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
