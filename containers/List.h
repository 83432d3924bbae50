// The linked lists of the family: a singly linked ring with a sentinel node and its doubly
// linked variant. They keep the root's index-plus-cursor model, so every root operation works
// on them through the primitives below; on top they move, cut and relink nodes in place.
#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <new>
#include <typeinfo>

#include "containers/DynArray.h"

template <class T>
class ZoListNode {
 public:
  ZoListNode() : m_data(), m_pNext(nullptr) {}
  ZoListNode(const ZoListNode& src) : m_data(src.m_data), m_pNext(src.m_pNext) {}
  ZoListNode& operator=(const ZoListNode& src) {
    m_data = src.m_data;
    m_pNext = src.m_pNext;
    return *this;
  }

  // The element stands first, so a node's address is its element's address.
  T m_data;
  ZoListNode* m_pNext;
};

template <class T>
class ZoDListNode : public ZoListNode<T> {
 public:
  ZoDListNode() : ZoListNode<T>(), m_pPrev(nullptr) {}
  ZoDListNode(const ZoDListNode& src) : ZoListNode<T>(src), m_pPrev(src.m_pPrev) {}
  ZoDListNode& operator=(const ZoDListNode& src) {
    ZoListNode<T>::operator=(src);
    m_pPrev = src.m_pPrev;
    return *this;
  }

  ZoDListNode* m_pPrev;
};

template <class T>
class ZoDList;

namespace zo_detail {

// Where the nodes that hold a list's elements come from: the heap, unless the element type's
// header gives them a store of its own. The sentinel always comes from the heap.
template <class T>
struct ListNodeStore {
  static void* Allocate(size_t size) { return ::operator new(size); }
  static void Free(void* p, size_t) { ::operator delete(p); }
};

template <class Node>
Node* NewListNode() {
  using Store = ListNodeStore<decltype(Node::m_data)>;
  void* p = Store::Allocate(sizeof(Node));
  try {
    return new (p) Node;
  } catch (...) {
    Store::Free(p, sizeof(Node));
    throw;
  }
}

template <class Node>
void DeleteListNode(Node* node) {
  node->~Node();
  ListNodeStore<decltype(Node::m_data)>::Free(node, sizeof(Node));
}

}  // namespace zo_detail

// The ring: sentinel.next is the first node and the tail's next is the sentinel. The cursor is
// -1 exactly when the current node is the sentinel; before the beginning and past the end are
// that same state.
template <class T>
class ZoList : public ZoDynArrayBase<T> {
  using Base = ZoDynArrayBase<T>;

 public:
  using Node = ZoListNode<T>;

  // Starts with n default-initialised elements; n is an element count, not a block size.
  ZoList(long n = 0) : Base(), m_pCurNode(nullptr), m_pHead(new Node), m_pTail(nullptr) {
    InitRing();
    ReAllocate(n);
  }
  ZoList(const ZoList& src) : ZoList() { this->DeepCopy(src); }
  ZoList(const Base& src) : ZoList() { this->DeepCopy(src); }
  ZoList& operator=(const ZoList& src) {
    this->DeepCopy(src);
    return *this;
  }
  ZoList& operator=(const Base& src) {
    this->DeepCopy(src);
    return *this;
  }
  // A doubly linked list frees its own nodes and sentinel first and leaves the head null.
  ~ZoList() override {
    if (m_pHead == nullptr) return;
    ZoList::Reset();
    delete m_pHead;
  }

