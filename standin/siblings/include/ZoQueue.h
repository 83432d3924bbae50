// Just enough of the base library's queue, behaving as the family's does, for the collecting
// searches of the containers, which add indices at its tail and read its entry count.
#pragma once

#include <cstddef>
#include <deque>

template <class T>
class ZoQuene {
 public:
  ZoQuene() = default;
  virtual ~ZoQuene() = default;

  virtual void AddTail(const T& value) { m_items.push_back(value); }
  virtual long GetCount() const { return static_cast<long>(m_items.size()); }
  // False when the queue is empty (value untouched).
  virtual bool RemoveHead(T& value) {
    if (m_items.empty()) return false;
    value = m_items.front();
    m_items.pop_front();
    return true;
  }
  bool IsEmpty() const { return m_items.empty(); }
  void RemoveAll() { m_items.clear(); }
  // REQUIRES: 0 <= index < GetCount()
  const T& GetAt(long index) const { return m_items[static_cast<std::size_t>(index)]; }

 private:
  std::deque<T> m_items;
};

// The base library exports this instantiation; users do not instantiate it again.
extern template class ZoQuene<long>;
