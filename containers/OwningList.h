// The owning lists: a doubly linked list and an indexed list of pointers that own the objects
// they point to, with the owning array's vocabulary. An empty node holds null. Unlike the
// owning array, TakeOff removes the node it empties.
#pragma once

#include <cassert>

#include "containers/List.h"
#include "containers/XList.h"

namespace zo_detail {

// The owning vocabulary, written once over the public operations of either list kind.
template <class T>
struct OwningListOps {
  template <class List>
  static void ReleaseCur(List& l) {
    if (l.GetCur() == -1) return;
    T*& p = l.GetCurData();
    delete p;
    p = nullptr;
  }

  template <class List>
  static void ReleaseAll(List& l) {
    for (l.MoveToFirst(); l.GetCur() != -1; l.MoveToNext()) ReleaseCur(l);
  }

  template <class List>
  static long DataNum(const List& l) {
    long n = 0;
    for (T* const* p = l.GetFirst(); p; p = l.GetNext(p))
      if (*p != nullptr) ++n;
    return n;
  }

  template <class List>
  static long PlaceIn(List& l, T* p) {
    l.MoveToFirst();
    while (l.GetCur() != -1 && l.GetCurData() != nullptr) l.MoveToNext();
    if (l.GetCur() == -1) return l.Append(p);
    l.SetCurData(p);
    return l.GetCur();
  }

  // null stands in the node before it goes, so the removal deletes nothing.
  template <class List>
  static T* TakeOffCur(List& l) {
    if (l.GetCur() == -1) return nullptr;
    T* p = l.GetCurData();
    l.SetCurData(nullptr);
    l.DelCur();
    return p;
  }

  template <class List>
  static long FindDel(List& l, T* p) {
    for (l.MoveToFirst(); l.GetCur() != -1; l.MoveToNext())
      if (l.GetCurData() == p) {
        l.DelCur();
        return 1;
      }
    return 0;
  }

  template <class List>
  static long FindData(const List& l, const T& x, ZoQuene<long>* q, long from, long to) {
    if (to < 0 || to >= l.GetLength()) to = l.GetLength() - 1;
    if (from <= to) {
      assert(l.IsValidIndex(from));
      T* const* p = &l.GetAt(from);
      for (long i = from; i <= to; ++i, p = l.GetNext(p)) {
        if (*p == nullptr || !(**p == x)) continue;
        if (q == nullptr) return i;
        q->AddTail(i);
      }
    }
    return q == nullptr ? -1 : q->GetCount();
  }

  template <class List>
  static bool FindDataTo(List& l, const T& x, long from, long to) {
    if (to < 0 || to >= l.GetLength()) to = l.GetLength() - 1;
    for (l.MoveTo(from); l.GetCur() != -1 && l.GetCur() <= to; l.MoveToNext()) {
      T* p = l.GetCurData();
      if (p != nullptr && *p == x) return true;
    }
    return false;
  }

  template <class List>
  static long FindDataDel(List& l, const T& x) {
    // When x is one of the owned objects it must outlive the comparisons: it is deleted last.
    T* self = nullptr;
    long removed = 0;
    for (l.MoveToFirst(); l.GetCur() != -1; l.MoveToNext()) {
      T* p = l.GetCurData();
      if (p == nullptr || !(*p == x)) continue;
      if (p == &x) {
        self = p;
        l.SetCurData(nullptr);
      }
      l.DelCur();
      ++removed;
    }
    delete self;
    return removed;
  }

  template <class List>
  static long FindDataOrAppend(List& l, const T& x) {
    const long i = FindData(l, x, nullptr, 0, l.GetLength() - 1);
    return i >= 0 ? i : l.Append(new T(x));
  }

  template <class List>
  static void FindDataOrInsertHead(List& l, const T& x) {
    if (FindData(l, x, nullptr, 0, l.GetLength() - 1) < 0) l.InsertHead(new T(x));
  }

