// The container templates against the standard library, measured in one run: each ZoXxx case
// has its std:: baseline right beside it, with the same sizes and data.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <list>
#include <random>
#include <vector>

#include "containers/DynArray.h"
#include "containers/List.h"
#include "containers/XList.h"

namespace {

constexpr long kCount = 100000;

std::vector<double> RandomDoubles(long n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(0.0, 1e6);
  std::vector<double> values(static_cast<size_t>(n));
  for (double& v : values) v = dist(rng);
  return values;
}

ZoDynArray<double> ToDynArray(const std::vector<double>& values) {
  ZoDynArray<double> a(static_cast<long>(values.size()));
  for (double v : values) a.Append(v);
  return a;
}

// An object element: compared by key, carrying a payload as the family's records do.
struct Record {
  Record() = default;
  explicit Record(double k) : key(k) {}
  bool operator>(const Record& o) const { return key > o.key; }
  double key = 0;
  long payload[3] = {0, 0, 0};
};

void BM_Append_ZoDynArray(benchmark::State& state) {
  for (auto _ : state) {
    ZoDynArray<double> a(kCount);
    for (long i = 0; i < kCount; ++i) a.Append(static_cast<double>(i));
    benchmark::DoNotOptimize(a.GetFirst());
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_Append_StdVector(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<double> v;
    v.reserve(kCount);
    for (long i = 0; i < kCount; ++i) v.push_back(static_cast<double>(i));
    benchmark::DoNotOptimize(v.data());
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Append_ZoDynArray);
BENCHMARK(BM_Append_StdVector);

void BM_IndexedRead_ZoDynArray(benchmark::State& state) {
  const ZoDynArray<double> a = ToDynArray(RandomDoubles(kCount, 1));
  for (auto _ : state) {
    double sum = 0;
    for (long i = 0; i < kCount; ++i) sum += a[i];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_IndexedRead_StdVector(benchmark::State& state) {
  const std::vector<double> v = RandomDoubles(kCount, 1);
  for (auto _ : state) {
    double sum = 0;
    for (long i = 0; i < kCount; ++i) sum += v[static_cast<size_t>(i)];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_IndexedRead_ZoDynArray);
BENCHMARK(BM_IndexedRead_StdVector);

// A value that is absent: both scans run over every element.
void BM_Find_ZoDynArray(benchmark::State& state) {
  const ZoDynArray<double> a = ToDynArray(RandomDoubles(kCount, 2));
  for (auto _ : state) benchmark::DoNotOptimize(a.Find(-1.0));
  state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_Find_StdFind(benchmark::State& state) {
  const std::vector<double> v = RandomDoubles(kCount, 2);
  for (auto _ : state) benchmark::DoNotOptimize(std::find(v.begin(), v.end(), -1.0));
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Find_ZoDynArray);
BENCHMARK(BM_Find_StdFind);

constexpr long kLookups = 1000;

void BM_HalvingSearch_ZoDynArray(benchmark::State& state) {
  std::vector<double> values = RandomDoubles(kCount, 3);
  std::sort(values.begin(), values.end());
  const ZoDynArray<double> a = ToDynArray(values);
  const std::vector<double> keys = RandomDoubles(kLookups, 4);
  for (auto _ : state)
    for (double k : keys) benchmark::DoNotOptimize(a.BFind(k));
  state.SetItemsProcessed(state.iterations() * kLookups);
}
void BM_HalvingSearch_StdLowerBound(benchmark::State& state) {
  std::vector<double> v = RandomDoubles(kCount, 3);
  std::sort(v.begin(), v.end());
  const std::vector<double> keys = RandomDoubles(kLookups, 4);
  for (auto _ : state)
    for (double k : keys) {
      auto it = std::lower_bound(v.begin(), v.end(), k);
      benchmark::DoNotOptimize(it != v.end() && *it == k ? it - v.begin() : -1);
    }
  state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_HalvingSearch_ZoDynArray);
BENCHMARK(BM_HalvingSearch_StdLowerBound);

void BM_Copy_ZoDynArrayDeepCopy(benchmark::State& state) {
  const ZoDynArray<double> a = ToDynArray(RandomDoubles(kCount, 5));
  for (auto _ : state) {
    ZoDynArray<double> copy(a);
    benchmark::DoNotOptimize(copy.GetFirst());
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_Copy_StdVector(benchmark::State& state) {
  const std::vector<double> v = RandomDoubles(kCount, 5);
  for (auto _ : state) {
    std::vector<double> copy(v);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Copy_ZoDynArrayDeepCopy);
BENCHMARK(BM_Copy_StdVector);

void BM_SortDoubles_ZoDynArray(benchmark::State& state) {
  const ZoDynArray<double> source = ToDynArray(RandomDoubles(state.range(0), 6));
  for (auto _ : state) {
    state.PauseTiming();
    ZoDynArray<double> a(source);
    state.ResumeTiming();
    a.Sort(true);
    benchmark::DoNotOptimize(a.GetFirst());
  }
}
void BM_SortDoubles_StdStableSort(benchmark::State& state) {
  const std::vector<double> source = RandomDoubles(state.range(0), 6);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<double> v(source);
    state.ResumeTiming();
    std::stable_sort(v.begin(), v.end());
    benchmark::DoNotOptimize(v.data());
  }
}
BENCHMARK(BM_SortDoubles_ZoDynArray)->Arg(1000)->Arg(10000);
BENCHMARK(BM_SortDoubles_StdStableSort)->Arg(1000)->Arg(10000);

void BM_SortObjects_ZoDynArray(benchmark::State& state) {
  ZoDynArray<Record> source;
  for (double k : RandomDoubles(state.range(0), 7)) source.Append(Record(k));
  for (auto _ : state) {
    state.PauseTiming();
    ZoDynArray<Record> a(source);
    state.ResumeTiming();
    a.Sort(true);
    benchmark::DoNotOptimize(a.GetFirst());
  }
}
void BM_SortObjects_StdStableSort(benchmark::State& state) {
  std::vector<Record> source;
  for (double k : RandomDoubles(state.range(0), 7)) source.push_back(Record(k));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Record> v(source);
    state.ResumeTiming();
    std::stable_sort(v.begin(), v.end(), [](const Record& a, const Record& b) { return b > a; });
    benchmark::DoNotOptimize(v.data());
  }
}
BENCHMARK(BM_SortObjects_ZoDynArray)->Arg(1000);
BENCHMARK(BM_SortObjects_StdStableSort)->Arg(1000);

constexpr long kListCount = 100000;
constexpr long kJumps = 200;

template <class List>
void MoveToRandomIndices(benchmark::State& state) {
  List l;
  for (long i = 0; i < kListCount; ++i) l.Append(static_cast<double>(i));
  std::mt19937 rng(8);
  std::vector<long> targets(kJumps);
  for (long& t : targets) t = static_cast<long>(rng() % kListCount);
  for (auto _ : state)
    for (long t : targets) {
      l.MoveTo(t);
      benchmark::DoNotOptimize(l.GetCurData());
    }
  state.SetItemsProcessed(state.iterations() * kJumps);
}
void BM_MoveTo_ZoXList(benchmark::State& state) { MoveToRandomIndices<ZoXList<double>>(state); }
void BM_MoveTo_ZoDList(benchmark::State& state) { MoveToRandomIndices<ZoDList<double>>(state); }
BENCHMARK(BM_MoveTo_ZoXList);
BENCHMARK(BM_MoveTo_ZoDList);

void BM_Walk_ZoDList(benchmark::State& state) {
  ZoDList<double> l;
  for (double v : RandomDoubles(kListCount, 9)) l.Append(v);
  for (auto _ : state) {
    double sum = 0;
    for (const double* p = l.GetFirst(); p; p = l.GetNext(p)) sum += *p;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kListCount);
}
void BM_Walk_StdList(benchmark::State& state) {
  std::list<double> l;
  for (double v : RandomDoubles(kListCount, 9)) l.push_back(v);
  for (auto _ : state) {
    double sum = 0;
    for (double v : l) sum += v;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kListCount);
}
BENCHMARK(BM_Walk_ZoDList);
BENCHMARK(BM_Walk_StdList);

void BM_ListAppend_ZoDList(benchmark::State& state) {
  for (auto _ : state) {
    ZoDList<double> l;
    for (long i = 0; i < kListCount; ++i) l.Append(static_cast<double>(i));
    benchmark::DoNotOptimize(l.GetFirst());
  }
  state.SetItemsProcessed(state.iterations() * kListCount);
}
void BM_ListAppend_StdList(benchmark::State& state) {
  for (auto _ : state) {
    std::list<double> l;
    for (long i = 0; i < kListCount; ++i) l.push_back(static_cast<double>(i));
    benchmark::DoNotOptimize(&l.front());
  }
  state.SetItemsProcessed(state.iterations() * kListCount);
}
BENCHMARK(BM_ListAppend_ZoDList);
BENCHMARK(BM_ListAppend_StdList);

}  // namespace
