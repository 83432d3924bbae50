// The placement, move and rotate drags. Every prompt passes through the language switch; the
// options are carried out by the host's commands on the set, with the snaps the options need.
#include "drag/Drag.h"

#include "drag/SelectJig.h"
#include "input/Prompt.h"
#include "platform/Localization.h"
#include "view/StateGuards.h"

ZoGePoint g_ptDragBase;
ZoGePoint g_ptRubberBase;
ZoGePoint g_ptRubberLast;
double g_dRubberAngle = 0.0;

namespace {

const wchar_t* const kMainPrompt = L"\n点取位置或 [转90度(A)/左右翻(S)/上下翻(D)/对齐(F)/改转角(R)/改基点(T)]<退出>:";
const wchar_t* const kOptions = L"A S D F R T";
constexpr int kAnyInput = 128;      // acedInitGet: other input accepted
constexpr int kSnapsSuspended = 0x4000;
// Endpoint, midpoint, center, intersection, perpendicular and nearest.
constexpr int kOptionSnaps = 0x2A7;
constexpr double kPi = 3.141592653589793;

void Print(const wchar_t* pszText) { acutPrintf(L"%s", pszText); }

void ToAds(const ZoGePoint& pt, ads_point out) {
  out[X] = pt.x;
  out[Y] = pt.y;
  out[Z] = pt.z;
}

ZoGePoint FromAds(const ads_point pt) { return ZoGePoint(pt[X], pt[Y], pt[Z]); }

void ToAds(const ZoGeMatrix& m, ads_matrix out) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[r][c] = m[r][c];
}

// The translation between two user points, in world coordinates.
ZoGeMatrix MoveBetween(const ZoGePoint& ptFrom, const ZoGePoint& ptTo) {
  ZoGeMatrix m;
  m.CreateMoveMatrix(ZoGeVector3d(UcsToWcs(ptFrom, 0), UcsToWcs(ptTo, 0)));
  return m;
}

int Transform(const ZoAdsEntSet& set, const ZoGeMatrix& m) {
  ads_matrix mt;
  ToAds(m, mt);
  return acedXformSS(set, mt);
}

// The user's OSMODE with the running snaps on and those the options pick with added.
int OptionSnaps() {
  int nOsmode = 0;
  ZoPtGetVar(L"OSMODE", nOsmode);
  return (nOsmode & ~kSnapsSuspended) | kOptionSnaps;
}

// Erases the backspaced echo of a keyword the host printed.
void EraseKeywordEcho() { acutPrintf(L"%c%c %c", 8, 8, 8); }

// Reads the keyword the drag ended with; only its first character counts.
wchar_t ReadOption() {
  wchar_t szInput[1024] = L"";
  acedGetInput(szInput);
  return szInput[0];
}

int MoveSampler(ads_point pt, ads_matrix mt) {
  ads_point ptCaptured;
  ZoPtCapturePoint(nullptr, pt, ptCaptured);
  ToAds(MoveBetween(g_ptDragBase, FromAds(ptCaptured)), mt);
  return RTNORM;
}

int RubberSampler(ads_point pt, ads_matrix mt) {
  ads_point ptBase, ptLast, ptCaptured;
  ToAds(g_ptRubberBase, ptBase);
  ToAds(g_ptRubberLast, ptLast);
  ZoPtCapturePoint(ptBase, pt, ptCaptured);
  acedRedraw(nullptr, 0);
  acedGrDraw(ptBase, ptLast, 7, 0);
  acedGrDraw(ptBase, ptCaptured, 7, 0);
  g_ptRubberLast = FromAds(ptCaptured);
  g_dRubberAngle = acutAngle(ptBase, ptCaptured);
  ToAds(MoveBetween(g_ptRubberBase, g_ptRubberLast), mt);
  return RTNORM;
}

int RotateSampler(ads_point pt, ads_matrix mt) {
  ads_point ptBase, ptCaptured, ptBaseWcs, ptCapturedWcs;
  ToAds(g_ptDragBase, ptBase);
  ZoPtCapturePoint(ptBase, pt, ptCaptured);
  const ZoGePoint ptFrom = UcsToWcs(g_ptDragBase, 0), ptTo = UcsToWcs(FromAds(ptCaptured), 0);
  ToAds(ptFrom, ptBaseWcs);
  ToAds(ptTo, ptCapturedWcs);
  ZoGeMatrix m;
  ToAds(m.CreateRotateMatrix(acutAngle(ptBaseWcs, ptCapturedWcs), ptFrom), mt);
  return RTNORM;
}