  template <class List>
  static long BFindData(const List& l, const T& x, long from, long to) {
    if (to < 0 || to >= l.GetLength()) to = l.GetLength() - 1;
    if (from > to) return -1;
    if (x < Object(l.GetAt(from)) || x > Object(l.GetAt(to))) return -1;
    while (from <= to) {
      const long mid = (from + to) / 2;
      const T& e = Object(l.GetAt(mid));
      if (x > e)
        from = mid + 1;
      else if (x < e)
        to = mid - 1;
      else
        return mid;
    }
    return -1;
  }

  template <class List>
  static bool BFindDataTo(List& l, const T& x, long from, long to) {
    if (to < 0 || to >= l.GetLength()) to = l.GetLength() - 1;
    if (l.GetLength() == 0) {
      l.MoveTo(0);
      return false;
    }
    assert(l.IsValidIndex(from) && from <= to);
    l.MoveTo(from);
    if (x < Object(l.GetCurData())) return false;
    l.MoveTo(to);
    if (x > Object(l.GetCurData())) {
      l.MoveToNext();
      return false;
    }
    while (from < to) {
      const long mid = (from + to) / 2;
      l.MoveTo(mid);
      const T& e = Object(l.GetCurData());
      if (x > e)
        from = mid + 1;
      else if (x < e)
        to = mid - 1;
      else
        return true;
    }
    if (from != to) return false;
    l.MoveTo(from);
    if (x > Object(l.GetCurData())) {
      l.MoveToNext();
      return false;
    }
    return !(x < Object(l.GetCurData()));
  }

  template <class List>
  static bool SortInto(List& l, T* p, bool allowEqual) {
    if (BFindDataTo(l, *p, 0, -1)) {
      if (!allowEqual) return false;
      while (l.GetCur() != -1 && l.GetCurData() != nullptr && *l.GetCurData() == *p) l.MoveToNext();
    }
    l.InsertCur(p);
    return true;
  }

  // Stable insertion sort that moves pointers backwards over the prev links; objects keep
  // their addresses. outOfOrder(previous, object) says the object must go before previous.
  template <class List, class OutOfOrder>
  static void InsertionSort(List& l, bool dropEmpty, OutOfOrder outOfOrder) {
    if (l.GetLength() < 2) return;
    long empties = 0;
    if (dropEmpty)
      while (l.GetLength() > 0 && *l.GetFirst() == nullptr) {
        l.DelHead();
        ++empties;
      }
    for (l.MoveTo(1); l.GetCur() != -1; l.MoveToNext()) {
      T* p = l.GetCurData();
      if (p == nullptr) {
        assert(dropEmpty && "the comparator sort needs every node to hold an object");
        l.DelCur();
        ++empties;
        continue;
      }
      const long k = l.GetCur();
      l.MoveToPre();
      if (!outOfOrder(*l.GetCurData(), *p)) {
        l.MoveToNext();
        continue;
      }
      do l.MoveToPre();
      while (l.GetCur() != -1 && outOfOrder(*l.GetCurData(), *p));
      l.InsertAfterCur(p);
      l.MoveTo(k + 1);
      l.SetCurData(nullptr);
      l.DelCur();
    }
    for (; empties > 0; --empties) l.Append(nullptr);
  }

  template <class List>
  static void Sort(List& l, bool ascending) {
    if (ascending)
      InsertionSort(l, true, [](const T& previous, const T& x) { return previous > x; });
    else
      InsertionSort(l, true, [](const T& previous, const T& x) { return previous < x; });
  }

  template <class List>
  static void SortBy(List& l, int (*cmp)(const T&, const T&)) {
    InsertionSort(l, false, [cmp](const T& previous, const T& x) { return cmp(previous, x) > 0; });
  }

  template <class List>
  static bool Move(List& l, long from, long to) {
    if (from == to || from + 1 == to) return false;
    l.MoveTo(from);
    T* p = l.GetCurData();
    l.SetCurData(nullptr);
    l.Insert(to, p);
    if (from <= to) {
      l.Del(from);
      l.MoveTo(to - 1);
    } else {
      l.Del(from + 1);
      l.MoveTo(to);
    }
    return true;
  }

