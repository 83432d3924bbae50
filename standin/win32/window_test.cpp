// Conformance of the window stand-in: the host's drawing view, its client area, and invalidations
// reported into the session journal.
#include "standin/win32/window.h"

#include <afxwin.h>
#include <gtest/gtest.h>
#include <rxmfcapi.h>

#include <vector>

#include "standin/host/core/session.h"

namespace {

using standin::JournalKind;
using standin::Session;

TEST(Windows, TheDrawingViewIsInvalidatedIntoTheJournal) {
  Session::Get().Reset();
  CView* view = acedGetAcadDwgView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(acedGetAcadDwgView(), view);
  ASSERT_TRUE(IsWindow(view->GetSafeHwnd()));
  RECT client = {-1, -1, -1, -1};
  ASSERT_TRUE(GetClientRect(view->m_hWnd, &client));
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);

  EXPECT_TRUE(InvalidateRect(view->m_hWnd, nullptr, FALSE));
  const RECT part = {10, 20, 30, 40};
  view->InvalidateRect(&part);
  const auto entries = Session::Get().Journal(JournalKind::Invalidate);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, L"drawing view");
  EXPECT_EQ(entries[0].values, std::vector<double>{0});
  EXPECT_EQ(entries[1].values, (std::vector<double>{1, 10, 20, 30, 40}));

  const HWND gone = standin::CreateStandInWindow(L"gone", 10, 10);
  EXPECT_TRUE(DestroyWindow(gone));
  SetLastError(0);
  EXPECT_FALSE(InvalidateRect(gone, nullptr, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(DestroyWindow(gone));
  EXPECT_FALSE(IsWindow(gone));
  EXPECT_FALSE(GetClientRect(view->m_hWnd, nullptr));
  EXPECT_EQ(Session::Get().Journal(JournalKind::Invalidate).size(), 2u);
}

}  // namespace
