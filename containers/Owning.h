// The owning vocabulary, written once for the owning array and both owning lists: a container
// of pointers that owns the objects they point to. An empty place (slot or node) holds null.
// Release deletes an object and keeps its place, TakeOff hands the pointer back; searches,
// halving searches and sorted insertion look at the objects, never at the addresses.
#pragma once

#include <cassert>
#include <memory>
#include <vector>

#include "containers/Array.h"
#include "containers/DynArrayBase.h"
#include "containers/HalvingSearch.h"
#include "platform/Siblings.h"

namespace zo_detail {

// Container is the pointer container underneath (ZoDynArray<T*>, ZoDList<T*>, ZoXList<T*>),
// Derived the owning container built on it. Each kind supplies what it does its own way:
// - T* TakeOffCur(): the array keeps the emptied slot, the lists remove the emptied node;
// - ReleaseCur() may be declared again as virtual (the array's dispatch table has it);
// - CollectingEnd(to, length): which end of the collecting FindData stands for the last place;
// - Differ(a, b): how operator== tells two objects apart;
// and its own DelCur, FindDel and sorts.
template <class Derived, class T, class Container>
class Owning : public Container, public OwningTag {
 public:
  using Container::Container;
  using Root = ZoDynArrayBase<T*>;

  // Bulk copies into an owning container copy the objects, and a copy's empty places stay
  // empty where they were: a pointer stored twice would be deleted twice. A bulk copy out of an
  // owning container into a plain one lends the pointers (Left, Right, Mid of the root).
  void DeepCopy(const Root& src) { CopyAll(src); }
  void DeepCopy(const ZoArray<T*>& src) { CopyAll(src); }
  // One pointer is handed over, as with Append; a container's objects are copied.
  Derived& operator<<(T* p) {
    this->Append(p);
    return self();
  }
  Derived& operator<<(const Root& other) { return AppendCopies(other); }
  Derived& operator<<(const ZoArray<T*>& other) { return AppendCopies(other); }
  // One pointer in every place would be owned many times over.
  void SetAll(T* const&) = delete;

  // Deletes every object; then the container's own Reset.
  void Reset() override {
    ReleaseAll();
    Container::Reset();
  }
  // The pointer leaves its place first, so the removal deletes nothing.
  bool Move(long from, long to) override {
    return this->MoveTaken(from, to, [this] { return EmptyCur(); });
  }

  // REQUIRES (the three accessors): the place holds an object.
  T& GetCurPData() { return Object(Cur()); }
  T& operator()(long i) { return Object((*this)[i]); }
  const T& GetPData(long i) const { return Object(At(i)); }
  bool IsCurEmpty() const { return this->IsOut() || At(this->m_nCur) == nullptr; }
  bool IsEmptyData(long i) const { return !this->IsValidIndex(i) || At(i) == nullptr; }
  long GetDataNum() const;
  // Stores p in the first empty place, appending when none is empty; returns its index.
  long PlaceIn(T* p);

  // Deletes the object under the cursor; its place stays, empty.
  void ReleaseCur() {
    if (!this->IsOut()) delete EmptyCur();
  }
  void Release(long i) {
    this->MoveTo(i);
    self().ReleaseCur();
  }
  // The length is unchanged; every place ends empty.
  void ReleaseAll();
  T* TakeOff(long i) {
    this->MoveTo(i);
    return self().TakeOffCur();
  }
  T* TakeOffHead() {
    this->MoveToFirst();
    return self().TakeOffCur();
  }
  T* TakeOffTail() {
    this->MoveToLast();
    return self().TakeOffCur();
  }

  // The first index in from..to (the range rule of the searches) whose object equals x, or -1.
  long FindData(const T& x, long from = 0, long to = -1) const {
    return ScanData(x, nullptr, from, LastIndexFor(to, this->m_nLength));
  }
  // Adds every such index to q; returns q's count afterwards.
  long FindData(const T& x, ZoQuene<long>& q, long from = 0, long to = -1) const {
    return ScanData(x, &q, from, Derived::CollectingEnd(to, this->m_nLength));
  }
  // Deletes every object equal to x and removes its place; returns how many.
  long FindDataDel(const T& x);
  // REQUIRES (both halving searches): every place in the range holds an object.
  long BFindData(const T& x, long from = 0, long to = -1) const {
    return HalvingSearch<ObjectOrder>(x, from, to, this->m_nLength, [this](long i) -> const T& { return GetPData(i); });
  }
  bool BFindDataTo(const T& x, long from = 0, long to = -1) {
    return HalvingSearchTo<ObjectOrder>(*this, x, from, to, [](Owning& c) -> const T& { return Object(c.Cur()); });
  }
  // p goes after the objects equal to it. On success the container owns p; on false (an equal
  // object present and allowEqual false) the caller keeps it.
  bool SortInto(T* p, bool allowEqual);

  // Equal lengths, and place by place both empty or both holding objects that do not Differ.
  bool operator==(const Derived& other) const;
  bool operator!=(const Derived& other) const { return !(*this == other); }

 protected:
  // Places are read and written through the container's own accessors: no owning container
  // changes them, and the array then reaches its buffer without a virtual call.
  T*& Cur() { return Container::GetCurData(); }
  T* At(long i) const { return Container::GetAt(i); }
  // Empties the place under the cursor and returns what it held.
  T* EmptyCur() {
    T* p = Cur();
    Cur() = nullptr;
    return p;
  }
  static T& Object(T* p) {
    assert(p != nullptr && "an empty place where an object is required");
    return *p;
  }
  // Makes this a copy of src that owns copies of src's objects; empty places stay where they were.
  void CloneFrom(const Derived& src) { Store(CopiesOf(src, 0, src.GetLength()), false); }

