// Result-buffer nodes and lists: the value type of group codes where it is irregular, equality
// and wild-card matching by the raw code's type, ownership of texts and chains.
#include "ads/AdsResBuf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
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

// The codes whose type is not simply that of their range.
TEST(ZoAdsResBuf, CodeToTypeFollowsTheIrregularRules) {
  const struct {
    int code, type;
  } cases[] = {
      {-5, RTNONE},    {-4, RTSTR},     {-3, RTSHORT},      {-2, RTENAME}, {100, RTSTR},   {101, RTNONE},
      {102, RTSTR},    {105, RTSTR},    {106, RTNONE},      {999, RTSTR},  {1000, RTSTR},  {1071, RTLONG},
      {1070, RTSHORT}, {2071, RTSHORT}, {RTORINT, RTORINT}, {RTT, RTT},    {5022, RTREAL}, {32767, RTNONE},
  };
  for (const auto& c : cases) EXPECT_EQ(ZoAdsResBuf::CodeToType(c.code), c.type) << "code " << c.code;
}

TEST(ZoAdsResBuf, TypedConstructorsKeepShortsToSixteenBitsAndCopyTexts) {
  EXPECT_EQ(ZoAdsResBuf(65536 + 4).Value().rint, 4);
  EXPECT_EQ(ZoAdsResBuf(0x18000).Value().rint, -32768);
  EXPECT_EQ(ZoAdsResBuf(-2).Value().rint, -2);
  const wchar_t source[] = L"Wall";
  ZoAdsResBuf text(source);
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
  EXPECT_TRUE(Real(50, 1.0) == Real(50, 1.0 - 9e-9));
  EXPECT_FALSE(Real(1040, 1.0) == Real(1040, 1.0 + 2e-8));

  // Raw types must agree, even where the value types do; texts ignore case.
  ZoAdsResBuf wall = Text(8, L"Wall"), upper = Text(8, L"WALL"), plain(L"Wall"), other = Text(8, L"Door");
  EXPECT_TRUE(wall == upper);
  EXPECT_FALSE(wall == plain);
  EXPECT_FALSE(wall == other);
  EXPECT_FALSE(Real(40, 1.0) == Real(41, 1.0));

  // 1071 and 90 are 32-bit integers, 1070 a 16-bit one.
  EXPECT_FALSE(Long(1071, 70000) == Long(1071, 70000 - 65536));
  EXPECT_TRUE(Long(1070, 0x10004) == Long(1070, 0x20004));
  EXPECT_FALSE(Long(1070, 4) == Long(1070, 5));
  EXPECT_FALSE(Long(90, 0x10000) == Long(90, 0x20000));

  // Points: within the geometry tolerance, on all three coordinates, 2D or 3D.
  ZoAdsResBuf p(ZoGePoint(1, 2, 3)), q(ZoGePoint(1, 2, 3 + g_distZero / 2)), r(ZoGePoint(1, 2, 3.01));
  EXPECT_TRUE(p == q);
  EXPECT_FALSE(p == r);
  p.restype = q.restype = RTPOINT;
  EXPECT_TRUE(p == q);

  // Names: both words.
  ZoAdsResBuf e1, e2;
  e1.restype = e2.restype = -1;
  e1.resval.rlname[0] = e2.resval.rlname[0] = 7;
  e1.resval.rlname[1] = 1, e2.resval.rlname[1] = 2;
  EXPECT_FALSE(e1 == e2);
  e2.resval.rlname[1] = 1;
  EXPECT_TRUE(e1 == e2);

  // Types without a comparison never compare equal, not even to themselves.
  ZoAdsResBuf orint(1.0), marker;
  orint.restype = RTORINT;
  marker.restype = 80;
  EXPECT_FALSE(orint == orint);
  EXPECT_FALSE(marker == marker);
  EXPECT_FALSE(ZoAdsRBList(new ZoAdsResBuf(marker)).IsMatch(marker));

  // A null text equals and matches only a null text.
  ZoAdsResBuf nullText = Text(8, nullptr), nullText2 = Text(8, nullptr);
  EXPECT_TRUE(nullText == nullText2);
  EXPECT_FALSE(wall == nullText);
  EXPECT_FALSE(nullText == wall);
  EXPECT_FALSE(wall.IsMatch(nullText));
  EXPECT_FALSE(nullText.IsMatch(wall));
  for (ZoAdsResBuf* rb : {&wall, &upper, &plain, &other}) rb->Reset();
}

