// How the family's commands ask the user for entities. The loops end only on what the host
// reports (an entity that passes, Esc, Enter, a keyword) or on a confirmed candidate.
#include "input/Picking.h"

#include <optional>

#include "drag/SelectJig.h"
#include "input/Prompt.h"
#include "platform/Localization.h"
#include "view/StateGuards.h"
#include "view/ViewControl.h"

namespace {

// The state of a multiple selection with keywords, which the host's keyword callback changes
// while the selection still runs: the prompt pair handed to ":$", the keyword list (then the typed
// keyword), and whether the callback took a keyword.
const wchar_t* g_apszSelectPrompts[2] = {L"", L""};
CString g_strSelectKeywords;
int g_nSelectKeywordTyped = 0;

void Print(const wchar_t* pszText) { acutPrintf(L"%s", pszText); }

// Offers the candidates one by one, highlighted: RTNORM with the accepted one in ent, RTCAN, or
// RTNONE when every one was refused (the user is told to pick again).
int ConfirmCandidate(const ZoAdsEntSet& set, ZoAdsEnt& ent) {
  const long n = set.GetLength();
  for (long i = 0; i < n; ++i) {
    const ZoAdsEnt candidate = set[i];
    candidate.Redraw(3);
    const int nAnswer = ZoPtAskYesNo(Translate(L"\n是否为该对象"), 1);
    candidate.Redraw(4);
    if (nAnswer == RTCAN) return RTCAN;
    if (nAnswer == 1) {
      ent = candidate;
      return RTNORM;
    }
  }
  Print(Translate(L"\n请重新选择!"));
  return RTNONE;
}

// The entity pick loop of acedEntSel, the keywords (if any) armed anew for every pass.
int PickLoop(ZoAdsEnt& ent, const wchar_t* pszPrompt, const wchar_t* pszKeywords, const ZoAdsRBList& filter,
             ZoGePoint& pt) {
  for (;;) {
    std::optional<ZoPtInitGet> keywords;
    if (pszKeywords && *pszKeywords) keywords.emplace(1, pszKeywords);
    ads_name name;
    ads_point point;
    const int rc = acedEntSel(pszPrompt, name, point);
    if (rc != RTNORM) return rc;
    ent = name;
    pt = ZoGePoint(point[0], point[1], point[2]);
    if (ent.IsMatch(filter)) return RTNORM;
    Print(Translate(L"\n选择无效, 重新选择!"));
  }
}

// The preselected entities that pass the filter, in intake (an owning set). bClear also clears
// the host's preselection and releases the reactor's copy of it.
void PickfirstIntake(ZoAdsEntSet& intake, const ZoAdsRBList& filter, bool bClear) {
  ZoDbReactorAndData* pReactor = ZoReactors::GetCurDocReactor();
  ads_name first = {0, 0};
  const bool bHasFirst = pReactor && pReactor->GetPickFirstSet(first);
  if (bHasFirst) intake += ZoAdsEntSet(first);
  intake.Filter(filter);
  if (!bClear) return;
  acedSSSetFirst(nullptr, nullptr);
  if (pReactor) pReactor->FreeFirstPickSet();
}

// The first preselected entity that passes the filter into ent, or every one into set; false when
// none passes. The preselection is cleared either way.
bool TakePreselected(const ZoAdsRBList& filter, ZoAdsEnt& ent) {
  ZoAdsEntSet intake(ZoAdsEntSet::kCreateSet | ZoAdsEntSet::kOwnSet);
  PickfirstIntake(intake, filter, true);
  if (intake.GetLength() == 0) return false;
  ent = intake[0];
  return true;
}

bool TakePreselected(const ZoAdsRBList& filter, ZoAdsEntSet& set) {
  ZoAdsEntSet intake(ZoAdsEntSet::kCreateSet | ZoAdsEntSet::kOwnSet);
  PickfirstIntake(intake, filter, true);
  if (intake.GetLength() == 0) return false;
  set += intake;
  return true;
}

// Runs a pick with the family's keyword capture on when the prompt has bracketed options: a
// keyword typed meanwhile turns the result into RTKWORD, the keyword in strKeyword.
template <typename Pick>
int WithKeywordCapture(const wchar_t* pszPrompt, CString& strKeyword, Pick pick) {
  CString strKeywords;
  if (!GetKeywordsFromPrompt(pszPrompt, strKeywords)) return pick();
  g_bEnableSelectKey = true;
  int rc = pick();
  g_bEnableSelectKey = false;
  if (ZoGetSelectKeyWordInput(strKeyword)) rc = RTKWORD;
  return rc;
}

int PickAtPoint(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoGePoint& pt, ZoAdsRBList& filter) {
  ZoAdsEnt picked;
  const int rc = picked.Select(GetPickBoxWcsSize() / 2.0, pszPrompt, filter, pt);
  if (rc == RTNORM) ent = picked;
  return rc;
}

int PickOne(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoAdsRBList& filter) {
  ZoAdsEnt picked;
  const int rc = picked.Select(pszPrompt, filter);
  if (rc == RTNORM) ent = picked;
  return rc;
}

// Called by the host with the text typed during a ":K" selection: a keyword of the list ends the
// selection (a space sent to the command line), and an input method that took the key in its
// composition gets a backspace.
resbuf* SelectKeywordCallback(const ACHAR* pszTyped) {
  if (!pszTyped || g_strSelectKeywords.FindOneOf(pszTyped) < 0) return nullptr;
  g_nSelectKeywordTyped = 1;
  g_strSelectKeywords = pszTyped;
  g_apszSelectPrompts[0] = L"";
  ZoSendCmdString(L" ");
  wchar_t szImeFile[1024] = {};
  if (ImmGetIMEFileNameW(GetKeyboardLayout(0), szImeFile, 1024) > 0 && szImeFile[0]) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_BACK;
    SendInput(1, &input, sizeof(INPUT));
  }
  return nullptr;
}

