// The one halving search of the container family, in its two forms: by index (BFind,
// BFindData) and placing the cursor (BFindTo, BFindDataTo). Each container hands it an element
// accessor and the order its elements are asked in; the range rule, the probes and which of
// several equal elements is found are the same for all.
#pragma once

#include <cassert>

namespace zo_detail {

// The value containers order by operator> alone: "x goes before e" is asked as e > x.
struct ValueOrder {
  template <class K, class E>
  static bool After(const K& x, const E& e) {
    return x > e;
  }
  template <class K, class E>
  static bool Before(const K& x, const E& e) {
    return e > x;
  }
};

// The owning containers ask their objects operator> and operator<.
struct ObjectOrder {
  template <class K, class E>
  static bool After(const K& x, const E& e) {
    return x > e;
  }
  template <class K, class E>
  static bool Before(const K& x, const E& e) {
    return x < e;
  }
};

// The searches' range rule: a negative end, or one at or past the end, stands for the last element.
inline long LastIndexFor(long to, long length) { return to < 0 || to >= length ? length - 1 : to; }

// One probe at mid, whose element is e: true when e equals x, otherwise the range from..to
// shrinks to the half that can still hold x.
template <class Order, class Key, class E>
bool Halve(const Key& x, const E& e, long mid, long& from, long& to) {
  if (Order::After(x, e))
    from = mid + 1;
  else if (Order::Before(x, e))
    to = mid - 1;
  else
    return true;
  return false;
}

// The index of an element equal to x in the ascending range from..to, or -1. at(i) gives
// element i (by reference).
template <class Order, class Key, class At>
long HalvingSearch(const Key& x, long from, long to, long length, At at) {
  to = LastIndexFor(to, length);
  if (from > to) return -1;
  assert(from >= 0);
  if (Order::Before(x, at(from)) || Order::After(x, at(to))) return -1;
  while (from <= to) {
    const long mid = (from + to) / 2;
    if (Halve<Order>(x, at(mid), mid, from, to)) return mid;
  }
  return -1;
}

// The cursor form: true with c's cursor on an element equal to x, or false with the cursor where
// InsertCur(x) keeps the order. cur(c) gives the element under c's cursor (by reference).
template <class Order, class Key, class Container, class Cur>
bool HalvingSearchTo(Container& c, const Key& x, long from, long to, Cur cur) {
  to = LastIndexFor(to, c.GetLength());
  if (c.GetLength() == 0) {
    c.MoveTo(0);
    return false;
  }
  assert(c.IsValidIndex(from) && from <= to);
  c.MoveTo(from);
  if (Order::Before(x, cur(c))) return false;
  c.MoveTo(to);
  if (Order::After(x, cur(c))) {
    c.MoveToNext();
    return false;
  }
  while (from < to) {
    const long mid = (from + to) / 2;
    c.MoveTo(mid);
    if (Halve<Order>(x, cur(c), mid, from, to)) return true;
  }
  // The range emptied: the cursor is on the last probed element, which goes after x.
  if (from != to) return false;
  c.MoveTo(from);
  if (Order::After(x, cur(c))) {
    c.MoveToNext();
    return false;
  }
  return !Order::Before(x, cur(c));
}

}  // namespace zo_detail
