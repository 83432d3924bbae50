// Reading and changing the current view.
#include "view/ViewControl.h"

#include <cmath>

#include "input/Prompt.h"

namespace {

enum : int { kWorld = 0, kUser = 1, kDisplay = 2 };

// The point (or, with bDisplacement, the vector) converted between the host's coordinate
// systems; the origin when the host cannot convert it.
ZoGePoint Trans(const ZoGePoint& pt, int nFrom, int nTo, bool bDisplacement = false) {
  resbuf rbFrom, rbTo;
  rbFrom.rbnext = rbTo.rbnext = nullptr;
  rbFrom.restype = rbTo.restype = RTSHORT;
  rbFrom.resval.rint = static_cast<short>(nFrom);
  rbTo.resval.rint = static_cast<short>(nTo);
  const ads_point ptIn = {pt.x, pt.y, pt.z};
  ads_point ptOut = {0, 0, 0};
  acedTrans(ptIn, &rbFrom, &rbTo, bDisplacement ? 1 : 0, ptOut);
  return ZoGePoint(ptOut[X], ptOut[Y], ptOut[Z]);
}

ZoGePoint MidPoint(const ZoGePoint& pt1, const ZoGePoint& pt2) {
  ZoGePoint ptMid;
  GetMidPt(pt1, pt2, ptMid);
  return ptMid;
}

// Makes the current view show the centre (world coordinates) at that size.
Acad::ErrorStatus ShowView(const ZoGePoint& ptCenter, double dWidth, double dHeight) {
  AcDbViewTableRecord view;
  InitView(view);
  const ZoGePoint ptDisplay = Trans(ptCenter, kWorld, kDisplay);
  view.setCenterPoint(AcGePoint2d(ptDisplay.x, ptDisplay.y));
  view.setHeight(dHeight);
  view.setWidth(dWidth);
  return acedSetCurrentView(&view, nullptr);
}

// A pick size in pixels as drawing units; 0.0 below one pixel.
double PixelVariableToWcs(const wchar_t* pszName) {
  int nPixels = 1;
  ZoPtGetVar(pszName, nPixels);
  return nPixels < 1 ? 0.0 : PixelToWcs(nPixels);
}

}  // namespace

void GetViewScreenSize(double& dWidth, double& dHeight) {
  ZoGePoint ptScreen;
  double dViewSize = 0.0;
  ZoPtGetVar(L"SCREENSIZE", ptScreen);
  ZoPtGetVar(L"viewsize", dViewSize);
  dHeight = dViewSize;
  dWidth = ptScreen.x / ptScreen.y * dHeight;
}

void GetViewScreenCorner(ZoGePoint& ptLowerLeft, ZoGePoint& ptUpperRight) {
  ZoGePoint ptCenter;
  ZoPtGetVar(L"VIEWCTR", ptCenter);
  ptCenter = UcsToWcs(ptCenter, 0);
  double dWidth = 0.0, dHeight = 0.0;
  GetViewScreenSize(dWidth, dHeight);
  ptLowerLeft = ZoGePoint(ptCenter.x - dWidth / 2.0, ptCenter.y - dHeight / 2.0, ptCenter.z);
  ptUpperRight = ZoGePoint(ptCenter.x + dWidth / 2.0, ptCenter.y + dHeight / 2.0, ptCenter.z);
}

double PixelToWcs(int nPixels) {
  ZoGePoint ptScreen;
  double dViewSize = 0.0;
  ZoPtGetVar(L"ScreenSize", ptScreen);
  ZoPtGetVar(L"ViewSize", dViewSize);
  if (ptScreen.y < 1e-6 || dViewSize < 1e-6) return 0.0;
  return dViewSize / ptScreen.y * nPixels;
}

double GetPickBoxWcsSize() { return PixelVariableToWcs(L"PICKBOX"); }

double GetApertureWcsSize() { return PixelVariableToWcs(L"APERTURE"); }

