// Attributed block references.
#include "db/BlockUtil.h"

#include "platform/Siblings.h"

void CreateAttributeBlock(AcDbObjectId idBlock, const AcGePoint3d& ptInsert, const AcGeScale3d& scale,
                          double dRotation) {
  AcDbBlockReference* pRef = new AcDbBlockReference;
  pRef->setBlockTableRecord(idBlock);
  pRef->setPosition(ptInsert);
  pRef->setScaleFactors(scale);
  pRef->setRotation(dRotation);
  // A reference the drawing refuses is still ours, and nothing can be built on it.
  if (AddToCurrentSpace(pRef, 0).isNull()) {
    delete pRef;
    return;
  }

  AcDbBlockTableRecord* pRecord = nullptr;
  AcDbBlockTableRecordIterator* pIter = nullptr;
  if (acdbOpenObject(pRecord, idBlock, AcDb::kForRead) != Acad::eOk) {
    pRef->close();
    return;
  }
  if (!pRecord->hasAttributeDefinitions() || pRecord->newIterator(pIter) != Acad::eOk || !pIter) {
    pRecord->close();
    pRef->close();
    return;
  }

  const AcGeMatrix3d xform = BlockTransform(pRef);
  for (pIter->start(); !pIter->done(); pIter->step()) {
    AcDbEntity* pEnt = nullptr;
    if (pIter->getEntity(pEnt, AcDb::kForRead) != Acad::eOk) continue;
    if (pEnt->isKindOf(AcDbAttributeDefinition::desc())) {
      AcDbAttribute* pAtt = new AcDbAttribute;
      pAtt->setAttributeFromBlock(AcDbAttributeDefinition::cast(pEnt), xform);
      if (pRef->appendAttribute(pAtt) == Acad::eOk)
        pAtt->close();
      else
        delete pAtt;
    }
    pEnt->close();
  }
  delete pIter;
  pRecord->close();
  pRef->close();
}