  void SetLength(long n, bool keep) override;
  void Reset() override;
  // REQUIRES (both): the cursor stands on an element.
  T& GetCurData() override {
    assert(this->m_nCur != -1);
    return m_pCurNode->m_data;
  }
  void SetCurData(const T& x) override {
    assert(this->m_nCur != -1);
    m_pCurNode->m_data = x;
  }
  void MoveToFirst() override {
    m_pCurNode = m_pHead->m_pNext;
    this->m_nCur = m_pCurNode == m_pHead ? -1 : 0;
  }
  void MoveToNext() override {
    m_pCurNode = m_pCurNode->m_pNext;
    this->m_nCur = m_pCurNode == m_pHead ? -1 : this->m_nCur + 1;
  }
  // Walks from the front: a singly linked node does not know its predecessor.
  void MoveToPre() override {
    if (this->m_nCur == -1)
      MoveToLast();
    else
      MoveTo(this->m_nCur - 1);
  }
  void MoveToLast() override {
    m_pCurNode = m_pTail;
    this->m_nCur = this->m_nLength - 1;
  }
  void MoveTo(long i) override;
  const T* GetFirst() const override { return this->m_nLength > 0 ? &m_pHead->m_pNext->m_data : nullptr; }
  const T* GetNext(const T* p) const override {
    if (p == nullptr || p == &m_pTail->m_data) return nullptr;
    return &NodeOf(p)->m_pNext->m_data;
  }
  const T* GetPre(const T* p) const override;
  const T* GetLast() const override { return this->m_nLength > 0 ? &m_pTail->m_data : nullptr; }
  // Walks from the current node without moving the cursor.
  const T& GetAt(long i) const override;
  void InsertCur(const T& x) override {
    MoveToPre();
    InsertAfterCur(x);
  }
  void Insert(long i, const T& x) override {
    MoveTo(i - 1);
    InsertAfterCur(x);
  }
  void InsertHead(const T& x) override {
    MoveTo(-1);
    InsertAfterCur(x);
  }
  long Append(const T& x) override {
    MoveToLast();
    InsertAfterCur(x);
    return this->m_nLength - 1;
  }
  void DelCur() override;
  void Sort(int (*cmp)(const T&, const T&)) override {
    SortValues([cmp](const T& e, const T& x) { return cmp(e, x) > 0; });
  }
  void Sort(bool ascending) override {
    if (ascending)
      SortValues([](const T& e, const T& x) { return e > x; });
    else
      SortValues([](const T& e, const T& x) { return x > e; });
  }
  // Links a new node after the current one (at the head when the cursor is -1) and moves
  // the cursor onto it.
  virtual void InsertAfterCur(const T& x);
  // Cuts the ring after the current node; the cut-off nodes are unlinked, not destroyed.
  virtual void DetachAfterCur();
  // Moves src's nodes from index from to its end behind this list's tail. Returns the new
  // length; refused (nothing changes) for an invalid from or a list of the other node kind.
  virtual long Conbine(ZoList& src, long from);
  // A list's nodes can only join a list of the same kind; this is caught at compile time
  // where the types show it and by Conbine itself otherwise.
  long Conbine(ZoDList<T>& src, long from) = delete;
  // Relinks the nodes in reverse order. The current node stays current and the cursor
  // becomes its new index, so cursor and node keep agreeing.
  virtual void ReverseList();
  // Rotates the ring so that the element at from ends at to; the cursor ends on the first node.
  virtual void Rotate(long from, long to);

  Node* GetCurPos() const { return m_pCurNode; }
  void DetachAfter(long i) {
    MoveTo(i);
    DetachAfterCur();
  }
  // Empties the list without destroying any node.
  void Detach() {
    m_pCurNode = m_pHead;
    this->m_nCur = -1;
    DetachAfterCur();
  }
  void SplitAtCur(ZoList& dst) { dst.Conbine(*this, this->m_nCur); }
  void SplitAt(long i, ZoList& dst) {
    MoveTo(i);
    SplitAtCur(dst);
  }
  // True when the ring, the tail, the length and the cursor agree with each other.
  bool Verify() const;

 protected:
  // The doubly linked list brings its own sentinel.
  explicit ZoList(Node* sentinel) : Base(), m_pCurNode(nullptr), m_pHead(sentinel), m_pTail(nullptr) { InitRing(); }

  // Grows with copies of one default-initialised value, keeping cursor and current node; a
  // list never shrinks here.
  void ReAllocate(long n) override;

  static Node* NodeOf(const T* p) { return reinterpret_cast<Node*>(const_cast<T*>(p)); }
  void InitRing() {
    m_pHead->m_pNext = m_pHead;
    m_pTail = m_pHead;
    m_pCurNode = m_pHead;
    this->m_nLength = 0;
    this->m_nCur = -1;
  }
  // Node i by a walk from the sentinel (i = -1 is the sentinel itself).
  Node* NodeAt(long i) const {
    Node* node = m_pHead;
    for (long k = -1; k < i; ++k) node = node->m_pNext;
    return node;
  }
  // The family's stable order (after(e, x): e belongs after x). The values move between nodes
  // that stay where they are, so an indexed list's index stays true; the cursor ends past the
  // end, where the family's sort walk leaves it.
  template <class After>
  void SortValues(After after);
  // Links the run first..last (count nodes) behind the tail.
  void LinkAtEnd(Node* first, Node* last, long count) {
    m_pTail->m_pNext = first;
    last->m_pNext = m_pHead;
    m_pTail = last;
    this->m_nLength += count;
  }