// The options of the placement drags about ptPivot (user coordinates). An option that returns
// to the drag gives RTNORM; bAligned tells that F placed the set, which ends the drag. T asks
// for a new base point into ptPivot.
class PlacementOptions {
 public:
  PlacementOptions(ZoAdsEntSet& set, ZoGePoint& ptPivot) : m_set(set), m_ptPivot(ptPivot) {}

  bool m_bAligned = false;

  int Run(wchar_t cOption) {
    switch (cOption) {
      case L'A':
        return TurnQuarter();
      case L'S':
        return Mirror(ZoGePoint(0, 100, 0));
      case L'D':
        return Mirror(ZoGePoint(100, 0, 0));
      case L'F':
        return Align();
      case L'R':
        return RotateByUser();
      case L'T':
        return NewBase();
      default:
        return RTNORM;
    }
  }

 private:
  int TurnQuarter() {
    ZoPtPushSysVar snaps(L"OSMODE", 0);
    ads_point ptPivot;
    ToAds(m_ptPivot, ptPivot);
    acedCommand(RTSTR, L".ROTATE", RTPICKS, static_cast<const long long*>(m_set), RTSTR, L"", RT3DPOINT, ptPivot,
                RTREAL, 90.0, 0);
    return RTNORM;
  }

  int Mirror(const ZoGePoint& vAxis) {
    ZoPtPushSysVar snaps(L"OSMODE", 0);
    ads_point ptPivot, ptSecond;
    ToAds(m_ptPivot, ptPivot);
    ToAds(ZoGePoint(m_ptPivot.x + vAxis.x, m_ptPivot.y + vAxis.y, m_ptPivot.z + vAxis.z), ptSecond);
    acedCommand(RTSTR, L".MIRROR", RTPICKS, static_cast<const long long*>(m_set), RTSTR, L"", RT3DPOINT, ptPivot,
                RT3DPOINT, ptSecond, RTSTR, L"Y", 0);
    return RTNORM;
  }

  int Align() {
    ZoPtPushSysVar optionSnaps(L"OSMODE", OptionSnaps());
    ads_point ptRef, ptRefAxis, ptTarget, ptTargetAxis;
    if (acedGetPoint(nullptr, Translate(L"\n对齐参考点："), ptRef) != RTNORM ||
        acedGetPoint(ptRef, Translate(L"\n对齐参考轴："), ptRefAxis) != RTNORM ||
        acedGetPoint(nullptr, Translate(L"\n对齐目标点："), ptTarget) != RTNORM ||
        acedGetPoint(ptTarget, Translate(L"\n对齐目标轴："), ptTargetAxis) != RTNORM)
      return RTNORM;
    ZoPtPushSysVar noSnaps(L"OSMODE", 0);
    const double dAngle = GetStdAngle(acutAngle(ptTarget, ptTargetAxis) - acutAngle(ptRef, ptRefAxis));
    const long long* name = m_set;
    acedCommand(RTSTR, L".MOVE", RTPICKS, name, RTSTR, L"", RT3DPOINT, ptRef, RT3DPOINT, ptTarget, 0);
    acedCommand(RTSTR, L".ROTATE", RTPICKS, name, RTSTR, L"", RT3DPOINT, ptTarget, RTREAL, dAngle * 180.0 / kPi, 0);
    m_bAligned = true;
    return RTNORM;
  }

  int RotateByUser() {
    Print(Translate(L"\n旋转角度: "));
    ads_point ptPivot;
    ToAds(m_ptPivot, ptPivot);
    const int nStatus = acedCommand(RTSTR, L".ROTATE", RTPICKS, static_cast<const long long*>(m_set), RTSTR, L"",
                                    RT3DPOINT, ptPivot, RTSTR, L"\\", 0);
    if (nStatus == RTNORM) Print(Translate(kMainPrompt));
    return nStatus;
  }