  template <class List>
  static bool Equal(const List& a, const List& b) {
    if (a.GetLength() != b.GetLength()) return false;
    for (T *const *p = a.GetFirst(), *const *q = b.GetFirst(); p; p = a.GetNext(p), q = b.GetNext(q)) {
      if ((*p == nullptr) != (*q == nullptr)) return false;
      if (*p != nullptr && **p != **q) return false;
    }
    return true;
  }

  // Copies own copies of the source's objects; empty nodes stay empty where they were.
  template <class List>
  static void CloneFrom(List& dst, const List& src) {
    for (T* const* p = src.GetFirst(); p; p = src.GetNext(p)) dst.Append(*p != nullptr ? new T(**p) : nullptr);
    dst.MoveTo(-1);
  }

  static T& Object(T* p) {
    assert(p != nullptr && "halving searches need every node in range to hold an object");
    return *p;
  }
};

}  // namespace zo_detail

// The owning vocabulary below is the same for both owning lists; see ZoDynPArray for the words.
template <class T>
class ZoPDList : public ZoDList<T*> {
  using Base = ZoDList<T*>;
  using Ops = zo_detail::OwningListOps<T>;

 public:
  using Base::Sort;

  // n >= 1 starts with n empty nodes.
  ZoPDList(long n = 0) : Base() {
    if (n >= 1) ReAllocate(n);
  }
  ZoPDList(const ZoPDList& src) : Base() { Ops::CloneFrom(*this, src); }
  ZoPDList& operator=(const ZoPDList& src) {
    if (&src != this) {
      Reset();
      Ops::CloneFrom(*this, src);
    }
    return *this;
  }
  ~ZoPDList() override { ReleaseAll(); }

  void Reset() override {
    ReleaseAll();
    Base::Reset();
  }
  void DelCur() override {
    ReleaseCur();
    Base::DelCur();
  }
  // Empty nodes end up last.
  void Sort(bool ascending) override { Ops::Sort(*this, ascending); }
  bool Move(long from, long to) override { return Ops::Move(*this, from, to); }
  // REQUIRES: every node holds an object.
  virtual void Sort(int (*cmp)(const T&, const T&)) { Ops::SortBy(*this, cmp); }

  T& GetCurPData() { return Ops::Object(this->GetCurData()); }
  T& operator()(long i) { return Ops::Object((*this)[i]); }
  const T& GetPData(long i) const { return Ops::Object(this->GetAt(i)); }
  bool IsCurEmpty() const { return this->m_nCur == -1 || this->m_pCurNode->m_data == nullptr; }
  bool IsEmptyData(long i) const { return !this->IsValidIndex(i) || this->GetAt(i) == nullptr; }
  long GetDataNum() const { return Ops::DataNum(*this); }
  long PlaceIn(T* p) { return Ops::PlaceIn(*this, p); }
  void ReleaseCur() { Ops::ReleaseCur(*this); }
  void Release(long i) {
    this->MoveTo(i);
    ReleaseCur();
  }
  void ReleaseAll() { Ops::ReleaseAll(*this); }
  T* TakeOffCur() { return Ops::TakeOffCur(*this); }
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
  long FindDel(T* p) { return Ops::FindDel(*this, p); }
  long FindData(const T& x, long from = 0, long to = -1) const { return Ops::FindData(*this, x, nullptr, from, to); }
  long FindData(const T& x, ZoQuene<long>& q, long from = 0, long to = -1) const {
    return Ops::FindData(*this, x, &q, from, to);
  }
  bool FindDataTo(const T& x, long from = 0, long to = -1) { return Ops::FindDataTo(*this, x, from, to); }
  long FindDataDel(const T& x) { return Ops::FindDataDel(*this, x); }
  long FindDataOrAppend(const T& x) { return Ops::FindDataOrAppend(*this, x); }
  void FindDataOrInsertHead(const T& x) { Ops::FindDataOrInsertHead(*this, x); }
  long BFindData(const T& x, long from = 0, long to = -1) const { return Ops::BFindData(*this, x, from, to); }
  bool BFindDataTo(const T& x, long from = 0, long to = -1) { return Ops::BFindDataTo(*this, x, from, to); }
  bool SortInto(T* p, bool allowEqual) { return Ops::SortInto(*this, p, allowEqual); }

