#include "containers/DynArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "containers/test_support.h"

namespace {

using Ints = std::vector<int>;

ZoDynArray<int> Make(const Ints& values) {
  ZoDynArray<int> a;
  for (int v : values) a.Append(v);
  return a;
}

TEST(DynArray, GrowsByItsUnitAndResetKeepsStorage) {
  ZoDynArray<int> a;
  EXPECT_EQ(a.GetSpaceSize(), 0);
  EXPECT_EQ(a.GetFirst(), nullptr);
  std::vector<long> capacities;
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(a.Append(i * 10), i);
    capacities.push_back(a.GetSpaceSize());
  }
  EXPECT_EQ(capacities.front(), 11);
  EXPECT_EQ(capacities[10], 11);
  EXPECT_EQ(capacities.back(), 22);
  EXPECT_EQ(a.GetLength(), 12);
  EXPECT_EQ(a.GetCur(), 11);
  a.Reset();
  EXPECT_EQ(a.GetLength(), 0);
  EXPECT_EQ(a.GetCur(), -1);
  EXPECT_EQ(a.GetSpaceSize(), 22);

  ZoDynArray<int> reserved(5, 3);
  EXPECT_EQ(reserved.GetLength(), 0);
  EXPECT_EQ(reserved.GetSpaceSize(), 5);
  for (int i = 0; i < 6; ++i) reserved.Append(i);
  EXPECT_EQ(reserved.GetSpaceSize(), 9);  // 6 + unit 3
  reserved.SetAllocUnit(0);
  for (int i = 0; i < 4; ++i) reserved.Append(i);
  EXPECT_EQ(reserved.GetSpaceSize(), 10);

  // The growing operator[] makes the index valid and leaves the cursor on it.
  ZoDynArray<int> grown;
  grown[5] = 7;
  EXPECT_EQ(grown.GetLength(), 6);
  EXPECT_EQ(grown.GetCur(), 5);
  EXPECT_EQ(grown.GetSpaceSize(), 16);
  const ZoDynArray<int>& view = grown;
  EXPECT_EQ(view[5], 7);
  EXPECT_EQ(grown.GetLength(), 6);

  grown.IncreaseSize(2);
  EXPECT_EQ(grown.GetLength(), 8);
  grown.DecreaseSize(3);
  EXPECT_EQ(grown.GetLength(), 5);
  EXPECT_EQ(grown.GetSpaceSize(), 16);  // ReAllocate never gives storage back
}

TEST(DynArray, ExactSizingAndSpaceSize) {
  ZoDynArray<int> a = Make({1, 2, 3, 4});
  a.SetLength(6, true);
  EXPECT_EQ(a.GetSpaceSize(), 6);
  EXPECT_EQ(a.GetLength(), 6);
  EXPECT_EQ(a.GetAt(3), 4);
  a.SetLength(2, true);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2}));
  EXPECT_EQ(a.GetSpaceSize(), 2);
  // Same size as the storage: nothing is reallocated and even keep == false keeps the content.
  const int* before = a.GetFirst();
  a.SetLength(2, false);
  EXPECT_EQ(a.GetFirst(), before);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2}));
  a.SetLength(0, true);
  EXPECT_EQ(a.GetSpaceSize(), 0);
  EXPECT_EQ(a.GetFirst(), nullptr);

  const ZoDynArray<int> source = Make({5, 6, 7});
  ZoDynArray<int> b(source);
  EXPECT_EQ(b.GetSpaceSize(), 3);  // copies are sized to the source
  b.Append(8);
  EXPECT_EQ(b.GetSpaceSize(), 14);
  EXPECT_FALSE(b.SetSpaceSize(3));
  EXPECT_EQ(b.GetSpaceSize(), 14);
  before = b.GetFirst();
  EXPECT_TRUE(b.SetSpaceSize(14));
  EXPECT_EQ(b.GetFirst(), before);
  EXPECT_TRUE(b.SetSpaceSize(4));
  EXPECT_EQ(b.GetSpaceSize(), 4);
  EXPECT_EQ(KeysOf(b), (Ints{5, 6, 7, 8}));
  EXPECT_TRUE(b.SetSpaceSize(40));
  EXPECT_EQ(KeysOf(b), (Ints{5, 6, 7, 8}));
}

