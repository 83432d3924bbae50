#include "containers/OwningList.h"

#include <gtest/gtest.h>

#include <vector>

#include "containers/test_support.h"

namespace {

using Ints = std::vector<int>;

template <class List>
Ints Keys(const List& l) {
  Ints keys;
  for (Counted* const* p = l.GetFirst(); p; p = l.GetNext(p)) keys.push_back(*p ? (*p)->key : -1);
  return keys;
}

template <class List>
Ints Tags(const List& l) {
  Ints tags;
  for (Counted* const* p = l.GetFirst(); p; p = l.GetNext(p)) tags.push_back(*p ? (*p)->tag : -1);
  return tags;
}

template <class List>
List Make(const Ints& keys) {
  List l;
  for (size_t i = 0; i < keys.size(); ++i) l.Append(keys[i] < 0 ? nullptr : new Counted(keys[i], static_cast<int>(i)));
  return l;
}

// Every case must end with the objects it started with: none leaked, none deleted twice.
template <class List>
class OwningLists : public ::testing::Test {
 protected:
  void SetUp() override { m_before = Counted::s_live; }
  void TearDown() override { EXPECT_EQ(Counted::s_live, m_before); }
  long m_before = 0;
};
using Kinds = ::testing::Types<ZoPDList<Counted>, ZoPXList<Counted>>;
TYPED_TEST_SUITE(OwningLists, Kinds);

TYPED_TEST(OwningLists, TakeOffRemovesTheNodeReleaseKeepsIt) {
  TypeParam three(3);
  EXPECT_EQ(three.GetLength(), 3);
  EXPECT_EQ(three.GetDataNum(), 0);
  EXPECT_EQ(three.PlaceIn(new Counted(4)), 0);
  EXPECT_EQ(three.PlaceIn(new Counted(5)), 1);
  EXPECT_EQ(Keys(three), (Ints{4, 5, -1}));

  TypeParam l = Make<TypeParam>({1, 2, 3, 4});
  l.MoveTo(1);
  const long live = Counted::s_live;
  Counted* taken = l.TakeOffCur();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->key, 2);
  EXPECT_EQ(Counted::s_live, live);
  EXPECT_EQ(Keys(l), (Ints{1, 3, 4}));
  EXPECT_EQ(l.GetCur(), 0);
  delete taken;
  l.Release(1);
  EXPECT_EQ(Counted::s_live, live - 2);
  EXPECT_EQ(Keys(l), (Ints{1, -1, 4}));
  EXPECT_TRUE(l.IsCurEmpty());
  EXPECT_TRUE(l.IsEmptyData(1));
  EXPECT_TRUE(l.IsEmptyData(7));
  EXPECT_EQ(l.PlaceIn(new Counted(6)), 1);  // the first empty node before the end
  EXPECT_EQ(l.PlaceIn(new Counted(7)), 3);  // none empty: appended
  EXPECT_EQ(l.GetDataNum(), 4);

  l.MoveTo(-1);
  EXPECT_EQ(l.TakeOffCur(), nullptr);
  delete l.TakeOffHead();
  delete l.TakeOffTail();
  delete l.TakeOff(1);
  EXPECT_EQ(Keys(l), (Ints{6}));
  l.GetCurPData().key = 8;
  EXPECT_EQ(l(0).key, 8);
  l.MoveTo(0);
  l.DelCur();
  EXPECT_TRUE(l.IsEmpty());

  TypeParam all = Make<TypeParam>({1, -1, 2});
  all.ReleaseAll();
  EXPECT_EQ(Keys(all), (Ints{-1, -1, -1}));
  all.PlaceIn(new Counted(1));
  all.Reset();
  EXPECT_TRUE(all.IsEmpty());
  EXPECT_EQ(all.GetCur(), -1);
  all.Append(new Counted(3));
  all.SetLength(3, false);  // grows with empty nodes
  EXPECT_EQ(Keys(all), (Ints{3, -1, -1}));
  all.SetLength(0, false);
  EXPECT_TRUE(all.IsEmpty());
}

TYPED_TEST(OwningLists, SearchesLookAtTheObjects) {
  TypeParam l = Make<TypeParam>({5, -1, 3, 5, 9});
  EXPECT_EQ(l.FindData(Counted(5)), 0);
  EXPECT_EQ(l.FindData(Counted(5), 1), 3);
  EXPECT_EQ(l.FindData(Counted(9), 0, 3), -1);
  EXPECT_EQ(l.FindData(Counted(7)), -1);
  ZoQuene<long> q;
  EXPECT_EQ(l.FindData(Counted(5), q), 2);
  EXPECT_TRUE(l.FindDataTo(Counted(5), 1));
  EXPECT_EQ(l.GetCur(), 3);
  EXPECT_FALSE(l.FindDataTo(Counted(9), 0, 3));

  const long live = Counted::s_live;
  EXPECT_EQ(l.FindDataOrAppend(Counted(3)), 2);  // found: no copy
  EXPECT_EQ(Counted::s_live, live);
  EXPECT_EQ(l.FindDataOrAppend(Counted(4)), 5);
  l.FindDataOrInsertHead(Counted(9));
  l.FindDataOrInsertHead(Counted(1));
  EXPECT_EQ(Keys(l), (Ints{1, 5, -1, 3, 5, 9, 4}));

  Counted outside(9);
  EXPECT_EQ(l.FindDel(&outside), 0);
  EXPECT_EQ(l.FindDel(&l(5)), 1);
  EXPECT_EQ(Keys(l), (Ints{1, 5, -1, 3, 5, 4}));
  EXPECT_EQ(l.FindDataDel(l.GetPData(1)), 2);  // x is itself one of the objects deleted
  EXPECT_EQ(Keys(l), (Ints{1, -1, 3, 4}));
  EXPECT_EQ(l.FindDataDel(Counted(8)), 0);
}

