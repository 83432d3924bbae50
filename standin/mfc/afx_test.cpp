// Conformance of the MFC core stand-in: the extension-module chain, the resource handle and message
// boxes (recorded in the session journal and answered with the first button).
#include <afxwin.h>
#include <gtest/gtest.h>

#include "standin/host/core/session.h"

namespace {

TEST(MfcExtensionModule, ChainAndResourceHandle) {
  const auto h1 = reinterpret_cast<HMODULE>(0x1000);
  const auto h2 = reinterpret_cast<HMODULE>(0x2000);
  AFX_EXTENSION_MODULE none = {FALSE, nullptr, nullptr};
  EXPECT_FALSE(AfxInitExtensionModule(none, nullptr));
  EXPECT_FALSE(none.bInitialized);

  AFX_EXTENSION_MODULE m1 = {FALSE, nullptr, nullptr}, m2 = {FALSE, nullptr, nullptr};
  ASSERT_TRUE(AfxInitExtensionModule(m1, h1));
  ASSERT_TRUE(AfxInitExtensionModule(m2, h2));
  EXPECT_TRUE(AfxInitExtensionModule(m1, h1));  // a second call succeeds again
  EXPECT_EQ(m1.hModule, h1);
  EXPECT_EQ(m1.hResource, h1);

  auto* lib1 = new CDynLinkLibrary(m1);
  auto* lib2 = new CDynLinkLibrary(m2);
  AFX_MODULE_STATE* state = AfxGetModuleState();
  ASSERT_EQ(state->m_libraryList, lib2);  // newest first
  ASSERT_EQ(lib2->m_pNextDLL, lib1);

  AfxTermExtensionModule(m1);  // deletes only m1's library
  EXPECT_EQ(state->m_libraryList, lib2);
  EXPECT_EQ(lib2->m_pNextDLL, nullptr);
  new CDynLinkLibrary(m1);
  AfxTermExtensionModule(m2, TRUE);  // deletes every library
  EXPECT_EQ(state->m_libraryList, nullptr);

  const HINSTANCE before = AfxGetResourceHandle();
  AfxSetResourceHandle(h2);
  EXPECT_EQ(AfxGetResourceHandle(), h2);
  AfxSetResourceHandle(before);
}

TEST(MfcMessageBox, IsRecordedAndAnsweredWithTheFirstButton) {
  standin::Session::Get().Reset();
  EXPECT_EQ(AfxMessageBox(L"不能分配", MB_OK), IDOK);
  EXPECT_EQ(AfxMessageBox(L"Sure?", MB_YESNO | MB_ICONQUESTION), IDYES);
  const auto boxes = standin::Session::Get().Journal(standin::JournalKind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, L"不能分配");
  EXPECT_EQ(boxes[1].values.at(0), static_cast<double>(MB_YESNO | MB_ICONQUESTION));
}

}  // namespace