TEST(DynArray, CursorIsNeverClamped) {
  ZoDynArray<int> empty;
  empty.MoveToFirst();
  EXPECT_TRUE(empty.IsOut());
  EXPECT_TRUE(empty.IsEnd());

  ZoDynArray<int> a = Make({1, 2, 3});
  a.MoveToLast();
  EXPECT_EQ(a.GetCur(), 2);
  a.MoveToNext();
  EXPECT_EQ(a.GetCur(), 3);
  EXPECT_TRUE(a.IsEnd());
  a.MoveToNext();
  EXPECT_EQ(a.GetCur(), 4);
  a.MoveTo(-3);
  EXPECT_TRUE(a.IsBegin());
  EXPECT_TRUE(a.IsOut());
  a.MoveToPre();
  EXPECT_EQ(a.GetCur(), -4);
  a.MoveTo(1);
  EXPECT_FALSE(a.IsOut());
  EXPECT_EQ(a.GetCurData(), 2);
  EXPECT_EQ(a.GetMaxIndex(), 2);
  EXPECT_EQ(a.GetTo(3), nullptr);
  EXPECT_EQ(*a.GetTo(2), 3);
  EXPECT_EQ(a.GetNext(a.GetLast()), nullptr);
  EXPECT_EQ(a.GetPre(a.GetFirst()), nullptr);
  EXPECT_EQ(*a.GetPre(a.GetLast()), 2);
  EXPECT_EQ(a.GetCur(), 1);  // the pointer walk never touches the cursor
}

TEST(DynArray, InsertionAndRemovalLeaveTheCursorAsDocumented) {
  ZoDynArray<int> a;
  a.Insert(0, 5);  // like Append on an empty array
  EXPECT_EQ(KeysOf(a), (Ints{5}));
  EXPECT_EQ(a.GetCur(), 0);
  a.InsertHead(4);
  EXPECT_EQ(a.GetCur(), 0);
  a.Insert(2, 7);
  EXPECT_EQ(a.GetCur(), 2);
  a.MoveTo(2);
  a.InsertCur(6);
  EXPECT_EQ(KeysOf(a), (Ints{4, 5, 6, 7}));
  EXPECT_EQ(a.GetCur(), 2);

  a.MoveTo(0);
  a.DelCur();
  EXPECT_EQ(a.GetCur(), -1);
  a.MoveToNext();
  EXPECT_EQ(a.GetCurData(), 5);
  a.Del(2);
  EXPECT_EQ(a.GetCur(), 1);
  EXPECT_EQ(KeysOf(a), (Ints{5, 6}));
  a.DelHead();
  EXPECT_EQ(a.GetCur(), -1);
  a << 8 << 9;
  a.DelTail();
  EXPECT_EQ(a.GetCur(), 1);
  EXPECT_EQ(KeysOf(a), (Ints{6, 8}));

  // Inserting one of its own elements while the storage is full and must move.
  ZoDynArray<Counted> c(0, 0);
  for (int i = 0; i < 3; ++i) c.Append(Counted(i));
  ASSERT_EQ(c.GetSpaceSize(), c.GetLength());
  c.Insert(0, c.GetAt(2));
  EXPECT_EQ(CountedKeys(c), (Ints{2, 0, 1, 2}));
  c.Insert(1, c.GetAt(3));
  EXPECT_EQ(CountedKeys(c), (Ints{2, 2, 0, 1, 2}));

  // Removing every second element with the library's removal loop visits each element once.
  ZoDynArray<int> r = Make({0, 1, 2, 3, 4, 5, 6});
  for (r.MoveToFirst(); !r.IsOut(); r.MoveToNext())
    if (r.GetCurData() % 2 == 0) r.DelCur();
  EXPECT_EQ(KeysOf(r), (Ints{1, 3, 5}));
}

