// The owning array: a growable array of pointers that owns the objects it points to. An empty
// slot is a null pointer; Release deletes an object and keeps its slot, TakeOff hands the
// pointer back and keeps the slot, Del, Reset, shrinking and destruction delete. Searches and
// sorts look at the objects, never at the addresses.
#pragma once

#include <algorithm>
#include <cassert>

#include "containers/ContainerSort.h"
#include "containers/DynArray.h"

template <class T>
class ZoDynPArray : public ZoDynArray<T*> {
  using Base = ZoDynArray<T*>;
  using Root = ZoDynArrayBase<T*>;

 public:
  using Base::Sort;

  ZoDynPArray(long space = 0, long allocUnit = 10) : Base(space, allocUnit) {}
  // A copy owns copies of the source's objects, made with their copy constructor; empty
  // slots stay empty where they were, so two arrays never own one object.
  ZoDynPArray(const ZoDynPArray& src) : Base() { CloneFrom(src); }
  ZoDynPArray& operator=(const ZoDynPArray& src) {
    if (&src != this) CloneFrom(src);
    return *this;
  }
  ~ZoDynPArray() override { ReleaseAll(); }

  void ReAllocate(long n) override;
  void SetLength(long n, bool keep) override;
  void Reset() override {
    ReleaseAll();
    Base::Reset();
  }
  void DelCur() override;
  // REQUIRES: every slot holds an object.
  void Sort(bool ascending) override;
  bool Move(long from, long to) override;
  virtual void ReleaseCur();
  virtual T* TakeOffCur();
  // REQUIRES: every slot holds an object.
  virtual void Sort(int (*cmp)(const T&, const T&));

  // REQUIRES (the three accessors): the slot holds an object.
  T& GetCurPData() { return *Slot(this->m_nCur); }
  T& operator()(long i) { return *(*this)[i]; }
  const T& GetPData(long i) const { return *Slot(i); }
  bool IsCurEmpty() const { return this->IsOut() || this->m_pData[this->m_nCur] == nullptr; }
  bool IsEmptyData(long i) const { return !this->IsValidIndex(i) || this->m_pData[i] == nullptr; }
  long GetDataNum() const;
  // Stores p in the first empty slot, appending when none is empty; returns its index.
  long PlaceIn(T* p);
  void Release(long i) {
    this->MoveTo(i);
    ReleaseCur();
  }
  void ReleaseAll();
  T* TakeOff(long i) {
    this->MoveTo(i);
    return TakeOffCur();
  }
  T* TakeOffHead() {
    this->MoveToFirst();
    return TakeOffCur();
  }
  T* TakeOffTail() {
    this->MoveToLast();
    return TakeOffCur();
  }

  // Removes the slot holding exactly the address p and deletes its object; returns 1 or 0.
  long FindDel(T* p);
  long FindData(const T& x, long from = 0, long to = -1) const;
  long FindData(const T& x, ZoQuene<long>& q, long from = 0, long to = -1) const;
  long FindDataDel(const T& x);
  long BFindData(const T& x, long from = 0, long to = -1) const;
  bool BFindDataTo(const T& x, long from = 0, long to = -1);
  // On success the array owns p; on false the caller keeps it.
  bool SortInto(T* p, bool allowEqual);
  // As Sort(bool), but empty slots are allowed and end up last, in their order.
  void SortEx(bool ascending);

  bool operator==(const ZoDynPArray& other) const;
  bool operator!=(const ZoDynPArray& other) const { return !(*this == other); }

