#include "containers/ContainerSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "containers/test_support.h"

namespace {

// The value sorts of every kind order alike, keep equal elements in order and stop on any
// comparison.
template <template <class> class K>
struct Kind {
  template <class T>
  using Of = K<T>;
};
template <class K>
class Sorting : public CountsObjects {};
using Kinds = ::testing::Types<Kind<ZoDynArray>, Kind<ZoList>, Kind<ZoDList>, Kind<SmallGroupXList>>;
TYPED_TEST_SUITE(Sorting, Kinds);

TYPED_TEST(Sorting, IsStableInBothDirectionsAndByComparator) {
  using C = typename TypeParam::template Of<Counted>;
  std::mt19937 rng(7);
  C objects;
  std::vector<Counted> mirror;
  for (int i = 0; i < 200; ++i) mirror.emplace_back(static_cast<int>(rng() % 20), i);
  for (const Counted& x : mirror) objects.Append(x);
  auto stableTags = [&mirror](auto before) {
    std::vector<Counted> v = mirror;
    std::stable_sort(v.begin(), v.end(), before);
    Ints tags;
    for (const Counted& c : v) tags.push_back(c.tag);
    return tags;
  };
  for (bool ascending : {true, false}) {
    C s(objects);
    s.MoveTo(17);
    s.Sort(ascending);
    EXPECT_EQ(s.GetCur(), kList<C> ? -1 : 17);  // an array's cursor stays, a list's ends out
    EXPECT_EQ(TagsOf(s), stableTags([ascending](const Counted& a, const Counted& b) {
                return ascending ? a.key < b.key : a.key > b.key;
              }));
  }
  objects.Sort(+[](const Counted& a, const Counted& b) { return a.key % 3 - b.key % 3; });
  EXPECT_EQ(TagsOf(objects), stableTags([](const Counted& a, const Counted& b) { return a.key % 3 < b.key % 3; }));
  EXPECT_TRUE(Sound(objects));
}

template <class C>
Ints SortedValues(const Ints& values, bool ascending) {
  C a;
  for (int v : values) a.Append(v);
  a.Sort(ascending);
  Ints out;
  for (auto p = a.GetFirst(); p; p = a.GetNext(p)) out.push_back(p->value);
  std::sort(out.begin(), out.end());
  return out;
}

TYPED_TEST(Sorting, NeverHangsOnComparisonsThatAreNoOrder) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    Ints values(1 + rng() % 60);
    for (int& v : values) v = static_cast<int>(rng() % 1000);
    Ints expected = values;
    std::sort(expected.begin(), expected.end());
    for (bool ascending : {true, false}) {  // a permutation of the input, nothing lost or doubled
      EXPECT_EQ(SortedValues<typename TypeParam::template Of<Chaotic>>(values, ascending), expected);
      EXPECT_EQ(SortedValues<typename TypeParam::template Of<Cyclic>>(values, ascending), expected);
    }
  }
  // A comparator that answers at random.
  typename TypeParam::template Of<int> a;
  for (int i = 0; i < 40; ++i) a.Append(i);
  static std::mt19937 coin(3);
  a.Sort(+[](const int&, const int&) { return static_cast<int>(coin() % 3) - 1; });
  Ints keys = KeysOf(a);
  std::sort(keys.begin(), keys.end());
  for (int i = 0; i < 40; ++i) EXPECT_EQ(keys[i], i);
}

}  // namespace
