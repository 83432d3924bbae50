#include "containers/List.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "containers/XList.h"
#include "containers/test_support.h"

namespace {

using Ints = std::vector<int>;

// An indexed list with a small group so that every operation crosses group borders.
template <class T>
class SmallGroupXList : public ZoXList<T> {
 public:
  SmallGroupXList(long n = 0) : ZoXList<T>(n, 3, 4) {}
  SmallGroupXList(const ZoDynArrayBase<T>& src) : ZoXList<T>(0, 3, 4) { this->DeepCopy(src); }
  using ZoXList<T>::operator=;
};

template <class List>
struct NodeKind {
  using Type = ZoDListNode<int>;
};
template <>
struct NodeKind<ZoList<int>> {
  using Type = ZoListNode<int>;
};

template <class List>
List Make(const Ints& values) {
  List l;
  for (int v : values) l.Append(v);
  return l;
}

// Frees nodes cut off with a detaching operation: a chain that ends where it meets stop.
template <class List>
void FreeChain(ZoListNode<int>* node, ZoListNode<int>* stop) {
  while (node != stop) {
    ZoListNode<int>* next = node->m_pNext;
    delete static_cast<typename NodeKind<List>::Type*>(node);
    node = next;
  }
}

template <class List>
class ListKinds : public ::testing::Test {};
using Kinds = ::testing::Types<ZoList<int>, ZoDList<int>, SmallGroupXList<int>>;
TYPED_TEST_SUITE(ListKinds, Kinds);

TYPED_TEST(ListKinds, CursorMovesAroundTheRing) {
  TypeParam three(3);
  EXPECT_EQ(three.GetLength(), 3);
  EXPECT_EQ(three.GetCur(), -1);
  EXPECT_TRUE(three.Verify());

  TypeParam l;
  EXPECT_EQ(l.GetCur(), -1);
  l.MoveToFirst();
  EXPECT_EQ(l.GetCur(), -1);
  l.MoveToNext();
  EXPECT_EQ(l.GetCur(), -1);
  l.MoveToPre();
  EXPECT_EQ(l.GetCur(), -1);
  l.InsertCur(1);  // with the cursor at -1 it appends
  l.InsertCur(2);  // before the current element
  EXPECT_EQ(KeysOf(l), (Ints{2, 1}));
  l.MoveTo(-1);
  l.InsertCur(3);
  EXPECT_EQ(KeysOf(l), (Ints{2, 1, 3}));

  l.MoveToLast();
  l.MoveToNext();
  EXPECT_EQ(l.GetCur(), -1);
  EXPECT_EQ(l.GetCurPos(), l.GetCurPos()->m_pNext->m_pNext->m_pNext->m_pNext);
  l.MoveToNext();
  EXPECT_EQ(l.GetCur(), 0);
  EXPECT_EQ(l.GetCurData(), 2);
  l.MoveToPre();
  EXPECT_EQ(l.GetCur(), -1);
  l.MoveToPre();
  EXPECT_EQ(l.GetCur(), 2);
  EXPECT_EQ(l.GetCurData(), 3);
  l.MoveToPre();
  EXPECT_EQ(l.GetCurData(), 1);
  for (long i : {2L, 0L, 1L, 1L, 5L, -3L, 2L}) {
    l.MoveTo(i);
    EXPECT_EQ(l.GetCur(), i >= 0 && i < 3 ? i : -1);
    if (i >= 0 && i < 3) {
      EXPECT_EQ(l.GetCurData(), (Ints{2, 1, 3}[i]));
    }
    for (long j = 0; j < 3; ++j) EXPECT_EQ(l.GetAt(j), (Ints{2, 1, 3}[j]));
    EXPECT_EQ(l.GetCur(), i >= 0 && i < 3 ? i : -1);  // GetAt walks without moving the cursor
    EXPECT_TRUE(l.Verify());
  }
  const int* last = l.GetLast();
  EXPECT_EQ(*l.GetPre(last), 1);
  l.MoveTo(0);
  EXPECT_EQ(*l.GetPre(last), 1);
  EXPECT_EQ(l.GetPre(l.GetFirst()), nullptr);
  EXPECT_EQ(l.GetNext(last), nullptr);
  EXPECT_EQ(l.GetPre(nullptr), nullptr);
}

TYPED_TEST(ListKinds, InsertionAndRemovalPositions) {
  TypeParam l = Make<TypeParam>({1, 2, 3});
  l.Insert(0, 0);
  EXPECT_EQ(l.GetCur(), 0);
  l.Insert(4, 9);
  EXPECT_EQ(l.GetCur(), 4);
  l.Insert(2, 5);
  EXPECT_EQ(l.GetCur(), 2);
  EXPECT_EQ(KeysOf(l), (Ints{0, 1, 5, 2, 3, 9}));
  EXPECT_EQ(l.Append(7), 6);
  l.InsertHead(8);
  EXPECT_EQ(l.GetCur(), 0);
  l.MoveTo(3);
  l.InsertAfterCur(6);
  EXPECT_EQ(l.GetCur(), 4);
  EXPECT_EQ(KeysOf(l), (Ints{8, 0, 1, 5, 6, 2, 3, 9, 7}));
  EXPECT_TRUE(l.Verify());

  l.MoveTo(0);
  l.DelCur();
  EXPECT_EQ(l.GetCur(), -1);
  l.MoveToNext();
  EXPECT_EQ(l.GetCurData(), 0);
  l.Del(4);
  EXPECT_EQ(l.GetCur(), 3);
  l.DelTail();
  EXPECT_EQ(l.GetCur(), 5);
  l.DelHead();
  EXPECT_EQ(l.GetCur(), -1);
  EXPECT_EQ(KeysOf(l), (Ints{1, 5, 6, 3, 9}));
  EXPECT_TRUE(l.Verify());
  // The library's removal loop visits every element once.
  for (l.MoveToFirst(); !l.IsOut(); l.MoveToNext())
    if (l.GetCurData() % 3 == 0) l.DelCur();
  EXPECT_EQ(KeysOf(l), (Ints{1, 5}));
  EXPECT_EQ(l.FindDel(1), 1);
  EXPECT_EQ(l.FindDel(5), 1);
  EXPECT_TRUE(l.IsEmpty());
  EXPECT_TRUE(l.Verify());
}

TYPED_TEST(ListKinds, RootOperationsWorkThroughThePrimitives) {
  TypeParam l = Make<TypeParam>({10, 20, 30});
  EXPECT_FALSE(l.BFindTo(25));
  EXPECT_EQ(l.GetCur(), 2);
  EXPECT_FALSE(l.BFindTo(35));
  EXPECT_EQ(l.GetCur(), -1);  // past the end is the sentinel: InsertCur appends from there
  EXPECT_FALSE(l.BFindTo(5));
  EXPECT_EQ(l.GetCur(), 0);
  EXPECT_TRUE(l.BFindTo(20));
  EXPECT_EQ(l.GetCur(), 1);
  EXPECT_EQ(l.BFind(30), 2);
  EXPECT_EQ(l.BFind(31), -1);
  EXPECT_FALSE(l.SortInto(20, false));
  for (int x : {35, 5, 20, 25}) EXPECT_TRUE(l.SortInto(x, true));
  EXPECT_EQ(KeysOf(l), (Ints{5, 10, 20, 20, 25, 30, 35}));
  EXPECT_EQ(l.Find(20, 3), 3);
  EXPECT_EQ(l.Find(20, 4), -1);
  ZoQuene<long> q;
  EXPECT_EQ(l.Find(20, q), 2);
  EXPECT_TRUE(l.FindTo(25, 1));
  EXPECT_EQ(l.GetCur(), 4);
  EXPECT_FALSE(l.FindTo(5, 1));
  EXPECT_EQ(l.GetCur(), -1);
  EXPECT_EQ(l.FindOrAppend(40), 7);
  l.FindOrInsertHead(0);
  EXPECT_EQ(l.GetAt(0), 0);

  // The growing operator[] appends elements and moves the cursor.
  TypeParam g;
  g[5] = 3;
  EXPECT_EQ(g.GetLength(), 6);
  EXPECT_EQ(g.GetCur(), 5);
  g.Exchange(5, 0);
  EXPECT_EQ(g.GetAt(0), 3);
  EXPECT_EQ(g.GetCur(), 5);
  EXPECT_TRUE(g.Verify());

  TypeParam m = Make<TypeParam>({1, 2, 3});
  EXPECT_TRUE(m.Move(2, 0));
  EXPECT_EQ(KeysOf(m), (Ints{3, 1, 2}));
  EXPECT_EQ(m.GetCur(), 0);
  EXPECT_TRUE(m.Move(0, 2));
  EXPECT_EQ(KeysOf(m), (Ints{1, 3, 2}));
  EXPECT_EQ(m.GetCur(), 1);
  EXPECT_FALSE(m.Move(1, 2));
  m.Reverse();
  EXPECT_EQ(KeysOf(m), (Ints{2, 3, 1}));
  m.SetAll(4);
  EXPECT_EQ(KeysOf(m), (Ints{4, 4, 4}));
  EXPECT_EQ(m.GetCur(), -1);
  EXPECT_TRUE(m.Verify());
}

TYPED_TEST(ListKinds, BulkOperationsBetweenArraysAndLists) {
  TypeParam l = Make<TypeParam>({1, 2, 3, 4, 5});
  ZoDynArray<int> a;
  l.Left(2, a);
  EXPECT_EQ(KeysOf(a), (Ints{1, 2}));
  l.Right(2, a);
  EXPECT_EQ(KeysOf(a), (Ints{4, 5}));
  l.Mid(1, 3, a);
  EXPECT_EQ(KeysOf(a), (Ints{2, 3, 4}));

  TypeParam dst = Make<TypeParam>({9, 9, 9, 9, 9, 9});
  a.Left(2, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{2, 3}));
  EXPECT_TRUE(dst.Verify());
  l.Mid(2, 4, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{3, 4, 5}));
  dst.Right(2, dst);
  EXPECT_EQ(KeysOf(dst), (Ints{4, 5}));
  EXPECT_TRUE(dst.Verify());

  dst << a;
  EXPECT_EQ(KeysOf(dst), (Ints{4, 5, 2, 3, 4}));
  EXPECT_EQ(dst.GetCur(), -1);
  dst << dst;
  EXPECT_EQ(KeysOf(dst), (Ints{4, 5, 2, 3, 4, 4, 5, 2, 3, 4}));
  a << l;
  EXPECT_EQ(KeysOf(a), (Ints{2, 3, 4, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(dst.Verify());

  ZoArray<int> fixed(l);
  EXPECT_EQ(fixed.GetLength(), 5);
  EXPECT_EQ(fixed[4], 5);
  TypeParam fromFixed;
  fromFixed.DeepCopy(fixed);
  fromFixed << fixed;
  EXPECT_EQ(KeysOf(fromFixed), (Ints{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));

  TypeParam copy(l);
  EXPECT_TRUE(copy == l);
  ZoDynArray<int> same(l);
  EXPECT_TRUE(same == l);
  EXPECT_TRUE(l == same);
  TypeParam fromArray(same);
  EXPECT_EQ(KeysOf(fromArray), KeysOf(l));
  copy = a;
  EXPECT_EQ(KeysOf(copy), KeysOf(a));
  copy = l;
  copy.MoveTo(2);
  copy.SetCurData(7);
  EXPECT_TRUE(copy != l);
  EXPECT_TRUE(Make<TypeParam>({9}) < l);
  EXPECT_TRUE(copy.Verify());
}

TYPED_TEST(ListKinds, NodeTransferCutsAndRelinks) {
  TypeParam src = Make<TypeParam>({1, 2, 3, 4});
  TypeParam dst = Make<TypeParam>({7, 8});
  dst.MoveTo(0);
  const ZoListNode<int>* moved = reinterpret_cast<const ZoListNode<int>*>(src.GetTo(2));
  EXPECT_EQ(dst.Conbine(src, 2), 4);
  EXPECT_EQ(KeysOf(dst), (Ints{7, 8, 3, 4}));
  EXPECT_EQ(KeysOf(src), (Ints{1, 2}));
  EXPECT_EQ(reinterpret_cast<const ZoListNode<int>*>(dst.GetTo(2)), moved);  // moved, not copied
  EXPECT_EQ(dst.GetCur(), 0);
  EXPECT_EQ(src.GetCur(), 1);
  EXPECT_EQ(dst.Conbine(src, 2), 4);  // not a valid index of src
  EXPECT_EQ(dst.Conbine(dst, 1), 4);
  EXPECT_EQ(dst.Conbine(src, 0), 6);
  EXPECT_TRUE(src.IsEmpty());
  EXPECT_EQ(src.GetCur(), -1);
  EXPECT_TRUE(src.Verify() && dst.Verify());

  dst.SplitAt(3, src);
  EXPECT_EQ(KeysOf(dst), (Ints{7, 8, 3}));
  EXPECT_EQ(KeysOf(src), (Ints{4, 1, 2}));
  src.MoveTo(1);
  src.SplitAtCur(dst);
  EXPECT_EQ(KeysOf(dst), (Ints{7, 8, 3, 1, 2}));
  EXPECT_TRUE(src.Verify() && dst.Verify());

  // Detaching unlinks nodes without destroying them; the caller takes them over.
  ZoListNode<int>* sentinel = dst.GetCurPos();
  while (dst.GetCur() != -1) {
    dst.MoveToNext();
    sentinel = dst.GetCurPos();
  }
  dst.MoveTo(2);
  ZoListNode<int>* cut = dst.GetCurPos()->m_pNext;
  dst.DetachAfterCur();
  EXPECT_EQ(KeysOf(dst), (Ints{7, 8, 3}));
  EXPECT_EQ(dst.GetCur(), 2);
  EXPECT_TRUE(dst.Verify());
  FreeChain<TypeParam>(cut, sentinel);
  dst.MoveToFirst();
  cut = dst.GetCurPos();
  dst.Detach();
  EXPECT_TRUE(dst.IsEmpty());
  EXPECT_TRUE(dst.Verify());
  FreeChain<TypeParam>(cut, sentinel);
  dst.Append(5);
  EXPECT_EQ(KeysOf(dst), (Ints{5}));
}

TYPED_TEST(ListKinds, RotateAndReverseRelinkInPlace) {
  TypeParam l = Make<TypeParam>({1, 2, 3});
  l.Rotate(0, 1);
  EXPECT_EQ(KeysOf(l), (Ints{3, 1, 2}));
  EXPECT_EQ(l.GetCur(), 0);
  l = Make<TypeParam>({1, 2, 3});
  l.Rotate(2, 0);
  EXPECT_EQ(KeysOf(l), (Ints{3, 1, 2}));
  l.Rotate(1, -4);
  EXPECT_EQ(KeysOf(l), (Ints{2, 3, 1}));
  l.MoveTo(2);
  l.Rotate(1, 1);
  EXPECT_EQ(l.GetCur(), 2);
  EXPECT_TRUE(l.Verify());

  TypeParam r = Make<TypeParam>({1, 2, 3, 4, 5});
  r.MoveTo(1);
  const ZoListNode<int>* current = r.GetCurPos();
  r.ReverseList();
  EXPECT_EQ(KeysOf(r), (Ints{5, 4, 3, 2, 1}));
  EXPECT_EQ(r.GetCurPos(), current);
  EXPECT_EQ(r.GetCur(), 3);  // the cursor follows its node
  EXPECT_EQ(r.GetCurData(), 2);
  EXPECT_TRUE(r.Verify());
  r.MoveToPre();
  EXPECT_EQ(r.GetCurData(), 3);
  r.MoveTo(-1);
  r.ReverseList();
  EXPECT_EQ(r.GetCur(), -1);
  r.MoveToPre();
  EXPECT_EQ(r.GetCurData(), 5);
  EXPECT_TRUE(r.Verify());
  TypeParam empty;
  empty.Rotate(0, 1);
  empty.ReverseList();
  EXPECT_TRUE(empty.Verify());
}

TYPED_TEST(ListKinds, SetLengthNeverLosesTheKeptElements) {
  TypeParam l = Make<TypeParam>({1, 2, 3, 4});
  l.SetLength(2, false);  // the flag is ignored: content is kept
  EXPECT_EQ(KeysOf(l), (Ints{1, 2}));
  l.SetLength(5, false);
  EXPECT_EQ(l.GetLength(), 5);
  EXPECT_EQ(l.GetAt(1), 2);
  EXPECT_EQ(l.GetAt(4), 0);
  l.DecreaseSize(1);  // a list never shrinks through ReAllocate
  EXPECT_EQ(l.GetLength(), 5);
  l.IncreaseSize(1);
  EXPECT_EQ(l.GetLength(), 6);
  l.SetLength(0, true);
  EXPECT_TRUE(l.IsEmpty());
  EXPECT_TRUE(l.Verify());
}

TYPED_TEST(ListKinds, SortIsStable) {
  ZoDList<Counted> objects;
  objects.Append(Counted(2, 0));
  objects.Append(Counted(1, 1));
  objects.Append(Counted(2, 2));
  objects.Sort(true);
  EXPECT_EQ(CountedTags(objects), (Ints{1, 0, 2}));
  EXPECT_EQ(objects.GetCur(), -1);
  objects.Sort(false);
  EXPECT_EQ(CountedTags(objects), (Ints{0, 2, 1}));

  std::mt19937 rng(5);
  TypeParam l;
  std::vector<std::pair<int, int>> mirror;
  for (int i = 0; i < 200; ++i) {
    const int key = static_cast<int>(rng() % 16);
    l.Append(key * 1000 + i);
    mirror.emplace_back(key, i);
  }
  for (bool ascending : {true, false}) {
    TypeParam s(l);
    // Compare keys only: values with equal keys must keep their order.
    if (ascending)
      s.Sort(+[](const int& a, const int& b) { return a / 1000 - b / 1000; });
    else
      s.Sort(+[](const int& a, const int& b) { return b / 1000 - a / 1000; });
    auto expected = mirror;
    std::stable_sort(expected.begin(), expected.end(),
                     [ascending](auto& x, auto& y) { return ascending ? x.first < y.first : x.first > y.first; });
    Ints want;
    for (auto& e : expected) want.push_back(e.first * 1000 + e.second);
    EXPECT_EQ(KeysOf(s), want);
    EXPECT_TRUE(s.Verify());
  }
  TypeParam plain = Make<TypeParam>({3, 1, 2, 1});
  plain.Sort(false);
  EXPECT_EQ(KeysOf(plain), (Ints{3, 2, 1, 1}));
  plain.Sort(true);
  EXPECT_EQ(KeysOf(plain), (Ints{1, 1, 2, 3}));
  EXPECT_TRUE(plain.Verify());
}

TEST(List, SortTerminatesOnComparisonsThatAreNoOrder) {
  ZoList<Chaotic> a;
  ZoDList<Cyclic> b;
  for (int i = 0; i < 50; ++i) {
    a.Append(Chaotic(i));
    b.Append(Cyclic(i));
  }
  a.Sort(true);
  b.Sort(false);
  long sumA = 0, sumB = 0;
  for (const Chaotic* p = a.GetFirst(); p; p = a.GetNext(p)) sumA += p->value;
  for (const Cyclic* p = b.GetFirst(); p; p = b.GetNext(p)) sumB += p->value;
  EXPECT_EQ(a.GetLength(), 50);
  EXPECT_EQ(sumA, 1225);
  EXPECT_EQ(sumB, 1225);
}

TEST(List, ConbineRefusesTheOtherNodeKind) {
  ZoList<int> single;
  single << 1 << 2;
  ZoDList<int> doubly;
  doubly << 3 << 4;
  ZoList<int>& seenAsSingle = doubly;
#ifdef NDEBUG
  EXPECT_EQ(single.Conbine(seenAsSingle, 0), 2);
  EXPECT_EQ(doubly.Conbine(single, 0), 2);
  EXPECT_EQ(KeysOf(single), (Ints{1, 2}));
  EXPECT_EQ(KeysOf(doubly), (Ints{3, 4}));
#else
  EXPECT_DEATH(single.Conbine(seenAsSingle, 0), "singly and a doubly");
  EXPECT_DEATH(doubly.Conbine(single, 0), "singly and a doubly");
#endif
}

TEST(List, EveryNodeAndElementIsDestroyedOnce) {
  const long before = Counted::s_live;
  {
    ZoList<Counted> a(4);
    ZoDList<Counted> b(2);
    ZoXList<Counted> c(30, 4);
    EXPECT_EQ(Counted::s_live, before + 36 + 3);  // one element in each sentinel
    for (int i = 0; i < 10; ++i) {
      a.InsertHead(Counted(i));
      b.Append(Counted(i));
      c.Insert(i * 2, Counted(i));
    }
    b.Conbine(c, 5);
    a.Sort(true);
    b.Sort(false);
    b.DelHead();
    a.SetLength(3, true);
    c = b;
    EXPECT_TRUE(c.Verify());
  }
  EXPECT_EQ(Counted::s_live, before);
}

}  // namespace