TEST(DynArray, MoveAndExchange) {
  ZoDynArray<int> a = Make({1, 2, 3});
  EXPECT_TRUE(a.Move(2, 0));
  EXPECT_EQ(KeysOf(a), (Ints{3, 1, 2}));
  EXPECT_EQ(a.GetCur(), 0);
  a = Make({1, 2, 3});
  EXPECT_TRUE(a.Move(0, 2));
  EXPECT_EQ(KeysOf(a), (Ints{2, 1, 3}));
  EXPECT_EQ(a.GetCur(), 1);
  a = Make({1, 2, 3});
  EXPECT_TRUE(a.Move(0, 3));
  EXPECT_EQ(KeysOf(a), (Ints{2, 3, 1}));
  EXPECT_EQ(a.GetCur(), 2);
  a.MoveTo(0);
  EXPECT_FALSE(a.Move(1, 2));
  EXPECT_FALSE(a.Move(1, 1));
  EXPECT_EQ(KeysOf(a), (Ints{2, 3, 1}));
  EXPECT_EQ(a.GetCur(), 0);

  a.Exchange(0, 2);
  EXPECT_EQ(KeysOf(a), (Ints{1, 3, 2}));
  EXPECT_EQ(a.GetCur(), 0);
  // Both indices may grow the array; the value fetched first must survive the reallocation.
  ZoDynArray<int> g(0, 0);
  g << 7 << 8;
  g.Exchange(4, 0);
  EXPECT_EQ(g.GetLength(), 5);
  EXPECT_EQ(g[4], 7);
  EXPECT_EQ(g.GetCur(), 4);
}

TEST(DynArray, LinearSearches) {
  ZoDynArray<int> a = Make({4, 7, 4, 9, 4});
  EXPECT_EQ(a.Find(4), 0);
  EXPECT_EQ(a.Find(4, 1), 2);
  EXPECT_EQ(a.Find(4, 3, -5), 4);  // a negative end stands for the last element
  EXPECT_EQ(a.Find(4, 3, 99), 4);
  EXPECT_EQ(a.Find(9, 0, 2), -1);
  EXPECT_EQ(a.Find(5), -1);
  EXPECT_EQ(a.Find(4, 5), -1);
  const ZoDynArrayBase<int>& base = a;  // the generic walk gives the same answers
  EXPECT_EQ(base.Find(4, 1), 2);
  EXPECT_EQ(base.Find(9, 0, 2), -1);

  ZoQuene<long> q;
  q.AddTail(100);
  EXPECT_EQ(a.Find(4, q, 1), 3);  // entries already in the queue are counted
  EXPECT_EQ(q.GetAt(1), 2);
  EXPECT_EQ(q.GetAt(2), 4);
  ZoQuene<long> partial;
  EXPECT_EQ(a.Find(4, partial, 0, -2), 0);  // only -1 stands for the last element here
  EXPECT_EQ(a.Find(4, partial, 0, 3), 2);

  EXPECT_TRUE(a.FindTo(9, 1));
  EXPECT_EQ(a.GetCur(), 3);
  EXPECT_FALSE(a.FindTo(7, 2));
  EXPECT_EQ(a.GetCur(), 5);

  ZoDynArray<int> d = Make({1, 1, 2, 1});
  EXPECT_EQ(d.FindDel(1), 3);
  EXPECT_EQ(KeysOf(d), (Ints{2}));
  EXPECT_EQ(d.FindDel(5), 0);
  // The value searched for may be an element that the removals shift away.
  ZoDynArray<int> s = Make({3, 5, 3, 6, 3});
  EXPECT_EQ(s.FindDel(s.GetAt(0)), 3);
  EXPECT_EQ(KeysOf(s), (Ints{5, 6}));

  EXPECT_EQ(s.FindOrAppend(6), 1);
  EXPECT_EQ(s.FindOrAppend(8), 2);
  s.FindOrInsertHead(5);
  s.FindOrInsertHead(1);
  EXPECT_EQ(KeysOf(s), (Ints{1, 5, 6, 8}));
}

