#include "containers/XList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "containers/OwningList.h"
#include "containers/test_support.h"

namespace {

using Ints = std::vector<int>;

// Exposes the group index to check where its entries point.
class ProbedXList : public ZoXList<int> {
 public:
  using ZoXList<int>::ZoXList;
  long Groups() const { return m_group.GetLength(); }
  const ZoListNode<int>* Entry(long g) const { return m_group.GetAt(g); }
};

void FreeChain(ZoListNode<int>* node, const ZoListNode<int>* stop) {
  while (node != stop) {
    ZoListNode<int>* next = node->m_pNext;
    delete static_cast<ZoDListNode<int>*>(node);
    node = next;
  }
}

TEST(IndexedList, GroupEntriesFollowTheNodes) {
  ProbedXList l;
  for (int i = 0; i < 26; ++i) l.Append(i);
  ASSERT_EQ(l.Groups(), 2);
  EXPECT_EQ(l.Entry(0), reinterpret_cast<const ZoListNode<int>*>(l.GetTo(0)));
  EXPECT_EQ(l.Entry(1), reinterpret_cast<const ZoListNode<int>*>(l.GetTo(25)));
  l.DelTail();
  EXPECT_EQ(l.Groups(), 1);
  l.Append(25);
  for (int i = 26; i < 40; ++i) l.Append(i);
  l.MoveTo(30);
  EXPECT_EQ(l.GetCur(), 30);
  EXPECT_EQ(l.GetCurData(), 30);
  l.MoveTo(3);
  EXPECT_EQ(l.GetCurData(), 3);
  l.MoveTo(40);
  EXPECT_EQ(l.GetCur(), -1);

  l.MoveTo(26);
  ZoListNode<int>* cut = l.GetCurPos()->m_pNext;
  const ZoListNode<int>* sentinel = cut;
  for (long i = 27; i < 40; ++i) sentinel = sentinel->m_pNext;
  l.DetachAfter(26);
  EXPECT_EQ(l.GetLength(), 27);
  EXPECT_EQ(l.Groups(), 2);
  EXPECT_TRUE(l.Verify());
  FreeChain(cut, sentinel);

  // An insertion at the head moves every entry back to the node that now stands at g * G.
  const ZoListNode<int>* oldFirst = l.Entry(0);
  l.InsertHead(-1);
  EXPECT_EQ(l.Entry(0), reinterpret_cast<const ZoListNode<int>*>(l.GetFirst()));
  EXPECT_EQ(l.Entry(0)->m_pNext, oldFirst);
  EXPECT_EQ(l.Entry(1)->m_data, 24);
  EXPECT_TRUE(l.Verify());
  l.MoveTo(0);
  l.DelCur();
  EXPECT_EQ(l.Entry(1)->m_data, 25);
  EXPECT_TRUE(l.Verify());

  ZoXList<int> copy(l);
  EXPECT_EQ(copy.GetGroupSize(), 25);
  EXPECT_TRUE(copy.Verify());
  ZoXList<int> other(0, 4, 10);
  other = l;
  EXPECT_EQ(other.GetGroupSize(), 25);
  EXPECT_TRUE(other.Verify());
  EXPECT_TRUE(other == l);
}

// Long random sequences of every operation that changes the node sequence, checked after each
// step against a plain vector and the index's own consistency check.
void RunMixedOperations(long groupSize, unsigned seed) {
  std::mt19937 rng(seed);
  auto pick = [&rng](long n) { return n <= 0 ? 0L : static_cast<long>(rng() % static_cast<unsigned>(n)); };
  ZoXList<int> l(0, groupSize, 3);
  ZoXList<int> other(0, groupSize + 1);
  std::vector<int> mirror, otherMirror;
  int next = 0;
  for (int step = 0; step < 3000; ++step) {
    const long n = static_cast<long>(mirror.size());
    const int op = static_cast<int>(rng() % 15);
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
        if (n > 1) {
          const long from = pick(n), to = pick(n + 1);
          if (l.Move(from, to)) {
            const int v = mirror[from];
            mirror.insert(mirror.begin() + to, v);
            mirror.erase(mirror.begin() + (from <= to ? from : from + 1));
          }
        }
        break;
      case 11:
        if (n > 1 && step % 5 == 0) {
          l.Sort(step % 2 == 0);
          if (step % 2 == 0)
            std::stable_sort(mirror.begin(), mirror.end());
          else
            std::stable_sort(mirror.begin(), mirror.end(), std::greater<int>());
        }
        break;
      case 12:
        if (n > 0 && step % 7 == 0) {
          const long i = pick(n);
          l.MoveTo(i);
          ZoListNode<int>* cut = l.GetCurPos()->m_pNext;
          const ZoListNode<int>* sentinel = l.GetCurPos();
          for (long k = i; k < n; ++k) sentinel = sentinel->m_pNext;
          l.DetachAfterCur();
          FreeChain(cut, sentinel);
          mirror.resize(static_cast<size_t>(i + 1));
        }
        break;
      case 13:
        if (n > 0) {
          const int v = mirror[pick(n)];
          EXPECT_EQ(l.FindDel(v), std::count(mirror.begin(), mirror.end(), v));
          mirror.erase(std::remove(mirror.begin(), mirror.end(), v), mirror.end());
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

TEST(IndexedList, IndexStaysExactThroughMixedOperations) {
  for (long groupSize : {1L, 2L, 3L, 7L, 25L}) {
    SCOPED_TRACE(groupSize);
    RunMixedOperations(groupSize, static_cast<unsigned>(groupSize) * 31u + 1u);
    if (HasFatalFailure()) return;
  }
}

TEST(IndexedList, OwningIndexedListKeepsIndexAndObjects) {
  const long before = Counted::s_live;
  {
    ZoPXList<Counted> l(3, 2);
    EXPECT_EQ(l.GetDataNum(), 0);
    EXPECT_TRUE(l.Verify());
    std::mt19937 rng(9);
    for (int i = 0; i < 60; ++i) l.PlaceIn(new Counted(static_cast<int>(rng() % 10), i));
    EXPECT_TRUE(l.Verify());
    for (int i = 0; i < 20; ++i) {
      l.MoveTo(static_cast<long>(rng() % static_cast<unsigned>(l.GetLength())));
      if (i % 3 == 0)
        delete l.TakeOffCur();
      else if (i % 3 == 1)
        l.ReleaseCur();
      else
        l.DelCur();
      ASSERT_TRUE(l.Verify());
    }
    l.Sort(true);
    EXPECT_TRUE(l.Verify());
    long previous = -1;
    bool emptySeen = false;
    for (long i = 0; i < l.GetLength(); ++i) {
      if (l.IsEmptyData(i)) {
        emptySeen = true;
        continue;
      }
      EXPECT_FALSE(emptySeen) << "an object after an empty node";
      EXPECT_LE(previous, l.GetPData(i).key);
      previous = l.GetPData(i).key;
    }
    EXPECT_TRUE(emptySeen);
    ZoPXList<Counted> copy(l);
    EXPECT_TRUE(copy == l);
    EXPECT_EQ(copy.GetGroupSize(), 2);
    EXPECT_TRUE(copy.Verify());
    copy.ReverseList();
    copy.Rotate(3, 1);
    EXPECT_TRUE(copy.Verify());
    l = copy;
    EXPECT_TRUE(l == copy);
    EXPECT_TRUE(l.Verify());
  }
  EXPECT_EQ(Counted::s_live, before);
}

}  // namespace