 private:
  T* Slot(long i) const {
    assert(this->IsValidIndex(i) && this->m_pData[i] != nullptr);
    return this->m_pData[i];
  }
  void NullSlots(long from, long to) { std::fill(this->m_pData + from, this->m_pData + to, nullptr); }
  void DeleteSlots(long from, long to) {
    for (long i = from; i < to; ++i) {
      delete this->m_pData[i];
      this->m_pData[i] = nullptr;
    }
  }
  void CloneFrom(const ZoDynPArray& src);
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
    ReleaseAll();
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
void ZoDynPArray<T>::Sort(bool ascending) {
  const long n = this->m_nLength;
  for (long i = 0; i < n; ++i) assert(this->m_pData[i] != nullptr);
  if (ascending)
    zo_detail::PairwiseSort(this->m_pData, n, [](T* a, T* b) { return *a > *b; });
  else
    zo_detail::PairwiseSort(this->m_pData, n, [](T* a, T* b) { return *b > *a; });
}

template <class T>
void ZoDynPArray<T>::SortEx(bool ascending) {
  zo_detail::PairwiseSort(this->m_pData, this->m_nLength, [ascending](T* a, T* b) {
    if (a == nullptr || b == nullptr) return a == nullptr && b != nullptr;
    return ascending ? *a > *b : *b > *a;
  });
}

template <class T>
void ZoDynPArray<T>::Sort(int (*cmp)(const T&, const T&)) {
  const long n = this->m_nLength;
  for (long i = 0; i < n; ++i) assert(this->m_pData[i] != nullptr);
  zo_detail::PairwiseSort(this->m_pData, n, [cmp](T* a, T* b) { return cmp(*a, *b) > 0; });
}

template <class T>
bool ZoDynPArray<T>::Move(long from, long to) {
  if (from == to || from + 1 == to) return false;
  this->MoveTo(from);
  // The pointer leaves its slot first, so the removal below deletes nothing.
  T* p = this->GetCurData();
  this->SetCurData(nullptr);
  this->Insert(to, p);
  if (from <= to) {
    this->Del(from);
    this->MoveTo(to - 1);
  } else {
    this->Del(from + 1);
    this->MoveTo(to);
  }
  return true;
}

template <class T>
void ZoDynPArray<T>::ReleaseCur() {
  if (this->IsOut()) return;
  T*& slot = this->m_pData[this->m_nCur];
  delete slot;
  slot = nullptr;
}

template <class T>
T* ZoDynPArray<T>::TakeOffCur() {
  if (this->IsOut()) return nullptr;
  T* p = this->m_pData[this->m_nCur];
  this->m_pData[this->m_nCur] = nullptr;
  return p;
}

template <class T>
long ZoDynPArray<T>::GetDataNum() const {
  const long n = this->m_nLength;
  return static_cast<long>(n - std::count(this->m_pData, this->m_pData + n, nullptr));
}

template <class T>
long ZoDynPArray<T>::PlaceIn(T* p) {
  long i = 0;
  while (!IsEmptyData(i)) ++i;
  (*this)[i] = p;
  return i;
}

template <class T>
void ZoDynPArray<T>::ReleaseAll() {
  this->MoveToFirst();
  while (!this->IsOut()) {
    ReleaseCur();
    this->MoveToNext();
  }
}

template <class T>
long ZoDynPArray<T>::FindDel(T* p) {
  const long i = Root::Find(p, 0, -1);
  if (i < 0) return 0;
  this->Del(i);
  return 1;
}

template <class T>
long ZoDynPArray<T>::FindData(const T& x, long from, long to) const {
  if (to < 0 || to >= this->m_nLength) to = this->m_nLength - 1;
  assert(from > to || this->IsValidIndex(from));
  for (long i = from; i <= to; ++i) {
    const T* p = this->m_pData[i];
    if (p != nullptr && *p == x) return i;
  }
  return -1;
}

template <class T>
long ZoDynPArray<T>::FindData(const T& x, ZoQuene<long>& q, long from, long to) const {
  if (to == -1 || to >= this->m_nLength) to = this->m_nLength - 1;
  assert(from > to || this->IsValidIndex(from));
  for (long i = from; i <= to; ++i) {
    const T* p = this->m_pData[i];
    if (p != nullptr && *p == x) q.AddTail(i);
  }
  return q.GetCount();
}

template <class T>
long ZoDynPArray<T>::FindDataDel(const T& x) {
  // When x is one of the owned objects it must outlive the comparisons: it is deleted last.
  T* self = nullptr;
  long removed = 0;
  this->MoveToFirst();
  while (!this->IsOut()) {
    T* p = this->GetCurData();
    if (p != nullptr && *p == x) {
      if (p == &x) {
        self = p;
        this->SetCurData(nullptr);
      }
      DelCur();
      ++removed;
    }
    this->MoveToNext();
  }
  delete self;
  return removed;
}

template <class T>
long ZoDynPArray<T>::BFindData(const T& x, long from, long to) const {
  if (to < 0 || to >= this->m_nLength) to = this->m_nLength - 1;
  if (from > to) return -1;
  if (x < GetPData(from) || x > GetPData(to)) return -1;
  while (from <= to) {
    const long mid = (from + to) / 2;
    const T& e = GetPData(mid);
    if (x > e)
      from = mid + 1;
    else if (x < e)
      to = mid - 1;
    else
      return mid;
  }
  return -1;
}

template <class T>
bool ZoDynPArray<T>::BFindDataTo(const T& x, long from, long to) {
  if (to < 0 || to >= this->m_nLength) to = this->m_nLength - 1;
  if (this->m_nLength == 0) {
    this->MoveTo(0);
    return false;
  }
  assert(this->IsValidIndex(from) && from <= to);
  this->MoveTo(from);
  if (x < GetCurPData()) return false;
  this->MoveTo(to);
  if (x > GetCurPData()) {
    this->MoveToNext();
    return false;
  }
  while (from < to) {
    const long mid = (from + to) / 2;
    this->MoveTo(mid);
    const T& e = GetCurPData();
    if (x > e)
      from = mid + 1;
    else if (x < e)
      to = mid - 1;
    else
      return true;
  }
  if (from != to) return false;
  this->MoveTo(from);
  if (x > GetCurPData()) {
    this->MoveToNext();
    return false;
  }
  return !(x < GetCurPData());
}

template <class T>
bool ZoDynPArray<T>::SortInto(T* p, bool allowEqual) {
  if (BFindDataTo(*p, 0, -1)) {
    if (!allowEqual) return false;
    while (!IsCurEmpty() && GetCurPData() == *p) this->MoveToNext();
  }
  this->InsertCur(p);
  return true;
}

template <class T>
bool ZoDynPArray<T>::operator==(const ZoDynPArray& other) const {
  if (this->m_nLength != other.m_nLength) return false;
  for (long i = 0; i < this->m_nLength; ++i) {
    const T* a = this->m_pData[i];
    const T* b = other.m_pData[i];
    if ((a == nullptr) != (b == nullptr)) return false;
    if (a != nullptr && !(*a == *b)) return false;
  }
  return true;
}

template <class T>
void ZoDynPArray<T>::CloneFrom(const ZoDynPArray& src) {
  const long n = src.m_nLength;
  SetLength(n, false);
  for (long i = 0; i < n; ++i)
    if (src.m_pData[i] != nullptr) this->m_pData[i] = new T(*src.m_pData[i]);
  this->MoveTo(n);
}
