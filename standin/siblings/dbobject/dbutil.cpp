// Just enough of the database module's drawing utilities, behaving as the family's do.
#include <ZoDbUtil.h>
#include <ZoGeMLine2d.h>
#include <dbapserv.h>
#include <dbpl.h>
#include <dbsymtb.h>

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace {

AcDbObjectId AddToSpace(AcDbEntity* pEnt, bool bModelSpace, int bClose) {
  if (!pEnt) return AcDbObjectId::kNull;
  AcDbObjectId id;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbObjectId spaceId;
  AcDbBlockTable* blocks = nullptr;
  if (db && !bModelSpace) {
    spaceId = db->currentSpaceId();
  } else if (db && db->getBlockTable(blocks, AcDb::kForRead) == Acad::eOk) {
    blocks->getAt(ACDB_MODEL_SPACE, spaceId);
    blocks->close();
  }
  AcDbBlockTableRecord* space = nullptr;
  acdbOpenObject(space, spaceId, AcDb::kForWrite);
  if (space) {
    if (pEnt->objectId().isNull() && space->appendAcDbEntity(id, pEnt) == Acad::eOk && bClose) pEnt->close();
    space->close();
  }
  if (id.isNull() && bClose && pEnt->objectId().isNull()) delete pEnt;
  return id;
}

AcDbObjectId FindLinetype(AcDbDatabase* db, const wchar_t* name) {
  AcDbObjectId id;
  AcDbLinetypeTable* table = nullptr;
  if (db->getLinetypeTable(table, AcDb::kForRead) != Acad::eOk) return id;
  table->getAt(name, id);
  table->close();
  return id;
}

bool IsDash(const wchar_t* name) {
  const wchar_t* dash = L"DASH";
  for (; *name && *dash; ++name, ++dash)
    if (std::towupper(static_cast<wint_t>(*name)) != static_cast<wint_t>(*dash)) return false;
  return !*name && !*dash;
}

// The family's dash, as long as the millimetre library's DASHED.
AcDbObjectId AddDash(AcDbDatabase* db, const wchar_t* name) {
  auto* rec = new AcDbLinetypeTableRecord;
  rec->setName(name);
  rec->setComments(L"Dash __ __ __ __ __ __");
  rec->setPatternLength(19.05);
  AcDbObjectId id;
  AcDbLinetypeTable* table = nullptr;
  if (db->getLinetypeTable(table, AcDb::kForWrite) == Acad::eOk) {
    if (table->add(id, rec) == Acad::eOk) rec->close();
    table->close();
  }
  if (id.isNull()) delete rec;
  return id;
}

}  // namespace

AcDbObjectId AddToModelSpace(AcDbEntity* pEnt, int bClose) { return AddToSpace(pEnt, true, bClose); }

AcDbObjectId AddToCurrentSpace(AcDbEntity* pEnt, int bClose) { return AddToSpace(pEnt, false, bClose); }

AcDbEntity* ZoGe2AcDb(ZoGeObject* pGeObj) {
  AcDbEntity* pEnt = nullptr;
  if (const auto* pLine = dynamic_cast<const ZoGeMLine2d*>(pGeObj)) {
    auto* pPline = new AcDbPolyline(static_cast<unsigned>(pLine->GetVertexNum()));
    for (long i = 0; i < pLine->GetVertexNum(); ++i) {
      const ZoGePoint& pt = pLine->GetVertex(i);
      pPline->addVertexAt(static_cast<unsigned>(i), AcGePoint2d(pt.x, pt.y), std::tan(pLine->GetBulge(i) / 4.0));
    }
    pPline->setElevation(pLine->GetElevation());
    pPline->setClosed(pLine->IsClosed());
    pEnt = pPline;
  } else if (const auto* pSeg = dynamic_cast<const ZoGeLineSeg2d*>(pGeObj)) {
    const ZoGePoint a = pSeg->GetStartPoint(), b = pSeg->GetEndPoint();
    pEnt = new AcDbLine(AcGePoint3d(a.x, a.y, a.z), AcGePoint3d(b.x, b.y, b.z));
  }
  if (pEnt) pEnt->setDatabaseDefaults();
  return pEnt;
}

void ReleaseEntSet(AcDbVoidPtrArray& ents) {
  for (int i = 0; i < ents.length(); ++i) {
    auto* pEnt = static_cast<AcDbEntity*>(ents[i]);
    if (pEnt && pEnt->objectId().isNull()) delete pEnt;
  }
  ents.removeAll();
}

AcGeMatrix3d BlockTransform(const AcDbBlockReference* pRef) { return pRef ? pRef->blockTransform() : AcGeMatrix3d(); }

AcDbObjectId InitLineType(const wchar_t* pszName, AcDbDatabase* pDb) {
  if (!pDb) pDb = acdbHostApplicationServices()->workingDatabase();
  if (!pDb || !pszName || !*pszName) return AcDbObjectId::kNull;
  AcDbObjectId id = FindLinetype(pDb, pszName);
  if (!id.isNull()) return id;
  // The library's names are plain letters; a name with pattern characters would load others.
  if (std::wcspbrk(pszName, L"#@.?*[]~`,") != nullptr) return AcDbObjectId::kNull;
  if (pDb->loadLineTypeFile(pszName, L"acadiso.lin") == Acad::eOk) return FindLinetype(pDb, pszName);
  return IsDash(pszName) ? AddDash(pDb, pszName) : AcDbObjectId::kNull;
}
