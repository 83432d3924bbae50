#include "containers/OwningList.h"

#include <gtest/gtest.h>

#include "containers/test_support.h"

namespace {

// What the owning lists do their own way; the shared vocabulary is tested in owning_test.cpp.
template <class List>
class OwningLists : public CountsObjects {};
using Kinds = ::testing::Types<ZoPDList<Counted>, SmallGroupPXList>;
TYPED_TEST_SUITE(OwningLists, Kinds);

TYPED_TEST(OwningLists, StartWithEmptyNodesAndGrowWithThem) {
  TypeParam three(3);
  EXPECT_EQ(KeysOf(three), (Ints{-1, -1, -1}));
  EXPECT_EQ(three.PlaceIn(new Counted(4)), 0);
  three.SetLength(5, false);
  EXPECT_EQ(KeysOf(three), (Ints{4, -1, -1, -1, -1}));
  three.SetLength(0, false);
  EXPECT_TRUE(three.IsEmpty());
  EXPECT_TRUE(Sound(three));
}

TYPED_TEST(OwningLists, FindDataToAndFindOrAdd) {
  TypeParam l = Make<TypeParam>({5, -1, 3, 5, 9});
  EXPECT_TRUE(l.FindDataTo(Counted(5), 1));
  EXPECT_EQ(l.GetCur(), 3);
  EXPECT_FALSE(l.FindDataTo(Counted(9), 0, 3));
  EXPECT_EQ(l.GetCur(), 4);
  EXPECT_TRUE(l.FindDataTo(Counted(9), 2, -4));

  const long live = Counted::s_live;
  EXPECT_EQ(l.FindDataOrAppend(Counted(3)), 2);  // found: nothing copied
  EXPECT_EQ(Counted::s_live, live);
  EXPECT_EQ(l.FindDataOrAppend(Counted(4)), 5);
  l.FindDataOrInsertHead(Counted(9));
  l.FindDataOrInsertHead(Counted(1));
  EXPECT_EQ(KeysOf(l), (Ints{1, 5, -1, 3, 5, 9, 4}));
  EXPECT_TRUE(Sound(l));
}

TYPED_TEST(OwningLists, SortsPutEmptyNodesLast) {
  TypeParam l = Make<TypeParam>({3, -1, 1, 2});
  l.Sort(true);
  EXPECT_EQ(KeysOf(l), (Ints{1, 2, 3, -1}));
  l.Sort(false);
  EXPECT_EQ(KeysOf(l), (Ints{3, 2, 1, -1}));

  TypeParam s = Make<TypeParam>({-1, -1, 2, 1, -1, 2, 1, 2});
  s.Sort(true);
  EXPECT_EQ(TagsOf(s), (Ints{3, 6, 2, 5, 7, -1, -1, -1}));
  s.Sort(false);
  EXPECT_EQ(TagsOf(s), (Ints{2, 5, 7, 3, 6, -1, -1, -1}));
  EXPECT_TRUE(Sound(s));

  TypeParam empties = Make<TypeParam>({-1, -1, -1});
  empties.Sort(false);
  EXPECT_EQ(KeysOf(empties), (Ints{-1, -1, -1}));
  TypeParam single = Make<TypeParam>({-1});
  single.Sort(true);
  EXPECT_EQ(KeysOf(single), (Ints{-1}));
}

}  // namespace