  Node* m_pCurNode;
  Node* m_pHead;
  Node* m_pTail;
};

template <class T>
void ZoList<T>::SetLength(long n, bool) {
  if (n <= 0)
    Reset();
  else if (n > this->m_nLength)
    ReAllocate(n);
  else
    while (this->m_nLength > n) this->DelTail();
}

template <class T>
void ZoList<T>::Reset() {
  Node* node = m_pHead->m_pNext;
  while (node != m_pHead) {
    Node* next = node->m_pNext;
    zo_detail::DeleteListNode(node);
    node = next;
  }
  InitRing();
}

template <class T>
void ZoList<T>::ReAllocate(long n) {
  if (n <= this->m_nLength) return;
  const long cur = this->m_nCur;
  Node* node = m_pCurNode;
  const T value{};
  while (this->m_nLength < n) Append(value);
  this->m_nCur = cur;
  m_pCurNode = node;
}

template <class T>
void ZoList<T>::MoveTo(long i) {
  if (i < 0 || i >= this->m_nLength) {
    m_pCurNode = m_pHead;
    this->m_nCur = -1;
  } else if (i == this->m_nLength - 1) {
    MoveToLast();
  } else {
    if (i < this->m_nCur) MoveToFirst();
    while (this->m_nCur != i) MoveToNext();
  }
}

template <class T>
const T* ZoList<T>::GetPre(const T* p) const {
  if (p == nullptr || p == GetFirst()) return nullptr;
  Node* target = NodeOf(p);
  if (m_pCurNode->m_pNext == target) return &m_pCurNode->m_data;
  Node* node = m_pHead;
  for (long k = 0; k < this->m_nLength; ++k, node = node->m_pNext)
    if (node->m_pNext == target) return node == m_pHead ? nullptr : &node->m_data;
  return nullptr;
}

template <class T>
const T& ZoList<T>::GetAt(long i) const {
  assert(this->IsValidIndex(i));
  const long cur = this->m_nCur;
  Node* node;
  if (i > cur) {
    node = m_pCurNode;
    for (long k = cur; k < i; ++k) node = node->m_pNext;
  } else if (i < cur) {
    node = NodeAt(i);
  } else {
    node = m_pCurNode;
  }
  return node->m_data;
}

template <class T>
void ZoList<T>::DelCur() {
  assert(this->m_nCur != -1);
  Node* node = m_pCurNode;
  MoveToPre();
  m_pCurNode->m_pNext = node->m_pNext;
  if (node == m_pTail) m_pTail = m_pCurNode;
  zo_detail::DeleteListNode(node);
  --this->m_nLength;
}

template <class T>
void ZoList<T>::InsertAfterCur(const T& x) {
  Node* node = zo_detail::NewListNode<Node>();
  node->m_data = x;
  node->m_pNext = m_pCurNode->m_pNext;
  m_pCurNode->m_pNext = node;
  if (m_pCurNode == m_pTail) m_pTail = node;
  ++this->m_nLength;
  m_pCurNode = node;
  ++this->m_nCur;
}

template <class T>
void ZoList<T>::DetachAfterCur() {
  m_pCurNode->m_pNext = m_pHead;
  m_pTail = m_pCurNode;
  this->m_nLength = this->m_nCur + 1;
}

template <class T>
long ZoList<T>::Conbine(ZoList& src, long from) {
  const bool sameKind = (dynamic_cast<ZoDList<T>*>(this) != nullptr) == (dynamic_cast<ZoDList<T>*>(&src) != nullptr);
  assert(sameKind && "Conbine between a singly and a doubly linked list");
  if (!sameKind || &src == this || !src.IsValidIndex(from)) return this->m_nLength;
  const long count = src.m_nLength - from;
  Node* last = src.m_pTail;
  src.MoveTo(from - 1);
  Node* first = src.m_pCurNode->m_pNext;
  src.DetachAfterCur();
  LinkAtEnd(first, last, count);
  return this->m_nLength;
}

