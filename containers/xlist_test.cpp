#include "containers/XList.h"

#include <gtest/gtest.h>

#include "containers/test_support.h"

namespace {

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
  EXPECT_EQ(l.Groups(), 2);
  EXPECT_TRUE(l.Verify());  // entry g is the node at g * 25
  l.DelTail();
  EXPECT_EQ(l.Groups(), 1);
  for (int i = 25; i < 40; ++i) l.Append(i);
  l.MoveTo(30);
  EXPECT_EQ(l.GetCur(), 30);
  EXPECT_EQ(l.GetCurData(), 30);
  l.MoveTo(40);
  EXPECT_EQ(l.GetCur(), -1);

  l.MoveTo(26);
  ZoListNode<int>* cut = l.GetCurPos()->m_pNext;
  l.MoveTo(-1);
  const ZoListNode<int>* sentinel = l.GetCurPos();
  l.DetachAfter(26);
  EXPECT_EQ(l.Groups(), 2);
  EXPECT_TRUE(l.Verify());
  FreeChain(cut, sentinel);

  // An insertion at the head moves every entry back to the node that now stands at g * G.
  const ZoListNode<int>* oldFirst = l.Entry(0);
  l.InsertHead(-1);
  EXPECT_EQ(l.Entry(0)->m_pNext, oldFirst);
  EXPECT_EQ(l.Entry(1)->m_data, 24);
  EXPECT_TRUE(l.Verify());

  // Copies keep the source's group size and index their own nodes.
  ZoXList<int> copy(l);
  ZoXList<int> other(0, 4, 10);
  other = l;
  EXPECT_EQ(other.GetGroupSize(), 25);
  EXPECT_TRUE(copy.Verify() && other.Verify());
  EXPECT_TRUE(other == l);
}

}  // namespace
