// The container templates against the standard library, measured in one run: each ZoXxx case
// has its std:: baseline right beside it, with the same sizes and data.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <list>
#include <memory>
#include <random>
#include <vector>

#include "containers/DynArray.h"
#include "containers/DynPArray.h"
#include "containers/List.h"
#include "containers/OwningList.h"
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
  bool operator<(const Record& o) const { return key < o.key; }
  bool operator==(const Record& o) const { return key == o.key; }
  bool operator!=(const Record& o) const { return key != o.key; }
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

std::vector<double> SortedDoubles(long n, unsigned seed) {
  std::vector<double> values = RandomDoubles(n, seed);
  std::sort(values.begin(), values.end());
  return values;
}

// Looks up `lookups` random keys with find(key), which returns what the lookup found.
template <class Find>
void RunLookups(benchmark::State& state, long lookups, Find find) {
  const std::vector<double> keys = RandomDoubles(lookups, 4);
  for (auto _ : state)
    for (double k : keys) benchmark::DoNotOptimize(find(k));
  state.SetItemsProcessed(state.iterations() * lookups);
}

void BM_HalvingSearch_ZoDynArray(benchmark::State& state) {
  const ZoDynArray<double> a = ToDynArray(SortedDoubles(kCount, 3));
  RunLookups(state, kLookups, [&a](double k) { return a.BFind(k); });
}
void BM_HalvingSearch_StdLowerBound(benchmark::State& state) {
  const std::vector<double> v = SortedDoubles(kCount, 3);
  RunLookups(state, kLookups, [&v](double k) {
    auto it = std::lower_bound(v.begin(), v.end(), k);
    return it != v.end() && *it == k ? it - v.begin() : -1;
  });
}
// Element by element through the virtual GetAt, as for any container kind.
void BM_HalvingSearch_ZoDynArrayBase(benchmark::State& state) {
  const ZoDynArray<double> a = ToDynArray(SortedDoubles(kCount, 3));
  const ZoDynArrayBase<double>& base = a;
  RunLookups(state, kLookups, [&base](double k) { return base.BFind(k); });
}
void BM_HalvingSearch_ZoArray(benchmark::State& state) {
  const ZoArray<double> a(ToDynArray(SortedDoubles(kCount, 3)));
  RunLookups(state, kLookups, [&a](double k) { return a.BFind(k); });
}
// The cursor-placing form: the cursor ends on the match or on the insertion point.
void BM_HalvingSearchTo_ZoDynArray(benchmark::State& state) {
  ZoDynArray<double> a = ToDynArray(SortedDoubles(kCount, 3));
  RunLookups(state, kLookups, [&a](double k) { return a.BFindTo(k) ? a.GetCur() : -a.GetCur(); });
}
BENCHMARK(BM_HalvingSearch_ZoDynArray);
BENCHMARK(BM_HalvingSearch_StdLowerBound);
BENCHMARK(BM_HalvingSearch_ZoDynArrayBase);
BENCHMARK(BM_HalvingSearch_ZoArray);
BENCHMARK(BM_HalvingSearchTo_ZoDynArray);

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

// Sort(true) of every kind, and the standard library's stable sorts as baselines, on n elements
// in random order; each round sorts a fresh copy of one source, made outside the timing.
void Add(ZoDynArrayBase<double>& c, double k) { c.Append(k); }
void Add(ZoDynArrayBase<Record>& c, double k) { c.Append(Record(k)); }
void Add(ZoDynArrayBase<Record*>& c, double k) { c.Append(new Record(k)); }  // owning kinds
template <class T>
void Add(std::vector<T>& v, double k) {
  v.push_back(T(k));
}
template <class T>
void Add(std::list<T>& l, double k) {
  l.push_back(T(k));
}
template <class T>
void SortAscending(ZoDynArrayBase<T>& c) {
  c.Sort(true);
}
template <class T>
void SortAscending(std::vector<T>& v) {
  std::stable_sort(v.begin(), v.end(), [](const T& a, const T& b) { return b > a; });
}
template <class T>
void SortAscending(std::list<T>& l) {
  l.sort([](const T& a, const T& b) { return b > a; });
}

