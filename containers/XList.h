// The indexed list: a doubly linked list with a group index, an array of pointers to every G-th
// node, so that positioning by index jumps close to the target instead of walking from the
// cursor. The index is kept exact through every change of the node sequence.
#pragma once

#include <cassert>

#include "containers/DynArray.h"
#include "containers/List.h"

template <class T>
class ZoXList : public ZoDList<T> {
  using Base = ZoDList<T>;
  using Root = ZoDynArrayBase<T>;

 public:
  using Node = ZoListNode<T>;

  // REQUIRES: groupSize >= 1
  ZoXList(long n = 0, long groupSize = 25, long indexAllocUnit = 100)
      : Base(n), m_group(0, indexAllocUnit), m_nGroupSize(groupSize) {
    assert(groupSize >= 1);
    UpdateGroup(0);
  }
  // The copy keeps the source's group size; its index covers its own nodes.
  ZoXList(const ZoXList& src) : Base(), m_group(0, src.m_group.GetAllocUnit()), m_nGroupSize(src.m_nGroupSize) {
    this->DeepCopy(src);
  }
  ZoXList(const Root& src) : Base(), m_group(0, 100), m_nGroupSize(25) { this->DeepCopy(src); }
  ZoXList& operator=(const ZoXList& src) {
    if (&src != this) {
      m_group.Reset();
      m_nGroupSize = src.m_nGroupSize;
      UpdateGroup(0);
      this->DeepCopy(src);
    }
    return *this;
  }
  ZoXList& operator=(const Root& src) {
    this->DeepCopy(src);
    return *this;
  }
  ~ZoXList() override {}

  void Reset() override {
    m_group.Reset();
    Base::Reset();
  }
  void MoveTo(long i) override {
    const long g = i / m_nGroupSize;
    if (g >= 0 && g < m_group.GetLength()) {
      this->m_pCurNode = m_group.GetAt(g);
      this->m_nCur = g * m_nGroupSize;
    }
    Base::MoveTo(i);
  }
  void DelCur() override;
  void InsertAfterCur(const T& x) override;
  void DetachAfterCur() override {
    Base::DetachAfterCur();
    m_group.ReAllocate(GroupsFor(this->m_nLength));
  }
  long Conbine(ZoList<T>& src, long from) override {
    Base::Conbine(src, from);
    UpdateGroup(m_group.GetLength());
    return this->m_nLength;
  }
  void ReverseList() override {
    m_group.Reset();
    Base::ReverseList();
    UpdateGroup(0);
  }
  void Rotate(long from, long to) override {
    m_group.Reset();
    Base::Rotate(from, to);
    UpdateGroup(0);
  }

  long GetGroupSize() const { return m_nGroupSize; }
  // True when the list is sound and index entry g is the node at position g * G, one entry
  // per started group.
  bool Verify() const;

 protected:
  // Appends entries for the groups from g on, walking the nodes without moving the cursor,
  // so that operations which promise a cursor position keep it. REQUIRES: g entries exist.
  void UpdateGroup(long g);
  long GroupsFor(long length) const { return (length + m_nGroupSize - 1) / m_nGroupSize; }
  // The first entry whose position g * G is at or after position c.
  long FirstGroupFrom(long c) const { return c == 0 ? 0 : (c - 1) / m_nGroupSize + 1; }
  static Node* Prev(Node* node) { return static_cast<ZoDListNode<T>*>(node)->m_pPrev; }

  ZoDynArray<Node*> m_group;
  long m_nGroupSize;
};

template <class T>
void ZoXList<T>::InsertAfterCur(const T& x) {
  Base::InsertAfterCur(x);
  // Positions at or after the new node moved up by one: each entry steps back to keep its position.
  const long groups = m_group.GetLength();
  for (long g = FirstGroupFrom(this->m_nCur); g < groups; ++g) m_group[g] = Prev(m_group[g]);
  if ((this->m_nLength - 1) % m_nGroupSize == 0) m_group.Append(this->m_pTail);
}

template <class T>
void ZoXList<T>::DelCur() {
  assert(this->m_nCur != -1);
  // The last group loses its only node: its entry goes first.
  if ((this->m_nLength - 1) % m_nGroupSize == 0) m_group.ReAllocate(m_group.GetLength() - 1);
  const long groups = m_group.GetLength();
  for (long g = FirstGroupFrom(this->m_nCur); g < groups; ++g) m_group[g] = m_group[g]->m_pNext;
  Base::DelCur();
}

template <class T>
void ZoXList<T>::UpdateGroup(long g) {
  assert(m_group.GetLength() == g);
  const long length = this->m_nLength;
  long p = g * m_nGroupSize;
  if (p >= length) return;
  Node* node = this->m_pHead->m_pNext;
  if (g > 0) {
    node = m_group.GetAt(g - 1);
    for (long k = 0; k < m_nGroupSize; ++k) node = node->m_pNext;
  }
  for (;;) {
    m_group.Append(node);
    p += m_nGroupSize;
    if (p >= length) break;
    for (long k = 0; k < m_nGroupSize; ++k) node = node->m_pNext;
  }
}

template <class T>
bool ZoXList<T>::Verify() const {
  if (!Base::Verify() || m_group.GetLength() != GroupsFor(this->m_nLength)) return false;
  const Node* node = this->m_pHead->m_pNext;
  for (long p = 0, g = 0; p < this->m_nLength; ++p, node = node->m_pNext)
    if (p % m_nGroupSize == 0 && m_group.GetAt(g++) != node) return false;
  return true;
}
