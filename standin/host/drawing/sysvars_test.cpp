#include "standin/host/drawing/sysvars.h"

#include <acedads.h>
#include <acutads.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "standin/host/core/session.h"

namespace {

class SystemVariables : public ::testing::Test {
 protected:
  void SetUp() override { standin::Session::Get().Reset(); }
  void TearDown() override {
    standin::SetSystemVariableCheck(L"CVPORT", nullptr);
    standin::Session::Get().Reset();
  }
};

resbuf Poisoned() {
  resbuf rb;
  std::memset(&rb, 0xA5, sizeof(rb));
  return rb;
}

resbuf Short(int v) {
  resbuf rb = {};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(v);
  return rb;
}

resbuf Point(int type, double x, double y, double z) {
  resbuf rb = {};
  rb.restype = static_cast<short>(type);
  rb.resval.rpoint[0] = x, rb.resval.rpoint[1] = y, rb.resval.rpoint[2] = z;
  return rb;
}

short ReadShort(const wchar_t* name) {
  resbuf rb = Poisoned();
  EXPECT_EQ(acedGetVar(name, &rb), RTNORM) << name;
  EXPECT_EQ(rb.restype, RTSHORT) << name;
  return rb.resval.rint;
}

TEST_F(SystemVariables, ReadsTypedDefaultsByAnyCase) {
  EXPECT_EQ(ReadShort(L"TILEMODE"), 1);
  EXPECT_EQ(ReadShort(L"cvport"), 2);
  EXPECT_EQ(ReadShort(L"PickBox"), 3);
  EXPECT_EQ(ReadShort(L"UNDOCTL"), 53);
  EXPECT_EQ(ReadShort(L"OSMODE"), 4133);

  resbuf rb = Poisoned();
  rb.rbnext = reinterpret_cast<resbuf*>(0x1234);
  ASSERT_EQ(acedGetVar(L"SCREENSIZE", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTPOINT);
  EXPECT_EQ(rb.resval.rpoint[0], 800.0);
  EXPECT_EQ(rb.resval.rpoint[1], 600.0);
  EXPECT_EQ(rb.rbnext, reinterpret_cast<resbuf*>(0x1234));  // only type and value are written

  ASSERT_EQ(acedGetVar(L"VIEWCTR", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RT3DPOINT);
  ASSERT_EQ(acedGetVar(L"VIEWSIZE", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTREAL);

  ASSERT_EQ(acedGetVar(L"clayer", &rb), RTNORM);
  ASSERT_EQ(rb.restype, RTSTR);
  EXPECT_STREQ(rb.resval.rstring, L"0");
  std::free(rb.resval.rstring);  // the caller's copy (ASan checks it was malloc'ed)

  resbuf untouched = Poisoned(), poison = Poisoned();
  EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &untouched), RTERROR);
  EXPECT_EQ(std::memcmp(&untouched, &poison, sizeof(resbuf)), 0);
  EXPECT_EQ(acedGetVar(nullptr, &untouched), RTERROR);
  EXPECT_EQ(acedGetVar(L"OSMODE", nullptr), RTERROR);
}

TEST_F(SystemVariables, WritesConvertWithinTheTypeAndRefuseEverythingElse) {
  resbuf v = Short(512);
  EXPECT_EQ(acedSetVar(L"osmode", &v), RTNORM);
  EXPECT_EQ(ReadShort(L"OSMODE"), 512);

  resbuf text = {};
  text.restype = RTSTR;
  text.resval.rstring = const_cast<wchar_t*>(L"1");
  EXPECT_EQ(acedSetVar(L"OSMODE", &text), RTERROR);  // wrong type
  v = Short(2);
  EXPECT_EQ(acedSetVar(L"CMDECHO", &v), RTERROR);  // out of range
  v = Short(0);
  EXPECT_EQ(acedSetVar(L"CVPORT", &v), RTERROR);
  EXPECT_EQ(acedSetVar(L"UNDOCTL", &v), RTERROR);  // read-only
  EXPECT_EQ(acedSetVar(L"NOSUCHVAR", &v), RTERROR);
  EXPECT_EQ(ReadShort(L"OSMODE"), 512);
  EXPECT_EQ(ReadShort(L"CMDECHO"), 1);
  EXPECT_EQ(ReadShort(L"CVPORT"), 2);
  EXPECT_EQ(ReadShort(L"UNDOCTL"), 53);

  resbuf longValue = {};
  longValue.restype = RTLONG;
  longValue.resval.rlong = 1;
  EXPECT_EQ(acedSetVar(L"ORTHOMODE", &longValue), RTNORM);
  EXPECT_EQ(ReadShort(L"ORTHOMODE"), 1);
  longValue.resval.rlong = 70000;
  EXPECT_EQ(acedSetVar(L"OSMODE", &longValue), RTERROR);

  v = Short(2);
  EXPECT_EQ(acedSetVar(L"FILLETRAD", &v), RTNORM);  // an integer is a real too
  resbuf rb = Poisoned();
  ASSERT_EQ(acedGetVar(L"FILLETRAD", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTREAL);
  EXPECT_EQ(rb.resval.rreal, 2.0);

  resbuf p3 = Point(RT3DPOINT, 5, 6, 7);
  EXPECT_EQ(acedSetVar(L"SNAPBASE", &p3), RTNORM);  // a 2D variable drops z
  ASSERT_EQ(acedGetVar(L"SNAPBASE", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTPOINT);
  EXPECT_EQ(rb.resval.rpoint[2], 0.0);
  resbuf p2 = Point(RTPOINT, 1, 2, 99);
  EXPECT_EQ(acedSetVar(L"LASTPOINT", &p2), RTNORM);  // a 2D point gets z = 0
  ASSERT_EQ(acedGetVar(L"LASTPOINT", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RT3DPOINT);
  EXPECT_EQ(rb.resval.rpoint[1], 2.0);
  EXPECT_EQ(rb.resval.rpoint[2], 0.0);
  EXPECT_EQ(acedSetVar(L"VIEWCTR", &p3), RTERROR);
  EXPECT_EQ(acedSetVar(L"SCREENSIZE", &p2), RTERROR);

  text.resval.rstring = nullptr;
  EXPECT_EQ(acedSetVar(L"CLAYER", &text), RTERROR);
  text.resval.rstring = const_cast<wchar_t*>(L"WALL");
  EXPECT_EQ(acedSetVar(L"CLAYER", &text), RTNORM);
  ASSERT_EQ(acedGetVar(L"CLAYER", &rb), RTNORM);
  EXPECT_STREQ(rb.resval.rstring, L"WALL");
  std::free(rb.resval.rstring);
  EXPECT_EQ(acedSetVar(L"CLAYER", nullptr), RTERROR);
}

TEST_F(SystemVariables, HostSideWritesChecksAndReset) {
  resbuf center = Point(RT3DPOINT, 10, 20, 0);
  EXPECT_TRUE(standin::SetSystemVariable(L"VIEWCTR", center));  // the host moves its own view
  resbuf rb = Poisoned();
  ASSERT_EQ(acedGetVar(L"VIEWCTR", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rpoint[1], 20.0);
  resbuf v = Short(3);
  EXPECT_FALSE(standin::SetSystemVariable(L"VIEWCTR", v));
  EXPECT_FALSE(standin::SetSystemVariable(L"NOSUCHVAR", v));

  standin::SetSystemVariableCheck(L"cvport", [](const resbuf& value) { return value.resval.rint == 2; });
  EXPECT_EQ(acedSetVar(L"CVPORT", &v), RTERROR);
  v = Short(2);
  EXPECT_EQ(acedSetVar(L"CVPORT", &v), RTNORM);

  v = Short(0);
  EXPECT_EQ(acedSetVar(L"OSMODE", &v), RTNORM);
  standin::Session::Get().Reset();
  EXPECT_EQ(ReadShort(L"OSMODE"), 4133);
  ASSERT_EQ(acedGetVar(L"VIEWCTR", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rpoint[0], 400.0);
  v = Short(3);
  EXPECT_EQ(acedSetVar(L"CVPORT", &v), RTERROR);  // the check outlives the reset
}

class LispSymbols : public SystemVariables {};

TEST_F(LispSymbols, BindReadAndUnbindCopiesOfValues) {
  resbuf* value = reinterpret_cast<resbuf*>(0x1);
  ASSERT_EQ(acedGetSym(L"unbound", &value), RTNORM);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->restype, RTNIL);
  acutRelRb(value);

  resbuf* text = acutBuildList(RTSTR, L"Hello", 0);
  EXPECT_EQ(acedPutSym(L"greeting", text), RTNORM);
  acutRelRb(text);  // the symbol keeps its own copy
  ASSERT_EQ(acedGetSym(L"GREETING", &value), RTNORM);
  ASSERT_EQ(value->restype, RTSTR);
  EXPECT_STREQ(value->resval.rstring, L"Hello");
  acutRelRb(value);

  resbuf* list2 = acutBuildList(RTLB, RTREAL, 1.0, RTREAL, 2.0, RTLE, 0);
  EXPECT_EQ(acedPutSym(L"p2", list2), RTNORM);
  acutRelRb(list2);
  ASSERT_EQ(acedGetSym(L"p2", &value), RTNORM);
  EXPECT_EQ(value->restype, RTPOINT);  // a list of two reals is a 2D point
  EXPECT_EQ(value->resval.rpoint[1], 2.0);
  EXPECT_EQ(value->rbnext, nullptr);
  acutRelRb(value);

  resbuf* list3 = acutBuildList(RTLB, RTREAL, 1.0, RTREAL, 2.0, RTREAL, 3.0, RTLE, 0);
  EXPECT_EQ(acedPutSym(L"p3", list3), RTNORM);
  acutRelRb(list3);
  ASSERT_EQ(acedGetSym(L"p3", &value), RTNORM);
  EXPECT_EQ(value->restype, RT3DPOINT);
  EXPECT_EQ(value->resval.rpoint[2], 3.0);
  acutRelRb(value);

  resbuf* ints = acutBuildList(RTLB, RTSHORT, 1, RTSHORT, 2, RTLE, 0);
  EXPECT_EQ(acedPutSym(L"ints", ints), RTNORM);
  acutRelRb(ints);
  ASSERT_EQ(acedGetSym(L"ints", &value), RTNORM);
  EXPECT_EQ(value->restype, RTLB);  // integers stay a list
  acutRelRb(value);

  EXPECT_EQ(acedPutSym(L"greeting", nullptr), RTNORM);
  ASSERT_EQ(acedGetSym(L"greeting", &value), RTNORM);
  EXPECT_EQ(value->restype, RTNIL);
  acutRelRb(value);

  ASSERT_EQ(acedGetSym(L"T", &value), RTNORM);
  EXPECT_EQ(value->restype, RTT);
  acutRelRb(value);
  ASSERT_EQ(acedGetSym(L"pi", &value), RTNORM);
  EXPECT_NEAR(value->resval.rreal, 3.14159265, 1e-8);
  acutRelRb(value);
}

TEST_F(LispSymbols, RefuseNamesThatAreNoSymbolsAndValuesThatAreNoLispData) {
  resbuf* one = acutBuildList(RTSHORT, 1, 0);
  for (const wchar_t* bad : {L"", L"a b", L"12", L"1.5e3", L"(x", L"it's"}) {
    EXPECT_EQ(acedPutSym(bad, one), RTERROR) << bad;
    resbuf* value = reinterpret_cast<resbuf*>(0x1);
    EXPECT_EQ(acedGetSym(bad, &value), RTERROR) << bad;
    EXPECT_EQ(value, nullptr);
  }
  EXPECT_EQ(acedPutSym(nullptr, one), RTERROR);
  EXPECT_EQ(acedPutSym(L"T", one), RTERROR);
  EXPECT_EQ(acedPutSym(L"nil", one), RTERROR);
  EXPECT_EQ(acedGetSym(L"x", nullptr), RTERROR);
  acutRelRb(one);

  resbuf* noLisp = acutNewRb(RTVOID);
  EXPECT_EQ(acedPutSym(L"x", noLisp), RTERROR);
  acutRelRb(noLisp);
  resbuf* nullText = acutNewRb(RTSTR);
  EXPECT_EQ(acedPutSym(L"x", nullText), RTERROR);
  acutRelRb(nullText);
  resbuf* value = nullptr;
  ASSERT_EQ(acedGetSym(L"x", &value), RTNORM);
  EXPECT_EQ(value->restype, RTNIL);  // nothing was bound
  acutRelRb(value);
}

}  // namespace
