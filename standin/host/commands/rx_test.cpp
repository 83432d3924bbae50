// Conformance of the stand-in host's runtime layer: the command stack, the dynamic linker's
// refusals, and the result-buffer allocator.
#include <acarray.h>
#include <accmd.h>
#include <acutads.h>
#include <gtest/gtest.h>
#include <rxdlinkr.h>
#include <rxregsvc.h>

#include <cstdlib>
#include <cstring>

#include "standin/host/commands/applications.h"
#include "standin/host/core/resbuf.h"
#include "standin/host/core/session.h"
#include "standin/win32/module.h"
#include "standin/win32/utf8.h"
#include "testing/TempDir.h"

namespace {

int g_calls = 0;
void CountCall() { ++g_calls; }
void OtherCall() { g_calls += 100; }

TEST(CommandStack, GroupsShadowAndRemoveAsTheHostDoes) {
  AcEdCommandStack* stack = acedRegCmds;
  ASSERT_NE(stack, nullptr);
  EXPECT_EQ(stack->addCommand(L"G1", L"Probe", L"Probe", ACRX_CMD_MODAL, CountCall), Acad::eOk);
  EXPECT_EQ(stack->addCommand(L"g1", L"PROBE", L"other", ACRX_CMD_MODAL, OtherCall), Acad::eDuplicateKey);
  EXPECT_EQ(stack->addCommand(L"G1", L"Other", L"probe", ACRX_CMD_MODAL, OtherCall), Acad::eDuplicateKey);
  EXPECT_EQ(stack->addCommand(L"G1", L"", L"", ACRX_CMD_MODAL, OtherCall), Acad::eInvalidInput);
  EXPECT_EQ(stack->addCommand(L"G1", L"Null", L"Null", ACRX_CMD_MODAL, nullptr), Acad::eInvalidInput);

  // The same name in a newer group hides the older one until that group goes.
  EXPECT_EQ(stack->addCommand(L"G2", L"probe", L"probe", ACRX_CMD_USEPICKSET, OtherCall), Acad::eOk);
  AcEdCommand* found = stack->lookupCmd(L"PROBE", true);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->groupName(), L"G2");
  EXPECT_EQ(found->commandFlags(), ACRX_CMD_USEPICKSET);

  EXPECT_EQ(stack->removeGroup(L"g2"), Acad::eOk);
  EXPECT_EQ(stack->removeGroup(L"G2"), Acad::eKeyNotFound);
  found = stack->lookupCmd(L"probe", true);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->functionAddr(), &CountCall);
  EXPECT_EQ(stack->removeCmd(L"G1", L"probe"), Acad::eOk);
  EXPECT_EQ(stack->removeCmd(L"G1", L"probe"), Acad::eKeyNotFound);
  EXPECT_EQ(stack->lookupCmd(L"probe", true), nullptr);
  EXPECT_TRUE(standin::HasCommandGroup(L"G1"));  // an emptied group stays until removed
  EXPECT_EQ(stack->removeGroup(L"G1"), Acad::eOk);
}

TEST(DynamicLinker, RefusesWhatIsNoApplicationModule) {
  standin::Session::Get().Reset();
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  ASSERT_NE(linker, nullptr);
  tovutest::TempDir dir;

  EXPECT_FALSE(linker->loadModule(L"/no/such/module.arx", true));
  EXPECT_NE(standin::Session::Get().Transcript().find(L"no such file"), std::wstring::npos);

  // A loadable file without the application entry points is refused and let go again.
  const auto fixture = dir.Copy(TOVU_FIXTURE_MODULE, "plain.arx");
  EXPECT_FALSE(linker->loadModule(standin::FromUtf8(fixture.string()).c_str(), true));
  EXPECT_NE(standin::Session::Get().Transcript().find(L"not an application module"), std::wstring::npos);
  EXPECT_EQ(GetModuleHandleW(L"plain.arx"), nullptr);
  EXPECT_TRUE(standin::LoadedModules().empty());

  EXPECT_FALSE(linker->unloadModule(L"plain.arx"));
  EXPECT_FALSE(linker->loadModule(nullptr, true));
  EXPECT_FALSE(acrxUnlockApplication(reinterpret_cast<void*>(0x1234)));
  EXPECT_TRUE(std::wcsncmp(acrxProductKey(), L"Software\\Autodesk\\AutoCAD\\", 26) == 0);
}

