// The owning array: a growable array of pointers that owns the objects it points to. An empty
// slot is a null pointer; Release deletes an object and keeps its slot, TakeOff hands the
// pointer back and keeps the slot, Del, Reset, shrinking and destruction delete. The owning
// vocabulary itself is zo_detail::Owning's; this file holds what the array does its own way.
#pragma once

#include <algorithm>
#include <cassert>

#include "containers/ContainerSort.h"
#include "containers/DynArray.h"
#include "containers/Owning.h"

template <class T>
class ZoDynPArray : public zo_detail::Owning<ZoDynPArray<T>, T, ZoDynArray<T*>> {
  using Owning = zo_detail::Owning<ZoDynPArray<T>, T, ZoDynArray<T*>>;
  using Base = ZoDynArray<T*>;

 public:
  using Base::Sort;

  ZoDynPArray(long space = 0, long allocUnit = 10) : Owning(space, allocUnit) {}
  // A copy owns copies of the source's objects, made with their copy constructor; empty
  // slots stay empty where they were, so two arrays never own one object.
  ZoDynPArray(const ZoDynPArray& src) : Owning() { this->CloneFrom(src); }
  ZoDynPArray& operator=(const ZoDynPArray& src) {
    if (&src != this) this->CloneFrom(src);
    return *this;
  }
  ~ZoDynPArray() override { this->ReleaseAll(); }

  // The objects of the replaced storage are deleted; the adopted block's objects are owned.
  // Detach (the root's) hands the block over with its objects.
  void Attach(long n, T** p) {
    if (p != this->m_pData) this->ReleaseAll();
    Base::Attach(n, p);
  }

  void ReAllocate(long n) override;
  void SetLength(long n, bool keep) override;
  void DelCur() override;
  // Both sorts expect no empty slot; any there is goes last, as with SortEx, rather than be read.
  void Sort(bool ascending) override { SortEx(ascending); }
  // The array's own dispatch entries, in this order.
  virtual void ReleaseCur() { Owning::ReleaseCur(); }
  // The emptied slot stays.
  virtual T* TakeOffCur() { return this->IsOut() ? nullptr : this->EmptyCur(); }
  virtual void Sort(int (*cmp)(const T&, const T&));

  // Removes the slot holding exactly the address p and deletes its object; returns 1 or 0.
  // The address is looked up without moving the cursor, so a miss leaves it where it was.
  long FindDel(T* p) {
    const long i = Base::Find(p, 0, -1);
    if (i < 0) return 0;
    this->Del(i);
    return 1;
  }
  // As Sort(bool), but empty slots are allowed and end up last, in their order.
  void SortEx(bool ascending);

 private:
  friend Owning;
  // The collecting FindData takes only -1 for the last slot, as the root's collecting Find does.
  static long CollectingEnd(long to, long length) { return to == -1 || to >= length ? length - 1 : to; }
  // Objects are told apart with operator==.
  static bool Differ(const T& a, const T& b) { return !(a == b); }

  // The family's sort on the objects, with empty slots after every object in their order.
  // after(a, b): object a belongs after object b.
  template <class After>
  void SortObjects(After after) {
    zo_detail::StableSort(this->m_pData, this->m_nLength, [after](T* a, T* b) {
      if (a == nullptr || b == nullptr) return a == nullptr && b != nullptr;
      return after(*a, *b);
    });
  }
  void NullSlots(long from, long to) { std::fill(this->m_pData + from, this->m_pData + to, nullptr); }
  void DeleteSlots(long from, long to) {
    for (long i = from; i < to; ++i) {
      delete this->m_pData[i];
      this->m_pData[i] = nullptr;
    }
  }
};

template <class T>
void ZoDynPArray<T>::ReAllocate(long n) {
  const long length = this->m_nLength;
  if (n > length) {
    Base::ReAllocate(n);
    NullSlots(length, n);
  } else if (n < length) {
    DeleteSlots(n, length);
    Base::ReAllocate(n);
  }
}

template <class T>
void ZoDynPArray<T>::SetLength(long n, bool keep) {
  const long length = this->m_nLength;
  if (keep) {
    if (n < length) DeleteSlots(n, length);
    Base::SetLength(n, true);
    if (n > length) NullSlots(length, n);
  } else {
    this->ReleaseAll();
    Base::SetLength(n, false);
    NullSlots(0, n);
  }
}

template <class T>
void ZoDynPArray<T>::DelCur() {
  const long c = this->m_nCur;
  assert(this->IsValidIndex(c));
  ReleaseCur();
  const long last = this->m_nLength - 1;
  if (c == last) {
    Base::DelCur();
    return;
  }
  // The base removal shrinks through ReAllocate, which would delete the object in the cut-off
  // last slot although the shift has just copied its pointer one place down.
  T* tail = this->m_pData[last];
  this->m_pData[last] = nullptr;
  Base::DelCur();
  this->m_pData[last - 1] = tail;
}

template <class T>
void ZoDynPArray<T>::SortEx(bool ascending) {
  if (ascending)
    SortObjects([](const T& a, const T& b) { return a > b; });
  else
    SortObjects([](const T& a, const T& b) { return b > a; });
}

template <class T>
void ZoDynPArray<T>::Sort(int (*cmp)(const T&, const T&)) {
  SortObjects([cmp](const T& a, const T& b) { return cmp(a, b) > 0; });
}