template <class T>
void ZoList<T>::ReverseList() {
  if (this->m_nLength < 2) return;
  Node* first = m_pHead->m_pNext;
  Node* prev = m_pHead;
  Node* node = first;
  while (node != m_pHead) {
    Node* next = node->m_pNext;
    node->m_pNext = prev;
    prev = node;
    node = next;
  }
  m_pHead->m_pNext = m_pTail;
  m_pTail = first;
  if (this->m_nCur != -1) this->m_nCur = this->m_nLength - 1 - this->m_nCur;
}

template <class T>
void ZoList<T>::Rotate(long from, long to) {
  const long n = this->m_nLength;
  if (from == to || n == 0) return;
  const long k = ((from - to) % n + n) % n;
  if (k != 0) {
    Node* newFirst = NodeAt(k);
    Node* newTail = NodeAt(k - 1);
    m_pTail->m_pNext = m_pHead->m_pNext;
    m_pHead->m_pNext = newFirst;
    newTail->m_pNext = m_pHead;
    m_pTail = newTail;
  }
  MoveToFirst();
}

template <class T>
bool ZoList<T>::Verify() const {
  long count = 0;
  const Node* last = m_pHead;
  bool currentSeen = m_pCurNode == m_pHead && this->m_nCur == -1;
  for (const Node* node = m_pHead->m_pNext; node != m_pHead; node = node->m_pNext) {
    if (count > this->m_nLength) return false;
    if (node == m_pCurNode && this->m_nCur == count) currentSeen = true;
    last = node;
    ++count;
  }
  return count == this->m_nLength && last == m_pTail && currentSeen;
}

template <class T>
template <class After>
void ZoList<T>::SortValues(After after) {
  const long n = this->m_nLength;
  if (n < 2) return;
  std::unique_ptr<T[]> values(new T[n]);
  long i = 0;
  for (Node* node = m_pHead->m_pNext; node != m_pHead; node = node->m_pNext) values[i++] = std::move(node->m_data);
  zo_detail::StableSort(values.get(), n, after);
  i = 0;
  for (Node* node = m_pHead->m_pNext; node != m_pHead; node = node->m_pNext) node->m_data = std::move(values[i++]);
  MoveTo(n);
}

// The doubly linked list: every node also knows its predecessor (sentinel.prev is the tail).
template <class T>
class ZoDList : public ZoList<T> {
  using Base = ZoList<T>;
  using Root = ZoDynArrayBase<T>;

 public:
  using Node = ZoListNode<T>;
  using DNode = ZoDListNode<T>;

  ZoDList(long n = 0) : Base(new DNode) {
    Head()->m_pPrev = Head();
    this->ReAllocate(n);
  }
  ZoDList(const ZoDList& src) : ZoDList() { this->DeepCopy(src); }
  ZoDList(const Root& src) : ZoDList() { this->DeepCopy(src); }
  ZoDList& operator=(const ZoDList& src) {
    this->DeepCopy(src);
    return *this;
  }
  ZoDList& operator=(const Root& src) {
    this->DeepCopy(src);
    return *this;
  }
  ~ZoDList() override {
    ZoDList::Reset();
    delete Head();
    this->m_pHead = nullptr;
  }

  void Reset() override;
  void MoveToPre() override {
    this->m_pCurNode = Prev(this->m_pCurNode);
    if (this->m_pCurNode == this->m_pHead)
      this->m_nCur = -1;
    else
      this->m_nCur = this->m_nCur == -1 ? this->m_nLength - 1 : this->m_nCur - 1;
  }
  void MoveTo(long i) override;
  const T* GetPre(const T* p) const override {
    if (p == nullptr || p == this->GetFirst()) return nullptr;
    return &Prev(this->NodeOf(p))->m_data;
  }
  const T& GetAt(long i) const override;
  void DelCur() override;
  void InsertAfterCur(const T& x) override;
  void DetachAfterCur() override {
    Base::DetachAfterCur();
    Head()->m_pPrev = D(this->m_pTail);
  }
  long Conbine(ZoList<T>& src, long from) override;
  void ReverseList() override;
  void Rotate(long from, long to) override;

  bool Verify() const;

 protected:
  static DNode* D(Node* node) { return static_cast<DNode*>(node); }
  static Node* Prev(Node* node) { return D(node)->m_pPrev; }
  DNode* Head() const { return D(this->m_pHead); }
};

