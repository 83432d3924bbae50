#include "containers/DynPArray.h"

#include <gtest/gtest.h>

#include "containers/test_support.h"

namespace {

// What the owning array does its own way; the shared vocabulary is tested in owning_test.cpp.
using Owning = ZoDynPArray<Counted>;
class OwningArray : public CountsObjects {};

TEST_F(OwningArray, ResizingDeletesWhatIsCutOffAndEmptiesNewSlots) {
  Owning a = Make<Owning>({1, 2, 3, 4, 5});
  a.DecreaseSize(2);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2, 3}));
  a.IncreaseSize(2);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2, 3, -1, -1}));
  a.SetLength(2, true);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2}));
  a.SetLength(4, true);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2, -1, -1}));
  a.SetLength(4, false);  // same storage size, yet every slot ends empty
  EXPECT_EQ(KeysOf(a), (Ints{-1, -1, -1, -1}));
  a[1] = new Counted(6);
  a.SetLength(7, false);
  EXPECT_EQ(KeysOf(a), Ints(7, -1));
  a[8] = new Counted(9);  // the growing operator[] leaves the new slots empty
  EXPECT_EQ(KeysOf(a), (Ints{-1, -1, -1, -1, -1, -1, -1, -1, 9}));

  // Removals leave stale pointers behind the length; growing back must not revive them.
  Owning b = Make<Owning>({1, 2, 3});
  b.Del(0);
  b.Del(0);
  b.IncreaseSize(2);
  EXPECT_EQ(KeysOf(b), (Ints{3, -1, -1}));
  b.Exchange(0, 3);  // grows, then swaps the pointers
  EXPECT_EQ(KeysOf(b), (Ints{-1, -1, -1, 3}));

  // Detach hands the storage over with its objects; Attach deletes those of the storage it replaces.
  Counted** block = b.Detach();
  EXPECT_EQ(Live(), 2);  // a's 9 and, in the block, 3
  b << new Counted(5);
  b.Attach(4, block);
  EXPECT_EQ(KeysOf(b), (Ints{-1, -1, -1, 3}));
  EXPECT_EQ(Live(), 2);
}

TEST_F(OwningArray, SortExPutsEmptySlotsLast) {
  Owning e = Make<Owning>({3, -1, 1, -1, 2, 1});
  e.SortEx(true);
  EXPECT_EQ(KeysOf(e), (Ints{1, 1, 2, 3, -1, -1}));
  EXPECT_EQ(TagsOf(e), (Ints{2, 5, 4, 0, -1, -1}));
  e.SortEx(false);
  EXPECT_EQ(TagsOf(e), (Ints{0, 4, 2, 5, -1, -1}));
  // The array of pointers underneath still sorts by address.
  ZoDynArray<Counted*> raw;
  raw << &e(0) << &e(1);
  raw.Sort(false);
  EXPECT_GT(raw.GetAt(0), raw.GetAt(1));
}

}  // namespace