TEST(DynArray, HalvingSearches) {
  ZoDynArray<int> a = Make({10, 20, 30});
  EXPECT_FALSE(a.BFindTo(25));
  EXPECT_EQ(a.GetCur(), 2);
  EXPECT_FALSE(a.BFindTo(35));
  EXPECT_EQ(a.GetCur(), 3);
  EXPECT_FALSE(a.BFindTo(5));
  EXPECT_EQ(a.GetCur(), 0);
  EXPECT_TRUE(a.BFindTo(20));
  EXPECT_EQ(a.GetCur(), 1);
  EXPECT_FALSE(a.BFindTo(15));
  EXPECT_EQ(a.GetCur(), 1);
  EXPECT_TRUE(a.BFindTo(10));
  EXPECT_EQ(a.GetCur(), 0);
  EXPECT_TRUE(a.BFindTo(30));
  EXPECT_EQ(a.GetCur(), 2);
  ZoDynArray<int> empty;
  EXPECT_FALSE(empty.BFindTo(1));
  EXPECT_EQ(empty.GetCur(), 0);

  // Every insertion point of a longer array, checked against lower_bound.
  ZoDynArray<int> big;
  for (int i = 0; i < 50; ++i) big.Append(i * 2);
  for (int x = -1; x <= 100; ++x) {
    const bool found = big.BFindTo(x);
    EXPECT_EQ(found, x % 2 == 0 && x >= 0 && x < 100) << x;
    EXPECT_EQ(big.GetCur(), (std::min(std::max(x, -1), 99) + 1) / 2) << x;
    const long i = big.BFind(x);
    EXPECT_EQ(i, found ? x / 2 : -1) << x;
    EXPECT_EQ(static_cast<const ZoDynArrayBase<int>&>(big).BFind(x), i);
  }
  EXPECT_EQ(big.BFind(40, 0, 10), -1);  // outside the range searched
  EXPECT_EQ(big.BFind(40, 20, 30), 20);
  EXPECT_EQ(big.BFind(40, 30, 20), -1);
  EXPECT_TRUE(big.BFindTo(40, 20, 30));
  EXPECT_FALSE(big.BFindTo(70, 20, 30));
  EXPECT_EQ(big.GetCur(), 31);
}

TEST(DynArray, SortedInsertion) {
  ZoDynArray<Counted> a;
  for (int k : {1, 3, 3, 5}) a.Append(Counted(k, 0));
  EXPECT_FALSE(a.SortInto(Counted(3, 1), false));
  EXPECT_EQ(a.GetLength(), 4);
  EXPECT_TRUE(a.SortInto(Counted(3, 1), true));
  EXPECT_EQ(CountedKeys(a), (Ints{1, 3, 3, 3, 5}));
  EXPECT_EQ(CountedTags(a), (Ints{0, 0, 0, 1, 0}));  // after the run of its equals
  EXPECT_EQ(a.GetCur(), 3);
  EXPECT_TRUE(a.SortInto(Counted(5, 2), true));
  EXPECT_EQ(a.GetCur(), 5);
  EXPECT_TRUE(a.SortInto(Counted(4), false));
  EXPECT_TRUE(a.SortInto(Counted(0), false));
  EXPECT_TRUE(a.SortInto(Counted(9), false));
  EXPECT_EQ(CountedKeys(a), (Ints{0, 1, 3, 3, 3, 4, 5, 5, 9}));
  ZoDynArray<int> e;
  EXPECT_TRUE(e.SortInto(2, false));
  EXPECT_TRUE(e.SortInto(1, false));
  EXPECT_EQ(KeysOf(e), (Ints{1, 2}));
}

TEST(DynArray, SortIsStableInBothDirections) {
  ZoDynArray<int> d = Make({3, 1, 2});
  d.Sort(false);
  EXPECT_EQ(KeysOf(d), (Ints{3, 2, 1}));
  d.Sort(true);
  EXPECT_EQ(KeysOf(d), (Ints{1, 2, 3}));
  d.Sort(+[](const int& a, const int& b) { return (a % 2) - (b % 2); });  // evens first
  EXPECT_EQ(KeysOf(d), (Ints{2, 1, 3}));

  // Class elements take the pairwise sort, built-in ones the library's: same order either way.
  std::mt19937 rng(7);
  ZoDynArray<Counted> objects;
  for (int i = 0; i < 300; ++i) {
    const int key = static_cast<int>(rng() % 20);
    objects.Append(Counted(key, i));
  }
  for (bool ascending : {true, false}) {
    ZoDynArray<Counted> sorted = objects;
    sorted.MoveTo(17);
    sorted.Sort(ascending);
    EXPECT_EQ(sorted.GetCur(), 17);  // sorting leaves the cursor alone
    std::vector<Counted> expected(objects.GetFirst(), objects.GetFirst() + objects.GetLength());
    std::stable_sort(expected.begin(), expected.end(), [ascending](const Counted& a, const Counted& b) {
      return ascending ? a.key < b.key : a.key > b.key;
    });
    std::vector<int> tags;
    for (const Counted& c : expected) tags.push_back(c.tag);
    EXPECT_EQ(CountedTags(sorted), tags);

    ZoDynArray<int> keys;
    for (const Counted* p = objects.GetFirst(); p; p = objects.GetNext(p)) keys.Append(p->key);
    keys.Sort(ascending);
    EXPECT_EQ(KeysOf(keys), CountedKeys(sorted));
  }

  // NaN is unordered against everything, so doubles holding one keep the pairwise sort.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ZoDynArray<double> withNaN;
  for (double v : {3.0, nan, 1.0, 2.0, nan, 0.5}) withNaN.Append(v);
  withNaN.Sort(true);
  int nans = 0;
  std::vector<double> numbers;
  for (const double* p = withNaN.GetFirst(); p; p = withNaN.GetNext(p)) {
    if (std::isnan(*p))
      ++nans;
    else
      numbers.push_back(*p);
  }
  EXPECT_EQ(nans, 2);
  EXPECT_EQ(numbers.size(), 4u);
}