void InitView(AcDbViewTableRecord& view) {
  enum : int { kPerspective = 1, kFrontClip = 2, kBackClip = 4, kFrontClipNotAtEye = 16 };
  int nViewMode = 0;
  ZoGePoint ptCenter;
  ZoPtGetVar(L"VIEWMODE", nViewMode);
  ZoPtGetVar(L"VIEWCTR", ptCenter);
  ptCenter = Trans(ptCenter, kUser, kDisplay);

  int nViewport = 0;
  ZoPtGetVar(L"CVPORT", nViewport);
  view.setIsPaperspaceView(nViewport == 1);

  view.setCenterPoint(AcGePoint2d(ptCenter.x, ptCenter.y));
  double dWidth = 0.0, dHeight = 0.0;
  GetViewScreenSize(dWidth, dHeight);
  view.setHeight(dHeight);
  view.setWidth(dWidth);

  ZoGePoint vDirection;
  ZoPtGetVar(L"VIEWDIR", vDirection);
  vDirection = Trans(vDirection, kUser, kWorld, true);
  view.setViewDirection(AcGeVector3d(vDirection.x, vDirection.y, vDirection.z));

  double dTwist = 0.0;
  ZoPtGetVar(L"VIEWTWIST", dTwist);
  view.setViewTwist(dTwist);

  ZoGePoint ptTarget;
  ZoPtGetVar(L"TARGET", ptTarget);
  ptTarget = Trans(ptTarget, kUser, kWorld);
  view.setTarget(AcGePoint3d(ptTarget.x, ptTarget.y, ptTarget.z));

  if (!(nViewMode & kPerspective)) return;
  view.setPerspectiveEnabled(true);
  if (nViewMode & kBackClip) {
    double dBack = 0.0;
    ZoPtGetVar(L"BACKZ", dBack);
    view.setBackClipEnabled(true);
    view.setBackClipDistance(dBack);
  }
  if (nViewMode & kFrontClip) {
    view.setFrontClipEnabled(true);
    if (nViewMode & kFrontClipNotAtEye) {
      view.setFrontClipAtEye(false);
      double dFront = 0.0;
      ZoPtGetVar(L"FRONTZ", dFront);
      view.setFrontClipDistance(dFront);
    } else {
      view.setFrontClipAtEye(true);
    }
  }
  double dLens = 0.0;
  ZoPtGetVar(L"LENSLENGTH", dLens);
  view.setLensLength(dLens);
}

Acad::ErrorStatus PanView(const ZoGePoint& ptOffset) {
  AcDbViewTableRecord view;
  InitView(view);
  const AcGePoint2d ptCenter = view.centerPoint();
  view.setCenterPoint(AcGePoint2d(ptCenter.x + ptOffset.x, ptCenter.y + ptOffset.y));
  return acedSetCurrentView(&view, nullptr);
}

Acad::ErrorStatus ZoomView(const ZoGePoint& ptCenter, double dWidth, double dHeight) {
  return ShowView(ptCenter, dWidth, dHeight);
}

Acad::ErrorStatus ZoomView(const ZoGePoint& pt1, const ZoGePoint& pt2) {
  return ShowView(MidPoint(pt1, pt2), std::fabs(pt2.x - pt1.x), std::fabs(pt2.y - pt1.y));
}

Acad::ErrorStatus AssureViewVisible(const ZoGePoint& pt1, const ZoGePoint& pt2) {
  ZoGePoint ptView1, ptView2;
  GetViewScreenCorner(ptView1, ptView2);
  ZoGePoint ptLow = pt1, ptHigh = pt2;
  ptLow.z = ptHigh.z = ptView1.z;
  if (Min(ptLow, ptView1) == ptView1 && Max(ptHigh, ptView2) == ptView2) return Acad::eNotApplicable;

  const bool bWider = std::fabs(ptView2.x - ptView1.x) > std::fabs(ptHigh.x - ptLow.x);
  const bool bTaller = std::fabs(ptView2.y - ptView1.y) > std::fabs(ptHigh.y - ptLow.y);
  const ZoGePoint ptMid = MidPoint(ptLow, ptHigh);
  if (bWider && bTaller) {
    const ZoGePoint ptViewMid = MidPoint(ptView1, ptView2);
    return PanView(ZoGePoint(ptMid.x - ptViewMid.x, ptMid.y - ptViewMid.y, ptMid.z - ptViewMid.z));
  }
  return ZoomView(ptMid, ptHigh.x - ptLow.x, ptHigh.y - ptLow.y);
}

ZoPushViewVisible::ZoPushViewVisible(const ZoGePoint& ptLowerLeft, const ZoGePoint& ptUpperRight, bool bRestore)
    : m_bRestore(bRestore) {
  GetViewScreenCorner(m_ptLowerLeft, m_ptUpperRight);
  AssureViewVisible(ptLowerLeft, ptUpperRight);
}

ZoPushViewVisible::~ZoPushViewVisible() {
  if (m_bRestore) ZoomView(m_ptLowerLeft, m_ptUpperRight);
}