 private:
  friend Root;
  using Copies = std::vector<std::unique_ptr<T>>;

  Derived& self() { return static_cast<Derived&>(*this); }
  // This becomes copies of src's objects in count places from first (src may be this).
  void CopyObjectsOf(const Root& src, long first, long count) { Store(CopiesOf(src, first, count), false); }
  template <class Src>
  void CopyAll(const Src& src) {
    if (static_cast<const void*>(&src) == this)
      this->MoveTo(this->m_nLength);
    else
      Store(CopiesOf(src, 0, src.GetLength()), false);
  }
  template <class Src>
  Derived& AppendCopies(const Src& src) {
    Store(CopiesOf(src, 0, src.GetLength()), true);
    return self();
  }
  // The copies are made before anything here changes: src may be this container, and a copy
  // constructor that throws leaves this container as it was.
  static Copies CopiesOf(const Root& src, long first, long count);
  static Copies CopiesOf(const ZoArray<T*>& src, long first, long count);
  // Replaces the places (or appends to them) with the copies; the cursor ends past the end.
  void Store(Copies copies, bool append);
  // With a null q, the first index in from..to (to already resolved) whose object equals x, or
  // -1; otherwise every such index is added to q and q's count is returned.
  long ScanData(const T& x, ZoQuene<long>* q, long from, long to) const;
};

template <class Derived, class T, class Container>
long Owning<Derived, T, Container>::GetDataNum() const {
  long n = 0;
  for (T* const* p = Container::GetFirst(); p; p = Container::GetNext(p))
    if (*p != nullptr) ++n;
  return n;
}

template <class Derived, class T, class Container>
long Owning<Derived, T, Container>::PlaceIn(T* p) {
  this->MoveToFirst();
  while (!this->IsOut() && Cur() != nullptr) this->MoveToNext();
  if (this->IsOut()) return this->Append(p);
  Cur() = p;
  return this->m_nCur;
}

template <class Derived, class T, class Container>
void Owning<Derived, T, Container>::ReleaseAll() {
  for (this->MoveToFirst(); !this->IsOut(); this->MoveToNext()) self().ReleaseCur();
}

template <class Derived, class T, class Container>
long Owning<Derived, T, Container>::ScanData(const T& x, ZoQuene<long>* q, long from, long to) const {
  if (from <= to) {
    assert(this->IsValidIndex(from));
    T* const* p = &Container::GetAt(from);
    for (long i = from; i <= to; ++i, p = Container::GetNext(p)) {
      if (*p == nullptr || !(**p == x)) continue;
      if (q == nullptr) return i;
      q->AddTail(i);
    }
  }
  return q == nullptr ? -1 : q->GetCount();
}

template <class Derived, class T, class Container>
long Owning<Derived, T, Container>::FindDataDel(const T& x) {
  // When x is one of the owned objects it must outlive the comparisons: it is deleted last.
  T* last = nullptr;
  long removed = 0;
  for (this->MoveToFirst(); !this->IsOut(); this->MoveToNext()) {
    T* p = Cur();
    if (p == nullptr || !(*p == x)) continue;
    if (p == &x) last = EmptyCur();
    this->DelCur();
    ++removed;
  }
  delete last;
  return removed;
}

template <class Derived, class T, class Container>
bool Owning<Derived, T, Container>::SortInto(T* p, bool allowEqual) {
  if (BFindDataTo(*p, 0, -1)) {
    if (!allowEqual) return false;
    while (!IsCurEmpty() && GetCurPData() == *p) this->MoveToNext();
  }
  this->InsertCur(p);
  return true;
}

template <class Derived, class T, class Container>
bool Owning<Derived, T, Container>::operator==(const Derived& other) const {
  if (this->m_nLength != other.GetLength()) return false;
  const Container& b = other;
  for (T *const *p = Container::GetFirst(), *const *q = b.Container::GetFirst(); p;
       p = Container::GetNext(p), q = b.Container::GetNext(q)) {
    if ((*p == nullptr) != (*q == nullptr)) return false;
    if (*p != nullptr && Derived::Differ(**p, **q)) return false;
  }
  return true;
}

template <class Derived, class T, class Container>
auto Owning<Derived, T, Container>::CopiesOf(const Root& src, long first, long count) -> Copies {
  assert(count >= 0 && first >= 0 && first + count <= src.GetLength());
  Copies copies;
  copies.reserve(count);
  T* const* p = count > 0 ? &src.GetAt(first) : nullptr;
  for (long k = 0; k < count; ++k, p = src.GetNext(p)) copies.emplace_back(*p ? new T(**p) : nullptr);
  return copies;
}

template <class Derived, class T, class Container>
auto Owning<Derived, T, Container>::CopiesOf(const ZoArray<T*>& src, long first, long count) -> Copies {
  Copies copies;
  copies.reserve(count);
  for (long i = first; i < first + count; ++i) copies.emplace_back(src[i] ? new T(*src[i]) : nullptr);
  return copies;
}

template <class Derived, class T, class Container>
void Owning<Derived, T, Container>::Store(Copies copies, bool append) {
  const long start = append ? this->m_nLength : 0;
  if (!append) ReleaseAll();
  this->SetLength(start + static_cast<long>(copies.size()), append);
  this->MoveTo(start);
  for (std::unique_ptr<T>& copy : copies) {
    Cur() = copy.release();
    this->MoveToNext();
  }
}

}  // namespace zo_detail