template <class T>
std::vector<int> SortedValues(std::vector<int> values, bool ascending) {
  ZoDynArray<T> a;
  for (int v : values) a.Append(T(v));
  a.Sort(ascending);
  std::vector<int> out;
  for (const T* p = a.GetFirst(); p; p = a.GetNext(p)) out.push_back(p->value);
  return out;
}

TEST(DynArray, SortNeverHangsOnComparisonsThatAreNoOrder) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    std::vector<int> values(1 + rng() % 60);
    for (int& v : values) v = static_cast<int>(rng() % 1000);
    std::vector<int> expected = values;
    std::sort(expected.begin(), expected.end());
    for (bool ascending : {true, false}) {
      std::vector<int> chaotic = SortedValues<Chaotic>(values, ascending);
      std::sort(chaotic.begin(), chaotic.end());
      EXPECT_EQ(chaotic, expected);  // a permutation of the input, nothing lost or doubled
      std::vector<int> cyclic = SortedValues<Cyclic>(values, ascending);
      std::sort(cyclic.begin(), cyclic.end());
      EXPECT_EQ(cyclic, expected);
    }
  }

  // A comparator that answers at random, and one that always says "after".
  ZoDynArray<int> a;
  for (int i = 0; i < 40; ++i) a.Append(i);
  static std::mt19937 coin(3);
  a.Sort(+[](const int&, const int&) { return static_cast<int>(coin() % 3) - 1; });
  std::vector<int> keys = KeysOf(a);
  std::sort(keys.begin(), keys.end());
  for (int i = 0; i < 40; ++i) EXPECT_EQ(keys[i], i);
  a.Sort(+[](const int&, const int&) { return 1; });
  EXPECT_EQ(a.GetLength(), 40);

  // Points compared within a tolerance: chains of nearly equal points are no strict weak order.
  const double step = g_distZero * 0.6;
  ZoDynArray<ZoGePoint> points;
  for (int i = 0; i < 30; ++i) points.Append(ZoGePoint((i * 7 % 30) * step, (i % 4) * step));
  points.Sort(true);
  points.Sort(false);
  double sumX = 0;
  for (const ZoGePoint* p = points.GetFirst(); p; p = points.GetNext(p)) sumX += p->x;
  EXPECT_NEAR(sumX, 435 * step, 1e-15);
  // Well separated points sort exactly.
  ZoDynArray<ZoGePoint> apart;
  for (double x : {3.0, 1.0, 2.0}) apart.Append(ZoGePoint(x, 0));
  apart.Sort(true);
  EXPECT_EQ(apart.GetAt(0).x, 1.0);
  EXPECT_EQ(apart.GetAt(2).x, 3.0);
}

