// Element types for the container tests: one that counts its instances (so owning containers
// can be checked to delete each object exactly once), and ones whose operator> is no order.
#pragma once

#include <string>
#include <vector>

// Compared by key only; the tag tells equal elements apart, to check stability.
struct Counted {
  static inline long s_live = 0;
  static inline long s_copies = 0;

  Counted(int k = 0, int t = 0) : key(k), tag(t) { ++s_live; }
  Counted(const Counted& o) : key(o.key), tag(o.tag) {
    ++s_live;
    ++s_copies;
  }
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

// The keys of any container with a pointer walk, in walk order.
template <class Container>
std::vector<int> KeysOf(const Container& c) {
  std::vector<int> keys;
  for (auto p = c.GetFirst(); p; p = c.GetNext(p)) keys.push_back(static_cast<int>(*p));
  return keys;
}

template <class Container>
std::vector<int> CountedKeys(const Container& c) {
  std::vector<int> keys;
  for (auto p = c.GetFirst(); p; p = c.GetNext(p)) keys.push_back(p->key);
  return keys;
}

template <class Container>
std::vector<int> CountedTags(const Container& c) {
  std::vector<int> tags;
  for (auto p = c.GetFirst(); p; p = c.GetNext(p)) tags.push_back(p->tag);
  return tags;
}
