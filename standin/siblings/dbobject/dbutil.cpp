// Just enough of the database module's drawing utilities, behaving as the family's do.
#include "standin/siblings/dbobject/dbutil.h"

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

}  // namespace

AcDbObjectId AddToModelSpace(AcDbEntity* pEnt, int bClose) { return AddToSpace(pEnt, true, bClose); }

AcDbObjectId AddToCurrentSpace(AcDbEntity* pEnt, int bClose) { return AddToSpace(pEnt, false, bClose); }
