// The registry file: loading and saving a file of 40,000 values in one key and one of 40,000 keys
// under one parent, each measured against reading the same file's bytes; the counter x_read is
// how many such reads one load or save takes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Win32.h"
#include "standin/win32/registry.h"

namespace {

constexpr int kCount = 40000;
enum Shape { kValuesOfOneKey, kKeysOfOneParent, kShapes };

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string ReadBytes(const std::filesystem::path& path) {
  std::string bytes(std::filesystem::file_size(path), '\0');
  FILE* f = std::fopen(path.c_str(), "rb");
  const size_t n = f ? std::fread(bytes.data(), 1, bytes.size(), f) : 0;
  if (f) std::fclose(f);
  bytes.resize(n);
  return bytes;
}

// Both files, as the stand-in writes them, in a temporary folder that goes with the process.
class RegistryFiles {
 public:
  RegistryFiles() {
    m_dir = std::filesystem::temp_directory_path() / ("tovu-registry-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(m_dir);
    std::string values = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bench]\r\n";
    std::string keys = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bench]\r\n\r\n";
    char line[96];
    for (int i = 0; i < kCount; ++i) {
      std::snprintf(line, sizeof line, "\"Setting %05d\"=\"value number %d\"\r\n", i, i);
      values += line;
      std::snprintf(line, sizeof line, "[HKEY_CURRENT_USER\\Software\\Bench\\Key %05d]\r\n\"n\"=dword:%08x\r\n\r\n", i,
                    i);
      keys += line;
    }
    std::ofstream(path(kValuesOfOneKey), std::ios::binary) << values << "\r\n";
    std::ofstream(path(kKeysOfOneParent), std::ios::binary) << keys;
    for (int s = 0; s < kShapes; ++s) {
      // The fastest of a few reads, so a cold first read does not flatter the ratios.
      m_readSeconds[s] = 1e9;
      for (int run = 0; run < 20; ++run) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(ReadBytes(path(Shape(s))));
        m_readSeconds[s] = std::min(m_readSeconds[s], Seconds(start));
      }
    }
  }
  ~RegistryFiles() {
    standin::ResetRegistry();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }

  std::filesystem::path path(Shape shape) const {
    return m_dir / (shape == kValuesOfOneKey ? "values.reg" : "keys.reg");
  }
  double readSeconds(Shape shape) const { return m_readSeconds[shape]; }

  // Points the registry at a file and reads it, as the first registry call of a process does.
  void Load(Shape shape) const {
    setenv("TOVU_REGISTRY", path(shape).c_str(), 1);
    standin::ResetRegistry();
    standin::RegistryFilePath();
  }

 private:
  std::filesystem::path m_dir;
  double m_readSeconds[kShapes];
};

const RegistryFiles& Files() {
  static const RegistryFiles files;
  return files;
}

void Report(benchmark::State& state, Shape shape, double seconds) {
  state.counters["x_read"] = seconds / static_cast<double>(state.iterations()) / Files().readSeconds(shape);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(Files().path(shape))));
  state.SetLabel(shape == kValuesOfOneKey ? "40000 values of one key" : "40000 keys of one parent");
}

void BM_ReadBytes(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  const auto path = Files().path(shape);
  for (auto _ : state) benchmark::DoNotOptimize(ReadBytes(path));
  state.SetLabel(shape == kValuesOfOneKey ? "40000 values of one key" : "40000 keys of one parent");
}
BENCHMARK(BM_ReadBytes)->DenseRange(0, kShapes - 1)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    Files().Load(shape);
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Bench", 0, KEY_READ, &h) != ERROR_SUCCESS)
      state.SkipWithError("not loaded");
    RegCloseKey(h);
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    total += seconds;
  }
  Report(state, shape, total);
}
BENCHMARK(BM_Load)->DenseRange(0, kShapes - 1)->UseManualTime()->Unit(benchmark::kMillisecond);

// A save writes the whole tree again, as every save of a changed registry does.
void BM_Save(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  Files().Load(shape);
  const DWORD one = 1;
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    RegSetValueExW(HKEY_CURRENT_USER, L"Saved", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    if (!standin::SaveRegistry()) state.SkipWithError("not saved");
    const double seconds = Seconds(start);
    state.SetIterationTime(seconds);
    total += seconds;
  }
  Report(state, shape, total);
  standin::ResetRegistry();
}
BENCHMARK(BM_Save)->DenseRange(0, kShapes - 1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