  bool operator==(const ZoPDList& other) const { return Ops::Equal(*this, other); }
  bool operator!=(const ZoPDList& other) const { return !Ops::Equal(*this, other); }

 protected:
  // New nodes are empty: the list's growth value for a pointer is null.
  void ReAllocate(long n) override { Base::ReAllocate(n); }
};

template <class T>
class ZoPXList : public ZoXList<T*> {
  using Base = ZoXList<T*>;
  using Ops = zo_detail::OwningListOps<T>;

 public:
  using Base::Sort;

  ZoPXList(long n = 0, long groupSize = 25, long indexAllocUnit = 100) : Base(0, groupSize, indexAllocUnit) {
    if (n >= 1) ReAllocate(n);
  }
  ZoPXList(const ZoPXList& src) : Base(0, src.m_nGroupSize, src.m_group.GetAllocUnit()) { Ops::CloneFrom(*this, src); }
  ZoPXList& operator=(const ZoPXList& src) {
    if (&src != this) {
      Reset();
      this->m_nGroupSize = src.m_nGroupSize;
      Ops::CloneFrom(*this, src);
    }
    return *this;
  }
  ~ZoPXList() override { ReleaseAll(); }

  void Reset() override {
    ReleaseAll();
    Base::Reset();
  }
  void DelCur() override {
    ReleaseCur();
    Base::DelCur();
  }
  void Sort(bool ascending) override { Ops::Sort(*this, ascending); }
  bool Move(long from, long to) override { return Ops::Move(*this, from, to); }
  // REQUIRES: every node holds an object.
  virtual void Sort(int (*cmp)(const T&, const T&)) { Ops::SortBy(*this, cmp); }

  T& GetCurPData() { return Ops::Object(this->GetCurData()); }
  T& operator()(long i) { return Ops::Object((*this)[i]); }
  const T& GetPData(long i) const { return Ops::Object(this->GetAt(i)); }
  bool IsCurEmpty() const { return this->m_nCur == -1 || this->m_pCurNode->m_data == nullptr; }
  bool IsEmptyData(long i) const { return !this->IsValidIndex(i) || this->GetAt(i) == nullptr; }
  long GetDataNum() const { return Ops::DataNum(*this); }
  long PlaceIn(T* p) { return Ops::PlaceIn(*this, p); }
  void ReleaseCur() { Ops::ReleaseCur(*this); }
  void Release(long i) {
    this->MoveTo(i);
    ReleaseCur();
  }
  void ReleaseAll() { Ops::ReleaseAll(*this); }
  T* TakeOffCur() { return Ops::TakeOffCur(*this); }
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
  long FindDel(T* p) { return Ops::FindDel(*this, p); }
  long FindData(const T& x, long from = 0, long to = -1) const { return Ops::FindData(*this, x, nullptr, from, to); }
  long FindData(const T& x, ZoQuene<long>& q, long from = 0, long to = -1) const {
    return Ops::FindData(*this, x, &q, from, to);
  }
  bool FindDataTo(const T& x, long from = 0, long to = -1) { return Ops::FindDataTo(*this, x, from, to); }
  long FindDataDel(const T& x) { return Ops::FindDataDel(*this, x); }
  long FindDataOrAppend(const T& x) { return Ops::FindDataOrAppend(*this, x); }
  void FindDataOrInsertHead(const T& x) { Ops::FindDataOrInsertHead(*this, x); }
  long BFindData(const T& x, long from = 0, long to = -1) const { return Ops::BFindData(*this, x, from, to); }
  bool BFindDataTo(const T& x, long from = 0, long to = -1) { return Ops::BFindDataTo(*this, x, from, to); }
  bool SortInto(T* p, bool allowEqual) { return Ops::SortInto(*this, p, allowEqual); }

  bool operator==(const ZoPXList& other) const { return Ops::Equal(*this, other); }
  bool operator!=(const ZoPXList& other) const { return !Ops::Equal(*this, other); }

 protected:
  void ReAllocate(long n) override { Base::ReAllocate(n); }
  // One pointer stored in every node would be owned many times over.
  void SetAll(const T*) {}
};
