// Element types and helpers for the container tests: an element that counts its instances (so
// owning containers can be checked to delete each object exactly once), ones whose comparisons
// are no order, and the container kinds the typed suites run over.
#pragma once

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "containers/DynPArray.h"
#include "containers/OwningList.h"

using Ints = std::vector<int>;

// Compared by key only; the tag tells equal elements apart, to check stability.
struct Counted {
  static inline long s_live = 0;

  Counted(int k = 0, int t = 0) : key(k), tag(t) { ++s_live; }
  Counted(const Counted& o) : key(o.key), tag(o.tag) { ++s_live; }
  Counted& operator=(const Counted& o) = default;
  ~Counted() { --s_live; }

  bool operator==(const Counted& o) const { return key == o.key; }
  bool operator!=(const Counted& o) const { return key != o.key; }
  bool operator<(const Counted& o) const { return key < o.key; }
  bool operator>(const Counted& o) const { return key > o.key; }

  int key;
  int tag;
};

// An operator> that is neither asymmetric nor transitive: a fixed pseudo-random answer per pair.
struct Chaotic {
  Chaotic(int v = 0) : value(v) {}
  bool operator==(const Chaotic& o) const { return value == o.value; }
  bool operator!=(const Chaotic& o) const { return value != o.value; }
  bool operator>(const Chaotic& o) const {
    unsigned h = static_cast<unsigned>(value) * 2654435761u ^ static_cast<unsigned>(o.value) * 40503u;
    h ^= h >> 13;
    return (h * 0x5bd1e995u) >> 31;
  }
  int value;
};

// Rock, paper, scissors: a > b > c > a, everything else unordered.
struct Cyclic {
  Cyclic(int v = 0) : value(v) {}
  bool operator==(const Cyclic& o) const { return value == o.value; }
  bool operator!=(const Cyclic& o) const { return value != o.value; }
  bool operator>(const Cyclic& o) const { return (value % 3 + 3 - o.value % 3) % 3 == 1; }
  int value;
};

// Lists and indexed lists with a small group, so that every operation crosses group borders.
template <class T, long G = 3>
class SmallGroupXList : public ZoXList<T> {
 public:
  SmallGroupXList(long n = 0) : ZoXList<T>(n, G, 4) {}
  SmallGroupXList(const ZoDynArrayBase<T>& src) : ZoXList<T>(0, G, 4) { this->DeepCopy(src); }
  using ZoXList<T>::operator=;
};
class SmallGroupPXList : public ZoPXList<Counted> {
 public:
  SmallGroupPXList(long n = 0) : ZoPXList<Counted>(n, 2, 3) {}
};

template <class C>
constexpr bool kOwning = std::is_same_v<C, ZoDynPArray<Counted>> || std::is_base_of_v<ZoPDList<Counted>, C> ||
                         std::is_base_of_v<ZoPXList<Counted>, C>;
template <class C>
constexpr bool kList = std::is_base_of_v<ZoList<int>, C> || std::is_base_of_v<ZoList<Counted>, C> ||
                       std::is_base_of_v<ZoList<Counted*>, C>;

// The lists check their links (and indexed lists their index); an array has nothing to check.
template <class C>
bool Sound(const C& c) {
  if constexpr (kList<C>) return c.Verify();
  return true;
}

// Where the cursor stands once it has stepped past the last element.
template <class C>
long PastEnd(const C& c) {
  return kList<C> ? -1 : c.GetLength();
}

// Appends key k with tag t: a value, or for an owning container a new object (null for k < 0).
template <class C>
void Add(C& c, int k, int t = 0) {
  if constexpr (kOwning<C>)
    c.Append(k < 0 ? nullptr : new Counted(k, t));
  else if constexpr (std::is_same_v<decltype(c.GetFirst()), const Counted*>)
    c.Append(Counted(k, t));
  else
    c.Append(k);
}
template <class C>
C Make(const Ints& keys) {
  C c;
  for (size_t i = 0; i < keys.size(); ++i) Add(c, keys[i], static_cast<int>(i));
  return c;
}

// The keys (or tags) in walk order: values as ints, objects by key, -1 for an empty place.
template <class C>
Ints KeysOf(const C& c, bool tags = false) {
  Ints keys;
  for (auto p = c.GetFirst(); p; p = c.GetNext(p)) {
    if constexpr (std::is_same_v<decltype(p), Counted* const*>)
      keys.push_back(*p == nullptr ? -1 : tags ? (*p)->tag : (*p)->key);
    else if constexpr (std::is_same_v<decltype(p), const Counted*>)
      keys.push_back(tags ? p->tag : p->key);
    else
      keys.push_back(static_cast<int>(*p));
  }
  return keys;
}
template <class C>
Ints TagsOf(const C& c) {
  return KeysOf(c, true);
}

// Every test of objects ends with exactly the objects it started with: none leaked, none
// deleted twice (a second delete is reported by the address sanitizer).
class CountsObjects : public ::testing::Test {
 protected:
  void SetUp() override { m_before = Counted::s_live; }
  void TearDown() override { EXPECT_EQ(Counted::s_live, m_before); }
  // The objects alive that the test made.
  long Live() const { return Counted::s_live - m_before; }
  long m_before = 0;
};