TEST(DynArray, BulkCopiesAndComparisons) {
  ZoDynArray<int> a = Make({1, 2, 3, 4, 5});
  ZoDynArray<int> dst = Make({9, 9, 9, 9, 9, 9, 9});
  a.Left(2, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{1, 2}));
  EXPECT_EQ(dst.GetCur(), 2);
  a.Right(3, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{3, 4, 5}));
  a.Mid(1, 3, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{2, 3, 4}));
  a.Left(0, dst);
  EXPECT_TRUE(dst.IsEmpty());

  // Into itself.
  ZoDynArray<int> self = a;
  self.Mid(1, 3, self);
  EXPECT_EQ(KeysOf(self), (Ints{2, 3, 4}));
  self.Right(2, self);
  EXPECT_EQ(KeysOf(self), (Ints{3, 4}));
  self.Left(1, self);
  EXPECT_EQ(KeysOf(self), (Ints{3}));

  ZoDynArray<int> b;
  b << a;
  EXPECT_EQ(KeysOf(b), KeysOf(a));
  EXPECT_EQ(b.GetCur(), 5);
  b << b;  // the old elements are copied once
  EXPECT_EQ(KeysOf(b), (Ints{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
  b.DeepCopy(b);
  EXPECT_EQ(b.GetLength(), 10);
  ZoDynArrayBase<int>& bb = b;
  bb.DeepCopy(a);
  EXPECT_EQ(KeysOf(b), KeysOf(a));
  EXPECT_EQ(b.GetCur(), 5);

  ZoArray<int> fixed(3);
  fixed[0] = 7;
  fixed[1] = 8;
  fixed[2] = 9;
  b << fixed;
  EXPECT_EQ(KeysOf(b), (Ints{1, 2, 3, 4, 5, 7, 8, 9}));
  b.DeepCopy(fixed);
  EXPECT_EQ(KeysOf(b), (Ints{7, 8, 9}));
  EXPECT_EQ(b.GetCur(), 3);

  b.SetAll(4);
  EXPECT_EQ(KeysOf(b), (Ints{4, 4, 4}));
  EXPECT_EQ(b.GetCur(), 3);
  ZoDynArray<int> r = Make({1, 2, 3, 4, 5, 6});
  r.Reverse();
  EXPECT_EQ(KeysOf(r), (Ints{6, 5, 4, 3, 2, 1}));
  r.Reverse(1, 3);
  EXPECT_EQ(KeysOf(r), (Ints{6, 3, 4, 5, 2, 1}));

  EXPECT_TRUE(Make({9}) < Make({1, 1}));
  EXPECT_FALSE(Make({9}) > Make({1, 1}));
  EXPECT_TRUE(Make({1, 2}) == Make({1, 2}));
  EXPECT_TRUE(Make({1, 2}) != Make({1, 3}));
  EXPECT_TRUE(Make({1, 2}) != Make({1, 2, 3}));
  EXPECT_TRUE(ZoDynArray<int>() == ZoDynArray<int>());
}

TEST(DynArray, CopiesAttachAndDetach) {
  ZoDynArray<int> a(50, 4);
  for (int i = 0; i < 6; ++i) a.Append(i);
  ZoDynArray<int> copy(a);
  EXPECT_EQ(copy.GetSpaceSize(), 6);
  EXPECT_EQ(copy.GetAllocUnit(), 10);
  EXPECT_EQ(copy.GetCur(), 6);
  const ZoDynArrayBase<int>& base = a;
  ZoDynArray<int> fromBase(base);
  EXPECT_EQ(KeysOf(fromBase), KeysOf(a));
  copy = base;
  EXPECT_EQ(KeysOf(copy), KeysOf(a));

  a.MoveTo(2);
  int* block = a.Detach();
  EXPECT_EQ(a.GetLength(), 0);
  EXPECT_EQ(a.GetSpaceSize(), 0);
  EXPECT_EQ(a.GetCur(), -1);
  EXPECT_EQ(a.GetAllocUnit(), 4);
  a.MoveTo(1);
  a.Attach(50, block);
  EXPECT_EQ(a.GetLength(), 50);
  EXPECT_EQ(a.GetSpaceSize(), 50);
  EXPECT_EQ(a.GetCur(), 1);
  EXPECT_EQ(a[5], 5);
  a.Attach(2, new int[2]{8, 9});  // the old block is freed
  EXPECT_EQ(KeysOf(a), (Ints{8, 9}));
}

TEST(DynArray, EveryElementIsDestroyedOnce) {
  const long before = Counted::s_live;
  {
    ZoDynArray<Counted> a(0, 2);
    for (int i = 0; i < 25; ++i) a.Append(Counted(i));
    a.SetLength(40, true);
    a.Sort(false);
    a.Del(3);
    ZoDynArray<Counted> b(a);
    b << a;
    // Every slot of the storage holds a constructed element.
    EXPECT_EQ(Counted::s_live, before + a.GetSpaceSize() + b.GetSpaceSize());
    const long space = b.GetSpaceSize();
    Counted* block = b.Detach();
    EXPECT_EQ(Counted::s_live, before + a.GetSpaceSize() + space);  // a detached block is the caller's
    delete[] block;
  }
  EXPECT_EQ(Counted::s_live, before);
}

}  // namespace
