// Just enough of the host's viewports, behaving as the host's do, for the module to visit every
// viewport and make one current.
#include "standin/host/view/viewports.h"

#include <aced.h>
#include <acedads.h>
#include <acutads.h>

#include <algorithm>
#include <mutex>

#include "standin/host/core/session.h"
#include "standin/host/drawing/sysvars.h"

namespace standin {

namespace {

struct State {
  std::mutex mutex;
  std::vector<Viewport> tiled, layout;
};

void Defaults(State& st) {
  st.tiled = {{2, {0, 0}, {1, 1}}};
  st.layout = {{1, {0, 0}, {420, 297}}, {2, {20, 20}, {400, 277}}};
}

State& GetState() {
  static State* state = [] {
    auto* st = new State;  // never destroyed: modules may ask for viewports while the process exits
    Defaults(*st);
    return st;
  }();
  return *state;
}

bool Exists(int number) {
  for (const Viewport& v : Viewports())
    if (v.number == number) return true;
  return false;
}

// CVPORT takes only the number of a viewport of the list in use.
void InstallCheck() {
  SetSystemVariableCheck(L"CVPORT", [](const resbuf& value) {
    const long n = value.restype == RTSHORT ? value.resval.rint : value.resval.rlong;
    return Exists(static_cast<int>(n));
  });
}

// Setting CVPORT again shows the current viewport's size and view in the view variables; when
// the current viewport is gone the first of the list becomes current, as the host makes one.
void Refresh() {
  const std::vector<Viewport> list = Viewports();
  const int current = CurrentViewport();
  const bool exists = std::any_of(list.begin(), list.end(), [&](const Viewport& v) { return v.number == current; });
  SetSysVarInt(L"CVPORT", exists || list.empty() ? current : list[0].number);
}

// The session's reset gives the host's single tiled viewport back, and the check with it.
const bool g_registered = [] {
  InstallCheck();
  Session::Get().AddResetHandler([] {
    {
      State& st = GetState();
      std::lock_guard<std::mutex> lock(st.mutex);
      Defaults(st);
    }
    InstallCheck();
    Refresh();
  });
  return true;
}();

}  // namespace

void SetTiledViewports(std::vector<Viewport> viewports) {
  State& st = GetState();
  {
    std::lock_guard<std::mutex> lock(st.mutex);
    st.tiled = std::move(viewports);
  }
  Refresh();
}

void SetLayoutViewports(std::vector<Viewport> viewports) {
  State& st = GetState();
  {
    std::lock_guard<std::mutex> lock(st.mutex);
    st.layout = std::move(viewports);
  }
  Refresh();
}

std::vector<Viewport> Viewports() {
  const bool tiled = SysVarInt(L"TILEMODE", 1) != 0;
  State& st = GetState();
  std::lock_guard<std::mutex> lock(st.mutex);
  return tiled ? st.tiled : st.layout;
}

int CurrentViewport() { return SysVarInt(L"CVPORT", 2); }

}  // namespace standin

int acedVports(struct resbuf** vlist) {
  if (!vlist) return RTERROR;
  *vlist = nullptr;
  std::vector<standin::Viewport> list = standin::Viewports();
  const int current = standin::CurrentViewport();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].number == current) {
      std::swap(list[0], list[i]);
      break;
    }
  resbuf** tail = vlist;
  auto add = [&](int type) {
    resbuf* rb = acutNewRb(type);
    if (rb) {
      *tail = rb;
      tail = &rb->rbnext;
    }
    return rb;
  };
  for (const standin::Viewport& v : list) {
    resbuf* nodes[5] = {add(RTLB), add(RTSHORT), add(RTPOINT), add(RTPOINT), add(RTLE)};
    for (resbuf* rb : nodes)
      if (!rb) {
        acutRelRb(*vlist);
        *vlist = nullptr;
        return RTERROR;
      }
    nodes[1]->resval.rint = v.number;
    nodes[2]->resval.rpoint[0] = v.lowerLeft[0], nodes[2]->resval.rpoint[1] = v.lowerLeft[1];
    nodes[3]->resval.rpoint[0] = v.upperRight[0], nodes[3]->resval.rpoint[1] = v.upperRight[1];
  }
  return RTNORM;
}

Acad::ErrorStatus acedSetCurrentVPort(int vpnumber) {
  bool known = false;
  for (const standin::Viewport& v : standin::Viewports()) known = known || v.number == vpnumber;
  if (!known) return Acad::eInvalidInput;
  return standin::SetSysVarInt(L"CVPORT", vpnumber) ? Acad::eOk : Acad::eInvalidInput;
}
