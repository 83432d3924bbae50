#include "containers/Array.h"

#include <gtest/gtest.h>

#include "containers/DynArray.h"
#include "containers/test_support.h"

namespace {

Ints Values(const ZoArray<int>& a) { return Ints(a.GetDataBuffer(), a.GetDataBuffer() + a.GetLength()); }

ZoArray<int> Fixed(const Ints& values) {
  ZoArray<int> a;
  for (int v : values) a.Append(v);
  return a;
}

TEST(Array, EveryChangeReallocatesToTheExactSize) {
  ZoArray<int> a;
  EXPECT_EQ(a.Append(4), 0);
  a.Del(0);
  EXPECT_EQ(a.GetDataBuffer(), nullptr);

  a = Fixed({1, 2, 3});
  a.InsertHead(0);
  a.Insert(2, a[3]);  // an element of the array itself
  EXPECT_EQ(Values(a), (Ints{0, 1, 3, 2, 3}));
  a.DelHead();
  a.DelTail();
  a.SetAt(1, 9);
  EXPECT_EQ(Values(a), (Ints{1, 9, 2}));

  const int* before = a.GetDataBuffer();
  a.ReAllocate(3, false);  // same length: nothing happens
  EXPECT_EQ(a.GetDataBuffer(), before);
  EXPECT_EQ(Values(a), (Ints{1, 9, 2}));
  a.ReAllocate(5, true);
  a.ReAllocate(2, true);
  EXPECT_EQ(Values(a), (Ints{1, 9}));
  ZoArray<Counted> c(2);
  c[0] = Counted(5);
  c.ReAllocate(3, false);  // another length replaces the content
  EXPECT_EQ(c[0].key, 0);
  c.ReAllocate(0, true);
  EXPECT_EQ(c.GetDataBuffer(), nullptr);
}

TEST(Array, SearchReverseAndSort) {
  ZoArray<int> a = Fixed({5, 3, 5, 8, 5});
  EXPECT_EQ(a.Find(5, 1), 2);
  EXPECT_EQ(a.Find(8, 0, 2), -1);
  EXPECT_EQ(a.Find(5, 3, -7), 4);
  ZoQuene<long> q;
  EXPECT_EQ(a.Find(5, q, 0, -2), 3);  // unlike the root's, any negative end is the last element
  EXPECT_EQ(a.FindDel(a[0]), 3);
  EXPECT_EQ(a.FindOrAppend(8), 1);
  EXPECT_EQ(a.FindOrAppend(1), 2);
  a.FindOrInsertHead(3);
  a.FindOrInsertHead(0);
  EXPECT_EQ(Values(a), (Ints{0, 3, 8, 1}));

  a.Reverse(0, a.GetLength());  // an invalid end: nothing happens
  EXPECT_EQ(Values(a), (Ints{0, 3, 8, 1}));
  a.Reverse(0, -1);
  a.Reverse(1, 2);
  EXPECT_EQ(Values(a), (Ints{1, 3, 8, 0}));
  a.Sort(false);
  EXPECT_EQ(Values(a), (Ints{8, 3, 1, 0}));

  ZoArray<Counted> s(6);
  for (int i = 0; i < 6; ++i) s[i] = Counted(i % 2, i);
  s.Sort(false);  // stable
  EXPECT_EQ(s[0].tag, 1);
  EXPECT_EQ(s[3].tag, 0);
  s.Sort(+[](const Counted& x, const Counted& y) { return y.tag - x.tag; });
  EXPECT_EQ(s[0].tag, 5);

  EXPECT_TRUE(Fixed({1, 2}) == Fixed({1, 2}));
  EXPECT_TRUE(Fixed({1, 2}) != Fixed({2, 1}));
  EXPECT_TRUE(Fixed({1}) != Fixed({1, 1}));
}

TEST(Array, CopiesToAndFromTheOtherContainers) {
  const ZoArray<int> fixed(Make<ZoDynArray<int>>({4, 5, 6}));
  ZoArray<int> copy(fixed);
  copy[0] = 0;
  EXPECT_EQ(fixed[0], 4);
  copy = fixed;
  copy = copy;
  EXPECT_EQ(Values(copy), (Ints{4, 5, 6}));
  ZoDynArray<int> back;
  back << fixed;
  EXPECT_EQ(KeysOf(back), (Ints{4, 5, 6}));
  back.DeepCopy(ZoArray<int>());
  EXPECT_TRUE(back.IsEmpty());
}

TEST(TwoDimensionalArray, RowsAreDeepAndResizeTogether) {
  Zo2dArray<int> grid(3, 4);
  for (long r = 0; r < 3; ++r)
    for (long c = 0; c < 4; ++c) grid[r][c] = static_cast<int>(r * 10 + c);
  grid.ReAllocate(2, 5, true);
  ASSERT_EQ(grid.GetLength(), 2);
  EXPECT_EQ(Values(grid[1]).size(), 5u);
  for (long c = 0; c < 4; ++c) EXPECT_EQ(grid[1][c], 10 + c);

  Zo2dArray<int> copy(grid);
  copy[0][0] = 99;
  EXPECT_EQ(grid[0][0], 0);
  Zo2dArray<int> assigned;
  assigned = grid;
  assigned[1][1] = 77;
  EXPECT_EQ(grid[1][1], 11);
  EXPECT_TRUE(assigned != grid);
  grid.SetAll(3);
  for (long r = 0; r < 2; ++r)
    for (long c = 0; c < 5; ++c) EXPECT_EQ(grid[r][c], 3);

  // Rows order by their length, as the root containers do.
  ZoArray<ZoArray<int>> rows(3);
  rows[0].ReAllocate(3, false);
  rows[1].ReAllocate(1, false);
  rows[2].ReAllocate(2, false);
  rows.Sort(true);
  EXPECT_EQ(rows[0].GetLength(), 1);
  EXPECT_EQ(rows[2].GetLength(), 3);

  const long before = Counted::s_live;
  {
    Zo2dArray<Counted> cells(4, 3);
    cells.ReAllocate(6, 2, true);
    Zo2dArray<Counted> other(cells);
    other.ReAllocate(0, 0, false);
    EXPECT_EQ(Counted::s_live, before + 12);
  }
  EXPECT_EQ(Counted::s_live, before);
}

}  // namespace
