#include "containers/HalvingSearch.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "containers/test_support.h"

namespace {

// The halving searches of every kind: BFind and BFindTo on values, BFindData and BFindDataTo on
// objects. SortInto goes through the cursor form.
template <class C>
long Find(const C& c, int k, long from = 0, long to = -1) {
  if constexpr (kOwning<C>)
    return c.BFindData(Counted(k), from, to);
  else
    return c.BFind(Counted(k), from, to);
}
template <class C>
bool FindTo(C& c, int k, long from = 0, long to = -1) {
  if constexpr (kOwning<C>)
    return c.BFindDataTo(Counted(k), from, to);
  else
    return c.BFindTo(Counted(k), from, to);
}
// An owning container refuses an object by leaving it with the caller, who deletes it here.
template <class C>
bool Insert(C& c, int k, int tag, bool allowEqual) {
  if constexpr (kOwning<C>) {
    Counted* p = new Counted(k, tag);
    if (c.SortInto(p, allowEqual)) return true;
    delete p;
    return false;
  } else {
    return c.SortInto(Counted(k, tag), allowEqual);
  }
}

template <class C>
class HalvingSearch : public CountsObjects {};
using Kinds = ::testing::Types<ZoDynArray<Counted>, ZoList<Counted>, ZoDList<Counted>, SmallGroupXList<Counted>,
                               ZoDynPArray<Counted>, ZoPDList<Counted>, SmallGroupPXList>;
TYPED_TEST_SUITE(HalvingSearch, Kinds);

TYPED_TEST(HalvingSearch, FindsEveryKeyAndEveryInsertionPoint) {
  TypeParam c;
  for (int i = 0; i < 50; ++i) Add(c, i * 2);
  for (int x = -1; x <= 100; ++x) {
    const bool inside = x % 2 == 0 && x >= 0 && x < 100;
    EXPECT_EQ(Find(c, x), inside ? x / 2 : -1) << x;
    EXPECT_EQ(FindTo(c, x), inside) << x;
    const long at = (std::min(std::max(x, -1), 99) + 1) / 2;  // the match or the insertion point
    EXPECT_EQ(c.GetCur(), at == 50 ? PastEnd(c) : at) << x;
  }
  EXPECT_EQ(Find(c, 40, 0, 10), -1);  // outside the range searched
  EXPECT_EQ(Find(c, 40, 20, 30), 20);
  EXPECT_EQ(Find(c, 40, 30, 20), -1);
  EXPECT_EQ(Find(c, 98, 40, -5), 49);  // a negative end, or one past the end, is the last element
  EXPECT_EQ(Find(c, 98, 40, 50), 49);
  EXPECT_TRUE(FindTo(c, 40, 20, 30));
  EXPECT_EQ(c.GetCur(), 20);
  EXPECT_FALSE(FindTo(c, 70, 20, 30));
  EXPECT_EQ(c.GetCur(), 31);
  EXPECT_FALSE(FindTo(c, 41, 20, 30));
  EXPECT_EQ(c.GetCur(), 21);
  EXPECT_FALSE(FindTo(c, 30, 20, 30));
  EXPECT_EQ(c.GetCur(), 20);

  // Among equal elements, the first probe that meets one decides.
  TypeParam runs = Make<TypeParam>({1, 2, 2, 2, 2, 2, 2, 3});
  EXPECT_EQ(Find(runs, 2), 3);
  EXPECT_EQ(Find(runs, 2, 4), 5);
  EXPECT_TRUE(FindTo(runs, 2));
  EXPECT_EQ(runs.GetCur(), 3);

  TypeParam empty;
  EXPECT_EQ(Find(empty, 1), -1);
  EXPECT_FALSE(FindTo(empty, 1));
  EXPECT_EQ(empty.GetCur(), PastEnd(empty));
  EXPECT_TRUE(Sound(c));
}

TYPED_TEST(HalvingSearch, SortedInsertionGoesAfterItsEquals) {
  TypeParam c = Make<TypeParam>({1, 3, 3, 5});
  EXPECT_FALSE(Insert(c, 3, 7, false));
  EXPECT_EQ(c.GetLength(), 4);
  EXPECT_TRUE(Insert(c, 3, 7, true));
  EXPECT_EQ(c.GetCur(), 3);
  EXPECT_TRUE(Insert(c, 5, 8, true));  // after the last element
  EXPECT_EQ(c.GetCur(), 5);
  for (int k : {4, 0, 9}) EXPECT_TRUE(Insert(c, k, 9, false));
  EXPECT_EQ(KeysOf(c), (Ints{0, 1, 3, 3, 3, 4, 5, 5, 9}));
  EXPECT_EQ(TagsOf(c), (Ints{9, 0, 1, 2, 7, 9, 3, 8, 9}));
  EXPECT_TRUE(Sound(c));

  TypeParam e;
  EXPECT_TRUE(Insert(e, 2, 0, false));
  EXPECT_TRUE(Insert(e, 1, 0, false));
  EXPECT_EQ(KeysOf(e), (Ints{1, 2}));
}

// The array reads its buffer, the root reads through the virtual GetAt, the fixed array its
// own buffer: all three find the same index.
TEST(HalvingSearchValues, EveryArrayKindFindsTheSameIndex) {
  ZoDynArray<int> a;
  for (int k : {1, 2, 2, 2, 2, 2, 2, 3, 5, 8, 8, 13}) a.Append(k);
  const ZoDynArrayBase<int>& root = a;
  const ZoArray<int> fixed(a);
  for (int x = 0; x <= 14; ++x)
    for (long from : {0L, 3L, 9L}) {
      const long i = a.BFind(x, from);
      EXPECT_EQ(root.BFind(x, from), i) << x;
      EXPECT_EQ(fixed.BFind(x, from), i) << x;
      EXPECT_EQ(i >= 0, std::count(a.GetTo(from), a.GetLast() + 1, x) > 0) << x;
    }
  // Rows order by their length, so an array of rows can be searched too.
  ZoArray<ZoArray<int>> rows(3);
  for (long r = 0; r < 3; ++r) rows[r].ReAllocate(r + 1, false);
  EXPECT_EQ(rows.BFind(ZoArray<int>(2)), 1);
}

}  // namespace
