// The minimal array: exactly length elements, no spare room and no cursor, for data sized once
// and then read by index; and the rectangular array built as an array of rows.
#pragma once

#include <algorithm>
#include <cassert>

#include "containers/ContainerSort.h"
#include "containers/DynArrayBase.h"

template <class T>
class ZoArray {
 public:
  ZoArray(long n = 0) : m_pData(nullptr), m_nLength(0) {
    if (n > 0) {
      m_pData = new T[n];
      m_nLength = n;
    }
  }
  ZoArray(const ZoArray& src) : m_pData(nullptr), m_nLength(0) { CopyFrom(src); }
  ZoArray(const ZoDynArrayBase<T>& src) : m_pData(nullptr), m_nLength(0) {
    ReAllocate(src.GetLength(), true);
    long i = 0;
    for (const T* p = src.GetFirst(); p; p = src.GetNext(p)) m_pData[i++] = *p;
  }
  ZoArray& operator=(const ZoArray& src) {
    if (&src != this) CopyFrom(src);
    return *this;
  }
  virtual ~ZoArray() { delete[] m_pData; }

  // Nothing happens when n equals the length, even when keep is false.
  void ReAllocate(long n, bool keep);
  void Reset() {
    delete[] m_pData;
    m_pData = nullptr;
    m_nLength = 0;
  }

  long GetLength() const { return m_nLength; }
  long GetMaxIndex() const { return m_nLength - 1; }
  bool IsEmpty() const { return m_nLength == 0; }
  bool IsValidIndex(long i) const { return i >= 0 && i < m_nLength; }
  T* GetDataBuffer() const { return m_pData; }

  // REQUIRES: IsValidIndex(i) for the four accessors below.
  T& operator[](long i) {
    assert(IsValidIndex(i));
    return m_pData[i];
  }
  const T& operator[](long i) const {
    assert(IsValidIndex(i));
    return m_pData[i];
  }
  const T& GetAt(long i) const {
    assert(IsValidIndex(i));
    return m_pData[i];
  }
  void SetAt(long i, const T& x) {
    assert(IsValidIndex(i));
    m_pData[i] = x;
  }

  // REQUIRES: 0 <= i <= length
  void Insert(long i, const T& x);
  void InsertHead(const T& x) { Insert(0, x); }
  long Append(const T& x) {
    Insert(m_nLength, x);
    return m_nLength - 1;
  }
  // REQUIRES: IsValidIndex(i)
  void Del(long i);
  void DelHead() { Del(0); }
  void DelTail() { Del(m_nLength - 1); }
  void SetAll(const T& x) { std::fill(m_pData, m_pData + m_nLength, x); }

  long Find(const T& x, long from = 0, long to = -1) const;
  long Find(const T& x, ZoQuene<long>& q, long from = 0, long to = -1) const;
  long FindDel(const T& x);
  long FindOrAppend(const T& x) {
    const long i = Find(x, 0, -1);
    return i >= 0 ? i : Append(x);
  }
  void FindOrInsertHead(const T& x) {
    if (Find(x, 0, -1) < 0) Insert(0, x);
  }
  long BFind(const T& x, long from = 0, long to = -1) const {
    return zo_detail::HalvingSearch<zo_detail::ValueOrder>(x, from, to, m_nLength,
                                                           [a = m_pData](long i) -> const T& { return a[i]; });
  }
  // Does nothing unless both from and to (-1: the last element) are valid indices.
  void Reverse(long from = 0, long to = -1);
  void Sort(bool ascending) { zo_detail::SortByGreater(m_pData, m_nLength, ascending); }
  void Sort(int (*cmp)(const T&, const T&)) {
    zo_detail::StableSort(m_pData, m_nLength, [cmp](const T& a, const T& b) { return cmp(a, b) > 0; });
  }

  bool operator==(const ZoArray& other) const;
  bool operator!=(const ZoArray& other) const { return !(*this == other); }
  // Lengths only, as the family's root container orders: an array of arrays (the rows of a
  // grid) can then be sorted and searched like any other array.
  bool operator<(const ZoArray& other) const { return m_nLength < other.m_nLength; }
  bool operator>(const ZoArray& other) const { return m_nLength > other.m_nLength; }

 protected:
  void CopyFrom(const ZoArray& src) {
    ReAllocate(src.m_nLength, true);
    std::copy(src.m_pData, src.m_pData + src.m_nLength, m_pData);
  }

  T* m_pData;
  long m_nLength;
};

