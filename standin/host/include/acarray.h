// Just enough of the host SDK's array template, behaving as the host's does, for the database
// and the module to pass lists of object ids and pointers. Indices and lengths are int.
#pragma once

#include <algorithm>
#include <vector>

template <class T>
class AcArray {
 public:
  explicit AcArray(int physicalLength = 0, int /*growLength*/ = 8) {
    m_items.reserve(physicalLength > 0 ? physicalLength : 0);
  }

  int length() const { return static_cast<int>(m_items.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(m_items.capacity()); }
  bool isEmpty() const { return m_items.empty(); }

  // REQUIRES: 0 <= i < length()
  T& operator[](int i) { return m_items[static_cast<size_t>(i)]; }
  const T& operator[](int i) const { return m_items[static_cast<size_t>(i)]; }
  T& at(int i) { return m_items[static_cast<size_t>(i)]; }
  const T& at(int i) const { return m_items[static_cast<size_t>(i)]; }
  T& first() { return m_items.front(); }
  T& last() { return m_items.back(); }
  T* asArrayPtr() { return m_items.data(); }
  const T* asArrayPtr() const { return m_items.data(); }

  // Returns the index of the new element.
  int append(const T& value) {
    m_items.push_back(value);
    return length() - 1;
  }
  AcArray& append(const AcArray& other) {
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return *this;
  }
  AcArray& insertAt(int i, const T& value) {
    m_items.insert(m_items.begin() + i, value);
    return *this;
  }
  AcArray& removeAt(int i) {
    m_items.erase(m_items.begin() + i);
    return *this;
  }
  // Removes the first element equal to value at or after start; false when there is none.
  bool remove(const T& value, int start = 0) {
    int at = 0;
    if (!find(value, at, start)) return false;
    removeAt(at);
    return true;
  }
  AcArray& removeLast() {
    m_items.pop_back();
    return *this;
  }
  AcArray& removeAll() {
    m_items.clear();
    return *this;
  }
  AcArray& setLogicalLength(int n) {
    m_items.resize(static_cast<size_t>(n > 0 ? n : 0));
    return *this;
  }
  AcArray& setPhysicalLength(int n) {
    m_items.reserve(static_cast<size_t>(n > 0 ? n : 0));
    return *this;
  }
  AcArray& reverse() {
    std::reverse(m_items.begin(), m_items.end());
    return *this;
  }

  bool contains(const T& value, int start = 0) const {
    int at = 0;
    return find(value, at, start);
  }
  bool find(const T& value, int& foundAt, int start = 0) const {
    for (int i = start < 0 ? 0 : start; i < length(); ++i)
      if (m_items[static_cast<size_t>(i)] == value) {
        foundAt = i;
        return true;
      }
    return false;
  }
  int find(const T& value) const {
    int at = -1;
    return find(value, at, 0) ? at : -1;
  }

  bool operator==(const AcArray& other) const { return m_items == other.m_items; }

 private:
  std::vector<T> m_items;
};

typedef AcArray<void*> AcDbVoidPtrArray;
