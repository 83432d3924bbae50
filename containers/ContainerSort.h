// The sorting engine every container shares: the family's stable order, by merging.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <type_traits>

namespace zo_detail {

// True for element types whose operator> is a strict weak order on every value except NaN.
template <class T>
constexpr bool kHasBuiltInOrder =
    std::is_integral<T>::value || std::is_pointer<T>::value || std::is_floating_point<T>::value;

template <class T>
bool ContainsNaN(const T* a, long n) {
  return std::any_of(a, a + n, [](T x) { return std::isnan(x); });
}

// The family's sort order is the stable one: element i goes after element j exactly when
// after(a[i], a[j]), equal elements keep their order. A merge sort gives that order for every
// comparison that is an ordering, in O(n log n) where the family's pairwise counting takes
// n(n - 1)/2 comparisons; for a comparison that is none it still ends with a permutation of the
// input, never reading outside it. after(x, y), x standing before y, is true when x belongs after y.
template <class T, class After>
void StableSort(T* a, long n, After after) {
  if (n < 2) return;
  // Runs of 16 by insertion, each element moving left only past those that belong after it.
  constexpr long kRun = 16;
  for (long lo = 0; lo < n; lo += kRun) {
    const long hi = std::min(lo + kRun, n);
    for (long i = lo + 1; i < hi; ++i) {
      if (!after(a[i - 1], a[i])) continue;
      T x = std::move(a[i]);
      long j = i;
      do {
        a[j] = std::move(a[j - 1]);
        --j;
      } while (j > lo && after(a[j - 1], x));
      a[j] = std::move(x);
    }
  }
  if (n <= kRun) return;
  std::unique_ptr<T[]> scratch(new T[n]);
  T* src = a;
  T* dst = scratch.get();
  for (long width = kRun; width < n; width *= 2) {
    for (long lo = 0; lo < n; lo += 2 * width) {
      const long mid = std::min(lo + width, n);
      const long hi = std::min(lo + 2 * width, n);
      long i = lo, j = mid, k = lo;
      if (mid < hi && after(src[mid - 1], src[mid]))
        while (i < mid && j < hi) dst[k++] = after(src[i], src[j]) ? std::move(src[j++]) : std::move(src[i++]);
      while (i < mid) dst[k++] = std::move(src[i++]);
      while (j < hi) dst[k++] = std::move(src[j++]);
    }
    std::swap(src, dst);
  }
  if (src != a) std::move(src, src + n, a);
}

// Sort(bool) of the value arrays. For built-in element types a library stable sort gives the
// very same order far faster; every other type keeps the pairwise sort.
template <class T>
void SortByGreater(T* a, long n, bool ascending) {
  if (n < 2) return;
  if constexpr (kHasBuiltInOrder<T>) {
    // A NaN is in no order with anything: the NaNs go last, and the numbers sort as without them.
    if constexpr (std::is_floating_point<T>::value)
      if (ContainsNaN(a, n)) n = std::stable_partition(a, a + n, [](T x) { return !std::isnan(x); }) - a;
    if (ascending)
      std::stable_sort(a, a + n, [](const T& x, const T& y) { return y > x; });
    else
      std::stable_sort(a, a + n, [](const T& x, const T& y) { return x > y; });
    return;
  }
  if (ascending)
    StableSort(a, n, [](const T& x, const T& y) { return x > y; });
  else
    StableSort(a, n, [](const T& x, const T& y) { return y > x; });
}

}  // namespace zo_detail
