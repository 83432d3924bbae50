// The root of the container family: a polymorphic sequence with a built-in cursor. Every
// operation is written once here on top of a few virtual primitives (move the cursor, read or
// write under it, insert or delete at it, resize), so arrays and lists share one vocabulary.
#pragma once

#include <cassert>
#include <type_traits>

#include "containers/HalvingSearch.h"
#include "platform/Siblings.h"

template <class T>
class ZoArray;

namespace zo_detail {
// The base of every container that owns the objects its pointers point to.
struct OwningTag {};
template <class C>
inline constexpr bool kOwnsObjects = std::is_base_of_v<OwningTag, C>;
}  // namespace zo_detail

// Contract violations (cursor or index out of range, negative lengths) trip an assert in debug
// and sanitizer builds and cost nothing in release builds.
template <class T>
class ZoDynArrayBase {
 public:
  ZoDynArrayBase() : m_nLength(0), m_nCur(-1) {}
  // Copies the counters only; the derived containers copy the elements.
  ZoDynArrayBase(const ZoDynArrayBase& src) : m_nLength(src.m_nLength), m_nCur(src.m_nCur) {}
  ZoDynArrayBase& operator=(const ZoDynArrayBase& src) {
    m_nLength = src.m_nLength;
    m_nCur = src.m_nCur;
    return *this;
  }

  // The dispatch table, in the family's fixed order.
  virtual void ReAllocate(long n) = 0;
  virtual ~ZoDynArrayBase() {}
  virtual void SetLength(long n, bool keep) = 0;
  virtual void Reset() {
    while (m_nLength > 0) DelTail();
  }
  // REQUIRES: the cursor stands on an element.
  virtual T& GetCurData() = 0;
  // REQUIRES: the cursor stands on an element.
  virtual void SetCurData(const T& x) = 0;
  virtual void MoveToFirst() { m_nCur = 0; }
  virtual void MoveToNext() { ++m_nCur; }
  virtual void MoveToPre() { --m_nCur; }
  virtual void MoveToLast() { m_nCur = m_nLength - 1; }
  virtual void MoveTo(long i) { m_nCur = i; }
  // Grows the container when i is at or past the end, then moves the cursor to i.
  virtual T& operator[](long i) {
    assert(i >= 0);
    if (i >= m_nLength) ReAllocate(i + 1);
    MoveTo(i);
    return GetCurData();
  }
  virtual const T* GetFirst() const = 0;
  virtual const T* GetNext(const T* p) const = 0;
  virtual const T* GetPre(const T* p) const = 0;
  virtual const T* GetLast() const = 0;
  // REQUIRES: IsValidIndex(i)
  virtual const T& GetAt(long i) const = 0;
  // REQUIRES: 0 <= cursor <= length
  virtual void InsertCur(const T& x) = 0;
  virtual void Insert(long i, const T& x) {
    MoveTo(i);
    InsertCur(x);
  }
  virtual void InsertHead(const T& x) {
    MoveToFirst();
    InsertCur(x);
  }
  virtual long Append(const T& x) {
    MoveTo(m_nLength);
    InsertCur(x);
    return m_nCur;
  }
  // REQUIRES: the cursor stands on an element. The cursor steps back by one.
  virtual void DelCur() = 0;
  virtual void Sort(int (*cmp)(const T&, const T&)) = 0;
  virtual void Sort(bool ascending) = 0;
  virtual bool Move(long from, long to) {
    return MoveTaken(from, to, [this] { return GetCurData(); });
  }

  long GetLength() const { return m_nLength; }
  long GetCur() const { return m_nCur; }
  long GetMaxIndex() const { return m_nLength - 1; }
  bool IsEmpty() const { return m_nLength == 0; }
  bool IsBegin() const { return m_nCur < 0; }
  bool IsEnd() const { return m_nCur >= m_nLength; }
  bool IsOut() const { return m_nCur < 0 || m_nCur >= m_nLength; }
  bool IsValidIndex(long i) const { return i >= 0 && i < m_nLength; }

  const T& operator[](long i) const { return GetAt(i); }
  const T* GetTo(long i) const { return IsValidIndex(i) ? &GetAt(i) : nullptr; }

  void Del(long i) {
    MoveTo(i);
    DelCur();
  }
  void DelHead() {
    MoveToFirst();
    DelCur();
  }
  void DelTail() {
    MoveToLast();
    DelCur();
  }
  void Exchange(long i, long j);

  ZoDynArrayBase& operator<<(const T& x) {
    Append(x);
    return *this;
  }
  ZoDynArrayBase& operator<<(const ZoDynArrayBase& other);
  ZoDynArrayBase& operator<<(const ZoArray<T>& other);