  int NewBase() {
    ZoPtPushSysVar optionSnaps(L"OSMODE", OptionSnaps());
    ads_point ptBase;
    ToAds(m_ptPivot, ptBase);
    const int nStatus = acedGetPoint(nullptr, Translate(L"\n输入插入点:"), ptBase);
    if (nStatus == RTNORM) {
      m_ptPivot = FromAds(ptBase);
      Print(Translate(kMainPrompt));
    }
    return nStatus;
  }

  ZoAdsEntSet& m_set;
  ZoGePoint& m_ptPivot;
};

// The guards every drag keeps for its whole call, released in reverse order on every exit.
struct DragGuards {
  ZoPtPushSysVar echo{L"CMDECHO", 0};
  ZoPtPushLayerFree layers{nullptr};
};

}  // namespace

int ZoPtDragEntSet(ZoAdsEntSet& set, ZoGePoint& point) {
  DragGuards guards;
  g_ptDragBase = point;
  Print(Translate(kMainPrompt));
  ads_point ptResult = {0, 0, 0};
  int nStatus;
  for (;;) {
    set.RedrawAll(2);
    acedInitGet(kAnyInput, kOptions);
    nStatus = acedDragGen(set, L"", 0, &MoveSampler, ptResult);
    if (nStatus != RTKWORD) break;
    const ZoGePoint ptCursor = GetCursorPoint();
    const wchar_t cOption = ReadOption();
    ZoGeMatrix toCursor;
    toCursor.CreateMoveMatrix(ZoGeVector3d(UcsToWcs(g_ptDragBase, 0), ptCursor));
    Transform(set, toCursor);
    EraseKeywordEcho();
    g_ptDragBase = WcsToUcs(ptCursor, 0);
    PlacementOptions options(set, g_ptDragBase);
    nStatus = options.Run(cOption);
    if (cOption == L'T' && nStatus == RTNORM) point = g_ptDragBase;
    if (options.m_bAligned) return RTNORM;
    if (nStatus != RTNORM) break;
  }
  point = g_ptDragBase;
  if (nStatus == RTNORM) {
    const ZoGeMatrix move = MoveBetween(g_ptDragBase, FromAds(ptResult));
    Transform(set, move);
    ZoGePoint ptMoved = UcsToWcs(g_ptDragBase, 0);
    move.Transform(ptMoved);
    point = WcsToUcs(ptMoved, 0);
  }
  set.RedrawAll(1);
  return nStatus;
}

int ZoPtRubDragEntSet(ZoAdsEntSet& set, ZoGePoint& point) {
  DragGuards guards;
  g_ptRubberBase = g_ptRubberLast = point;
  g_dRubberAngle = 0.0;
  Print(Translate(kMainPrompt));
  ads_point ptResult = {0, 0, 0};
  int nStatus;
  for (;;) {
    g_ptRubberLast = g_ptRubberBase;
    set.RedrawAll(2);
    acedInitGet(kAnyInput, kOptions);
    nStatus = acedDragGen(set, L"", 0, &RubberSampler, ptResult);
    ads_point ptBase, ptLast;
    ToAds(g_ptRubberBase, ptBase);
    ToAds(g_ptRubberLast, ptLast);
    acedGrDraw(ptBase, ptLast, 7, -1);
    if (nStatus != RTKWORD) break;
    const wchar_t cOption = ReadOption();
    EraseKeywordEcho();
    if (cOption == L'T') set.RedrawAll(1);
    PlacementOptions options(set, g_ptRubberBase);
    nStatus = options.Run(cOption);
    if (cOption == L'T' && nStatus == RTNORM) point = g_ptRubberBase;
    if (options.m_bAligned) return RTNORM;
    if (nStatus != RTNORM) break;
  }
  point = g_ptRubberBase;
  if (nStatus == RTSTR || nStatus == RTNORM) {
    ads_point ptBase;
    ToAds(g_ptRubberBase, ptBase);
    if (nStatus == RTSTR) {
      wchar_t szInput[1024] = L"";
      acedGetInput(szInput);
      acutPolar(ptBase, g_dRubberAngle, _wtof(szInput), ptResult);
    } else {
      ZoPtCapturePoint(ptBase, ptResult, ptResult);
    }
    const ZoGeMatrix move = MoveBetween(g_ptRubberBase, FromAds(ptResult));
    Transform(set, move);
    ZoGePoint ptMoved = UcsToWcs(g_ptRubberBase, 0);
    move.Transform(ptMoved);
    point = WcsToUcs(ptMoved, 0);
    nStatus = RTNORM;
  }
  set.RedrawAll(1);
  return nStatus;
}