// One pass of the window selection: a pick, or a window opened by a second drag. 0 when the pass
// collected something or the user may go on; the jig's status otherwise.
int WindowPass(ZoPtSelectJig& jig, ZoAdsEntSet& set, const ZoAdsRBList& filter) {
  jig.setDispPrompt(L"%s", static_cast<const wchar_t*>(jig.m_strPrompt));  // the prompt is text, not a format
  const int nFirst = jig.drag();
  jig.m_bWindowMode = 1;
  if (nFirst != AcEdJig::kNormal && nFirst != AcEdJig::kOther) return nFirst;

  const double h = GetPickBoxWcsSize() / 2.0;
  const ZoGePoint box = WcsToUcs(ZoGePoint(h, h, 0.0), 0);
  const ZoGePoint& cur = jig.m_ptCurrent;
  const ads_point p1 = {cur.x - box.x, cur.y - box.y, cur.z - box.z};
  const ads_point p2 = {cur.x + box.x, cur.y + box.y, cur.z + box.z};
  ZoAdsEntSet hit;
  if (hit.Get(L"C", p1, p2, filter) == RTNORM && hit.GetLength() > 0) {
    const ZoAdsEnt first = hit[0];
    if (first.IsMatch(filter)) {
      jig.m_bWindowMode = 0;
      set += first;
    } else {
      Print(L"\n请选择正确的对象");
    }
    return 0;
  }

  const AcEdJig::CursorType cursor = jig.specialCursorType();
  jig.setSpecialCursorType(AcEdJig::kInvisible);
  const int nSecond = jig.drag();
  jig.setSpecialCursorType(cursor);
  jig.m_bWindowMode = 0;
  if (nSecond != AcEdJig::kNormal && nSecond != AcEdJig::kOther) return nSecond;

  const POINT& a = jig.m_ptFirstPixel;
  const POINT& b = jig.m_ptCurrentPixel;
  const bool bRightX = static_cast<double>(b.x - a.x) > g_distZero;
  const bool bDownY = static_cast<double>(b.y - a.y) > g_distZero;
  const LONG maxX = bRightX ? b.x : a.x, minX = bRightX ? a.x : b.x;
  const LONG maxY = bDownY ? b.y : a.y, minY = bDownY ? a.y : b.y;
  const bool bCrossing = b.x - a.x < 0;
  int nViewport = 0;
  if (!ZoPtGetVar(L"CVPORT", nViewport)) nViewport = 0;
  const POINT corners[4] = {{minX, maxY}, {maxX, maxY}, {maxX, minY}, {minX, minY}};
  ZoGePolyline2d polygon(0, false);
  for (const POINT& corner : corners) {
    acedDwgPoint world = {0, 0, 0};
    acedCoordFromPixelToWorld(nViewport, CPoint(corner), world);
    polygon.AppendVertex(WcsToUcs(ZoGePoint(world[0], world[1], world[2]), 0), 0.0);
  }
  polygon.SetClosed(true, 0.0);
  resbuf* pPoints = ZoPtPolygonPointList(polygon, true);
  ZoAdsEntSet window;
  const int rc = window.Get(bCrossing ? L"CP" : L"WP", pPoints, nullptr, filter);
  acutRelRb(pPoints);
  if (rc != RTNORM || window.GetLength() == 0) return nSecond;
  const long nFound = window.GetLength();
  window.Filter(filter);
  const long nKept = window.GetLength();
  acutPrintf(L"%s", L"\n共选中");
  acutPrintf(L"%ld", nFound);
  acutPrintf(L"%s", L"个对象");
  acutPrintf(L"%s", L"\n过滤");
  acutPrintf(L"%ld", nKept);
  acutPrintf(L"%s", L"个对象");
  set += window;
  return 0;
}

}  // namespace

