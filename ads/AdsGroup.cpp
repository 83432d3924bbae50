// Groups filled from selection sets.
#include "ads/AdsGroup.h"

namespace {

// The group filed under the key, open for write, with its selectability set; null when the
// dictionary refuses a new one or the entry does not open as a group.
AcDbGroup* OpenGroup(AcDbDictionary* pDict, const wchar_t* pszKey, bool bSelectable, bool bClear) {
  if (!pDict->has(pszKey)) {
    AcDbGroup* pGroup = new AcDbGroup;
    pGroup->setSelectable(bSelectable);
    AcDbObjectId idGroup;
    if (pDict->setAt(pszKey, pGroup, idGroup) == Acad::eOk) return pGroup;
    delete pGroup;  // the dictionary refused it, so it never joined the drawing
    return nullptr;
  }
  AcDbObject* pObj = nullptr;
  if (pDict->getAt(pszKey, pObj, AcDb::kForWrite) != Acad::eOk) return nullptr;
  AcDbGroup* pGroup = AcDbGroup::cast(pObj);
  if (!pGroup) {
    pObj->close();
    return nullptr;
  }
  pGroup->setSelectable(bSelectable);
  if (bClear) pGroup->clear();
  return pGroup;
}

// Appends the set's entities to the open group; false at the first one without an object id
// or that the group refuses.
bool AppendSet(AcDbGroup* pGroup, const ZoAdsEntSet& set) {
  const long n = set.GetLength();
  for (long i = 0; i < n; ++i) {
    AcDbObjectId id;
    if (acdbGetObjectId(id, set[i]) != Acad::eOk) return false;
    const Acad::ErrorStatus es = pGroup->append(id);
    if (es != Acad::eOk && es != Acad::eAlreadyInGroup) return false;
  }
  return true;
}

}  // namespace

AcDbDictionary* OpenGroupDictionary(AcDb::OpenMode mode) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* pDict = nullptr;
  if (!pDb || pDb->getGroupDictionary(pDict, mode) != Acad::eOk) return nullptr;
  return pDict;
}

ZoGroupResult MakeGroupFromSet(const ZoAdsEntSet& set, const wchar_t* pszKey, bool bSelectable, bool bClear) {
  AcDbDictionary* pDict = OpenGroupDictionary(AcDb::kForWrite);
  if (!pDict) return ZoGroupResult::kNoDictionary;
  AcDbGroup* pGroup = OpenGroup(pDict, pszKey, bSelectable, bClear);
  pDict->close();
  if (!pGroup) return ZoGroupResult::kNoGroup;

  const bool bAll = AppendSet(pGroup, set);
  pGroup->close();
  return bAll ? ZoGroupResult::kDone : ZoGroupResult::kEntityRefused;
}
