// The selection jig, point capture and the polygon point list.
#include "drag/SelectJig.h"

#include <cmath>

#include "input/Prompt.h"

namespace {

const double kHalfPi = 1.5707963267948966;

// The infinite line through the point at the angle (radians).
ZoGeBaseLine2d LineAt(const ZoGePoint2d& pt, double dAngle) {
  return ZoGeBaseLine2d(pt, ZoGeVector2d::CreateFromAngle(dAngle));
}

double Distance(const ZoGePoint2d& pt1, const ZoGePoint2d& pt2) { return std::hypot(pt2.x - pt1.x, pt2.y - pt1.y); }

// The distance rounded to a whole number of units, an exact half down; a unit of 1e-6 or less
// leaves it as it is.
double RoundToUnit(double dDistance, double dUnit) {
  if (std::fabs(dUnit) <= 1e-6) return dDistance;
  double k = std::trunc(dDistance / dUnit);
  if (dDistance - k * dUnit > dUnit / 2.0) k += 1;
  return k * dUnit;
}

// The point at the distance from ptFrom towards ptTowards.
ZoGePoint2d PointTowards(const ZoGePoint2d& ptFrom, const ZoGePoint2d& ptTowards, double dDistance) {
  const ads_point from = {ptFrom.x, ptFrom.y, 0}, towards = {ptTowards.x, ptTowards.y, 0};
  ads_point result = {0, 0, 0};
  acutPolar(from, acutAngle(from, towards), dDistance, result);
  return ZoGePoint2d(result[X], result[Y]);
}

// The grid point nearest to pt along the snap axes through ptSnapBase.
ZoGePoint2d SnapToGrid(const ZoGePoint2d& pt, const ZoGePoint2d& ptSnapBase, double dAngle, const ZoGePoint& ptUnit) {
  const ZoGePoint2d q1 = LineAt(ptSnapBase, dAngle).GetNearestPoint(pt);
  const ZoGePoint2d q2 = LineAt(ptSnapBase, dAngle + kHalfPi).GetNearestPoint(pt);
  const double a = RoundToUnit(Distance(ptSnapBase, q1), ptUnit.x);
  const double b = RoundToUnit(Distance(ptSnapBase, q2), ptUnit.y);
  const ZoGePoint2d s1 = PointTowards(ptSnapBase, q1, a);
  const ZoGePoint2d s2 = PointTowards(ptSnapBase, q2, b);
  ZoGePoint2d ptGrid = pt;
  LineAt(s2, dAngle).IntersectWith(LineAt(s1, dAngle + kHalfPi), ptGrid, false);
  return ptGrid;
}

}  // namespace

ZoPtSelectJig::ZoPtSelectJig()
    : m_pFrame(new AcDbPolyline()), m_bWindowMode(0), m_ptFirstPixel{0, 0}, m_ptCurrentPixel{0, 0} {}

ZoPtSelectJig::~ZoPtSelectJig() {
  if (m_pFrame) {
    delete m_pFrame;
    m_pFrame = nullptr;
  }
}

AcEdJig::DragStatus ZoPtSelectJig::sampler() {
  setUserInputControls(static_cast<UserInputControls>(kGovernedByOrthoMode | kNullResponseAccepted |
                                                      kDontUpdateLastPoint | kAccept3dCoordinates));
  setSpecialCursorType(m_bWindowMode ? kInvisible : kEntitySelect);
  AcGePoint3d ptAcquired;
  const DragStatus status = acquirePoint(ptAcquired);
  POINT ptCursor = {0, 0};
  GetCursorPos(&ptCursor);
  if (CView* pView = acedGetAcadDwgView()) pView->ScreenToClient(&ptCursor);
  if (status != kNormal) return status;

  const ZoGePoint ptWcs(ptAcquired.x, ptAcquired.y, ptAcquired.z);
  if (ptWcs.DistanceTo(m_ptLastWcs) <= g_distZero) return kNoChange;
  m_ptLastWcs = ptWcs;
  m_ptCurrent = WcsToUcs(ptWcs, 0);
  m_ptCurrentPixel = ptCursor;
  if (!m_bWindowMode) {
    m_ptFirstCorner = m_ptCurrent;
    m_ptFirstPixel = ptCursor;
  }
  return kNormal;
}