  void IncreaseSize(long d) { ReAllocate(m_nLength + d); }
  void DecreaseSize(long d) { ReAllocate(m_nLength - d); }

  // A negative to, or one at or past the end, stands for the last element.
  long Find(const T& x, long from = 0, long to = -1) const;
  // Only to == -1 (or to at or past the end) stands for the last element. Returns q's count.
  long Find(const T& x, ZoQuene<long>& q, long from = 0, long to = -1) const;
  bool FindTo(const T& x, long from = 0);
  long FindDel(const T& x);
  long FindOrAppend(const T& x) {
    const long i = Find(x, 0, -1);
    return i >= 0 ? i : Append(x);
  }
  void FindOrInsertHead(const T& x) {
    if (Find(x, 0, -1) < 0) InsertHead(x);
  }
  long BFind(const T& x, long from = 0, long to = -1) const;
  bool BFindTo(const T& x, long from = 0, long to = -1);
  bool SortInto(const T& x, bool allowEqual);

  void SetAll(const T& x);
  void Reverse(long from = 0, long to = -1);
  // REQUIRES: n <= length (for all three: the source range lies inside this container).
  void Left(long n, ZoDynArrayBase& dst) const { CopyRange(0, n, dst); }
  void Right(long n, ZoDynArrayBase& dst) const { CopyRange(m_nLength - n, n, dst); }
  void Mid(long first, long last, ZoDynArrayBase& dst) const { CopyRange(first, last - first + 1, dst); }
  // Into an owning container the range's objects are copied, not its pointers.
  template <class Dst, std::enable_if_t<zo_detail::kOwnsObjects<Dst>, int> = 0>
  void Left(long n, Dst& dst) const {
    dst.CopyObjectsOf(*this, 0, n);
  }
  template <class Dst, std::enable_if_t<zo_detail::kOwnsObjects<Dst>, int> = 0>
  void Right(long n, Dst& dst) const {
    dst.CopyObjectsOf(*this, m_nLength - n, n);
  }
  template <class Dst, std::enable_if_t<zo_detail::kOwnsObjects<Dst>, int> = 0>
  void Mid(long first, long last, Dst& dst) const {
    dst.CopyObjectsOf(*this, first, last - first + 1);
  }
  void DeepCopy(const ZoDynArrayBase& src);
  void DeepCopy(const ZoArray<T>& src);

  bool operator==(const ZoDynArrayBase& other) const;
  bool operator!=(const ZoDynArrayBase& other) const { return !(*this == other); }
  // Lengths only; the elements are not looked at.
  bool operator<(const ZoDynArrayBase& other) const { return m_nLength < other.m_nLength; }
  bool operator>(const ZoDynArrayBase& other) const { return m_nLength > other.m_nLength; }

 protected:
  // Move, with take() reading the element from its old place under the cursor (an owning
  // container empties the place, so that removing it deletes nothing).
  template <class Take>
  bool MoveTaken(long from, long to, Take take);
  // Stores the source's elements from the cursor on, until the cursor leaves the container.
  void FillFromCursor(const T* p, const ZoDynArrayBase& src) {
    while (!IsOut()) {
      SetCurData(*p);
      MoveToNext();
      p = src.GetNext(p);
    }
  }

  long m_nLength;
  long m_nCur;

 private:
  void CopyRange(long first, long count, ZoDynArrayBase& dst) const;
};

template <class T>
template <class Take>
bool ZoDynArrayBase<T>::MoveTaken(long from, long to, Take take) {
  if (from == to || from + 1 == to) return false;
  MoveTo(from);
  const T x = take();
  Insert(to, x);
  if (from <= to) {
    Del(from);
    MoveTo(to - 1);
  } else {
    Del(from + 1);
    MoveTo(to);
  }
  return true;
}

template <class T>
void ZoDynArrayBase<T>::Exchange(long i, long j) {
  // Both indices may grow the container, j first; only then are references taken.
  (*this)[j];
  T& a = (*this)[i];
  T& b = const_cast<T&>(GetAt(j));
  const T x = a;
  a = b;
  b = x;
}

template <class T>
ZoDynArrayBase<T>& ZoDynArrayBase<T>::operator<<(const ZoDynArrayBase& other) {
  const long start = m_nLength;
  const long count = other.m_nLength;
  SetLength(start + count, true);
  MoveTo(start);
  // Taken after the resize: appending a container to itself copies its old elements once.
  FillFromCursor(other.GetFirst(), other);
  return *this;
}