template <class T>
void ZoDList<T>::Reset() {
  Node* node = this->m_pHead->m_pNext;
  while (node != this->m_pHead) {
    Node* next = node->m_pNext;
    zo_detail::DeleteListNode(D(node));
    node = next;
  }
  this->InitRing();
  Head()->m_pPrev = Head();
}

template <class T>
void ZoDList<T>::MoveTo(long i) {
  const long length = this->m_nLength;
  if (i < 0 || i >= length) {
    this->m_pCurNode = this->m_pHead;
    this->m_nCur = -1;
  } else if (i == 0) {
    this->MoveToFirst();
  } else if (i == length - 1) {
    this->MoveToLast();
  } else if (i < this->m_nCur) {
    while (this->m_nCur != i) MoveToPre();
  } else {
    while (this->m_nCur != i) this->MoveToNext();
  }
}

template <class T>
const T& ZoDList<T>::GetAt(long i) const {
  assert(this->IsValidIndex(i));
  Node* node = this->m_pCurNode;
  for (long k = this->m_nCur; k < i; ++k) node = node->m_pNext;
  for (long k = this->m_nCur; k > i; --k) node = Prev(node);
  return node->m_data;
}

template <class T>
void ZoDList<T>::DelCur() {
  assert(this->m_nCur != -1);
  Node* node = this->m_pCurNode;
  MoveToPre();
  Node* next = node->m_pNext;
  this->m_pCurNode->m_pNext = next;
  D(next)->m_pPrev = D(this->m_pCurNode);
  if (node == this->m_pTail) this->m_pTail = this->m_pCurNode;
  zo_detail::DeleteListNode(D(node));
  --this->m_nLength;
}

template <class T>
void ZoDList<T>::InsertAfterCur(const T& x) {
  DNode* node = zo_detail::NewListNode<DNode>();
  node->m_data = x;
  Node* cur = this->m_pCurNode;
  node->m_pNext = cur->m_pNext;
  node->m_pPrev = D(cur);
  D(cur->m_pNext)->m_pPrev = node;
  cur->m_pNext = node;
  if (cur == this->m_pTail) this->m_pTail = node;
  ++this->m_nLength;
  this->m_pCurNode = node;
  ++this->m_nCur;
}

template <class T>
long ZoDList<T>::Conbine(ZoList<T>& src, long from) {
  ZoDList* other = dynamic_cast<ZoDList*>(&src);
  assert(other != nullptr && "Conbine between a singly and a doubly linked list");
  if (other == nullptr || other == this || !src.IsValidIndex(from)) return this->m_nLength;
  const long count = other->m_nLength - from;
  Node* last = other->m_pTail;
  other->MoveTo(from - 1);
  Node* first = other->m_pCurNode->m_pNext;
  other->DetachAfterCur();
  D(first)->m_pPrev = D(this->m_pTail);
  this->LinkAtEnd(first, last, count);
  Head()->m_pPrev = D(last);
  return this->m_nLength;
}

template <class T>
void ZoDList<T>::ReverseList() {
  if (this->m_nLength < 2) return;
  Node* node = this->m_pHead;
  do {
    Node* next = node->m_pNext;
    node->m_pNext = Prev(node);
    D(node)->m_pPrev = D(next);
    node = next;
  } while (node != this->m_pHead);
  this->m_pTail = Head()->m_pPrev;
  if (this->m_nCur != -1) this->m_nCur = this->m_nLength - 1 - this->m_nCur;
}

template <class T>
void ZoDList<T>::Rotate(long from, long to) {
  const long n = this->m_nLength;
  if (from == to || n == 0) return;
  const long k = ((from - to) % n + n) % n;
  if (k != 0) {
    Node* oldFirst = this->m_pHead->m_pNext;
    Node* newFirst = this->NodeAt(k);
    Node* newTail = Prev(newFirst);
    this->m_pTail->m_pNext = oldFirst;
    D(oldFirst)->m_pPrev = D(this->m_pTail);
    this->m_pHead->m_pNext = newFirst;
    D(newFirst)->m_pPrev = Head();
    newTail->m_pNext = this->m_pHead;
    Head()->m_pPrev = D(newTail);
    this->m_pTail = newTail;
  }
  this->MoveToFirst();
}

template <class T>
bool ZoDList<T>::Verify() const {
  if (!Base::Verify()) return false;
  const Node* node = this->m_pHead;
  do {
    if (Prev(node->m_pNext) != node) return false;
    node = node->m_pNext;
  } while (node != this->m_pHead);
  return true;
}
