#include "containers/DynPArray.h"

#include <gtest/gtest.h>

#include <vector>

#include "containers/test_support.h"

namespace {

using Ints = std::vector<int>;
using Owning = ZoDynPArray<Counted>;

// Keys of the objects; -1 for an empty slot.
Ints Keys(const Owning& a) {
  Ints keys;
  for (long i = 0; i < a.GetLength(); ++i) keys.push_back(a.IsEmptyData(i) ? -1 : a.GetPData(i).key);
  return keys;
}

Owning Make(const Ints& keys) {
  Owning a;
  for (size_t i = 0; i < keys.size(); ++i) a.Append(keys[i] < 0 ? nullptr : new Counted(keys[i], static_cast<int>(i)));
  return a;
}

class OwningArray : public ::testing::Test {
 protected:
  void SetUp() override { m_before = Counted::s_live; }
  // Every test ends with exactly the objects it started with: none leaked, none deleted twice
  // (a second delete is reported by the address sanitizer).
  void TearDown() override { EXPECT_EQ(Counted::s_live, m_before); }
  long m_before = 0;
};

TEST_F(OwningArray, ReleaseTakeOffPlaceInAndDelete) {
  Owning a = Make({1, 2, 3, 4});
  EXPECT_EQ(a.GetDataNum(), 4);
  a.MoveTo(1);
  Counted* taken = a.TakeOffCur();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->key, 2);
  EXPECT_EQ(Keys(a), (Ints{1, -1, 3, 4}));
  EXPECT_TRUE(a.IsCurEmpty());
  EXPECT_EQ(a.GetDataNum(), 3);
  EXPECT_EQ(a.PlaceIn(taken), 1);  // the first empty slot comes before the end
  const long live = Counted::s_live;
  a.Release(0);
  EXPECT_EQ(Counted::s_live, live - 1);
  EXPECT_EQ(Keys(a), (Ints{-1, 2, 3, 4}));
  a.ReleaseCur();  // an empty slot: nothing to delete
  EXPECT_EQ(a.PlaceIn(new Counted(7)), 0);
  EXPECT_EQ(a.PlaceIn(new Counted(8)), 4);  // no empty slot: appended
  EXPECT_EQ(Keys(a), (Ints{7, 2, 3, 4, 8}));

  a.MoveTo(9);
  EXPECT_EQ(a.TakeOffCur(), nullptr);
  EXPECT_TRUE(a.IsCurEmpty());
  Counted* head = a.TakeOffHead();
  Counted* tail = a.TakeOffTail();
  EXPECT_EQ(head->key, 7);
  EXPECT_EQ(tail->key, 8);
  delete head;
  delete tail;
  EXPECT_EQ(Keys(a), (Ints{-1, 2, 3, 4, -1}));

  // DelCur deletes only the object under the cursor, wherever it stands.
  for (long at : {4L, 2L, 0L}) {
    const long count = Counted::s_live;
    const bool empty = a.IsEmptyData(at);
    a.MoveTo(at);
    a.DelCur();
    EXPECT_EQ(a.GetCur(), at - 1);
    EXPECT_EQ(Counted::s_live, count - (empty ? 0 : 1));
  }
  EXPECT_EQ(Keys(a), (Ints{2, 4}));
  a.MoveTo(0);
  a.GetCurPData().key = 5;
  EXPECT_EQ(a(1).key, 4);
  EXPECT_EQ(Keys(a), (Ints{5, 4}));

  a.ReleaseAll();
  EXPECT_EQ(a.GetLength(), 2);
  EXPECT_EQ(a.GetDataNum(), 0);
  a.PlaceIn(new Counted(1));
  a.PlaceIn(new Counted(2));
  a.Reset();
  EXPECT_EQ(a.GetLength(), 0);
  EXPECT_EQ(a.GetCur(), -1);
}

TEST_F(OwningArray, ResizingDeletesWhatIsCutOffAndEmptiesNewSlots) {
  Owning a = Make({1, 2, 3, 4, 5});
  a.DecreaseSize(2);
  EXPECT_EQ(Keys(a), (Ints{1, 2, 3}));
  a.IncreaseSize(2);
  EXPECT_EQ(Keys(a), (Ints{1, 2, 3, -1, -1}));
  a.SetLength(2, true);
  EXPECT_EQ(Keys(a), (Ints{1, 2}));
  a.SetLength(4, true);
  EXPECT_EQ(Keys(a), (Ints{1, 2, -1, -1}));
  a.SetLength(4, false);  // same storage size, yet every slot ends empty
  EXPECT_EQ(Keys(a), (Ints{-1, -1, -1, -1}));
  a[1] = new Counted(6);
  a.SetLength(7, false);
  EXPECT_EQ(Keys(a), Ints(7, -1));
  a[8] = new Counted(9);  // the growing operator[] leaves the new slots empty
  EXPECT_EQ(Keys(a), (Ints{-1, -1, -1, -1, -1, -1, -1, -1, 9}));
  EXPECT_EQ(a(8).key, 9);

  // Removals leave stale pointers behind the length; growing back must not revive them.
  Owning b = Make({1, 2, 3});
  b.Del(0);
  b.Del(0);
  b.IncreaseSize(2);
  EXPECT_EQ(Keys(b), (Ints{3, -1, -1}));
}

