#include "containers/Owning.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "containers/test_support.h"

namespace {

// The owning vocabulary through each container that shares it. Where the kinds differ by
// design, the test says so with kArray.
template <class C>
class Owning : public CountsObjects {
 protected:
  static constexpr bool kArray = std::is_same_v<C, ZoDynPArray<Counted>>;
};
using Kinds = ::testing::Types<ZoDynPArray<Counted>, ZoPDList<Counted>, SmallGroupPXList>;
TYPED_TEST_SUITE(Owning, Kinds);

TYPED_TEST(Owning, PlaceInReleaseAndAccess) {
  TypeParam c = Make<TypeParam>({1, 2, -1, 4});
  EXPECT_EQ(c.GetDataNum(), 3);
  EXPECT_TRUE(c.IsEmptyData(2));
  EXPECT_TRUE(c.IsEmptyData(4));
  EXPECT_TRUE(c.IsEmptyData(-1));
  EXPECT_EQ(c.PlaceIn(new Counted(3)), 2);  // the first empty place
  EXPECT_EQ(c.GetCur(), 2);
  EXPECT_EQ(c.PlaceIn(new Counted(5)), 4);  // none empty: appended
  EXPECT_EQ(c.GetCur(), 4);

  const long live = Counted::s_live;
  c.Release(1);
  EXPECT_EQ(Counted::s_live, live - 1);
  EXPECT_TRUE(c.IsCurEmpty());
  c.ReleaseCur();  // an empty place: nothing to delete
  c.MoveTo(-1);
  EXPECT_TRUE(c.IsCurEmpty());
  c.ReleaseCur();  // the cursor is out: nothing either
  EXPECT_EQ(KeysOf(c), (Ints{1, -1, 3, 4, 5}));

  c.MoveTo(0);
  c.GetCurPData().key = 7;
  EXPECT_EQ(c(0).key, 7);
  EXPECT_EQ(c.GetPData(3).key, 4);
  c.ReleaseAll();
  EXPECT_EQ(c.GetLength(), 5);
  EXPECT_EQ(c.GetDataNum(), 0);
  EXPECT_TRUE(Sound(c));
  c.PlaceIn(new Counted(1));
  c.Reset();
  EXPECT_TRUE(c.IsEmpty());
  EXPECT_EQ(c.GetCur(), -1);
}

TYPED_TEST(Owning, TakeOffHandsTheObjectBack) {
  constexpr bool kArray = TestFixture::kArray;
  TypeParam c = Make<TypeParam>({1, 2, 3, 4, 5});
  c.MoveTo(-1);
  EXPECT_EQ(c.TakeOffCur(), nullptr);
  const long live = Counted::s_live;
  c.MoveTo(1);
  std::unique_ptr<Counted> two(c.TakeOffCur());
  EXPECT_EQ(two->key, 2);
  EXPECT_EQ(Counted::s_live, live);
  // The array keeps the emptied slot; a list removes the emptied node.
  EXPECT_EQ(KeysOf(c), (kArray ? Ints{1, -1, 3, 4, 5} : Ints{1, 3, 4, 5}));
  EXPECT_EQ(c.GetCur(), kArray ? 1 : 0);
  std::unique_ptr<Counted> mid(c.TakeOff(kArray ? 2 : 1)), head(c.TakeOffHead()), tail(c.TakeOffTail());
  EXPECT_EQ(mid->key, 3);
  EXPECT_EQ(head->key, 1);
  EXPECT_EQ(tail->key, 5);
  EXPECT_EQ(KeysOf(c), (kArray ? Ints{-1, -1, -1, 4, -1} : Ints{4}));
  EXPECT_EQ(Counted::s_live, live);
  EXPECT_TRUE(Sound(c));
}

TYPED_TEST(Owning, RemovalsDeleteOnlyWhatTheyRemove) {
  TypeParam c = Make<TypeParam>({1, 2, -1, 4, 5, 6});
  for (long at : {5L, 2L, 0L}) {  // the last place, an empty one, the first
    const long live = Counted::s_live - (c.IsEmptyData(at) ? 0 : 1);
    c.MoveTo(at);
    c.DelCur();
    EXPECT_EQ(c.GetCur(), at - 1);
    EXPECT_EQ(Counted::s_live, live);
  }
  EXPECT_EQ(KeysOf(c), (Ints{2, 4, 5}));

  // Move takes the pointer out first: the object moves, nothing is deleted.
  const Counted* five = &c.GetPData(2);
  EXPECT_TRUE(c.Move(2, 0));
  EXPECT_EQ(&c.GetPData(0), five);
  EXPECT_EQ(c.GetCur(), 0);
  EXPECT_TRUE(c.Move(0, 3));
  EXPECT_EQ(KeysOf(c), (Ints{2, 4, 5}));
  EXPECT_EQ(c.GetCur(), 2);
  EXPECT_FALSE(c.Move(1, 2));

  // FindDel looks for the address, not an equal object. On a miss the array's cursor stays,
  // a list's walk ends out.
  const std::unique_ptr<Counted> equal(new Counted(4));
  c.MoveTo(1);
  EXPECT_EQ(c.FindDel(equal.get()), 0);
  EXPECT_EQ(c.GetCur(), TestFixture::kArray ? 1 : -1);
  EXPECT_EQ(c.FindDel(&c(1)), 1);
  EXPECT_EQ(c.GetCur(), 0);
  EXPECT_EQ(KeysOf(c), (Ints{2, 5}));
  EXPECT_TRUE(Sound(c));
}

TYPED_TEST(Owning, SearchesLookAtTheObjects) {
  TypeParam c = Make<TypeParam>({5, -1, 3, 5, 9, 5});
  EXPECT_EQ(c.FindData(Counted(5)), 0);
  EXPECT_EQ(c.FindData(Counted(5), 1), 3);
  EXPECT_EQ(c.FindData(Counted(9), 0, 3), -1);
  EXPECT_EQ(c.FindData(Counted(9), 2, -4), 4);
  EXPECT_EQ(c.FindData(Counted(7)), -1);
  ZoQuene<long> q;
  q.AddTail(100);
  EXPECT_EQ(c.FindData(Counted(5), q, 1), 3);  // entries already in the queue are counted
  EXPECT_EQ(q.GetAt(2), 5);
  // The array's collecting search takes only -1 for the last slot; the lists any negative end.
  ZoQuene<long> r;
  EXPECT_EQ(c.FindData(Counted(5), r, 0, -2), TestFixture::kArray ? 0 : 3);

  // x is one of the objects deleted: it stays alive until the last comparison.
  EXPECT_EQ(c.FindDataDel(c.GetPData(0)), 3);
  EXPECT_EQ(KeysOf(c), (Ints{-1, 3, 9}));
  EXPECT_EQ(c.FindDataDel(Counted(8)), 0);
  EXPECT_TRUE(Sound(c));
}

TYPED_TEST(Owning, SortsMoveThePointers) {
  TypeParam c = Make<TypeParam>({3, 1, 3, 2});
  const Counted* first3 = &c.GetPData(0);
  c.Sort(true);
  EXPECT_EQ(KeysOf(c), (Ints{1, 2, 3, 3}));
  EXPECT_EQ(&c.GetPData(2), first3);  // stable, and the objects keep their addresses
  c.Sort(false);
  EXPECT_EQ(TagsOf(c), (Ints{0, 2, 3, 1}));
  c.Sort(+[](const Counted& x, const Counted& y) { return x.tag - y.tag; });
  EXPECT_EQ(KeysOf(c), (Ints{3, 1, 3, 2}));
  EXPECT_TRUE(Sound(c));

  // By comparator (here descending keys): stable, and the same objects moved, none copied.
  // Empty places, which it does not expect, go last rather than being read.
  TypeParam m = Make<TypeParam>({-1, 5, 3, -1, 5, 1, 3});
  auto objects = [&m] {
    std::set<const Counted*> held;
    for (Counted* const* p = m.GetFirst(); p; p = m.GetNext(p)) held.insert(*p);
    return held;
  };
  const std::set<const Counted*> before = objects();
  const long live = this->Live();
  m.Sort(+[](const Counted& a, const Counted& b) { return b.key - a.key; });
  EXPECT_EQ(TagsOf(m), (Ints{1, 4, 2, 6, 5, -1, -1}));
  EXPECT_EQ(this->Live(), live);
  EXPECT_EQ(objects(), before);
  m.Sort(true);
  EXPECT_EQ(TagsOf(m), (Ints{5, 2, 6, 1, 4, -1, -1}));
  EXPECT_TRUE(Sound(m));
}

TYPED_TEST(Owning, CopiesOwnTheirOwnObjects) {
  TypeParam a = Make<TypeParam>({4, -1, 6});
  TypeParam copy(a);
  EXPECT_EQ(KeysOf(copy), (Ints{4, -1, 6}));
  EXPECT_NE(&copy.GetPData(0), &a.GetPData(0));
  EXPECT_TRUE(copy == a);
  copy.MoveTo(1);
  copy.SetCurData(new Counted(5));
  EXPECT_TRUE(copy != a);  // an object opposite an empty place
  copy.ReleaseCur();
  EXPECT_TRUE(copy == a);
  copy(2).key = 7;
  EXPECT_TRUE(copy != a);
  EXPECT_TRUE(a != Make<TypeParam>({4, -1}));

  TypeParam assigned = Make<TypeParam>({1, 2, 3, 4, 5});
  assigned = a;
  EXPECT_EQ(KeysOf(assigned), (Ints{4, -1, 6}));
  EXPECT_EQ(assigned.GetCur(), PastEnd(assigned));
  assigned = assigned;
  EXPECT_EQ(KeysOf(assigned), (Ints{4, -1, 6}));
  EXPECT_TRUE(Sound(assigned) && Sound(copy));
}

// Whole or in part, from or into any owning kind or the container itself, a bulk copy owns
// copies of the objects; empty places stay empty where they were.
TYPED_TEST(Owning, BulkCopiesCopyTheObjects) {
  using Other = std::conditional_t<TestFixture::kArray, ZoPDList<Counted>, ZoDynPArray<Counted>>;
  const Counted mine(9);
  TypeParam c = Make<TypeParam>({1, 2, -1, 4});
  Other o = Make<Other>({7, 8});
  // Every object alive (but mine) is held in one place: none shared, none lost.
  auto expect = [&](const Ints& inC, const Ints& inO) {
    EXPECT_EQ(KeysOf(c), inC);
    EXPECT_EQ(KeysOf(o), inO);
    EXPECT_EQ(this->Live() - 1, c.GetDataNum() + o.GetDataNum());
  };
  c.Left(3, o);
  expect({1, 2, -1, 4}, {1, 2, -1});
  c.Right(2, o);
  expect({1, 2, -1, 4}, {-1, 4});
  c.Mid(1, 3, o);
  expect({1, 2, -1, 4}, {2, -1, 4});
  c.Mid(1, 2, c);
  expect({2, -1}, {2, -1, 4});
  EXPECT_EQ(c.GetCur(), PastEnd(c));
  c << new Counted(3) << o;
  c.Right(3, c);
  expect({2, -1, 4}, {2, -1, 4});
  o.Left(2, c);
  c << c;
  expect({2, -1, 2, -1}, {2, -1, 4});
  EXPECT_EQ(c.GetCur(), PastEnd(c));
  c.DeepCopy(c);
  o.DeepCopy(c);
  expect({2, -1, 2, -1}, {2, -1, 2, -1});

  // Pointers that the caller keeps are copied too.
  ZoArray<Counted*> fixed(2);
  fixed[0] = const_cast<Counted*>(&mine);
  fixed[1] = nullptr;
  ZoDynArray<Counted*> plain;
  plain << fixed[0];
  c.DeepCopy(fixed);
  c << plain << fixed;
  o.DeepCopy(plain);
  expect({9, -1, 9, 9, -1}, {9});
  EXPECT_NE(&c.GetPData(0), &mine);
  c.Reverse();
  c.Exchange(0, 1);
  expect({9, -1, 9, -1, 9}, {9});
  plain.Left(1, o);
  EXPECT_NE(&o.GetPData(0), &mine);
  // Out of an owning container into a plain one, the pointers are lent, not copied.
  c.Right(2, plain);
  EXPECT_EQ(plain.GetAt(1), &c.GetPData(4));
  expect({9, -1, 9, -1, 9}, {9});
  EXPECT_TRUE(Sound(c) && Sound(o));
}

template <class C, class = void>
struct CanSetAll : std::false_type {};
template <class C>
struct CanSetAll<C, std::void_t<decltype(std::declval<C&>().SetAll(nullptr))>> : std::true_type {};
// One pointer stored in every place would be deleted as many times: no owning container has it.
static_assert(CanSetAll<ZoDynArray<Counted*>>::value && !CanSetAll<ZoDynPArray<Counted>>::value &&
              !CanSetAll<ZoPDList<Counted>>::value && !CanSetAll<ZoPXList<Counted>>::value);
// Objects that are never equal, unequal or ordered (as slide lines are): nothing is found and
// sorting keeps the order. Equality differs by design: the array asks operator==, the lists
// operator!=.
struct Opaque {
  bool operator==(const Opaque&) const { return false; }
  bool operator!=(const Opaque&) const { return false; }
  bool operator<(const Opaque&) const { return false; }
  bool operator>(const Opaque&) const { return false; }
};

template <class C>
bool OpaqueListsCompareEqual() {
  C a, b;
  Opaque* first = new Opaque;
  a << first << new Opaque;
  b << new Opaque << new Opaque;
  EXPECT_EQ(a.FindData(Opaque()), -1);
  EXPECT_EQ(a.FindDataDel(*first), 0);
  a.Sort(false);
  EXPECT_EQ(&a.GetPData(0), first);
  return a == b;
}

TEST(OwningOpaque, NothingIsFoundAndEqualityFollowsTheKind) {
  EXPECT_FALSE(OpaqueListsCompareEqual<ZoDynPArray<Opaque>>());
  EXPECT_TRUE(OpaqueListsCompareEqual<ZoPDList<Opaque>>());
  EXPECT_TRUE(OpaqueListsCompareEqual<ZoPXList<Opaque>>());
  ZoPDList<Opaque> l;
  l.FindDataOrAppend(Opaque());
  l.FindDataOrAppend(Opaque());
  EXPECT_EQ(l.GetLength(), 2);
}

}  // namespace
