#include "ads/AdsResBuf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include "standin/host/core/resbuf.h"

namespace {

// A stack node of a group code holding a copy of text; the caller Resets it.
ZoAdsResBuf Text(short code, const wchar_t* text) {
  resbuf rb = {};
  rb.restype = code;
  rb.resval.rstring = const_cast<wchar_t*>(text);
  return ZoAdsResBuf(rb);
}

ZoAdsResBuf Real(short code, double value) {
  ZoAdsResBuf rb(value);
  rb.restype = code;
  return rb;
}

ZoAdsResBuf Long(short code, int value) {
  ZoAdsResBuf rb;
  rb.restype = code;
  rb.resval.rlong = value;
  return rb;
}

TEST(ZoAdsResBuf, CodeToTypeFollowsTheTableAtEveryBoundary) {
  const struct {
    int code, type;
  } table[] = {
      {-32768, RTNONE},
      {-5, RTNONE},
      {-4, RTSTR},
      {-3, RTSHORT},
      {-2, RTENAME},
      {-1, RTENAME},
      {0, RTSTR},
      {9, RTSTR},
      {10, RT3DPOINT},
      {19, RT3DPOINT},
      {20, RTREAL},
      {49, RTREAL},
      {50, RTANG},
      {59, RTANG},
      {60, RTSHORT},
      {79, RTSHORT},
      {80, RTNONE},
      {89, RTNONE},
      {90, RTLONG},
      {99, RTLONG},
      {100, RTSTR},
      {101, RTNONE},
      {102, RTSTR},
      {103, RTNONE},
      {104, RTNONE},
      {105, RTSTR},
      {106, RTNONE},
      {109, RTNONE},
      {110, RT3DPOINT},
      {119, RT3DPOINT},
      {120, RTREAL},
      {149, RTREAL},
      {150, RTNONE},
      {169, RTNONE},
      {170, RTSHORT},
      {179, RTSHORT},
      {180, RTNONE},
      {209, RTNONE},
      {210, RT3DPOINT},
      {219, RT3DPOINT},
      {220, RTREAL},
      {239, RTREAL},
      {240, RTNONE},
      {269, RTNONE},
      {270, RTSHORT},
      {289, RTSHORT},
      {290, RTNONE},
      {299, RTNONE},
      {300, RTSTR},
      {369, RTSTR},
      {370, RTSHORT},
      {389, RTSHORT},
      {390, RTSTR},
      {399, RTSTR},
      {400, RTSHORT},
      {409, RTSHORT},
      {410, RTSTR},
      {419, RTSTR},
      {420, RTNONE},
      {998, RTNONE},
      {999, RTSTR},
      // Extended data behaves as the code less 1000, except 1071.
      {1000, RTSTR},
      {1004, RTSTR},
      {1010, RT3DPOINT},
      {1040, RTREAL},
      {1070, RTSHORT},
      {1071, RTLONG},
      {1072, RTSHORT},
      {1999, RTSTR},
      {2071, RTSHORT},
      {4999, RTSTR},
      // Result types stand for themselves; past them the remainder rule applies again.
      {RTNONE, RTNONE},
      {RTREAL, RTREAL},
      {RTSTR, RTSTR},
      {RTORINT, RTORINT},
      {RTLONG, RTLONG},
      {RTT, RTT},
      {5022, RTREAL},
      {5100, RTSTR},
      {32767, RTNONE},
  };
  for (const auto& row : table) EXPECT_EQ(ZoAdsResBuf::CodeToType(row.code), row.type) << "code " << row.code;
}

TEST(ZoAdsResBuf, TypedConstructorsSetTypeAndValue) {
  const ZoAdsResBuf none;
  EXPECT_EQ(none.Type(), RTSHORT);
  EXPECT_EQ(none.Value().rint, 0);
  EXPECT_TRUE(none.IsTail());

  EXPECT_EQ(ZoAdsResBuf(65536 + 4).Value().rint, 4);  // the low 16 bits only
  EXPECT_EQ(ZoAdsResBuf(0x18000).Value().rint, -32768);
  EXPECT_EQ(ZoAdsResBuf(-2).Value().rint, -2);
  EXPECT_EQ(ZoAdsResBuf(70000).Type(), RTSHORT);

  const ZoAdsResBuf real(2.5);
  EXPECT_EQ(real.Type(), RTREAL);
  EXPECT_EQ(real.Value().rreal, 2.5);

  const ZoAdsResBuf point(ZoGePoint(1, 2, 3));
  EXPECT_EQ(point.TrueType(), RT3DPOINT);
  EXPECT_EQ(point.Value().rpoint[2], 3.0);

  const wchar_t source[] = L"Wall";
  ZoAdsResBuf text(source);
  EXPECT_EQ(text.Type(), RTSTR);
  EXPECT_NE(text.resval.rstring, source);
  EXPECT_STREQ(text.resval.rstring, L"Wall");
  text.Reset();
  EXPECT_EQ(text.resval.rstring, nullptr);
  EXPECT_EQ(text.Type(), RTSTR);  // Reset keeps the type

  ZoAdsResBuf nullText(static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(nullText.resval.rstring, nullptr);
  nullText.Reset();
}

TEST(ZoAdsResBuf, EqualityComparesByTheTypeOfTheRawCode) {
  // Reals and angles: strictly within 1e-8.
  EXPECT_TRUE(ZoAdsResBuf(3.0) == Real(RTREAL, 3.0 + 5e-9));
  EXPECT_FALSE(ZoAdsResBuf(3.0) == Real(RTREAL, 3.0 + 1e-8));
  EXPECT_TRUE(ZoAdsResBuf(3.0) != Real(RTREAL, 3.0 + 2e-8));
  EXPECT_TRUE(Real(50, 1.0) == Real(50, 1.0 - 9e-9));
  EXPECT_TRUE(Real(1040, 1.0) == Real(1040, 1.0 + 9e-9));
  EXPECT_FALSE(Real(1040, 1.0) == Real(1040, 1.0 + 2e-8));

  // Raw types must agree, even where the value types do.
  ZoAdsResBuf wall = Text(8, L"Wall"), upper = Text(8, L"WALL"), plain(L"Wall"), other = Text(8, L"Door");
  EXPECT_TRUE(wall == upper);  // texts ignore case
  EXPECT_FALSE(wall == plain);
  EXPECT_FALSE(wall == other);
  EXPECT_FALSE(Real(40, 1.0) == Real(41, 1.0));

  // 1071 is a 32-bit integer, 1070 a 16-bit one.
  EXPECT_TRUE(Long(1071, 70000) == Long(1071, 70000));
  EXPECT_FALSE(Long(1071, 70000) == Long(1071, 70000 - 65536));
  EXPECT_TRUE(Long(1070, 0x10004) == Long(1070, 0x20004));  // only the 16-bit value counts
  EXPECT_FALSE(Long(1070, 4) == Long(1070, 5));
  EXPECT_TRUE(Long(90, 123456) == Long(90, 123456));
  EXPECT_FALSE(Long(90, 0x10000) == Long(90, 0x20000));

  // Points: within the geometry tolerance, on all three coordinates.
  ZoAdsResBuf p(ZoGePoint(1, 2, 3)), q(ZoGePoint(1, 2, 3 + g_distZero / 2)), r(ZoGePoint(1, 2, 3.01));
  EXPECT_TRUE(p == q);
  EXPECT_FALSE(p == r);
  p.restype = q.restype = 10;
  EXPECT_TRUE(p == q);
  p.restype = q.restype = RTPOINT;
  EXPECT_TRUE(p == q);

  // Names: both words.
  ZoAdsResBuf e1, e2;
  e1.restype = e2.restype = -1;
  e1.resval.rlname[0] = e2.resval.rlname[0] = 7;
  e1.resval.rlname[1] = 1, e2.resval.rlname[1] = 1;
  EXPECT_TRUE(e1 == e2);
  e2.resval.rlname[1] = 2;
  EXPECT_FALSE(e1 == e2);

  // Types without a comparison never compare equal, not even to themselves.
  ZoAdsResBuf orint(1.0), marker, unknown;
  orint.restype = RTORINT;
  marker.restype = 80;
  unknown.restype = 500;
  EXPECT_FALSE(orint == orint);
  EXPECT_FALSE(marker == marker);
  EXPECT_FALSE(unknown == unknown);
  EXPECT_FALSE(ZoAdsRBList(new ZoAdsResBuf(marker)).IsMatch(marker));

  // A null text equals only a null text.
  ZoAdsResBuf nullText = Text(8, nullptr), nullText2 = Text(8, nullptr);
  EXPECT_TRUE(nullText == nullText2);
  EXPECT_FALSE(nullText == wall);
  EXPECT_FALSE(wall == nullText);
  EXPECT_FALSE(wall.IsMatch(nullText));
  EXPECT_FALSE(nullText.IsMatch(wall));

  for (ZoAdsResBuf* rb : {&wall, &upper, &plain, &other}) rb->Reset();
}

TEST(ZoAdsResBuf, PatternMatchTakesTheArgumentAsTheWildCardPattern) {
  ZoAdsResBuf value = Text(8, L"WALL-1"), pattern = Text(8, L"WALL*"), lower = Text(8, L"wall-1");
  EXPECT_TRUE(value.IsMatch(pattern));
  EXPECT_FALSE(pattern.IsMatch(value));  // the text "WALL*" against the pattern "WALL-1"
  EXPECT_FALSE(lower.IsMatch(pattern));  // wild-card matching is case-sensitive...
  EXPECT_TRUE(lower == value);           // ...equality is not
  ZoAdsResBuf alternatives = Text(8, L"DOOR,WALL-#");
  EXPECT_TRUE(value.IsMatch(alternatives));
  ZoAdsResBuf otherCode = Text(7, L"WALL*");
  EXPECT_FALSE(value.IsMatch(otherCode));
  // Non-text values match exactly as they compare.
  EXPECT_TRUE(ZoAdsResBuf(3.0).IsMatch(Real(RTREAL, 3.0 + 5e-9)));
  EXPECT_FALSE(ZoAdsResBuf(1).IsMatch(ZoAdsResBuf(2)));
  for (ZoAdsResBuf* rb : {&value, &pattern, &lower, &alternatives, &otherCode}) rb->Reset();
}

TEST(ZoAdsRBList, MatchesWhenAnyNodeMatchesThePattern) {
  ads_point pt = {1, 2, 0};
  ZoAdsRBList data(acutBuildList(RTDXF0, L"LINE", 8, L"WALL-1", 10, pt, 62, 1, 0));
  ASSERT_FALSE(data.IsEmpty());
  ZoAdsResBuf wall = Text(8, L"WALL*"), door = Text(8, L"DOOR*"), wrongCode(L"WALL*"), line = Text(0, L"LINE");
  EXPECT_TRUE(data.IsMatch(wall));
  EXPECT_TRUE(data.IsMatch(line));
  EXPECT_FALSE(data.IsMatch(door));
  EXPECT_FALSE(data.IsMatch(wrongCode));
  ZoAdsResBuf red = Long(62, 1), blue = Long(62, 5);
  red.resval.rint = 1, blue.resval.rint = 5;
  EXPECT_TRUE(data.IsMatch(red));
  EXPECT_FALSE(data.IsMatch(blue));
  EXPECT_FALSE(ZoAdsRBList().IsMatch(line));
  for (ZoAdsResBuf* rb : {&wall, &door, &wrongCode, &line}) rb->Reset();
}

TEST(ZoAdsResBuf, CopiesOwnTheirTextsAndAssignmentCutsTheChain) {
  ZoAdsResBuf source = Text(8, L"Wall");
  ZoAdsResBuf copy(source);
  EXPECT_NE(copy.resval.rstring, source.resval.rstring);
  EXPECT_STREQ(copy.resval.rstring, L"Wall");
  EXPECT_EQ(copy.Type(), 8);
  copy.Reset();
  EXPECT_STREQ(source.resval.rstring, L"Wall");

  ZoAdsResBuf target(L"old text");
  target = source;  // the old text is freed (ASan checks), the new one duplicated
  EXPECT_NE(target.resval.rstring, source.resval.rstring);
  EXPECT_STREQ(target.resval.rstring, L"Wall");
  target = ZoAdsResBuf(2.0);  // from a text to a real: the text is freed
  EXPECT_EQ(target.Type(), RTREAL);

  resbuf raw;
  raw.rbnext = &raw;  // a successor that must not be taken over
  raw.restype = RTSTR;
  raw.resval.rstring = const_cast<wchar_t*>(L"raw");
  ZoAdsResBuf fromRaw(raw);
  EXPECT_TRUE(fromRaw.IsTail());
  EXPECT_NE(fromRaw.resval.rstring, raw.resval.rstring);
  fromRaw.Reset();

  // Assigning to a node inside a chain cuts the chain after it; the rest is not released.
  auto* head = new ZoAdsResBuf(1);
  auto* second = new ZoAdsResBuf(L"second");
  auto* third = new ZoAdsResBuf(3.0);
  head->Connect(second);
  second->Connect(third);
  EXPECT_EQ(head->Tail(), third);
  *head = source;
  EXPECT_TRUE(head->IsTail());
  EXPECT_STREQ(second->resval.rstring, L"second");
  EXPECT_EQ(second->Next(), third);
  delete head;
  delete second;  // releases third with it

  ZoAdsResBuf self = Text(8, L"self");
  ZoAdsResBuf& alias = self;
  self = alias;
  EXPECT_STREQ(self.resval.rstring, L"self");
  self.Reset();
  source.Reset();
}

// Every code the host knows, holding what the host keeps in it, can be copied and reset by the
// module and released by the host without a leak or a double free (ASan watches).
TEST(ZoAdsResBuf, OwnsExactlyWhatTheHostStoresForEveryCode) {
  std::vector<int> codes;
  for (int code = -5; code <= 1071; ++code) codes.push_back(code);
  for (int code = RTNONE; code <= RTINT64; ++code) codes.push_back(code);
  for (int code : codes) {
    resbuf* host = acutNewRb(code);
    ASSERT_NE(host, nullptr);
    switch (standin::ResbufValueKind(code)) {
      case standin::RbValue::String:
        acutNewString(L"text", host->resval.rstring);
        break;
      case standin::RbValue::Binary:
        host->resval.rbinary.clen = 3;
        host->resval.rbinary.buf = static_cast<char*>(std::malloc(3));
        std::memcpy(host->resval.rbinary.buf, "abc", 3);
        break;
      case standin::RbValue::Name:
        host->resval.rlname[0] = 1, host->resval.rlname[1] = 2;
        break;
      default:
        host->resval.rreal = 1.0;
        break;
    }
    auto* copy = new ZoAdsResBuf(*host);
    ZoAdsResBuf onStack(*host);
    const int type = ZoAdsResBuf::CodeToType(code);
    const bool comparable = type != RTNONE && type != RTORINT && type <= RTLONG;
    if (comparable && standin::ResbufValueKind(code) != standin::RbValue::None) {
      EXPECT_TRUE(*copy == onStack) << "code " << code;
    }
    onStack.Reset();
    delete copy;
    acutRelRb(host);
  }
}

TEST(ZoAdsResBuf, HeapNodesComeFromTheHostAllocatorAndDeleteReleasesTheChain) {
  auto* head = new ZoAdsResBuf(L"a");
  head->Connect(new ZoAdsResBuf(L"b"));
  head->Next()->Connect(new ZoAdsResBuf(ZoGePoint(1, 2, 3)));
  // The host releases a chain built by the module, strings included (ASan checks).
  EXPECT_EQ(acutRelRb(head), RTNORM);

  // And a chain built by the host is a chain of module nodes.
  ZoAdsResBuf* built = static_cast<ZoAdsResBuf*>(acutBuildList(8, L"L1", 40, 2.5, 0));
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->Type(), 8);
  EXPECT_EQ(built->Next()->TrueType(), RTREAL);
  EXPECT_TRUE(built->Next()->IsTail());
  delete built;
}

TEST(ZoAdsRBList, OwnsOneChainAppendsAtTheTailAndHandsItOver) {
  ZoAdsRBList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.Tail(), nullptr);
  auto* first = new ZoAdsResBuf(1);
  list.Append(first);
  EXPECT_EQ(list.Head(), first);
  EXPECT_EQ(list.Tail(), first);
  auto* second = new ZoAdsResBuf(L"two");
  second->Connect(new ZoAdsResBuf(3.0));
  list.Append(second);
  EXPECT_EQ(first->Next(), second);
  EXPECT_EQ(list.Tail()->TrueType(), RTREAL);
  list.Append(nullptr);
  EXPECT_EQ(list.Tail()->TrueType(), RTREAL);

  const resbuf* asResbuf = list;
  EXPECT_EQ(asResbuf, first);
  ZoAdsResBuf* asNode = list;
  EXPECT_EQ(asNode, first);

  ZoAdsRBList moved(std::move(list));
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(moved.Head(), first);
  ZoAdsRBList target(acutBuildList(RTSTR, L"replaced", 0));
  target = std::move(moved);  // the old chain of target is released
  EXPECT_TRUE(moved.IsEmpty());
  EXPECT_EQ(target.Head(), first);

  target.SetResbuf(acutBuildList(RTSHORT, 9, 0));
  EXPECT_EQ(target.Head()->Value().rint, 9);
  target.SetResbuf(target.Head());  // handing a list its own chain changes nothing
  EXPECT_EQ(target.Head()->Value().rint, 9);
  target.Release();
  EXPECT_TRUE(target.IsEmpty());
  target.Release();
}

}  // namespace
