#include "containers/DynArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "containers/test_support.h"

namespace {

using Array = ZoDynArray<int>;

TEST(DynArray, GrowsByItsUnitAndKeepsItsStorage) {
  Array a;
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(a.Append(i * 10), i);
    EXPECT_EQ(a.GetSpaceSize(), i < 11 ? 11 : 22);  // arithmetic growth by the unit of 10
  }
  a.Reset();
  EXPECT_EQ(a.GetCur(), -1);
  EXPECT_EQ(a.GetSpaceSize(), 22);
  a[5] = 7;  // the growing operator[] stays within the storage
  a.DecreaseSize(3);
  EXPECT_EQ(a.GetLength(), 3);
  EXPECT_EQ(a.GetSpaceSize(), 22);  // ReAllocate never gives storage back

  Array reserved(5, 3);
  EXPECT_EQ(reserved.GetLength(), 0);
  for (int i = 0; i < 6; ++i) reserved.Append(i);
  EXPECT_EQ(reserved.GetSpaceSize(), 9);  // 6 + unit 3
  reserved.SetAllocUnit(0);
  for (int i = 0; i < 4; ++i) reserved.Append(i);
  EXPECT_EQ(reserved.GetSpaceSize(), 10);
}

TEST(DynArray, ExactSizingAndSpaceSize) {
  Array a = Make<Array>({1, 2, 3, 4});
  a.SetLength(6, true);
  a.SetLength(2, true);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2}));
  // Same size as the storage: nothing is reallocated and even keep == false keeps the content.
  const int* before = a.GetFirst();
  a.SetLength(2, false);
  EXPECT_EQ(a.GetFirst(), before);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2}));
  a.SetLength(0, true);
  EXPECT_EQ(a.GetFirst(), nullptr);

  const Array source = Make<Array>({5, 6, 7});
  Array b(source);
  EXPECT_EQ(b.GetSpaceSize(), 3);  // copies are sized to the source
  b.Append(8);
  EXPECT_FALSE(b.SetSpaceSize(3));
  before = b.GetFirst();
  EXPECT_TRUE(b.SetSpaceSize(14));
  EXPECT_EQ(b.GetFirst(), before);
  EXPECT_TRUE(b.SetSpaceSize(4));
  EXPECT_EQ(b.GetSpaceSize(), 4);
  EXPECT_EQ(KeysOf(b), (Ints{5, 6, 7, 8}));
}

TEST(DynArray, CursorIsNeverClamped) {
  Array a = Make<Array>({1, 2, 3});
  a.MoveToLast();
  a.MoveToNext();
  a.MoveToNext();
  EXPECT_EQ(a.GetCur(), 4);
  EXPECT_TRUE(a.IsEnd() && a.IsOut());
  a.MoveTo(-3);
  a.MoveToPre();
  EXPECT_EQ(a.GetCur(), -4);
  EXPECT_TRUE(a.IsBegin() && a.IsOut());
  EXPECT_EQ(a.GetTo(3), nullptr);
  EXPECT_EQ(a.GetNext(a.GetLast()), nullptr);
  EXPECT_EQ(a.GetPre(a.GetFirst()), nullptr);
  EXPECT_EQ(*a.GetPre(a.GetLast()), 2);
}

// Inserting one of its own elements while the storage is full and must move.
TEST(DynArray, InsertsItsOwnElementWhileGrowing) {
  ZoDynArray<Counted> c(0, 0);
  for (int i = 0; i < 3; ++i) c.Append(Counted(i));
  ASSERT_EQ(c.GetSpaceSize(), c.GetLength());
  c.Insert(0, c.GetAt(2));
  c.Insert(1, c.GetAt(3));
  EXPECT_EQ(KeysOf(c), (Ints{2, 2, 0, 1, 2}));
}

// Built-in elements take the library's stable sort, unless a NaN makes the order partial.
TEST(DynArray, BuiltInElementsSortAsTheCountingSortDoes) {
  std::mt19937 rng(7);
  ZoDynArray<Counted> objects;
  Array keys;
  for (int i = 0; i < 300; ++i) {
    objects.Append(Counted(static_cast<int>(rng() % 20), i));
    keys.Append(objects.GetLast()->key);
  }
  for (bool ascending : {true, false}) {
    objects.Sort(ascending);
    keys.Sort(ascending);
    EXPECT_EQ(KeysOf(keys), KeysOf(objects));
  }
  // A NaN is in no order with anything: the numbers come first, sorted, and the NaNs last.
  const double nan = std::nan("");
  ZoDynArray<double> withNaN;
  for (double v : {3.0, nan, nan, 1.0, 2.0, nan, 0.5}) withNaN.Append(v);
  for (bool ascending : {true, false}) {
    withNaN.Sort(ascending);
    const std::vector<double> v(withNaN.GetFirst(), withNaN.GetFirst() + withNaN.GetLength());
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(std::vector<double>(v.begin(), v.begin() + 4),
              ascending ? (std::vector<double>{0.5, 1, 2, 3}) : (std::vector<double>{3, 2, 1, 0.5}));
    EXPECT_TRUE(std::all_of(v.begin() + 4, v.end(), [](double x) { return std::isnan(x); }));
  }
}

TEST(DynArray, CopiesAttachAndDetach) {
  Array a(50, 4);
  for (int i = 0; i < 6; ++i) a.Append(i);
  Array copy(a);
  EXPECT_EQ(copy.GetSpaceSize(), 6);
  EXPECT_EQ(copy.GetAllocUnit(), 10);
  EXPECT_EQ(copy.GetCur(), 6);
  copy = static_cast<const ZoDynArrayBase<int>&>(a);
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