template <class T>
void ZoArray<T>::ReAllocate(long n, bool keep) {
  if (n == m_nLength) return;
  if (n <= 0) {
    Reset();
    return;
  }
  T* data = new T[n];
  if (keep) std::copy(m_pData, m_pData + std::min(n, m_nLength), data);
  delete[] m_pData;
  m_pData = data;
  m_nLength = n;
}

template <class T>
void ZoArray<T>::Insert(long i, const T& x) {
  assert(i >= 0 && i <= m_nLength);
  T* data = new T[m_nLength + 1];
  std::copy(m_pData, m_pData + i, data);
  // x may be an element of this array: it is read before the old buffer goes.
  data[i] = x;
  std::copy(m_pData + i, m_pData + m_nLength, data + i + 1);
  delete[] m_pData;
  m_pData = data;
  ++m_nLength;
}

template <class T>
void ZoArray<T>::Del(long i) {
  assert(IsValidIndex(i));
  if (m_nLength == 1) {
    Reset();
    return;
  }
  T* data = new T[m_nLength - 1];
  std::copy(m_pData, m_pData + i, data);
  std::copy(m_pData + i + 1, m_pData + m_nLength, data + i);
  delete[] m_pData;
  m_pData = data;
  --m_nLength;
}

template <class T>
long ZoArray<T>::Find(const T& x, long from, long to) const {
  to = zo_detail::LastIndexFor(to, m_nLength);
  if (from > to) return -1;
  assert(IsValidIndex(from));
  for (long i = from; i <= to; ++i)
    if (m_pData[i] == x) return i;
  return -1;
}

template <class T>
long ZoArray<T>::Find(const T& x, ZoQuene<long>& q, long from, long to) const {
  to = zo_detail::LastIndexFor(to, m_nLength);
  if (from <= to) {
    assert(IsValidIndex(from));
    for (long i = from; i <= to; ++i)
      if (m_pData[i] == x) q.AddTail(i);
  }
  return q.GetCount();
}

template <class T>
long ZoArray<T>::FindDel(const T& x) {
  // x may be one of the elements, which every removal reallocates.
  const T value = x;
  long removed = 0;
  for (long i = 0; i < m_nLength;) {
    if (m_pData[i] == value) {
      Del(i);
      ++removed;
    } else {
      ++i;
    }
  }
  return removed;
}

template <class T>
void ZoArray<T>::Reverse(long from, long to) {
  if (to == -1) to = m_nLength - 1;
  if (!IsValidIndex(from) || !IsValidIndex(to)) return;
  for (long i = 0; i < (to - from + 1) / 2; ++i) {
    const T x = m_pData[from + i];
    m_pData[from + i] = m_pData[to - i];
    m_pData[to - i] = x;
  }
}

template <class T>
bool ZoArray<T>::operator==(const ZoArray& other) const {
  if (m_nLength != other.m_nLength) return false;
  for (long i = 0; i < m_nLength; ++i)
    if (m_pData[i] != other.m_pData[i]) return false;
  return true;
}

// Rows of equal length (the column count); element (r, c) is row r, element c.
template <class T>
class Zo2dArray : public ZoArray<ZoArray<T>> {
  using Rows = ZoArray<ZoArray<T>>;

 public:
  using Rows::ReAllocate;
  using Rows::SetAll;

  Zo2dArray(long rows = 0, long cols = 0) { ReAllocate(rows, cols, false); }
  Zo2dArray(const Zo2dArray& src) : Rows(src) {}
  Zo2dArray& operator=(const Zo2dArray& src) {
    Rows::operator=(src);
    return *this;
  }
  ~Zo2dArray() override {}

  // Kept rows keep their first min(old, new) columns when keep is true.
  void ReAllocate(long rows, long cols, bool keep) {
    Rows::ReAllocate(rows, keep);
    for (long r = 0; r < this->m_nLength; ++r) this->m_pData[r].ReAllocate(cols, keep);
  }
  void SetAll(const T& x) {
    for (long r = 0; r < this->m_nLength; ++r) this->m_pData[r].SetAll(x);
  }
};

template <class T>
ZoDynArrayBase<T>& ZoDynArrayBase<T>::operator<<(const ZoArray<T>& other) {
  const long start = m_nLength;
  const long count = other.GetLength();
  SetLength(start + count, true);
  MoveTo(start);
  for (long i = 0; i < count; ++i) {
    SetCurData(other[i]);
    MoveToNext();
  }
  return *this;
}

template <class T>
void ZoDynArrayBase<T>::DeepCopy(const ZoArray<T>& src) {
  const long count = src.GetLength();
  SetLength(count, false);
  MoveToFirst();
  for (long i = 0; i < count; ++i) {
    SetCurData(src[i]);
    MoveToNext();
  }
}