TEST(ResultBuffers, BuildListCopiesEveryKindOfValue) {
  const ads_point pt = {1, 2, 3};
  const ads_name ename = {7, 9};
  wchar_t text[] = L"WALL";
  resbuf* list = acutBuildList(RTDXF0, L"LINE", 8, text, 10, pt, 40, 2.5, 62, 256, 90, 70000, RTLB, RTSHORT, -3, RTLE,
                               -1, ename, 1071, 123456, RTNIL, 0);
  ASSERT_NE(list, nullptr);
  text[0] = L'X';  // strings are copies, not borrowed

  const resbuf* rb = list;
  ASSERT_EQ(rb->restype, 0);  // RTDXF0 stands for group code 0
  EXPECT_STREQ(rb->resval.rstring, L"LINE");
  rb = rb->rbnext;
  ASSERT_EQ(rb->restype, 8);
  EXPECT_STREQ(rb->resval.rstring, L"WALL");
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 10);
  EXPECT_EQ(rb->resval.rpoint[2], 3.0);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rreal, 2.5);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rint, 256);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rlong, 70000);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, RTLB);
  rb = rb->rbnext;
  // RTSHORT took -3 as its value; -3 here is data, not the xdata marker.
  EXPECT_EQ(rb->restype, RTSHORT);
  EXPECT_EQ(rb->resval.rint, -3);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, RTLE);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rlname[1], 9);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rlong, 123456);
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, RTNIL);
  EXPECT_EQ(rb->rbnext, nullptr);
  EXPECT_EQ(acutRelRb(list), RTNORM);  // the strings go with it (checked by ASan)

  EXPECT_EQ(acutBuildList(RTSTR, nullptr, 0), nullptr);
  EXPECT_EQ(acutBuildList(RTSTR, L"a", 4999, 0), nullptr);  // no such type
  EXPECT_EQ(acutRelRb(nullptr), RTERROR);

  resbuf* one = acutNewRb(RTSTR);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->resval.rstring, nullptr);
  EXPECT_EQ(acutNewString(L"owned", one->resval.rstring), RTNORM);
  EXPECT_EQ(acutRelRb(one), RTNORM);
}

TEST(ResultBuffers, ValueKindsFollowTheGroupCodeRanges) {
  using standin::RbValue;
  using standin::ResbufValueKind;
  EXPECT_EQ(ResbufValueKind(-1), RbValue::Name);
  EXPECT_EQ(ResbufValueKind(0), RbValue::String);
  EXPECT_EQ(ResbufValueKind(9), RbValue::String);
  EXPECT_EQ(ResbufValueKind(10), RbValue::Point);
  EXPECT_EQ(ResbufValueKind(17), RbValue::Point);
  EXPECT_EQ(ResbufValueKind(38), RbValue::Real);
  EXPECT_EQ(ResbufValueKind(60), RbValue::Short);
  EXPECT_EQ(ResbufValueKind(79), RbValue::Short);
  EXPECT_EQ(ResbufValueKind(90), RbValue::Long);
  EXPECT_EQ(ResbufValueKind(310), RbValue::Binary);
  EXPECT_EQ(ResbufValueKind(330), RbValue::Name);
  EXPECT_EQ(ResbufValueKind(1004), RbValue::Binary);
  EXPECT_EQ(ResbufValueKind(1010), RbValue::Point);
  EXPECT_EQ(ResbufValueKind(1070), RbValue::Short);
  EXPECT_EQ(ResbufValueKind(1071), RbValue::Long);
  EXPECT_EQ(ResbufValueKind(RTANG), RbValue::Real);
  EXPECT_EQ(ResbufValueKind(RTPICKS), RbValue::Name);
}

TEST(Applications, LoadedApplicationsAreListedForTheCallerToRelease) {
  EXPECT_EQ(acrxLoadedApps(), nullptr) << "nothing is loaded";
  tovutest::TempDir dir;
  const std::wstring first = standin::FromUtf8(dir.Copy(TOVU_TEST_APP, "First.arx").string());
  const std::wstring second = standin::FromUtf8(dir.Copy(TOVU_TEST_APP, "second.arx").string());
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  ASSERT_TRUE(linker->loadModule(first.c_str(), true)) << standin::ToUtf8(standin::Session::Get().Transcript());
  ASSERT_TRUE(linker->loadModule(second.c_str(), true));
  auto* apps = static_cast<AcDbVoidPtrArray*>(acrxLoadedApps());
  ASSERT_NE(apps, nullptr);
  ASSERT_EQ(apps->length(), 2);
  const std::wstring names[] = {static_cast<const wchar_t*>(apps->at(0)), static_cast<const wchar_t*>(apps->at(1))};
  for (int i = 0; i < apps->length(); ++i) std::free(apps->at(i));
  delete apps;
  EXPECT_EQ(names[0], standin::LoadedModules()[0]);
  EXPECT_NE(names[0].find(L"First.arx"), std::wstring::npos);
  EXPECT_NE(names[1].find(L"second.arx"), std::wstring::npos);
  EXPECT_TRUE(linker->unloadModule(L"second.arx"));
  EXPECT_TRUE(linker->unloadModule(L"First.arx"));
  EXPECT_EQ(acrxLoadedApps(), nullptr);
}

}  // namespace
