// The DXF reader on drawings of N lines, each on a layer of its own: the layers named only by
// their entities (the reader creates them) against the same layers listed in the LAYER table.
// The drawing is made in memory for each size.
#include <benchmark/benchmark.h>

#include <string>

#include "standin/host/drawing/dxf.h"

namespace {

std::string Drawing(long n, bool tabled) {
  std::string tables, entities;
  for (long i = 0; i < n; ++i) {
    const std::string layer = "L" + std::to_string(i);
    if (tabled) tables += "0\nLAYER\n2\n" + layer + "\n70\n0\n62\n7\n6\nCONTINUOUS\n";
    entities +=
        "0\nLINE\n8\n" + layer + "\n10\n0\n20\n" + std::to_string(i) + "\n11\n1\n21\n" + std::to_string(i) + "\n";
  }
  std::string out = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n";
  if (tabled) out += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n" + tables + "0\nENDTAB\n0\nENDSEC\n";
  return out + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

void Read(benchmark::State& state, bool tabled) {
  const std::string bytes = Drawing(state.range(0), tabled);
  for (auto _ : state) {
    std::wstring error;
    auto db = standin::ReadDxf(bytes, L"bench.dxf", error);
    if (!db) state.SkipWithError("the drawing was refused");
    benchmark::DoNotOptimize(db.get());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DxfLayersMadeByEntities(benchmark::State& state) { Read(state, false); }
void BM_DxfLayersInTheTable(benchmark::State& state) { Read(state, true); }

BENCHMARK(BM_DxfLayersMadeByEntities)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfLayersInTheTable)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace
