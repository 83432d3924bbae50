// The contiguous, growable array of the family. It grows by a fixed unit (arithmetic, not
// geometric growth), so callers that know the final size reserve it.
#pragma once

#include <algorithm>
#include <cassert>
#include <functional>

#include "containers/Array.h"
#include "containers/ContainerSort.h"
#include "containers/DynArrayBase.h"

template <class T>
class ZoDynArray : public ZoDynArrayBase<T> {
  using Base = ZoDynArrayBase<T>;

 public:
  using Base::BFind;
  using Base::DeepCopy;
  using Base::Find;
  using Base::operator[];

  // space reserves storage; it creates no elements.
  ZoDynArray(long space = 0, long allocUnit = 10) : m_pData(nullptr), m_nSpaceSize(0), m_nAllocUnit(allocUnit) {
    if (space > 0) {
      m_pData = new T[space];
      m_nSpaceSize = space;
    }
  }
  // Copies start with the default allocation unit, not the source's.
  ZoDynArray(const ZoDynArray& src) : Base(), m_pData(nullptr), m_nSpaceSize(0), m_nAllocUnit(10) { DeepCopy(src); }
  ZoDynArray(const Base& src) : m_pData(nullptr), m_nSpaceSize(0), m_nAllocUnit(10) { Base::DeepCopy(src); }
  ZoDynArray& operator=(const ZoDynArray& src) {
    DeepCopy(src);
    return *this;
  }
  ZoDynArray& operator=(const Base& src) {
    Base::DeepCopy(src);
    return *this;
  }
  ~ZoDynArray() override { delete[] m_pData; }

  void ReAllocate(long n) override;
  void SetLength(long n, bool keep) override;
  void Reset() override {
    this->m_nLength = 0;
    this->m_nCur = -1;
  }
  T& GetCurData() override {
    assert(this->IsValidIndex(this->m_nCur));
    return m_pData[this->m_nCur];
  }
  void SetCurData(const T& x) override {
    assert(this->IsValidIndex(this->m_nCur));
    m_pData[this->m_nCur] = x;
  }
  const T* GetFirst() const override { return this->m_nLength > 0 ? m_pData : nullptr; }
  const T* GetNext(const T* p) const override {
    return p == nullptr || p == m_pData + this->m_nLength - 1 ? nullptr : p + 1;
  }
  const T* GetPre(const T* p) const override { return p == nullptr || p == m_pData ? nullptr : p - 1; }
  const T* GetLast() const override { return this->m_nLength > 0 ? m_pData + this->m_nLength - 1 : nullptr; }
  const T& GetAt(long i) const override {
    assert(this->IsValidIndex(i));
    return m_pData[i];
  }
  void InsertCur(const T& x) override;
  // With spare room the element goes straight behind the last one; growth still goes
  // through ReAllocate and InsertCur.
  long Append(const T& x) override {
    const long n = this->m_nLength;
    if (n < m_nSpaceSize) {
      m_pData[n] = x;
      this->m_nLength = n + 1;
      this->m_nCur = n;
      return n;
    }
    return Base::Append(x);
  }
  void DelCur() override;
  void Sort(int (*cmp)(const T&, const T&)) override {
    zo_detail::StableSort(m_pData, this->m_nLength, [cmp](const T& a, const T& b) { return cmp(a, b) > 0; });
  }
  void Sort(bool ascending) override { zo_detail::SortByGreater(m_pData, this->m_nLength, ascending); }

  // The operations below read the buffer directly; their results are those of the base's
  // versions, which go through the virtual primitives one element at a time.
  const T& operator[](long i) const { return GetAt(i); }
  long Find(const T& x, long from = 0, long to = -1) const;
  long BFind(const T& x, long from = 0, long to = -1) const {
    return zo_detail::HalvingSearch<zo_detail::ValueOrder>(x, from, to, this->m_nLength,
                                                           [a = m_pData](long i) -> const T& { return a[i]; });
  }
  void DeepCopy(const ZoDynArray& src);

  long GetSpaceSize() const { return m_nSpaceSize; }
  // False when n is below the length; otherwise storage becomes exactly n slots.
  bool SetSpaceSize(long n);
  long GetAllocUnit() const { return m_nAllocUnit; }
  void SetAllocUnit(long unit) { m_nAllocUnit = unit; }
  // REQUIRES: p comes from array new with n elements; the array owns it from now on.
  void Attach(long n, T* p);
  // The caller owns the returned block and frees it with array delete.
  T* Detach();

 protected:
  T* m_pData;
  long m_nSpaceSize;
  long m_nAllocUnit;
};

template <class T>
void ZoDynArray<T>::ReAllocate(long n) {
  assert(n >= 0);
  if (n <= m_nSpaceSize) {
    this->m_nLength = n;
    return;
  }
  const long space = n + std::max(m_nAllocUnit, 0L);
  T* data = new T[space];
  std::copy(m_pData, m_pData + this->m_nLength, data);
  delete[] m_pData;
  m_pData = data;
  m_nSpaceSize = space;
  this->m_nLength = n;
}

template <class T>
void ZoDynArray<T>::SetLength(long n, bool keep) {
  assert(n >= 0);
  if (n != m_nSpaceSize) {
    T* old = m_pData;
    m_pData = n >= 1 ? new T[n] : nullptr;
    if (keep) std::copy(old, old + std::min(n, this->m_nLength), m_pData);
    delete[] old;
    m_nSpaceSize = n;
  }
  this->m_nLength = n;
}

template <class T>
void ZoDynArray<T>::InsertCur(const T& x) {
  const long c = this->m_nCur;
  assert(c >= 0 && c <= this->m_nLength);
  // x may be an element of this very array, which the growth and the shift overwrite.
  const bool inside = !std::less<const T*>()(&x, m_pData) && std::less<const T*>()(&x, m_pData + m_nSpaceSize);
  auto openSlot = [this, c] {
    ReAllocate(this->m_nLength + 1);
    std::copy_backward(m_pData + c, m_pData + this->m_nLength - 1, m_pData + this->m_nLength);
  };
  if (inside) {
    const T value = x;
    openSlot();
    m_pData[c] = value;
  } else {
    openSlot();
    m_pData[c] = x;
  }
}

template <class T>
void ZoDynArray<T>::DelCur() {
  const long c = this->m_nCur;
  assert(this->IsValidIndex(c));
  std::copy(m_pData + c + 1, m_pData + this->m_nLength, m_pData + c);
  ReAllocate(this->m_nLength - 1);
  this->m_nCur = c - 1;
}

template <class T>
long ZoDynArray<T>::Find(const T& x, long from, long to) const {
  to = zo_detail::LastIndexFor(to, this->m_nLength);
  if (from > to) return -1;
  assert(this->IsValidIndex(from));
  const T* end = m_pData + to + 1;
  const T* p = std::find(static_cast<const T*>(m_pData + from), end, x);
  return p == end ? -1 : static_cast<long>(p - m_pData);
}

template <class T>
void ZoDynArray<T>::DeepCopy(const ZoDynArray& src) {
  if (&src != this) {
    const long n = src.m_nLength;
    SetLength(n, false);
    std::copy(src.m_pData, src.m_pData + n, m_pData);
  }
  this->MoveTo(this->m_nLength);
}

template <class T>
bool ZoDynArray<T>::SetSpaceSize(long n) {
  if (n < this->m_nLength) return false;
  if (n == m_nSpaceSize) return true;
  T* data = n > 0 ? new T[n] : nullptr;
  std::copy(m_pData, m_pData + this->m_nLength, data);
  delete[] m_pData;
  m_pData = data;
  m_nSpaceSize = n;
  return true;
}

template <class T>
void ZoDynArray<T>::Attach(long n, T* p) {
  assert(n >= 0 && (n == 0 || p != nullptr));
  if (p != m_pData) delete[] m_pData;
  m_pData = p;
  this->m_nLength = n;
  m_nSpaceSize = n;
}

template <class T>
T* ZoDynArray<T>::Detach() {
  T* data = m_pData;
  m_pData = nullptr;
  this->m_nLength = 0;
  m_nSpaceSize = 0;
  this->m_nCur = -1;
  return data;
}
