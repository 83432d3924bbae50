// Regions and hatches from 2D polylines.
#include "db/RegionUtil.h"

#include <cmath>

#include "platform/Win32.h"

AcDbRegion* CreateRegionFromPoly2d(const ZoGePolyline2d& poly) {
  if (!poly.IsClosed()) return nullptr;
  ZoGePolyline2d copy(poly);
  AcDbEntity* pEnt = ZoGe2AcDb(&copy);
  if (!pEnt) return nullptr;
  AcDbPolyline* pPline = AcDbPolyline::cast(pEnt);
  if (!pPline) {
    delete pEnt;
    return nullptr;
  }

  AcDbVoidPtrArray curves, regions;
  curves.append(static_cast<AcDbCurve*>(pPline));
  AcDbRegion* pRegion = nullptr;
  if (AcDbRegion::createFromCurves(curves, regions) == Acad::eOk && regions.length() > 0) {
    pRegion = static_cast<AcDbRegion*>(regions[0]);
    regions.removeAt(0);
  }
  // The other regions and the polyline go; regions left by a failed call with them.
  for (int i = 0; i < regions.length(); ++i)
    regions[i] = static_cast<AcDbEntity*>(static_cast<AcDbRegion*>(regions[i]));
  regions.append(static_cast<AcDbEntity*>(pPline));
  ReleaseEntSet(regions);
  return pRegion;
}

AcDbHatch* CreateHatchFromPoly2d(const ZoGePolyline2d& poly, const wchar_t* pszPattern, double dScale, double dAngle) {
  CString strName(pszPattern);
  const int nColon = strName.Find(L':');
  if (nColon >= 0) {
    const double dFactor = _wtof(strName.Mid(nColon + 1));
    if (dFactor > 1e-6) dScale *= dFactor;
    strName = strName.Left(nColon);
  }

  AcDbHatch* pHatch = new AcDbHatch;
  pHatch->setAssociative(false);
  pHatch->setPatternScale(dScale);
  pHatch->setPatternAngle(dAngle);
  pHatch->setHatchStyle(AcDbHatch::kNormal);
  if (pHatch->setPattern(AcDbHatch::kPreDefined, strName) != Acad::eOk) {
    delete pHatch;
    return nullptr;
  }

  // The loop repeats its first vertex at the end; a polyline without vertices gives no loop.
  const long n = poly.GetVertexNum();
  AcGePoint2dArray vertices;
  AcGeDoubleArray bulges;
  for (long i = 0; i < n; ++i) {
    vertices.append(AcGePoint2d(poly.GetVertex(i).x, poly.GetVertex(i).y));
    bulges.append(std::tan(poly.GetBulge(i) / 4.0));
  }
  if (n > 0) {
    vertices.append(vertices[0]);
    bulges.append(0.0);
  }
  pHatch->appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline | AcDbHatch::kDerived, vertices, bulges);
  if (pHatch->evaluateHatch(true) != Acad::eOk) {
    delete pHatch;
    return nullptr;
  }
  return pHatch;
}