int ZoAdsEnt::Select(double dAperture, const wchar_t* pszPrompt, const ZoAdsRBList& filter, ZoGePoint& pt) {
  ZoPtPushSysVar nearest(L"OSMODE", 512);
  for (;;) {
    ads_point point;
    const int rc = acedGetPoint(nullptr, pszPrompt, point);
    if (rc != RTNORM) return rc;
    pt = ZoGePoint(point[0], point[1], point[2]);
    const ads_point p1 = {point[0] - dAperture, point[1] - dAperture, point[2]};
    const ads_point p2 = {point[0] + dAperture, point[1] + dAperture, point[2]};
    ZoAdsEntSet found;
    if (found.Get(L"C", p1, p2, filter) != RTNORM || found.GetLength() == 0) {
      Print(Translate(L"\n选择无效, 重新选择!"));
      if (!g_strInitKewords.IsEmpty()) acedInitGet(g_nInitContral, g_strInitKewords);
      continue;
    }
    if (found.GetLength() == 1) {
      *this = found[0];
      return RTNORM;
    }
    const int nConfirmed = ConfirmCandidate(found, *this);
    if (nConfirmed != RTNONE) return nConfirmed;
  }
}

int ZoAdsEnt::Select(const wchar_t* pszPrompt, const ZoAdsRBList& filter) {
  for (;;) {
    const wchar_t* prompts[2] = {pszPrompt, L""};
    ZoAdsEntSet found;
    const int rc = found.Get(L":S:$", prompts, nullptr, filter);
    if (rc != RTNORM || found.GetLength() == 0) return rc;
    if (found.GetLength() == 1) {
      *this = found[0];
      return RTNORM;
    }
    const int nConfirmed = ConfirmCandidate(found, *this);
    if (nConfirmed != RTNONE) return nConfirmed;
  }
}

int ZoAdsEnt::Select(const wchar_t* pszPrompt, const ZoAdsRBList& filter, ZoGePoint& pt) {
  return PickLoop(*this, pszPrompt, nullptr, filter, pt);
}