TEST(ZoAdsResBuf, PatternMatchTakesTheArgumentAsTheCaseSensitivePattern) {
  ZoAdsResBuf value = Text(8, L"WALL-1"), pattern = Text(8, L"WALL*"), lower = Text(8, L"wall-1");
  ZoAdsResBuf alternatives = Text(8, L"DOOR,WALL-#"), otherCode = Text(7, L"WALL*");
  EXPECT_TRUE(value.IsMatch(pattern));
  EXPECT_FALSE(pattern.IsMatch(value));
  EXPECT_FALSE(lower.IsMatch(pattern));
  EXPECT_TRUE(value.IsMatch(alternatives));
  EXPECT_FALSE(value.IsMatch(otherCode));
  EXPECT_TRUE(ZoAdsResBuf(3.0).IsMatch(Real(RTREAL, 3.0 + 5e-9)));  // other values as they compare

  // A list matches when some node does.
  ads_point pt = {1, 2, 0};
  ZoAdsRBList data(acutBuildList(RTDXF0, L"LINE", 8, L"WALL-1", 10, pt, 62, 1, 0));
  ZoAdsResBuf red = Long(62, 0), blue = Long(62, 0);
  red.resval.rint = 1, blue.resval.rint = 5;
  EXPECT_TRUE(data.IsMatch(pattern));
  EXPECT_FALSE(data.IsMatch(otherCode));
  EXPECT_TRUE(data.IsMatch(red));
  EXPECT_FALSE(data.IsMatch(blue));
  EXPECT_FALSE(ZoAdsRBList().IsMatch(pattern));
  for (ZoAdsResBuf* rb : {&value, &pattern, &lower, &alternatives, &otherCode}) rb->Reset();
}

TEST(ZoAdsResBuf, CopiesOwnTheirTextsAndAssignmentCutsTheChain) {
  ZoAdsResBuf source = Text(8, L"Wall");
  ZoAdsResBuf target(L"old text");
  target = source;  // the old text is freed (ASan checks), the new one duplicated
  EXPECT_NE(target.resval.rstring, source.resval.rstring);
  EXPECT_STREQ(target.resval.rstring, L"Wall");
  EXPECT_EQ(target.Type(), 8);
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
  head->Connect(second);
  second->Connect(new ZoAdsResBuf(3.0));
  *head = source;
  EXPECT_TRUE(head->IsTail());
  EXPECT_STREQ(second->resval.rstring, L"second");
  delete head;
  delete second;  // releases the third node with it

  ZoAdsResBuf& alias = source;
  source = alias;
  EXPECT_STREQ(source.resval.rstring, L"Wall");
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

TEST(ZoAdsRBList, ChainsPassBetweenModuleAndHostAndHaveOneOwner) {
  // The host releases a chain built by the module, strings included, and the module deletes a
  // chain built by the host (ASan checks both).
  auto* head = new ZoAdsResBuf(L"a");
  head->Connect(new ZoAdsResBuf(L"b"));
  EXPECT_EQ(acutRelRb(head), RTNORM);
  delete static_cast<ZoAdsResBuf*>(acutBuildList(8, L"L1", 40, 2.5, 0));

  ZoAdsRBList list;
  EXPECT_EQ(list.Tail(), nullptr);
  auto* first = new ZoAdsResBuf(1);
  list.Append(first);
  auto* second = new ZoAdsResBuf(L"two");
  second->Connect(new ZoAdsResBuf(3.0));
  list.Append(second);
  list.Append(nullptr);
  EXPECT_EQ(first->Next(), second);
  EXPECT_EQ(list.Tail()->TrueType(), RTREAL);

  ZoAdsRBList moved(std::move(list));
  EXPECT_TRUE(list.IsEmpty());
  ZoAdsRBList target(acutBuildList(RTSTR, L"replaced", 0));
  target = std::move(moved);  // the old chain of target is released
  EXPECT_TRUE(moved.IsEmpty());
  EXPECT_EQ(target.Head(), first);
  target.SetResbuf(acutBuildList(RTSHORT, 9, 0));
  target.SetResbuf(target.Head());  // handing a list its own chain changes nothing
  EXPECT_EQ(target.Head()->Value().rint, 9);
  target.Release();
  EXPECT_TRUE(target.IsEmpty());
}

}  // namespace
