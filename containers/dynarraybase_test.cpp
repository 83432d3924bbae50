#include "containers/DynArrayBase.h"

#include <gtest/gtest.h>

#include "containers/test_support.h"

namespace {

// The root's vocabulary, written once over the virtual primitives, through every concrete kind.
// Arrays and lists differ only where the cursor steps past the end (PastEnd).
template <class C>
class RootOperations : public ::testing::Test {};
using Kinds = ::testing::Types<ZoDynArray<int>, ZoList<int>, ZoDList<int>, SmallGroupXList<int>>;
TYPED_TEST_SUITE(RootOperations, Kinds);

TYPED_TEST(RootOperations, InsertionAndRemovalMoveTheCursorAsDocumented) {
  TypeParam c;
  c.Insert(0, 5);  // like Append on an empty container
  c.InsertHead(4);
  EXPECT_EQ(c.GetCur(), 0);
  EXPECT_EQ(c.Append(9), 2);
  c.Insert(2, 7);
  EXPECT_EQ(c.GetCur(), 2);
  c.InsertCur(6);  // before the current element
  EXPECT_EQ(c.GetCur(), 2);
  EXPECT_EQ(KeysOf(c), (Ints{4, 5, 6, 7, 9}));

  c.MoveTo(0);
  c.DelCur();
  EXPECT_EQ(c.GetCur(), -1);
  c.MoveToNext();  // onto the element that moved into index 0
  EXPECT_EQ(c.GetCurData(), 5);
  c.Del(2);
  EXPECT_EQ(c.GetCur(), 1);
  c.DelTail();
  EXPECT_EQ(c.GetCur(), 1);
  c.DelHead();
  EXPECT_EQ(c.GetCur(), -1);
  EXPECT_EQ(KeysOf(c), (Ints{6}));

  // The library's removal loop visits every element once.
  c = Make<TypeParam>({0, 1, 2, 3, 4, 5, 6});
  for (c.MoveToFirst(); !c.IsOut(); c.MoveToNext())
    if (c.GetCurData() % 2 == 0) c.DelCur();
  EXPECT_EQ(KeysOf(c), (Ints{1, 3, 5}));
  // The value removed may be an element that the removals shift away.
  c = Make<TypeParam>({3, 5, 3, 6, 3});
  EXPECT_EQ(c.FindDel(c.GetAt(0)), 3);
  EXPECT_EQ(c.FindOrAppend(6), 1);
  EXPECT_EQ(c.FindOrAppend(8), 2);
  c.FindOrInsertHead(5);
  c.FindOrInsertHead(1);
  EXPECT_EQ(KeysOf(c), (Ints{1, 5, 6, 8}));
  EXPECT_TRUE(Sound(c));
}

TYPED_TEST(RootOperations, SearchesMoveAndExchange) {
  TypeParam c = Make<TypeParam>({4, 7, 4, 9, 4});
  EXPECT_EQ(c.Find(4, 1), 2);
  EXPECT_EQ(c.Find(4, 3, -5), 4);  // a negative end, or one past the end, is the last element
  EXPECT_EQ(c.Find(4, 3, 99), 4);
  EXPECT_EQ(c.Find(9, 0, 2), -1);
  EXPECT_EQ(c.Find(4, 5), -1);
  ZoQuene<long> q;
  q.AddTail(100);
  EXPECT_EQ(c.Find(4, q, 1), 3);  // entries already in the queue are counted
  EXPECT_EQ(q.GetAt(2), 4);
  ZoQuene<long> partial;
  EXPECT_EQ(c.Find(4, partial, 0, -2), 0);  // only -1 stands for the last element here
  EXPECT_TRUE(c.FindTo(9, 1));
  EXPECT_EQ(c.GetCur(), 3);
  EXPECT_FALSE(c.FindTo(7, 2));
  EXPECT_EQ(c.GetCur(), PastEnd(c));

  c = Make<TypeParam>({1, 2, 3});
  EXPECT_TRUE(c.Move(2, 0));
  EXPECT_EQ(KeysOf(c), (Ints{3, 1, 2}));
  EXPECT_EQ(c.GetCur(), 0);
  EXPECT_TRUE(c.Move(0, 2));
  EXPECT_EQ(KeysOf(c), (Ints{1, 3, 2}));
  EXPECT_EQ(c.GetCur(), 1);
  EXPECT_TRUE(c.Move(0, 3));
  EXPECT_EQ(KeysOf(c), (Ints{3, 2, 1}));
  EXPECT_EQ(c.GetCur(), 2);
  EXPECT_FALSE(c.Move(1, 2));
  EXPECT_FALSE(c.Move(1, 1));
  EXPECT_EQ(c.GetCur(), 2);

  // The growing operator[] makes the index valid and leaves the cursor on it; both indices of
  // Exchange may grow the container, and the value fetched first must survive that.
  c[4] = 8;
  EXPECT_EQ(c.GetLength(), 5);
  EXPECT_EQ(c.GetCur(), 4);
  c.Exchange(6, 0);
  EXPECT_EQ(c.GetLength(), 7);
  EXPECT_EQ(c.GetAt(6), 3);
  EXPECT_EQ(c.GetCur(), 6);
  EXPECT_TRUE(Sound(c));
}

TYPED_TEST(RootOperations, BulkCopiesBetweenKindsAndComparisons) {
  const TypeParam c = Make<TypeParam>({1, 2, 3, 4, 5});
  ZoDynArray<int> a;
  c.Mid(1, 3, a);
  EXPECT_EQ(KeysOf(a), (Ints{2, 3, 4}));
  TypeParam dst = Make<TypeParam>({9, 9, 9, 9, 9, 9});
  a.Left(2, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{2, 3}));
  c.Right(3, dst);
  dst.Mid(1, 2, dst);  // into itself
  EXPECT_EQ(KeysOf(dst), (Ints{4, 5}));
  dst << a;
  EXPECT_EQ(dst.GetCur(), PastEnd(dst));
  dst << dst;  // the old elements are copied once
  EXPECT_EQ(KeysOf(dst), (Ints{4, 5, 2, 3, 4, 4, 5, 2, 3, 4}));
  dst.DeepCopy(dst);
  EXPECT_EQ(dst.GetLength(), 10);
  dst.DeepCopy(c);
  EXPECT_EQ(dst.GetCur(), PastEnd(dst));

