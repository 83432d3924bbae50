// Just enough of the host's symbol tables, behaving as the host's do: layers, linetypes and
// blocks, their records and iterators, and the entities a block table record holds.
#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cwchar>

#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::Peek;

namespace {

// The characters the host refuses in symbol names; "*" only starts special names (*Model_Space).
bool IsValidSymbolName(const ACHAR* name) {
  if (!name || !*name || std::wcslen(name) > 255) return false;
  for (const ACHAR* p = name; *p; ++p) {
    if (std::wcschr(L"<>/\\\":;?|,=`", *p) || *p < 0x20) return false;
    if (*p == L'*' && p != name) return false;
  }
  return true;
}

}  // namespace

ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject, nullptr)
ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject, nullptr)
ACRX_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ACRX_DEFINE_MEMBERS(AcDbAbstractViewTableRecord, AcDbSymbolTableRecord, nullptr)
ACRX_DEFINE_MEMBERS(AcDbViewTableRecord, AcDbAbstractViewTableRecord, L"VIEW")
ACRX_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ACRX_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE")

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& pName) const {
  pName = standin::NewText(m_name);
  return pName ? Acad::eOk : Acad::eOutOfMemory;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& pName) const {
  pName = m_name.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* pName) {
  assertWriteEnabled();
  if (!IsValidSymbolName(pName)) return Acad::eInvalidSymbolTableName;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  auto* table = AcDbSymbolTable::cast(DbAccess::Resolve(ownerId()));
  if (table) {
    AcDbObjectId other;
    if (table->getAt(pName, other) == Acad::eOk && other != objectId()) return Acad::eDuplicateRecordName;
    table->standinUnindex(objectId(), m_name);
  }
  m_name = pName;
  if (table) table->standinIndex(objectId(), m_name);
  return Acad::eOk;
}

void AcDbSymbolTableRecord::dxfOutFields(standin::DxfOut& out) const { out.Text(100, L"AcDbSymbolTableRecord"); }

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord) const {
  recordId.setNull();
  if (!entryName) return Acad::eInvalidInput;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto named = m_byName.find(standin::Upper(entryName));
  if (named == m_byName.end()) return Acad::eKeyNotFound;
  for (const AcDbObjectId& id : named->second) {
    const auto* rec = Peek<AcDbSymbolTableRecord>(id);
    if (!rec || (rec->isErased() && !getErasedRecord)) continue;
    recordId = id;
    return Acad::eOk;
  }
  return Acad::eKeyNotFound;
}

void AcDbSymbolTable::standinIndex(AcDbObjectId id, const std::wstring& name) {
  std::vector<AcDbObjectId>& ids = m_byName[standin::Upper(name)];
  ids.insert(std::upper_bound(ids.begin(), ids.end(), id), id);  // ids grow in the order records are added
}

void AcDbSymbolTable::standinUnindex(AcDbObjectId id, const std::wstring& name) {
  const auto named = m_byName.find(standin::Upper(name));
  if (named == m_byName.end()) return;
  std::vector<AcDbObjectId>& ids = named->second;
  ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
  if (ids.empty()) m_byName.erase(named);
}

void AcDbSymbolTable::standinAppend(AcDbObjectId id, const std::wstring& name) {
  m_records.push_back(id);
  standinIndex(id, name);
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode,
                                         bool openErasedRec) const {
  pRec = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = getAt(entryName, id, openErasedRec);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(pRec, id, openMode, openErasedRec);
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const AcDbObjectId& r : m_records)
    if (r == id && !id.isErased()) return true;
  return false;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord) {
  assertWriteEnabled();
  recordId.setNull();
  if (!pRecord) return Acad::eNullObjectPointer;
  if (!database()) return Acad::eNoDatabase;
  if (!pRecord->isKindOf(recordClass())) return Acad::eWrongObjectType;
  if (!pRecord->objectId().isNull()) return Acad::eAlreadyInDb;
  if (!IsValidSymbolName(DbAccess::RecordName(pRecord).c_str())) return Acad::eInvalidSymbolTableName;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (has(DbAccess::RecordName(pRecord).c_str())) return Acad::eDuplicateRecordName;
  const Acad::ErrorStatus es = DbAccess::Add(database(), pRecord, objectId(), recordId);
  if (es == Acad::eOk) standinAppend(recordId, DbAccess::RecordName(pRecord));
  return es;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* pRecord) {
  AcDbObjectId id;
  return add(id, pRecord);
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning,
                                               bool skipDeleted) const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  pIterator = new AcDbSymbolTableIterator(m_records);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

