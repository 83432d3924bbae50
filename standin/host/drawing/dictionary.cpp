// Just enough of the host's dictionaries and groups, behaving as the host's do: named objects
// filed under keys (anonymous keys numbered by the dictionary), and groups of entities.
#include <acutads.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>

#include <cwctype>
#include <string>

#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::Peek;

ACRX_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, L"DICTIONARY")
ACRX_DEFINE_MEMBERS(AcDbGroup, AcDbObject, L"GROUP")

// --- Dictionaries ---

const ACHAR* AcDbDictionaryIterator::name() const { return done() ? nullptr : m_entries[m_at].first.c_str(); }

AcDbObjectId AcDbDictionaryIterator::objectId() const { return done() ? AcDbObjectId::kNull : m_entries[m_at].second; }

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& pObject, AcDb::OpenMode mode) {
  pObject = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenAcDbObject(pObject, m_entries[m_at].second, mode);
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const {
  entryObj.setNull();
  if (!entryName) return Acad::eInvalidKey;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const auto& [key, id] : m_entries)
    if (standin::SameName(key, entryName) && !id.isErased()) {
      entryObj = id;
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const {
  entryObj = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = getAt(entryName, id);
  return es != Acad::eOk ? es : acdbOpenAcDbObject(entryObj, id, mode);
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, ACHAR*& name) const {
  name = nullptr;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const auto& [key, id] : m_entries)
    if (id == objId) {
      name = standin::NewText(key);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

bool AcDbDictionary::has(const ACHAR* entryName) const {
  AcDbObjectId id;
  return getAt(entryName, id) == Acad::eOk;
}

bool AcDbDictionary::has(AcDbObjectId objId) const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const auto& entry : m_entries)
    if (entry.second == objId) return true;
  return false;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& returnId) {
  assertWriteEnabled();
  returnId.setNull();
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
    if (standin::SameName(it->first, key)) {
      returnId = it->second;
      m_entries.erase(it);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key) {
  AcDbObjectId id;
  return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId objId) {
  assertWriteEnabled();
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
    if (it->second == objId) {
      m_entries.erase(it);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId) {
  assertWriteEnabled();
  retObjId.setNull();
  if (!srchKey || !*srchKey) return Acad::eInvalidKey;
  if (!newValue) return Acad::eNullObjectPointer;
  if (!database()) return Acad::eNoDatabase;
  if (!newValue->objectId().isNull()) return Acad::eAlreadyInDb;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::wstring key = srchKey;
  bool anonymous = key[0] == L'*';
  for (size_t i = 1; anonymous && i < key.size(); ++i)
    if (!std::iswalpha(static_cast<wint_t>(key[i]))) anonymous = false;
  if (anonymous) {
    // The host numbers anonymous entries; "*" alone is the group dictionary's "*A".
    const std::wstring prefix = key.size() == 1 ? L"*A" : key;
    for (int n = 1;; ++n) {
      key = prefix + std::to_wstring(n);
      if (!has(key.c_str())) break;
    }
  } else {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
      if (standin::SameName(it->first, key.c_str())) {
        if (AcDbObject* old = DbAccess::Resolve(it->second)) DbAccess::SetErased(old, true);
        m_entries.erase(it);
        break;
      }
  }
  const Acad::ErrorStatus es = DbAccess::Add(database(), newValue, objectId(), retObjId);
  if (es == Acad::eOk) m_entries.emplace_back(key, retObjId);
  return es;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<std::pair<std::wstring, AcDbObjectId>> live;
  for (const auto& entry : m_entries)
    if (!entry.second.isErased()) live.push_back(entry);
  return new AcDbDictionaryIterator(std::move(live));
}

// --- Groups ---

Acad::ErrorStatus AcDbGroupIterator::getObject(AcDbObject*& pObject, AcDb::OpenMode openMode) {
  pObject = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenAcDbObject(pObject, m_ids[m_at], openMode);
}

AcDbGroup::AcDbGroup(const ACHAR* grpDesc, bool selectable)
    : m_description(grpDesc ? grpDesc : L""), m_selectable(selectable) {}

const ACHAR* AcDbGroup::name() const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  auto* dict = AcDbDictionary::cast(DbAccess::Resolve(ownerId()));
  if (!dict) return nullptr;
  for (const auto& entry : DbAccess::Entries(dict))
    if (entry.second == objectId()) return entry.first.c_str();
  return nullptr;
}

bool AcDbGroup::isAnonymous() const {
  const ACHAR* n = name();
  return n && n[0] == L'*';
}

Acad::ErrorStatus AcDbGroup::setDescription(const ACHAR* grpDesc) {
  assertWriteEnabled();
  m_description = grpDesc ? grpDesc : L"";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setSelectable(bool selectable) {
  assertWriteEnabled();
  m_selectable = selectable;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id) {
  assertWriteEnabled();
  if (objectId().isNull()) return Acad::eNotInDatabase;
  if (id.isNull()) return Acad::eNullObjectId;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const AcDbObject* obj = DbAccess::Resolve(id);
  if (!obj) return Acad::ePermanentlyErased;
  if (!AcDbEntity::cast(obj)) return Acad::eNotAnEntity;
  if (obj->database() != database()) return Acad::eWrongDatabase;
  if (obj->isErased()) return Acad::eWasErased;
  for (const AcDbObjectId& member : m_ids)
    if (member == id) return Acad::eAlreadyInGroup;
  m_ids.push_back(id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids) {
  for (int i = 0; i < ids.length(); ++i) {
    const Acad::ErrorStatus es = append(ids[i]);
    if (es != Acad::eOk) return es;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id) {
  assertWriteEnabled();
  for (auto it = m_ids.begin(); it != m_ids.end(); ++it)
    if (*it == id) {
      m_ids.erase(it);
      return Acad::eOk;
    }
  return Acad::eNotInGroup;
}

Acad::ErrorStatus AcDbGroup::clear() {
  assertWriteEnabled();
  m_ids.clear();
  return Acad::eOk;
}

std::vector<AcDbObjectId> AcDbGroup::liveIds() const {
  std::vector<AcDbObjectId> out;
  for (const AcDbObjectId& id : m_ids)
    if (id.isValid() && !id.isErased()) out.push_back(id);
  return out;
}

Adesk::UInt32 AcDbGroup::numEntities() const { return static_cast<Adesk::UInt32>(liveIds().size()); }

Adesk::UInt32 AcDbGroup::allEntityIds(AcDbObjectIdArray& ids) const {
  const std::vector<AcDbObjectId> live = liveIds();
  for (const AcDbObjectId& id : live) ids.append(id);
  return static_cast<Adesk::UInt32>(live.size());
}

bool AcDbGroup::has(const AcDbEntity* pEntity) const {
  if (!pEntity) return false;
  for (const AcDbObjectId& id : liveIds())
    if (id == pEntity->objectId()) return true;
  return false;
}

AcDbGroupIterator* AcDbGroup::newIterator() { return new AcDbGroupIterator(liveIds()); }

void AcDbGroup::dxfOutFields(standin::DxfOut& out) const {
  out.Text(100, L"AcDbGroup");
  out.Text(300, m_description);
  out.Int(70, isAnonymous() ? 1 : 0);
  out.Int(71, m_selectable ? 1 : 0);
  for (const AcDbObjectId& id : liveIds()) out.Name(340, id);
}
