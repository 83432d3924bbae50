// Just enough of the host's MFC windows, behaving as the host's do: one drawing view that lives as
// long as the process.
#include <rxmfcapi.h>

#include "standin/host/view/views.h"
#include "standin/win32/window.h"

CView* acedGetAcadDwgView() {
  static CView* view = [] {
    auto* v = new CView;  // never destroyed: a timer may repaint it while the process exits
    // Below the host's ribbon and right of a palette, so that screen and client coordinates differ.
    v->m_hWnd = standin::CreateStandInWindow(L"drawing view", standin::kDrawingViewWidth, standin::kDrawingViewHeight,
                                             48, 160);
    return v;
  }();
  return view;
}
