// The sorting engine every array kind shares: the family's stable counting sort by pairwise
// comparison with an in-place permutation, guarded against comparisons that are no order.
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

// Stable bottom-up merge sort. It terminates with a permutation of the input whatever the
// comparison answers, so it is the fallback when the pairwise counts are no permutation.
// after(x, y), x standing before y, is true when x belongs after y.
template <class T, class After>
void MergeSort(T* a, long n, After after) {
  std::unique_ptr<T[]> scratch(new T[n]);
  T* src = a;
  T* dst = scratch.get();
  for (long width = 1; width < n; width *= 2) {
    for (long lo = 0; lo < n; lo += 2 * width) {
      const long mid = std::min(lo + width, n);
      const long hi = std::min(lo + 2 * width, n);
      long i = lo, j = mid, k = lo;
      while (i < mid && j < hi) dst[k++] = after(src[i], src[j]) ? src[j++] : src[i++];
      while (i < mid) dst[k++] = src[i++];
      while (j < hi) dst[k++] = src[j++];
    }
    std::swap(src, dst);
  }
  if (src != a)
    for (long i = 0; i < n; ++i) a[i] = src[i];
}

// The family's sort: target[i] counts where element i ends, then each cycle of the
// permutation is carried through with one temporary. A comparison that is not a strict weak
// order can yield counts that are no permutation; those are detected before anything moves.
template <class T, class After>
void PairwiseSort(T* a, long n, After after) {
  if (n < 2) return;
  std::unique_ptr<long[]> target(new long[n]);
  for (long i = 0; i < n; ++i) target[i] = i;
  for (long i = 0; i < n; ++i)
    for (long j = i + 1; j < n; ++j)
      if (after(a[i], a[j])) {
        ++target[i];
        --target[j];
      }

  std::unique_ptr<bool[]> seen(new bool[n]());
  for (long i = 0; i < n; ++i) {
    const long t = target[i];
    if (t < 0 || t >= n || seen[t]) {
      MergeSort(a, n, after);
      return;
    }
    seen[t] = true;
  }

  T carry;
  T swapped;
  for (long i = 0; i < n; ++i) {
    if (target[i] == i) continue;
    carry = a[i];
    long k = target[i];
    while (k != i) {
      swapped = a[k];
      a[k] = carry;
      carry = swapped;
      const long next = target[k];
      target[k] = k;
      k = next;
    }
    a[i] = carry;
    target[i] = i;
  }
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
    PairwiseSort(a, n, [](const T& x, const T& y) { return x > y; });
  else
    PairwiseSort(a, n, [](const T& x, const T& y) { return y > x; });
}

}  // namespace zo_detail
