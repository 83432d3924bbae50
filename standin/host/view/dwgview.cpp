// Just enough of the host's MFC windows, behaving as the host's do: one drawing view that lives as
// long as the process.
#include <rxmfcapi.h>

#include "standin/host/view/views.h"
#if defined(_WIN32)
#include <windows.h>
#else
#include "standin/win32/window.h"
#endif

namespace {

// The client area's top-left corner on the screen: below the host's ribbon and right of a palette,
// so that screen and client coordinates differ.
constexpr LONG kViewLeft = 48, kViewTop = 160;

HWND CreateViewWindow() {
#if defined(_WIN32)
  // A frameless window, never shown: its client area is the whole window.
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TovuDrawingView";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, L"drawing view", WS_POPUP, kViewLeft, kViewTop,
                         standin::kDrawingViewWidth, standin::kDrawingViewHeight, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
#else
  return standin::CreateStandInWindow(L"drawing view", standin::kDrawingViewWidth, standin::kDrawingViewHeight,
                                      kViewLeft, kViewTop);
#endif
}

}  // namespace

CView* acedGetAcadDwgView() {
  static CView* view = [] {
    auto* v = new CView;  // never destroyed: a timer may repaint it while the process exits
    v->m_hWnd = CreateViewWindow();
    return v;
  }();
  return view;
}