namespace {

int MoveDrag(ZoAdsEntSet& set, const wchar_t* pszPrompt, const ZoGePoint& ptBase, ZoGePoint& ptResult,
             bool bKeywords, const wchar_t* pszKeywords) {
  DragGuards guards;
  ptResult = g_ptDragBase = ptBase;
  set.RedrawAll(2);
  if (bKeywords) acedInitGet(0, pszKeywords);
  ads_point ptDragged;
  ToAds(ptResult, ptDragged);
  const int nStatus = acedDragGen(set, pszPrompt, 0, &MoveSampler, ptDragged);
  if (nStatus == RTNORM) {
    ptResult = FromAds(ptDragged);
    if (Transform(set, MoveBetween(g_ptDragBase, ptResult)) != RTNORM) {
      ZoPtPushSysVar snaps(L"OSMODE", 0);
      ads_point ptFrom;
      ToAds(g_ptDragBase, ptFrom);
      acedCommand(RTSTR, L"MOVE", RTPICKS, static_cast<const long long*>(set), RTSTR, L"", RT3DPOINT, ptFrom,
                  RT3DPOINT, ptDragged, 0);
    }
  }
  set.RedrawAll(1);
  return nStatus;
}

}  // namespace

int ZoPtDragMoveEntSet(ZoAdsEntSet& set, const wchar_t* pszPrompt, const ZoGePoint& ptBase, ZoGePoint& ptResult,
                       const wchar_t* pszKeywords) {
  return MoveDrag(set, pszPrompt, ptBase, ptResult, true, pszKeywords);
}

int ZoPtDragMoveEntSet(ZoAdsEntSet& set, const wchar_t* pszPrompt, const ZoGePoint& ptBase, ZoGePoint& ptResult) {
  return MoveDrag(set, pszPrompt, ptBase, ptResult, false, nullptr);
}

int ZoPtDragRotateEntSet(ZoAdsEntSet& set, const wchar_t* pszPrompt, ZoGePoint ptBase) {
  DragGuards guards;
  g_ptDragBase = ptBase;
  ads_point ptResult = {0, 0, 0};
  set.RedrawAll(2);
  acedInitGet(kAnyInput, nullptr);
  int nStatus = acedDragGen(set, pszPrompt, 0, &RotateSampler, ptResult);
  ads_point ptFrom;
  ToAds(g_ptDragBase, ptFrom);
  if (nStatus == RTSTR) {
    wchar_t szInput[1024] = L"";
    acedGetInput(szInput);
    ads_real dAngle = 0.0;
    if (acdbDisToF(szInput, 2, &dAngle) != RTNORM) {
      nStatus = RTERROR;
    } else {
      acedCommand(RTSTR, L"ROTATE", RTPICKS, static_cast<const long long*>(set), RTSTR, L"", RT3DPOINT, ptFrom,
                  RTREAL, dAngle, 0);
      nStatus = RTNORM;
    }
  } else if (nStatus == RTNORM) {
    ZoPtCapturePoint(ptFrom, ptResult, ptResult);
    const ZoGePoint ptBaseWcs = UcsToWcs(g_ptDragBase, 0), ptToWcs = UcsToWcs(FromAds(ptResult), 0);
    ads_point ptA, ptB;
    ToAds(ptBaseWcs, ptA);
    ToAds(ptToWcs, ptB);
    AcGeMatrix3d m;
    m.setToRotation(acutAngle(ptA, ptB), AcGeVector3d::kZAxis, AcGePoint3d(ptBaseWcs.x, ptBaseWcs.y, ptBaseWcs.z));
    ads_matrix mt;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) mt[r][c] = m(r, c);
    acedXformSS(set, mt);
  }
  set.RedrawAll(1);
  return nStatus;
}