  ZoArray<int> fixed(c);
  TypeParam fromFixed;
  fromFixed.DeepCopy(fixed);
  fromFixed << fixed;
  EXPECT_EQ(KeysOf(fromFixed), (Ints{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));

  TypeParam r = Make<TypeParam>({1, 2, 3, 4, 5, 6});
  r.Reverse();
  r.Reverse(1, 3);
  EXPECT_EQ(KeysOf(r), (Ints{6, 3, 4, 5, 2, 1}));
  r.SetAll(4);
  EXPECT_EQ(KeysOf(r), Ints(6, 4));
  EXPECT_EQ(r.GetCur(), PastEnd(r));
  EXPECT_TRUE(Sound(r) && Sound(dst));

  EXPECT_TRUE(ZoDynArray<int>(c) == c);
  EXPECT_TRUE(c == ZoDynArray<int>(c));
  EXPECT_TRUE(Make<TypeParam>({1, 2}) != Make<TypeParam>({1, 3}));
  EXPECT_TRUE(Make<TypeParam>({1, 2}) != Make<TypeParam>({1, 2, 3}));
  EXPECT_TRUE(Make<TypeParam>({9}) < Make<TypeParam>({1, 1}));  // lengths only
  EXPECT_FALSE(Make<TypeParam>({9}) > Make<TypeParam>({1, 1}));
}

}  // namespace