void AcDbSymbolTableIterator::skipErased(bool forward) {
  while (!done() && m_ids[static_cast<size_t>(m_at)].isErased()) m_at += forward ? 1 : -1;
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  m_at = atBeginning ? 0 : static_cast<long>(m_ids.size()) - 1;
  if (skipDeleted) skipErased(atBeginning);
}

bool AcDbSymbolTableIterator::done() const { return m_at < 0 || m_at >= static_cast<long>(m_ids.size()); }

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  m_at += forward ? 1 : -1;
  if (skipDeleted) skipErased(forward);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_ids[static_cast<size_t>(m_at)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode,
                                                     bool openErasedRec) const {
  pRecord = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenObject(pRecord, m_ids[static_cast<size_t>(m_at)], openMode, openErasedRec);
}

std::vector<AcDbObjectId> AcDbSymbolTable::recordIds() const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return m_records;
}

#define TOVU_TABLE_ITERATOR(ITERATOR, RECORD, TABLE)                                                           \
  Acad::ErrorStatus ITERATOR::getRecord(RECORD*& pRecord, AcDb::OpenMode openMode, bool openErasedRec) const { \
    pRecord = nullptr;                                                                                         \
    AcDbObjectId id;                                                                                           \
    if (getRecordId(id) != Acad::eOk) return Acad::eInvalidIndex;                                              \
    return acdbOpenObject(pRecord, id, openMode, openErasedRec);                                               \
  }                                                                                                            \
  Acad::ErrorStatus TABLE::newIterator(ITERATOR*& pIterator, bool atBeginning, bool skipDeleted) const {       \
    pIterator = new ITERATOR(recordIds());                                                                     \
    pIterator->start(atBeginning, skipDeleted);                                                                \
    return Acad::eOk;                                                                                          \
  }
TOVU_TABLE_ITERATOR(AcDbLayerTableIterator, AcDbLayerTableRecord, AcDbLayerTable)
TOVU_TABLE_ITERATOR(AcDbLinetypeTableIterator, AcDbLinetypeTableRecord, AcDbLinetypeTable)
TOVU_TABLE_ITERATOR(AcDbBlockTableIterator, AcDbBlockTableRecord, AcDbBlockTable)
#undef TOVU_TABLE_ITERATOR

AcRxClass* AcDbBlockTable::recordClass() const { return AcDbBlockTableRecord::desc(); }
AcRxClass* AcDbLayerTable::recordClass() const { return AcDbLayerTableRecord::desc(); }
AcRxClass* AcDbLinetypeTable::recordClass() const { return AcDbLinetypeTableRecord::desc(); }