template <class C>
void BM_Sort(benchmark::State& state) {
  C source;
  for (double k : RandomDoubles(state.range(0), 7)) Add(source, k);
  for (auto _ : state) {
    state.PauseTiming();
    auto c = std::make_unique<C>(source);
    state.ResumeTiming();
    SortAscending(*c);
    benchmark::DoNotOptimize(c.get());
    state.PauseTiming();  // the copy's destruction is no part of the sort
    c.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_TEMPLATE(BM_Sort, ZoDynArray<double>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, std::vector<double>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoDynArray<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoDynPArray<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, std::vector<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoList<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoDList<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoXList<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoPDList<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, ZoPXList<Record>)->Arg(1000)->Arg(100000);
BENCHMARK_TEMPLATE(BM_Sort, std::list<Record>)->Arg(1000)->Arg(100000);

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

// The owning containers: objects reached through the pointers they own.
template <class Owning>
void FillOwning(Owning& c, const std::vector<double>& keys) {
  for (double k : keys) c.Append(new Record(k));
}

template <class Owning>
void OwningHalvingSearch(benchmark::State& state, long count, long lookups) {
  Owning c;
  FillOwning(c, SortedDoubles(count, 3));
  RunLookups(state, lookups, [&c](double k) { return c.BFindData(Record(k)); });
}
template <class Owning>
void OwningHalvingSearchTo(benchmark::State& state, long count, long lookups) {
  Owning c;
  FillOwning(c, SortedDoubles(count, 3));
  RunLookups(state, lookups, [&c](double k) { return c.BFindDataTo(Record(k)) ? c.GetCur() : -c.GetCur(); });
}
// A list reads element i by a walk from its cursor, so the list searches a shorter range.
void BM_OwningBFindData_ZoDynPArray(benchmark::State& state) {
  OwningHalvingSearch<ZoDynPArray<Record>>(state, kCount, kLookups);
}
void BM_OwningBFindData_ZoPDList(benchmark::State& state) { OwningHalvingSearch<ZoPDList<Record>>(state, 2000, 100); }
void BM_OwningBFindDataTo_ZoDynPArray(benchmark::State& state) {
  OwningHalvingSearchTo<ZoDynPArray<Record>>(state, kCount, kLookups);
}
void BM_OwningBFindDataTo_ZoPXList(benchmark::State& state) {
  OwningHalvingSearchTo<ZoPXList<Record>>(state, kCount, kLookups);
}
BENCHMARK(BM_OwningBFindData_ZoDynPArray);
BENCHMARK(BM_OwningBFindData_ZoPDList);
BENCHMARK(BM_OwningBFindDataTo_ZoDynPArray);
BENCHMARK(BM_OwningBFindDataTo_ZoPXList);

// Sorted insertion of 2000 objects into an empty container, destruction included.
template <class Owning>
void OwningSortInto(benchmark::State& state) {
  const std::vector<double> keys = RandomDoubles(2000, 10);
  for (auto _ : state) {
    Owning c;
    for (double k : keys) c.SortInto(new Record(k), true);
    benchmark::DoNotOptimize(c.GetLength());
  }
  state.SetItemsProcessed(state.iterations() * 2000);
}
void BM_OwningSortInto_ZoDynPArray(benchmark::State& state) { OwningSortInto<ZoDynPArray<Record>>(state); }
void BM_OwningSortInto_ZoPXList(benchmark::State& state) { OwningSortInto<ZoPXList<Record>>(state); }
BENCHMARK(BM_OwningSortInto_ZoDynPArray);
BENCHMARK(BM_OwningSortInto_ZoPXList);

// A linear search for an absent object, and the count of filled slots: every slot is read.
template <class Owning>
void OwningFindData(benchmark::State& state) {
  Owning c;
  FillOwning(c, RandomDoubles(kCount, 2));
  for (auto _ : state) benchmark::DoNotOptimize(c.FindData(Record(-1.0)));
  state.SetItemsProcessed(state.iterations() * kCount);
}
template <class Owning>
void OwningDataNum(benchmark::State& state) {
  Owning c;
  FillOwning(c, RandomDoubles(kCount, 2));
  for (auto _ : state) benchmark::DoNotOptimize(c.GetDataNum());
  state.SetItemsProcessed(state.iterations() * kCount);
}
// Only the last place is free: PlaceIn reads every slot before it, TakeOff frees it again.
template <class Owning>
void OwningPlaceIn(benchmark::State& state) {
  Owning c;
  FillOwning(c, RandomDoubles(kCount, 2));
  delete c.TakeOffTail();
  Record* spare = new Record(1.0);
  for (auto _ : state) {
    const long i = c.PlaceIn(spare);
    spare = c.TakeOff(i);
    benchmark::DoNotOptimize(i);
  }
  delete spare;
  state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_OwningFindData_ZoDynPArray(benchmark::State& state) { OwningFindData<ZoDynPArray<Record>>(state); }
void BM_OwningFindData_ZoPDList(benchmark::State& state) { OwningFindData<ZoPDList<Record>>(state); }
void BM_OwningDataNum_ZoDynPArray(benchmark::State& state) { OwningDataNum<ZoDynPArray<Record>>(state); }
void BM_OwningDataNum_ZoPDList(benchmark::State& state) { OwningDataNum<ZoPDList<Record>>(state); }
void BM_OwningPlaceIn_ZoDynPArray(benchmark::State& state) { OwningPlaceIn<ZoDynPArray<Record>>(state); }
void BM_OwningPlaceIn_ZoPDList(benchmark::State& state) { OwningPlaceIn<ZoPDList<Record>>(state); }
BENCHMARK(BM_OwningFindData_ZoDynPArray);
BENCHMARK(BM_OwningFindData_ZoPDList);
BENCHMARK(BM_OwningDataNum_ZoDynPArray);
BENCHMARK(BM_OwningDataNum_ZoPDList);
BENCHMARK(BM_OwningPlaceIn_ZoDynPArray);
BENCHMARK(BM_OwningPlaceIn_ZoPDList);

// Sorting by object moves pointers only; the array counts, the lists insert.
template <class Owning>
void OwningSort(benchmark::State& state) {
  const std::vector<double> keys = RandomDoubles(state.range(0), 7);
  for (auto _ : state) {
    state.PauseTiming();
    Owning c;
    FillOwning(c, keys);
    state.ResumeTiming();
    c.Sort(true);
    benchmark::DoNotOptimize(c.GetLength());
    state.PauseTiming();
    c.Reset();
    state.ResumeTiming();
  }
}
void BM_OwningSort_ZoDynPArray(benchmark::State& state) { OwningSort<ZoDynPArray<Record>>(state); }
void BM_OwningSort_ZoPDList(benchmark::State& state) { OwningSort<ZoPDList<Record>>(state); }
BENCHMARK(BM_OwningSort_ZoDynPArray)->Arg(1000);
BENCHMARK(BM_OwningSort_ZoPDList)->Arg(1000);

// Moving the first element behind the last one: the owning array takes the pointer out of its
// slot first, the value array copies the element.
void BM_Move_ZoDynArray(benchmark::State& state) {
  ZoDynArray<double> a = ToDynArray(RandomDoubles(10000, 12));
  for (auto _ : state) benchmark::DoNotOptimize(a.Move(0, a.GetLength()));
  state.SetItemsProcessed(state.iterations());
}
void BM_OwningMove_ZoDynPArray(benchmark::State& state) {
  ZoDynPArray<Record> a;
  FillOwning(a, RandomDoubles(10000, 12));
  for (auto _ : state) benchmark::DoNotOptimize(a.Move(0, a.GetLength()));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Move_ZoDynArray);
BENCHMARK(BM_OwningMove_ZoDynPArray);

// Copies own copies of every object; destroying a copy deletes them.
template <class Owning>
void OwningCopy(benchmark::State& state) {
  Owning c;
  FillOwning(c, RandomDoubles(10000, 11));
  for (auto _ : state) {
    Owning copy(c);
    benchmark::DoNotOptimize(copy.GetLength());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
void BM_OwningCopy_ZoDynPArray(benchmark::State& state) { OwningCopy<ZoDynPArray<Record>>(state); }
void BM_OwningCopy_ZoPDList(benchmark::State& state) { OwningCopy<ZoPDList<Record>>(state); }
BENCHMARK(BM_OwningCopy_ZoDynPArray);
BENCHMARK(BM_OwningCopy_ZoPDList);

}  // namespace