Adesk::Boolean ZoPtSelectJig::update() {
  if (!m_bWindowMode) {
    if (m_pFrame) m_pFrame->reset(true, 4);
    return false;
  }
  const AcGePoint3d ptFirst(m_ptFirstCorner.x, m_ptFirstCorner.y, m_ptFirstCorner.z);
  const AcGePoint3d ptCurrent(m_ptCurrent.x, m_ptCurrent.y, m_ptCurrent.z);
  if (ptFirst.isEqualTo(ptCurrent, AcGeContext::gTol) || !m_pFrame) return false;
  m_pFrame->reset(true, 4);

  const bool bCrossing = m_ptCurrentPixel.x < m_ptFirstPixel.x;
  LONG nMinX = m_ptCurrentPixel.x, nMaxX = m_ptFirstPixel.x;
  if (static_cast<double>(m_ptCurrentPixel.x) - m_ptFirstPixel.x > g_distZero) {
    nMinX = m_ptFirstPixel.x;
    nMaxX = m_ptCurrentPixel.x;
  }
  LONG nMinY = m_ptCurrentPixel.y, nMaxY = m_ptFirstPixel.y;
  if (static_cast<double>(m_ptCurrentPixel.y) - m_ptFirstPixel.y > g_distZero) {
    nMinY = m_ptFirstPixel.y;
    nMaxY = m_ptCurrentPixel.y;
  }
  // Screen y grows downwards: bottom-left, bottom-right, top-right, top-left.
  const CPoint corners[4] = {CPoint(nMinX, nMaxY), CPoint(nMaxX, nMaxY), CPoint(nMaxX, nMinY), CPoint(nMinX, nMinY)};
  int nViewport = 2;
  ZoPtGetVar(L"CVPORT", nViewport);
  for (unsigned int i = 0; i < 4; ++i) {
    acedDwgPoint ptWorld = {0, 0, 0};
    acedCoordFromPixelToWorld(nViewport, corners[i], ptWorld);
    m_pFrame->addVertexAt(i, AcGePoint2d(ptWorld[X], ptWorld[Y]), 0.0, -1.0, -1.0, 0);
  }
  m_pFrame->setClosed(true);
  m_pFrame->setLinetype(InitLineType(bCrossing ? L"DASH" : L"CONTINUOUS", nullptr), true);
  return true;
}

AcDbEntity* ZoPtSelectJig::entity() const { return m_pFrame; }

void ZoPtCapturePoint(const ads_point ptBase, const ads_point pt, ads_point result) {
  double dSnapAngle = 0.0;
  int nOrtho = 0, nIsometric = 0, nSnap = 0;
  ZoGePoint ptUnit, ptSnapBase;
  ZoPtGetVar(L"SNAPANG", dSnapAngle);
  ZoPtGetVar(L"ORTHOMODE", nOrtho);
  ZoPtGetVar(L"SNAPSTYL", nIsometric);
  ZoPtGetVar(L"SNAPMODE", nSnap);
  ZoPtGetVar(L"SNAPUNIT", ptUnit);
  ZoPtGetVar(L"SNAPBASE", ptSnapBase);

  const ZoGePoint ptIn(pt[X], pt[Y], pt[Z]);
  if (nIsometric) {
    result[X] = ptIn.x;
    result[Y] = ptIn.y;
    result[Z] = ptIn.z;
    return;
  }
  ZoGePoint2d ptWork(ptIn);
  if (nOrtho && ptBase) {
    const ZoGePoint2d ptFrom(ptBase[X], ptBase[Y]);
    const ZoGePoint2d ptFootA = LineAt(ptFrom, dSnapAngle).GetNearestPoint(ptWork);
    const ZoGePoint2d ptFootB = LineAt(ptFrom, dSnapAngle + kHalfPi).GetNearestPoint(ptWork);
    ptWork = Distance(ptWork, ptFootB) > Distance(ptWork, ptFootA) ? ptFootA : ptFootB;
  }
  if (nSnap) ptWork = SnapToGrid(ptWork, ZoGePoint2d(ptSnapBase), dSnapAngle, ptUnit);
  result[X] = ptWork.x;
  result[Y] = ptWork.y;
  result[Z] = ptIn.z;
}

resbuf* ZoPtPolygonPointList(const ZoGeMLine2d& polygon, bool bClose) {
  const long nVertices = polygon.GetVertexNum();
  if (nVertices <= 0) return nullptr;
  const long n = bClose ? nVertices + 1 : nVertices;
  resbuf* pHead = nullptr;
  resbuf* pTail = nullptr;
  for (long i = 0; i < n; ++i) {
    resbuf* pNode = acutNewRb(RTPOINT);
    if (!pNode) {
      acutRelRb(pHead);
      return nullptr;
    }
    const ZoGePoint& ptVertex = polygon.GetVertex(i < nVertices ? i : 0);
    pNode->resval.rpoint[X] = ptVertex.x;
    pNode->resval.rpoint[Y] = ptVertex.y;
    pNode->resval.rpoint[Z] = ptVertex.z;
    (pTail ? pTail->rbnext : pHead) = pNode;
    pTail = pNode;
  }
  return pHead;
}