TEST_F(OwningArray, MoveKeepsTheObjects) {
  Owning a = Make({1, 2, 3, 4});
  const Counted* moved = &a.GetPData(3);
  EXPECT_TRUE(a.Move(3, 0));
  EXPECT_EQ(Keys(a), (Ints{4, 1, 2, 3}));
  EXPECT_EQ(&a.GetPData(0), moved);
  EXPECT_EQ(a.GetCur(), 0);
  EXPECT_TRUE(a.Move(0, 4));
  EXPECT_EQ(Keys(a), (Ints{1, 2, 3, 4}));
  EXPECT_EQ(a.GetCur(), 3);
  EXPECT_FALSE(a.Move(2, 3));
  a.Exchange(0, 3);
  EXPECT_EQ(Keys(a), (Ints{4, 2, 3, 1}));
}

TEST_F(OwningArray, SearchesLookAtTheObjects) {
  Owning a = Make({1, 3, -1, 3, 7});
  EXPECT_EQ(a.FindData(Counted(3)), 1);
  EXPECT_EQ(a.FindData(Counted(3), 2), 3);
  EXPECT_EQ(a.FindData(Counted(4)), -1);
  ZoQuene<long> q;
  EXPECT_EQ(a.FindData(Counted(3), q), 2);

  Counted* seven = &a(4);
  Counted equalElsewhere(7);
  EXPECT_EQ(a.FindDel(&equalElsewhere), 0);  // addresses, not objects
  EXPECT_EQ(a.FindDel(seven), 1);
  EXPECT_EQ(Keys(a), (Ints{1, 3, -1, 3}));
  // x is one of the objects to be deleted: it stays alive until the last comparison.
  EXPECT_EQ(a.FindDataDel(a.GetPData(1)), 2);
  EXPECT_EQ(Keys(a), (Ints{1, -1}));
  EXPECT_EQ(a.FindDataDel(Counted(5)), 0);
}

TEST_F(OwningArray, HalvingSearchesAndSortedInsertion) {
  Owning a = Make({10, 20, 30});
  EXPECT_EQ(a.BFindData(Counted(20)), 1);
  EXPECT_EQ(a.BFindData(Counted(25)), -1);
  EXPECT_EQ(a.BFindData(Counted(5)), -1);
  EXPECT_FALSE(a.BFindDataTo(Counted(25)));
  EXPECT_EQ(a.GetCur(), 2);
  EXPECT_FALSE(a.BFindDataTo(Counted(35)));
  EXPECT_EQ(a.GetCur(), 3);
  EXPECT_TRUE(a.BFindDataTo(Counted(10)));
  EXPECT_EQ(a.GetCur(), 0);

  Counted* dup = new Counted(20, 99);
  EXPECT_FALSE(a.SortInto(dup, false));  // refused: the caller keeps it
  EXPECT_TRUE(a.SortInto(dup, true));
  EXPECT_EQ(a.GetCur(), 2);
  EXPECT_EQ(a.GetPData(2).tag, 99);
  EXPECT_TRUE(a.SortInto(new Counted(15), false));
  EXPECT_EQ(Keys(a), (Ints{10, 15, 20, 20, 30}));
}

TEST_F(OwningArray, SortsOrderObjectsAndKeepEmptySlotsLast) {
  Owning a = Make({3, 1, 3, 2});
  const Counted* first3 = &a.GetPData(0);
  a.Sort(true);
  EXPECT_EQ(Keys(a), (Ints{1, 2, 3, 3}));
  EXPECT_EQ(&a.GetPData(2), first3);  // stable, and objects keep their addresses
  a.Sort(false);
  EXPECT_EQ(Keys(a), (Ints{3, 3, 2, 1}));
  EXPECT_EQ(&a.GetPData(0), first3);
  a.Sort(+[](const Counted& x, const Counted& y) { return x.tag - y.tag; });
  EXPECT_EQ(Keys(a), (Ints{3, 1, 3, 2}));

  Owning e = Make({3, -1, 1, -1, 2});
  e.SortEx(true);
  EXPECT_EQ(Keys(e), (Ints{1, 2, 3, -1, -1}));
  e.SortEx(false);
  EXPECT_EQ(Keys(e), (Ints{3, 2, 1, -1, -1}));
  // Pointer comparators still sort by address.
  ZoDynArray<Counted*> raw;
  raw << &a(0) << &a(1);
  raw.Sort(false);
  EXPECT_GT(raw.GetAt(0), raw.GetAt(1));
}

TEST_F(OwningArray, CopiesOwnTheirOwnObjects) {
  Owning a = Make({4, -1, 6});
  Owning copy(a);
  EXPECT_EQ(Keys(copy), (Ints{4, -1, 6}));
  EXPECT_NE(&copy.GetPData(0), &a.GetPData(0));
  EXPECT_TRUE(copy == a);
  copy[1] = new Counted(5);
  EXPECT_FALSE(copy == a);  // an object opposite an empty slot
  copy.Release(1);
  EXPECT_TRUE(copy == a);
  copy(2).key = 7;
  EXPECT_TRUE(copy != a);

  Owning assigned = Make({1, 2, 3, 4, 5});
  assigned = a;
  EXPECT_EQ(Keys(assigned), (Ints{4, -1, 6}));
  assigned = assigned;
  EXPECT_EQ(Keys(assigned), (Ints{4, -1, 6}));
  EXPECT_TRUE(Make({1, 2}) != Make({1, 2, 3}));
}

}  // namespace
