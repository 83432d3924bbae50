// Entity flicker.
#include "ads/AdsEntFlicker.h"

#include <climits>
#include <mutex>

namespace {

constexpr UINT kFlickerDelay = 500;      // ms between redraw steps
constexpr UINT kFlickerResolution = 10;  // ms

// Guards the fields and the held set of every instance. Host calls are made under it; the host
// never calls back into the module from the timer thread, so the order is always this lock first.
std::mutex g_flickerMutex;

void CALLBACK FlickerTimerProc(UINT, UINT, DWORD_PTR dwUser, DWORD_PTR, DWORD_PTR) {
  if (dwUser) reinterpret_cast<ZoAdsEntFlicker*>(dwUser)->EntityFlickerCallBack();
}

// Repaints the drawing view without erasing its background first.
void InvalidateDrawingView() {
  if (CView* pView = acedGetAcadDwgView()) ::InvalidateRect(pView->m_hWnd, nullptr, FALSE);
}

}  // namespace

ZoAdsEntFlicker* ZoAdsEntFlicker::m_pEntFlicker = nullptr;

ZoAdsEntFlicker* ZoAdsEntFlicker::GetFlickerInstance() {
  static ZoAdsEntFlicker instance;
  return &instance;
}

ZoAdsEntFlicker::ZoAdsEntFlicker() : m_nCount(0), m_nStep(0), m_nTimerId(0), m_entSet(ZoAdsEntSet::kOwnSet) {}

// The set starts as a non-owning set and takes the other's set name, as a copied set does.
ZoAdsEntFlicker::ZoAdsEntFlicker(const ZoAdsEntFlicker& other) : m_nCount(0), m_nStep(0), m_nTimerId(0), m_entSet(0) {
  *this = other;
}

// The timer id stays: a copied one would let this object kill a timer that ticks another.
ZoAdsEntFlicker& ZoAdsEntFlicker::operator=(const ZoAdsEntFlicker& other) {
  std::lock_guard<std::mutex> lock(g_flickerMutex);
  m_nCount = other.m_nCount;
  m_nStep = other.m_nStep;
  m_entSet = other.m_entSet;
  return *this;
}

// Once EndFlicker has killed the timer no tick can reach the set any more.
ZoAdsEntFlicker::~ZoAdsEntFlicker() { EndFlicker(); }

void ZoAdsEntFlicker::SetEntity(const ZoAdsEntSet& ents) {
  EndFlicker();
  std::lock_guard<std::mutex> lock(g_flickerMutex);
  if (ents.GetLength() < 1) return;
  m_entSet.Free();
  m_entSet += ents;
}

// A running flicker is ended (drawn, its timer killed) before the new one starts; a count of 0
// thus ends it, as the tick that count asks for would, and the tick is left out.
void ZoAdsEntFlicker::Flicker(int nCount) {
  for (;;) {
    UINT nKill = 0;
    {
      std::lock_guard<std::mutex> lock(g_flickerMutex);
      if (m_nTimerId == 0) {
        // An odd count gains a step so the entities end drawn; INT_MAX loses one instead of overflowing.
        m_nCount = nCount > 0 && nCount % 2 ? (nCount == INT_MAX ? nCount - 1 : nCount + 1) : nCount;
        m_nStep = 0;
        if (m_nCount != 0)
          m_nTimerId = timeSetEvent(kFlickerDelay, kFlickerResolution, FlickerTimerProc,
                                    reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
        return;
      }
      nKill = EndFlickerLocked();
    }
    timeKillEvent(nKill);
  }
}

void ZoAdsEntFlicker::EndFlicker() {
  UINT nKill = 0;
  {
    std::lock_guard<std::mutex> lock(g_flickerMutex);
    nKill = EndFlickerLocked();
  }
  if (nKill) timeKillEvent(nKill);
}

void ZoAdsEntFlicker::RedrawEntity(int nVisible) {
  std::lock_guard<std::mutex> lock(g_flickerMutex);
  RedrawLocked(nVisible);
}

void ZoAdsEntFlicker::EntityFlickerCallBack() {
  UINT nKill = 0;
  {
    std::lock_guard<std::mutex> lock(g_flickerMutex);
    nKill = TickLocked();
  }
  if (nKill) timeKillEvent(nKill);
}

// The fields are cleared before the timer dies: a tick that slips in before the kill finds
// nothing to do.
UINT ZoAdsEntFlicker::EndFlickerLocked() {
  RedrawLocked(1);
  const UINT nTimerId = m_nTimerId;
  m_nStep = 0;
  m_nTimerId = 0;
  m_nCount = 0;
  return nTimerId;
}

UINT ZoAdsEntFlicker::TickLocked() {
  if (m_nCount < 0 || (m_nCount > 0 && m_nStep < static_cast<UINT>(m_nCount))) {
    RedrawLocked(static_cast<int>(m_nStep % 2));
    ++m_nStep;
    InvalidateDrawingView();
    return 0;
  }
  return m_nTimerId ? EndFlickerLocked() : 0;
}

void ZoAdsEntFlicker::RedrawLocked(int nVisible) {
  const long nLength = m_entSet.GetLength();
  for (long i = 0; i < nLength; ++i) {
    const ZoAdsEnt ent = m_entSet[i];
    if (ent.IsValid()) ent.Redraw(nVisible ? 1 : 2);
  }
}

int ZoPtFlicterEnt(const ZoAdsEntSet& ents) {
  ZoAdsEntFlicker* pFlicker = ZoAdsEntFlicker::GetFlickerInstance();
  if (!pFlicker) return 0;
  ZoPtEndFlicterEnt();
  pFlicker->SetEntity(ents);
  pFlicker->Flicker(-1);
  return 1;
}

int ZoPtFlicterEnt(const AcArray<AcDbObjectId>& ids) {
  ZoAdsEntSet ents(ZoAdsEntSet::kOwnSet);
  for (int i = 0; i < ids.length(); ++i) ents += ids[i];
  return ZoPtFlicterEnt(ents);
}

int ZoPtFlicterEnt(const AcDbObjectId& id) {
  ZoAdsEntSet ents(ZoAdsEntSet::kOwnSet);
  ents += id;
  return ZoPtFlicterEnt(ents);
}

void ZoPtEndFlicterEnt() {
  if (ZoAdsEntFlicker* pFlicker = ZoAdsEntFlicker::GetFlickerInstance()) pFlicker->EndFlicker();
}