template <class T>
long ZoDynArrayBase<T>::Find(const T& x, long from, long to) const {
  to = zo_detail::LastIndexFor(to, m_nLength);
  if (from > to) return -1;
  assert(IsValidIndex(from));
  const T* p = &GetAt(from);
  for (long i = from; i <= to; ++i, p = GetNext(p))
    if (*p == x) return i;
  return -1;
}

template <class T>
long ZoDynArrayBase<T>::Find(const T& x, ZoQuene<long>& q, long from, long to) const {
  if (to == -1 || to >= m_nLength) to = m_nLength - 1;
  if (from <= to) {
    assert(IsValidIndex(from));
    const T* p = &GetAt(from);
    for (long i = from; i <= to; ++i, p = GetNext(p))
      if (*p == x) q.AddTail(i);
  }
  return q.GetCount();
}

template <class T>
bool ZoDynArrayBase<T>::FindTo(const T& x, long from) {
  MoveTo(from);
  while (!IsOut()) {
    if (GetCurData() == x) return true;
    MoveToNext();
  }
  return false;
}

template <class T>
long ZoDynArrayBase<T>::FindDel(const T& x) {
  // x may be one of the elements, which the removals shift or destroy.
  T value;
  value = x;
  long removed = 0;
  MoveToFirst();
  while (!IsOut()) {
    if (GetCurData() == value) {
      DelCur();
      ++removed;
    }
    MoveToNext();
  }
  return removed;
}

template <class T>
long ZoDynArrayBase<T>::BFind(const T& x, long from, long to) const {
  return zo_detail::HalvingSearch<zo_detail::ValueOrder>(x, from, to, m_nLength,
                                                         [this](long i) -> const T& { return GetAt(i); });
}

template <class T>
bool ZoDynArrayBase<T>::BFindTo(const T& x, long from, long to) {
  return zo_detail::HalvingSearchTo<zo_detail::ValueOrder>(
      *this, x, from, to, [](ZoDynArrayBase& c) -> const T& { return c.GetCurData(); });
}

template <class T>
bool ZoDynArrayBase<T>::SortInto(const T& x, bool allowEqual) {
  if (BFindTo(x, 0, -1)) {
    if (!allowEqual) return false;
    // An equal newcomer goes after the run of its equals.
    while (!IsOut() && GetCurData() == x) MoveToNext();
  }
  InsertCur(x);
  return true;
}

template <class T>
void ZoDynArrayBase<T>::SetAll(const T& x) {
  MoveToFirst();
  while (!IsOut()) {
    SetCurData(x);
    MoveToNext();
  }
}

template <class T>
void ZoDynArrayBase<T>::Reverse(long from, long to) {
  if (to == -1) to = m_nLength - 1;
  const long half = (to - from + 1) / 2;
  for (long i = 0; i < half; ++i) {
    const T x = (*this)[from + i];
    (*this)[from + i] = static_cast<const ZoDynArrayBase&>(*this).GetAt(to - i);
    (*this)[to - i] = x;
  }
}

template <class T>
void ZoDynArrayBase<T>::CopyRange(long first, long count, ZoDynArrayBase& dst) const {
  assert(count >= 0 && first >= 0 && first + count <= m_nLength);
  if (&dst == this) {
    // Into itself: slide the range down to the front, then cut the rest off.
    ZoDynArrayBase& self = dst;
    if (count > 0 && first > 0) {
      self.MoveToFirst();
      const T* p = &GetAt(first);
      for (long k = 0; k < count; ++k, p = GetNext(p)) {
        self.SetCurData(*p);
        self.MoveToNext();
      }
    }
    self.SetLength(count, true);
    self.MoveTo(count);
    return;
  }
  dst.SetLength(count, false);
  dst.MoveToFirst();
  if (count > 0) dst.FillFromCursor(&GetAt(first), *this);
}

template <class T>
void ZoDynArrayBase<T>::DeepCopy(const ZoDynArrayBase& src) {
  if (&src == this) {
    MoveTo(m_nLength);
    return;
  }
  SetLength(src.m_nLength, false);
  MoveToFirst();
  if (src.m_nLength > 0) FillFromCursor(src.GetFirst(), src);
}

template <class T>
bool ZoDynArrayBase<T>::operator==(const ZoDynArrayBase& other) const {
  if (m_nLength != other.m_nLength) return false;
  const T* q = other.GetFirst();
  for (const T* p = GetFirst(); p; p = GetNext(p), q = other.GetNext(q))
    if (*p != *q) return false;
  return true;
}
