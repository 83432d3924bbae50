// The owning lists: a doubly linked list and an indexed list of pointers that own the objects
// they point to. The owning vocabulary is zo_detail::Owning's, as for the owning array; this
// file holds what the lists do their own way. Unlike the owning array, TakeOff removes the node
// it empties, and the sorts move pointers between nodes with empty nodes going last.
#pragma once

#include <memory>

#include "containers/ContainerSort.h"
#include "containers/List.h"
#include "containers/Owning.h"
#include "containers/XList.h"

namespace zo_detail {

// What both owning lists share over their list kind List (ZoDList<T*> or ZoXList<T*>).
template <class Derived, class T, class List>
class OwningList : public Owning<Derived, T, List> {
  using Base = Owning<Derived, T, List>;

 public:
  using Base::Base;
  using List::Sort;

  // Deletes the current object (if any), then removes the node.
  void DelCur() override {
    this->ReleaseCur();
    List::DelCur();
  }
  // Empty nodes end up last.
  void Sort(bool ascending) override {
    if (ascending)
      SortObjects([](const T& previous, const T& x) { return previous > x; });
    else
      SortObjects([](const T& previous, const T& x) { return previous < x; });
  }
  // Expects no empty node; any there is goes last, as with Sort(bool), rather than be read.
  virtual void Sort(int (*cmp)(const T&, const T&)) {
    SortObjects([cmp](const T& previous, const T& x) { return cmp(previous, x) > 0; });
  }

  // Null when the cursor is out; otherwise the node is emptied and removed.
  T* TakeOffCur() {
    if (this->IsOut()) return nullptr;
    T* p = this->EmptyCur();
    this->DelCur();
    return p;
  }
  // Removes the first node holding exactly the address p and deletes its object; returns 1, or
  // 0 with the cursor out when p is not in the list.
  long FindDel(T* p) {
    for (this->MoveToFirst(); !this->IsOut(); this->MoveToNext())
      if (this->Cur() == p) {
        this->DelCur();
        return 1;
      }
    return 0;
  }
  // From node from up to node to: true with the cursor on the first object equal to x.
  bool FindDataTo(const T& x, long from = 0, long to = -1);
  long FindDataOrAppend(const T& x) {
    const long i = this->FindData(x, 0, this->m_nLength - 1);
    return i >= 0 ? i : this->Append(new T(x));
  }
  void FindDataOrInsertHead(const T& x) {
    if (this->FindData(x, 0, this->m_nLength - 1) < 0) this->InsertHead(new T(x));
  }

 private:
  friend Base;
  // The collecting FindData takes any negative end for the last node, as FindData does.
  static long CollectingEnd(long to, long length) { return LastIndexFor(to, length); }
  // Objects are told apart with operator!=.
  static bool Differ(const T& a, const T& b) { return a != b; }

  // The family's stable order of the objects (outOfOrder(previous, object): the object must go
  // before previous), with empty nodes after them. Pointers move between the nodes, so objects
  // keep their addresses; the cursor ends where the family's sort leaves it: past the end, or on
  // the last node when it put empty nodes there.
  template <class OutOfOrder>
  void SortObjects(OutOfOrder outOfOrder);
};

template <class Derived, class T, class List>
bool OwningList<Derived, T, List>::FindDataTo(const T& x, long from, long to) {
  to = LastIndexFor(to, this->m_nLength);
  for (this->MoveTo(from); this->m_nCur != -1 && this->m_nCur <= to; this->MoveToNext()) {
    T* p = this->Cur();
    if (p != nullptr && *p == x) return true;
  }
  return false;
}

template <class Derived, class T, class List>
template <class OutOfOrder>
void OwningList<Derived, T, List>::SortObjects(OutOfOrder outOfOrder) {
  const long n = this->m_nLength;
  if (n < 2) return;
  std::unique_ptr<T*[]> objects(new T*[n]);
  long count = 0;
  for (T* const* p = this->GetFirst(); p; p = this->GetNext(p))
    if (*p) objects[count++] = *p;
  StableSort(objects.get(), count, [&outOfOrder](T* a, T* b) { return outOfOrder(*a, *b); });
  this->MoveToFirst();
  for (long i = 0; i < n; ++i, this->MoveToNext()) this->Cur() = i < count ? objects[i] : nullptr;
  if (count < n)
    this->MoveToLast();
  else
    this->MoveTo(n);
}

}  // namespace zo_detail

template <class T>
class ZoPDList : public zo_detail::OwningList<ZoPDList<T>, T, ZoDList<T*>> {
  using Base = zo_detail::OwningList<ZoPDList<T>, T, ZoDList<T*>>;

 public:
  // n >= 1 starts with n empty nodes (the list's growth value for a pointer is null).
  ZoPDList(long n = 0) : Base() {
    if (n >= 1) this->ReAllocate(n);
  }
  // Copies own copies of the source's objects; empty nodes stay empty where they were.
  ZoPDList(const ZoPDList& src) : Base() { this->CloneFrom(src); }
  ZoPDList& operator=(const ZoPDList& src) {
    if (&src != this) this->CloneFrom(src);
    return *this;
  }
  ~ZoPDList() override { this->ReleaseAll(); }
};

template <class T>
class ZoPXList : public zo_detail::OwningList<ZoPXList<T>, T, ZoXList<T*>> {
  using Base = zo_detail::OwningList<ZoPXList<T>, T, ZoXList<T*>>;

 public:
  ZoPXList(long n = 0, long groupSize = 25, long indexAllocUnit = 100) : Base(0, groupSize, indexAllocUnit) {
    if (n >= 1) this->ReAllocate(n);
  }
  ZoPXList(const ZoPXList& src) : Base(0, src.m_nGroupSize, src.m_group.GetAllocUnit()) { this->CloneFrom(src); }
  ZoPXList& operator=(const ZoPXList& src) {
    if (&src != this) {
      this->Reset();
      this->m_nGroupSize = src.m_nGroupSize;
      this->CloneFrom(src);
    }
    return *this;
  }
  ~ZoPXList() override { this->ReleaseAll(); }

 protected:
  // One pointer stored in every node would be owned many times over.
  void SetAll(const T*) {}
};