int ZoAdsEnt::Select(const wchar_t* pszPrompt, const wchar_t* pszKeywords, const ZoAdsRBList& filter, ZoGePoint& pt) {
  return PickLoop(*this, pszPrompt, pszKeywords, filter, pt);
}

int ZoAdsEnt::SelectEx(const wchar_t* pszPrompt, const ZoAdsRBList& filter, ZoGePoint& pt) {
  CString strKeywords;
  GetKeywordsFromPrompt(pszPrompt, strKeywords);
  return PickLoop(*this, pszPrompt, strKeywords, filter, pt);
}

int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoGePoint& pt, ZoAdsRBList& filter) {
  return PickAtPoint(pszPrompt, ent, pt, filter);
}

int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoGePoint& pt, ZoAdsRBList& filter, CString& strKeyword) {
  return WithKeywordCapture(pszPrompt, strKeyword, [&] { return PickAtPoint(pszPrompt, ent, pt, filter); });
}

int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoAdsRBList& filter) {
  if (TakePreselected(filter, ent)) return RTNORM;
  return PickOne(pszPrompt, ent, filter);
}

int ZoPtSelectEntity(const wchar_t* pszPrompt, ZoAdsEnt& ent, ZoAdsRBList& filter, CString& strKeyword) {
  if (TakePreselected(filter, ent)) return RTNORM;
  return WithKeywordCapture(pszPrompt, strKeyword, [&] { return PickOne(pszPrompt, ent, filter); });
}

int ZoPtSelectEntities(const wchar_t* pszPrompt, ZoAdsEntSet& set, ZoAdsRBList& filter) {
  if (TakePreselected(filter, set)) return RTNORM;
  const wchar_t* prompts[2] = {pszPrompt, Translate(L"移除物体")};
  return set.Get(L":$", prompts, nullptr, filter);
}

int ZoPtSelectEntities(const wchar_t* pszPrompt, ZoAdsEntSet& set, ZoAdsRBList& filter, CString& strKeyword) {
  g_nSelectKeywordTyped = 0;
  if (TakePreselected(filter, set)) return RTNORM;
  g_apszSelectPrompts[0] = pszPrompt;
  g_apszSelectPrompts[1] = Translate(L"移除物体");
  CString strKeywords;
  if (!GetKeywordsFromPrompt(pszPrompt, strKeywords)) return set.Get(L":$", g_apszSelectPrompts, nullptr, filter);
  g_strSelectKeywords = strKeywords;
  // It stays registered: a later keyword selection of the family reaches it again.
  acedSSSetKwordCallbackPtr(&SelectKeywordCallback);
  const int rc = set.Get(L":$:K", g_apszSelectPrompts, static_cast<const wchar_t*>(strKeywords), filter);
  if (g_nSelectKeywordTyped) {
    strKeyword = g_strSelectKeywords;
    return RTKWORD;
  }
  return rc;
}

int ZoPtGetPrepickEntity(ZoAdsEnt& ent, ZoAdsRBList& filter) {
  ZoAdsEntSet intake(ZoAdsEntSet::kCreateSet | ZoAdsEntSet::kOwnSet);
  PickfirstIntake(intake, filter, false);
  if (intake.GetLength() != 1) return RTERROR;
  ent = intake[0];
  return RTNORM;
}

int ZoPtSelectEntsWetherHighlight(const wchar_t* pszPrompt, ZoAdsEntSet& set, ZoAdsRBList& filter, int nHighlight) {
  ZoPtSelectJig jig;
  jig.m_strPrompt = pszPrompt;
  int nStatus = WindowPass(jig, set, filter);
  while (nStatus == 0) {
    // Mode 0 is none of the host's redraw modes; the host does nothing with it.
    set.RedrawAll(nHighlight ? 0 : 4);
    nStatus = WindowPass(jig, set, filter);
  }
  return set.GetLength() == 0 ? RTCAN : RTNORM;
}