Acad::ErrorStatus AcDbBlockTable::getAt(const ACHAR* entryName, AcDbBlockTableRecord*& pRec, AcDb::OpenMode openMode,
                                        bool openErasedRec) const {
  pRec = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, id, openErasedRec);
  return es != Acad::eOk ? es : acdbOpenObject(pRec, id, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbLayerTable::getAt(const ACHAR* entryName, AcDbLayerTableRecord*& pRec, AcDb::OpenMode openMode,
                                        bool openErasedRec) const {
  pRec = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, id, openErasedRec);
  return es != Acad::eOk ? es : acdbOpenObject(pRec, id, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbLinetypeTable::getAt(const ACHAR* entryName, AcDbLinetypeTableRecord*& pRec,
                                           AcDb::OpenMode openMode, bool openErasedRec) const {
  pRec = nullptr;
  AcDbObjectId id;
  const Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, id, openErasedRec);
  return es != Acad::eOk ? es : acdbOpenObject(pRec, id, openMode, openErasedRec);
}

AcDbLayerTableRecord::AcDbLayerTableRecord() { m_color.setColorIndex(7); }

void AcDbLayerTableRecord::setIsLocked(bool locked) {
  assertWriteEnabled();
  m_locked = locked;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  assertWriteEnabled();
  m_frozen = frozen;
  return Acad::eOk;
}

void AcDbLayerTableRecord::setIsOff(bool off) {
  assertWriteEnabled();
  m_off = off;
}

void AcDbLayerTableRecord::setColor(const AcCmColor& color) {
  assertWriteEnabled();
  m_color = color;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  assertWriteEnabled();
  if (!Peek<AcDbLinetypeTableRecord>(id)) return Acad::eInvalidInput;
  m_linetype = id;
  return Acad::eOk;
}

void AcDbLayerTableRecord::dxfOutFields(standin::DxfOut& out) const {
  AcDbSymbolTableRecord::dxfOutFields(out);
  out.Text(100, L"AcDbLayerTableRecord");
  out.Text(2, DbAccess::RecordName(this));
  out.Int(70, (m_frozen ? 1 : 0) | (m_locked ? 4 : 0));
  out.Int(62, m_off ? -static_cast<int>(m_color.colorIndex()) : m_color.colorIndex());
  const auto* lt = Peek<AcDbLinetypeTableRecord>(m_linetype);
  out.Text(6, lt ? DbAccess::RecordName(lt) : L"Continuous");
}

Acad::ErrorStatus AcDbLinetypeTableRecord::comments(const ACHAR*& pString) const {
  pString = m_comments.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* pString) {
  assertWriteEnabled();
  m_comments = pString ? pString : L"";
  return Acad::eOk;
}

void AcDbLinetypeTableRecord::setPatternLength(double length) {
  assertWriteEnabled();
  m_patternLength = length;
}

void AcDbLinetypeTableRecord::dxfOutFields(standin::DxfOut& out) const {
  AcDbSymbolTableRecord::dxfOutFields(out);
  out.Text(100, L"AcDbLinetypeTableRecord");
  out.Text(2, DbAccess::RecordName(this));
  out.Int(70, 0);
  out.Text(3, m_comments);
  out.Int(72, 65);
  out.Real(40, m_patternLength);
}

// --- Block table records ---

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity) {
  assertWriteEnabled();
  pOutputId.setNull();
  if (!pEntity) return Acad::eNullEntityPointer;
  if (!database()) return Acad::eNoDatabase;
  if (!pEntity->objectId().isNull()) return Acad::eAlreadyInDb;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const Acad::ErrorStatus es = DbAccess::Add(database(), pEntity, objectId(), pOutputId);
  if (es == Acad::eOk) m_entities.push_back(pOutputId);
  return es;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning,
                                                    bool skipDeleted) const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  pIterator = new AcDbBlockTableRecordIterator(m_entities);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const AcDbObjectId& id : m_entities) {
    const auto* def = Peek<AcDbAttributeDefinition>(id);
    if (def && !def->isErased()) return true;
  }
  return false;
}

bool AcDbBlockTableRecord::isLayout() const {
  const std::wstring& n = DbAccess::RecordName(this);
  return standin::SameName(n, ACDB_MODEL_SPACE) || standin::SameName(n, ACDB_PAPER_SPACE);
}

bool AcDbBlockTableRecord::isAnonymous() const {
  return !isLayout() && !DbAccess::RecordName(this).empty() && DbAccess::RecordName(this)[0] == L'*';
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_origin = pt;
  return Acad::eOk;
}

void AcDbBlockTableRecord::dxfOutFields(standin::DxfOut& out) const {
  AcDbSymbolTableRecord::dxfOutFields(out);
  out.Text(100, L"AcDbBlockTableRecord");
  out.Text(2, DbAccess::RecordName(this));
}

void AcDbBlockTableRecordIterator::skipErased(bool forward) {
  while (!done() && m_ids[static_cast<size_t>(m_at)].isErased()) m_at += forward ? 1 : -1;
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  m_at = atBeginning ? 0 : static_cast<long>(m_ids.size()) - 1;
  if (skipDeleted) skipErased(atBeginning);
}

bool AcDbBlockTableRecordIterator::done() const { return m_at < 0 || m_at >= static_cast<long>(m_ids.size()); }

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  m_at += forward ? 1 : -1;
  if (skipDeleted) skipErased(forward);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& entityId) const {
  if (done()) return Acad::eInvalidIndex;
  entityId = m_ids[static_cast<size_t>(m_at)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode,
                                                          bool openErasedEntity) const {
  pEntity = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenAcDbEntity(pEntity, m_ids[static_cast<size_t>(m_at)], openMode, openErasedEntity);
}