TYPED_TEST(OwningLists, HalvingSearchAndSortedInsertion) {
  TypeParam l = Make<TypeParam>({10, 20, 30});
  EXPECT_EQ(l.BFindData(Counted(30)), 2);
  EXPECT_EQ(l.BFindData(Counted(25)), -1);
  EXPECT_FALSE(l.BFindDataTo(Counted(25)));
  EXPECT_EQ(l.GetCur(), 2);
  EXPECT_FALSE(l.BFindDataTo(Counted(31)));
  EXPECT_EQ(l.GetCur(), -1);
  EXPECT_TRUE(l.BFindDataTo(Counted(20)));
  EXPECT_EQ(l.GetCur(), 1);

  Counted* dup = new Counted(20, 7);
  EXPECT_FALSE(l.SortInto(dup, false));  // the caller keeps it
  EXPECT_TRUE(l.SortInto(dup, true));
  EXPECT_EQ(Tags(l), (Ints{0, 1, 7, 2}));
  EXPECT_TRUE(l.SortInto(new Counted(40), false));
  EXPECT_TRUE(l.SortInto(new Counted(5), false));
  EXPECT_EQ(Keys(l), (Ints{5, 10, 20, 20, 30, 40}));
}

TYPED_TEST(OwningLists, SortsMovePointersAndPutEmptyNodesLast) {
  TypeParam l = Make<TypeParam>({3, -1, 1, 2});
  const Counted* three = l.GetAt(0);
  l.Sort(true);
  EXPECT_EQ(Keys(l), (Ints{1, 2, 3, -1}));
  EXPECT_EQ(l.GetAt(2), three);  // objects keep their addresses
  l.Sort(false);
  EXPECT_EQ(Keys(l), (Ints{3, 2, 1, -1}));

  TypeParam s = Make<TypeParam>({-1, -1, 2, 1, -1, 2, 1, 2});
  s.Sort(true);
  EXPECT_EQ(Keys(s), (Ints{1, 1, 2, 2, 2, -1, -1, -1}));
  EXPECT_EQ(Tags(s), (Ints{3, 6, 2, 5, 7, -1, -1, -1}));
  s.Sort(false);
  EXPECT_EQ(Tags(s), (Ints{2, 5, 7, 3, 6, -1, -1, -1}));
  s.SetLength(5, true);
  s.Sort(+[](const Counted& a, const Counted& b) { return b.tag - a.tag; });
  EXPECT_EQ(Tags(s), (Ints{7, 6, 5, 3, 2}));

  TypeParam single = Make<TypeParam>({-1});
  single.Sort(true);
  EXPECT_EQ(Keys(single), (Ints{-1}));
  TypeParam empties = Make<TypeParam>({-1, -1, -1});
  empties.Sort(false);
  EXPECT_EQ(Keys(empties), (Ints{-1, -1, -1}));

  TypeParam m = Make<TypeParam>({1, 2, 3});
  const Counted* moved = m.GetAt(2);
  EXPECT_TRUE(m.Move(2, 0));
  EXPECT_EQ(Keys(m), (Ints{3, 1, 2}));
  EXPECT_EQ(m.GetAt(0), moved);
  EXPECT_TRUE(m.Move(0, 3));
  EXPECT_EQ(Keys(m), (Ints{1, 2, 3}));
}

TYPED_TEST(OwningLists, EqualityAndCopiesByObject) {
  TypeParam a = Make<TypeParam>({1, -1, 3});
  TypeParam b = Make<TypeParam>({1, -1, 3});
  EXPECT_TRUE(a == b);
  b.Release(2);
  EXPECT_TRUE(a != b);  // an empty node opposite an object
  b.MoveTo(2);
  b.SetCurData(new Counted(4));
  EXPECT_TRUE(a != b);
  b.GetCurPData().key = 3;
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(a != Make<TypeParam>({1, -1}));

  TypeParam copy(a);
  EXPECT_TRUE(copy == a);
  EXPECT_NE(copy.GetAt(0), a.GetAt(0));
  EXPECT_EQ(copy.GetAt(1), nullptr);
  TypeParam assigned = Make<TypeParam>({7, 8, 9, 10});
  assigned = a;
  EXPECT_EQ(Keys(assigned), (Ints{1, -1, 3}));
  assigned = assigned;
  EXPECT_EQ(Keys(assigned), (Ints{1, -1, 3}));
}

}  // namespace
