#include "containers/List.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "containers/test_support.h"

namespace {

// What the lists do on top of the root's vocabulary (tested in dynarraybase_test.cpp): the
// ring with its sentinel, node-level insertion, transfer and relinking, their own sort.
template <class List>
class ListKinds : public ::testing::Test {
 protected:
  // Frees nodes cut off by a detaching operation, up to the sentinel where the chain ends.
  static void FreeChain(ZoListNode<int>* node, const ZoListNode<int>* stop) {
    using Node = std::conditional_t<std::is_same_v<List, ZoList<int>>, ZoListNode<int>, ZoDListNode<int>>;
    while (node != stop) {
      ZoListNode<int>* next = node->m_pNext;
      delete static_cast<Node*>(node);
      node = next;
    }
  }
};
using Kinds = ::testing::Types<ZoList<int>, ZoDList<int>, SmallGroupXList<int, 1>, SmallGroupXList<int>, ZoXList<int>>;
TYPED_TEST_SUITE(ListKinds, Kinds);

TYPED_TEST(ListKinds, CursorMovesAroundTheRing) {
  TypeParam three(3);
  EXPECT_EQ(three.GetLength(), 3);
  EXPECT_EQ(three.GetCur(), -1);

  TypeParam l;
  l.MoveToFirst();
  EXPECT_EQ(l.GetCur(), -1);
  l.InsertCur(1);  // with the cursor at -1 it appends
  l.InsertCur(2);  // before the current element
  l.MoveTo(-1);
  l.InsertCur(3);
  EXPECT_EQ(KeysOf(l), (Ints{2, 1, 3}));
  // Past the end and before the beginning are one state, the sentinel.
  l.MoveToLast();
  l.MoveToNext();
  EXPECT_EQ(l.GetCur(), -1);
  l.MoveToNext();
  EXPECT_EQ(l.GetCurData(), 2);
  l.MoveToPre();
  l.MoveToPre();
  EXPECT_EQ(l.GetCurData(), 3);
  for (long i : {2L, 0L, 1L, 5L, -3L, 2L}) {
    l.MoveTo(i);
    const long cur = i >= 0 && i < 3 ? i : -1;
    for (long j = 0; j < 3; ++j) EXPECT_EQ(l.GetAt(j), (Ints{2, 1, 3}[j]));
    EXPECT_EQ(l.GetCur(), cur);  // GetAt walks without moving the cursor
    EXPECT_TRUE(l.Verify());
  }
  l.MoveTo(0);
  EXPECT_EQ(*l.GetPre(l.GetLast()), 1);
  EXPECT_EQ(l.GetPre(l.GetFirst()), nullptr);
  EXPECT_EQ(l.GetNext(l.GetLast()), nullptr);
}

// Long random sequences of every operation that changes the node sequence, checked after each
// step against a plain vector and the list's own consistency check (links and group index).
TYPED_TEST(ListKinds, MixedOperationsKeepTheListSound) {
  std::mt19937 rng(31);
  auto pick = [&rng](long n) { return n <= 0 ? 0L : static_cast<long>(rng() % static_cast<unsigned>(n)); };
  TypeParam l, other;
  std::vector<int> mirror, otherMirror;
  int next = 0;
  for (int step = 0; step < 3000; ++step) {
    const long n = static_cast<long>(mirror.size());
    const int op = static_cast<int>(rng() % 12);
    switch (op) {
      case 0:
        l.Append(next);
        mirror.push_back(next++);
        break;
      case 1: {
        const long i = pick(n + 1);
        l.Insert(i, next);
        mirror.insert(mirror.begin() + i, next++);
        break;
      }
      case 2: {
        const long i = pick(n + 1) - 1;
        l.MoveTo(i);
        l.InsertAfterCur(next);
        mirror.insert(mirror.begin() + (i + 1), next++);
        ASSERT_EQ(l.GetCur(), i + 1);
        break;
      }
      case 3:
      case 4:
        if (n > 0) {
          const long i = pick(n);
          l.Del(i);
          mirror.erase(mirror.begin() + i);
          ASSERT_EQ(l.GetCur(), i - 1);
        }
        break;
      case 5:
        if (n > 0) {
          const long from = pick(n);
          other.Conbine(l, from);
          otherMirror.insert(otherMirror.end(), mirror.begin() + from, mirror.end());
          mirror.resize(static_cast<size_t>(from));
        }
        break;
      case 6:
        if (!otherMirror.empty()) {
          const long from = pick(static_cast<long>(otherMirror.size()));
          other.SplitAt(from, l);
          mirror.insert(mirror.end(), otherMirror.begin() + from, otherMirror.end());
          otherMirror.resize(static_cast<size_t>(from));
        }
        break;
      case 7:
        l.ReverseList();
        std::reverse(mirror.begin(), mirror.end());
        break;
      case 8:
        if (n > 0) {
          const long from = pick(n), to = pick(n);
          l.Rotate(from, to);
          if (from != to) std::rotate(mirror.begin(), mirror.begin() + ((from - to + n) % n), mirror.end());
        }
        break;
      case 9: {
        const long len = pick(n + 8);
        l.SetLength(len, true);
        mirror.resize(static_cast<size_t>(len), 0);
        break;
      }
      case 10:
        if (n > 0 && step % 7 == 0) {
          const long i = pick(n);
          l.MoveTo(i);
          ZoListNode<int>* cut = l.GetCurPos()->m_pNext;
          const ZoListNode<int>* sentinel = l.GetCurPos();
          for (long k = i; k < n; ++k) sentinel = sentinel->m_pNext;
          l.DetachAfterCur();
          this->FreeChain(cut, sentinel);
          mirror.resize(static_cast<size_t>(i + 1));
        }
        break;
      default:
        if (step % 50 == 0) {
          l.Reset();
          mirror.clear();
        }
        break;
    }
    ASSERT_TRUE(l.Verify()) << "step " << step << " op " << op;
    ASSERT_TRUE(other.Verify()) << "step " << step << " op " << op;
    ASSERT_EQ(KeysOf(l), mirror) << "step " << step << " op " << op;
    ASSERT_EQ(KeysOf(other), otherMirror) << "step " << step << " op " << op;
    if (!mirror.empty()) {
      const long i = pick(static_cast<long>(mirror.size()));
      l.MoveTo(i);
      ASSERT_EQ(l.GetCur(), i);
      ASSERT_EQ(l.GetCurData(), mirror[i]);
      const long j = pick(static_cast<long>(mirror.size()));
      ASSERT_EQ(l.GetAt(j), mirror[j]);
    }
  }
}

// The contents after transfers, cuts and relinking are checked by the mixed operations above;
// here: node identity, refusals and where the cursors end.
TYPED_TEST(ListKinds, NodeTransferMovesNodesAndRelinksInPlace) {
  TypeParam src = Make<TypeParam>({1, 2, 3, 4});
  TypeParam dst = Make<TypeParam>({7, 8});
  dst.MoveTo(0);
  const int* moved = src.GetTo(2);
  EXPECT_EQ(dst.Conbine(src, 2), 4);
  EXPECT_EQ(dst.GetTo(2), moved);  // moved, not copied
  EXPECT_EQ(dst.GetCur(), 0);
  EXPECT_EQ(src.GetCur(), 1);
  EXPECT_EQ(dst.Conbine(src, 2), 4);  // not a valid index of src
  EXPECT_EQ(dst.Conbine(dst, 1), 4);
  EXPECT_EQ(KeysOf(src), (Ints{1, 2}));

  // Detach empties the list without destroying a node; the caller takes them over.
  dst.MoveTo(-1);
  const ZoListNode<int>* sentinel = dst.GetCurPos();
  dst.MoveToFirst();
  ZoListNode<int>* cut = dst.GetCurPos();
  dst.Detach();
  EXPECT_TRUE(dst.IsEmpty() && dst.Verify());
  this->FreeChain(cut, sentinel);

  TypeParam r = Make<TypeParam>({1, 2, 3, 4, 5});
  r.MoveTo(1);
  const ZoListNode<int>* current = r.GetCurPos();
  r.ReverseList();
  EXPECT_EQ(r.GetCurPos(), current);
  EXPECT_EQ(r.GetCur(), 3);  // the cursor follows its node
  r.MoveToPre();
  EXPECT_EQ(r.GetCurData(), 3);
  r.Rotate(0, 1);
  EXPECT_EQ(KeysOf(r), (Ints{1, 5, 4, 3, 2}));
  EXPECT_EQ(r.GetCur(), 0);
  r.Rotate(1, -3);  // -3 stands for index 2
  EXPECT_EQ(KeysOf(r), (Ints{2, 1, 5, 4, 3}));
  r.MoveTo(2);
  r.Rotate(3, 3);  // nothing to do
  EXPECT_EQ(r.GetCur(), 2);
  EXPECT_TRUE(r.Verify());
}

TYPED_TEST(ListKinds, SetLengthKeepsTheElementsAndNeverShrinksByReAllocate) {
  TypeParam l = Make<TypeParam>({1, 2, 3, 4});
  l.SetLength(2, false);  // the flag is ignored: content is kept
  l.DecreaseSize(1);
  EXPECT_EQ(KeysOf(l), (Ints{1, 2}));
}

TEST(List, ConbineRefusesTheOtherNodeKind) {
  ZoList<int> single = Make<ZoList<int>>({1, 2});
  ZoDList<int> doubly = Make<ZoDList<int>>({3, 4});
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
