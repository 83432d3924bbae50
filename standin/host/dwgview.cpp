// Just enough of the host's MFC windows, behaving as the host's do: one drawing view that lives as
// long as the process.
#include "standin/host/dwgview.h"

#include "standin/host/sysvars.h"

CView* acedGetAcadDwgView() {
  static CView* view = [] {
    LONG width = 800, height = 600;
    resbuf screen{};
    if (acedGetVar(L"SCREENSIZE", &screen) == RTNORM && screen.restype == RTPOINT)
      width = static_cast<LONG>(screen.resval.rpoint[0]), height = static_cast<LONG>(screen.resval.rpoint[1]);
    auto* v = new CView;  // never destroyed: a timer may repaint it while the process exits
    v->m_hWnd = standin::CreateStandInWindow(L"drawing view", width, height);
    return v;
  }();
  return view;
}
