// The DXF reader on drawings of N lines, each on a layer of its own: the layers named only by
// their entities (the reader creates them) against the same layers listed in the LAYER table.
// The drawing is made in memory for each size. And the load of drawings of 10^5 and 10^6
// mixed entities written by ezdxf: throughput, the peak memory the load adds against the file's
// size, and the time ezdxf itself takes to read the same file (and how many times the load's),
// each the median of five repetitions.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
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

// A kB figure of /proc/self/status ("VmRSS", "VmHWM"); 0 when it cannot be read.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size() + 1);
  return 0;
}

struct EzdxfDrawing {
  std::string bytes;  // empty when ezdxf could not write it
  double ezdxfReadSeconds = 0;
  // The most any load of it added to the resident memory: a later load may reuse memory that an
  // earlier one's drawing left to the allocator, so only the highest counts.
  double peakKb = 0;
};

// Writes the drawing with ezdxf into a temporary file (removed again), reads its bytes and times
// ezdxf reading it back.
EzdxfDrawing WriteWithEzdxf(long n) {
  EzdxfDrawing d;
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tovu-mixed-" + std::to_string(n) + ".dxf");
  const std::string write = "/usr/bin/python3 " TOVU_SOURCE_DIR "/bench/make_mixed_dxf.py " + std::to_string(n) + " " +
                            file.string() + " 2>/dev/null";
  if (std::system(write.c_str()) == 0) {
    std::ostringstream content;
    content << std::ifstream(file, std::ios::binary).rdbuf();
    d.bytes = content.str();
    const std::string read =
        "/usr/bin/python3 -c \"import sys, time, ezdxf; t = time.perf_counter(); "
        "ezdxf.readfile(sys.argv[1]); print(time.perf_counter() - t)\" " +
        file.string();
    if (FILE* p = popen(read.c_str(), "r")) {
      if (std::fscanf(p, "%lf", &d.ezdxfReadSeconds) != 1) d.ezdxfReadSeconds = 0;
      pclose(p);
    }
  }
  std::filesystem::remove(file);
  return d;
}

void BM_DxfLoadEzdxfDrawing(benchmark::State& state) {
  // Written once for all the repetitions: ezdxf takes over a minute for 10^6 entities.
  static std::map<long, EzdxfDrawing> drawings;
  if (!drawings.count(state.range(0))) drawings[state.range(0)] = WriteWithEzdxf(state.range(0));
  EzdxfDrawing& d = drawings[state.range(0)];
  if (d.bytes.empty()) {
    state.SkipWithError("no drawing: python3-ezdxf is needed to write it");
    return;
  }
  double loadSeconds = 0;
  for (auto _ : state) {
    // Memory freed before goes back to the system, so that the load cannot reuse it unseen, and
    // the high-water mark starts again from what is resident now (writing 5 to clear_refs).
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS");
    std::wstring error;
    const auto start = std::chrono::steady_clock::now();
    auto db = standin::ReadDxf(d.bytes, L"bench.dxf", error);
    loadSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!db) state.SkipWithError("the drawing was refused");
    const long peak = StatusKb("VmHWM") - before;
    if (peak > d.peakKb) d.peakKb = static_cast<double>(peak);
    state.PauseTiming();  // the drawing's destruction is no part of the load
    db.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(d.bytes.size()));
  state.counters["file_MB"] = static_cast<double>(d.bytes.size()) / 1e6;
  state.counters["peak_added_per_file_byte"] = d.peakKb * 1024 / static_cast<double>(d.bytes.size());
  state.counters["ezdxf_read_s"] = d.ezdxfReadSeconds;
  // How many times faster the load is than ezdxf reading the same file.
  state.counters["ezdxf_ratio"] = d.ezdxfReadSeconds * static_cast<double>(state.iterations()) / loadSeconds;
}
// The median of five repetitions: a shared machine's speed changes by a third from minute to minute.
BENCHMARK(BM_DxfLoadEzdxfDrawing)
    ->Arg(100000)
    ->Arg(1000000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
