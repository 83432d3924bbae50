// Just enough of the host's drawing database, behaving as the host's does, for the module to
// open, read, change and create database objects: object ids and handles, the open and close
// discipline, the symbol tables (blocks, layers, linetypes), dictionaries and groups.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "standin/host/acarray.h"
#include "standin/host/adsdef.h"
#include "standin/host/gepoint.h"
#include "standin/host/rx.h"

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
}  // namespace AcDb

#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"
#define ACDB_GROUP_DICTIONARY L"ACAD_GROUP"

class AcDbDatabase;
class AcDbObject;
class AcDbEntity;
class AcDbBlockTable;
class AcDbBlockTableRecord;
class AcDbBlockTableRecordIterator;
class AcDbLayerTable;
class AcDbLayerTableRecord;
class AcDbLinetypeTable;
class AcDbLinetypeTableRecord;
class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;
class AcDbDictionary;

namespace standin {
class DxfOut;
struct DbAccess;
}  // namespace standin

// A handle: the 64-bit number that names an object in its drawing for ever (hexadecimal in
// DXF files and entity data).
class AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(Adesk::UInt64 value) : m_value(value) {}
  // Parses hexadecimal digits; anything else gives the null handle.
  explicit AcDbHandle(const ACHAR* hex);
  bool isNull() const { return m_value == 0; }
  // Upper-case hexadecimal without leading zeros; REQUIRES: room for 17 characters.
  void getIntoAsciiBuffer(ACHAR* pBuf) const;
  Adesk::UInt64 value() const { return m_value; }
  bool operator==(const AcDbHandle& h) const { return m_value == h.m_value; }
  bool operator!=(const AcDbHandle& h) const { return m_value != h.m_value; }
  bool operator<(const AcDbHandle& h) const { return m_value < h.m_value; }

 private:
  Adesk::UInt64 m_value = 0;
};

// Names one object of an open drawing for the whole session. Ids are never reused: an id of a
// drawing that has been closed names nothing any more.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  static const AcDbObjectId kNull;

  bool isNull() const { return m_id == 0; }
  void setNull() { m_id = 0; }
  // The id names an object of the open drawing (erased or not).
  bool isValid() const;
  bool isErased() const;
  AcDbDatabase* database() const;
  AcDbHandle handle() const;
  AcRxClass* objectClass() const;
  Adesk::IntPtr asOldId() const { return m_id; }
  AcDbObjectId& setFromOldId(Adesk::IntPtr oldId) {
    m_id = oldId;
    return *this;
  }

  bool operator==(const AcDbObjectId& id) const { return m_id == id.m_id; }
  bool operator!=(const AcDbObjectId& id) const { return m_id != id.m_id; }
  bool operator<(const AcDbObjectId& id) const { return m_id < id.m_id; }
  bool operator>(const AcDbObjectId& id) const { return m_id > id.m_id; }
  bool operator<=(const AcDbObjectId& id) const { return m_id <= id.m_id; }
  bool operator>=(const AcDbObjectId& id) const { return m_id >= id.m_id; }

 private:
  Adesk::IntPtr m_id = 0;
};

typedef AcArray<AcDbObjectId> AcDbObjectIdArray;

// An axis-aligned box. Default-constructed it is empty (minimum above maximum), so the first
// addPoint sets both corners.
class AcDbExtents {
 public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);
  AcGePoint3d minPoint() const { return m_min; }
  AcGePoint3d maxPoint() const { return m_max; }
  // eInvalidExtents (nothing changed) when min is not below max in every coordinate.
  Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
  void addPoint(const AcGePoint3d& pt);
  void addExt(const AcDbExtents& src);
  // The box of the eight transformed corners.
  void transformBy(const AcGeMatrix3d& mat);

 private:
  AcGePoint3d m_min, m_max;
};

// The host's colour value; only the index colours (0 BYBLOCK, 1-255, 256 BYLAYER) exist here.
class AcCmColor {
 public:
  AcCmColor() = default;
  Adesk::UInt16 colorIndex() const { return m_index; }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  bool isByLayer() const { return m_index == 256; }
  bool isByBlock() const { return m_index == 0; }

 private:
  Adesk::UInt16 m_index = 256;
};

// The base of every database object. A new object is the caller's until it is added to a
// drawing; from then on the drawing owns it, it is open for write until closed, and it must
// be reached through the open functions and closed after each use.
class AcDbObject : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObject);
  AcDbObject();
  ~AcDbObject() override;
  AcDbObject(const AcDbObject&) = delete;
  AcDbObject& operator=(const AcDbObject&) = delete;

  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const;
  void getAcDbHandle(AcDbHandle& handle) const;
  AcDbDatabase* database() const;

  // Ends one opening. eNotInDatabase for an object that was never added to a drawing;
  // eNotOpenForRead for an object that is not open.
  Acad::ErrorStatus close();
  // Marks the object erased (or un-erases it). REQUIRES open for write; eWasErased when
  // erasing an erased object, eNotApplicable when un-erasing one that is not.
  Acad::ErrorStatus erase(bool erasing = true);
  bool isErased() const;
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const;
  bool isNewObject() const;
  // From read to write: eWasOpenForRead while other readers hold it, eOnLockedLayer for an
  // entity on a locked layer.
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();

 protected:
  // A change of a database object that is not open for write ends the host with an internal
  // error; the stand-in aborts with the same message.
  void assertWriteEnabled() const;
  // The object's own DXF groups (subclass markers included), as acdbEntGet lists them after
  // the name, type, owner and handle.
  virtual void dxfOutFields(standin::DxfOut& out) const;
  // Called when the object joins a drawing (owner set); subclasses add what they own.
  virtual void subSetDatabaseDefaults(AcDbDatabase* db);

 private:
  friend struct standin::DbAccess;
  friend class AcDbDatabase;
  Adesk::IntPtr m_id = 0;
  Adesk::IntPtr m_owner = 0;
  Adesk::UInt64 m_handle = 0;
  AcDbDatabase* m_db = nullptr;
  int m_readers = 0;
  bool m_writer = false;
  bool m_notify = false;
  bool m_erased = false;
  bool m_new = true;
  bool m_dying = false;
};

// Opens an object of the open drawing. eNullObjectId, ePermanentlyErased (an id of a closed
// drawing), eWasErased (unless openErased), eWasOpenForWrite, eWasOpenForRead (write asked
// while readers hold it), eAtMaxReaders (256 readers), eWasOpenForNotify, eOnLockedLayer
// (write asked for an entity on a locked layer). obj is NULL on failure.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);
// As acdbOpenAcDbObject; eNotAnEntity (nothing left open) for an object that is no entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);

// Opens and checks the class; eNotThatKindOfClass (nothing left open) when it is not a T.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
  pObj = nullptr;
  AcDbObject* obj = nullptr;
  const Acad::ErrorStatus es = acdbOpenAcDbObject(obj, id, mode, openErased);
  if (es != Acad::eOk) return es;
  pObj = T::cast(obj);
  if (pObj) return Acad::eOk;
  obj->close();
  return Acad::eNotThatKindOfClass;
}

// The entity name of an object id (any object of the open drawing): eNullObjectId,
// ePermanentlyErased.
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);
// The object id of an entity name: eInvalidAdsName for a name that names no object of the
// open drawing (selection-set names included).
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);

// --- Symbol tables ---

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  // A malloc'ed copy the caller frees.
  Acad::ErrorStatus getName(ACHAR*& pName) const;
  Acad::ErrorStatus getName(const ACHAR*& pName) const;
  // eInvalidSymbolTableName for an empty name or one with a character the host refuses.
  Acad::ErrorStatus setName(const ACHAR* pName);
  const std::wstring& standinName() const { return m_name; }

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  std::wstring m_name;
};

class AcDbSymbolTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
  // Names compare ignoring case. eKeyNotFound, or the open errors.
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const;
  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;
  // The record joins the table's drawing and stays open for write. REQUIRES the table open
  // for write. eDuplicateRecordName, eInvalidSymbolTableName, eAlreadyInDb, eWrongObjectType.
  Acad::ErrorStatus add(AcDbSymbolTableRecord* pRecord);
  Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  virtual AcRxClass* recordClass() const = 0;
  // The records in order (a copy).
  std::vector<AcDbObjectId> recordIds() const;

 private:
  friend struct standin::DbAccess;
  std::vector<AcDbObjectId> m_records;  // in the order they were added
};

// Walks a table's records in order, over a snapshot taken when it was made.
class AcDbSymbolTableIterator {
 public:
  virtual ~AcDbSymbolTableIterator() = default;
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;

 protected:
  friend class AcDbSymbolTable;
  explicit AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
  void skipErased(bool forward);
  std::vector<AcDbObjectId> m_ids;
  long m_at = 0;
};

// The typed iterators of the three tables: getRecord opens a record of the table's class.
#define TOVU_TABLE_ITERATOR(ITERATOR, RECORD, TABLE)                                                          \
  class TABLE;                                                                                                \
  class RECORD;                                                                                               \
  class ITERATOR : public AcDbSymbolTableIterator {                                                           \
   public:                                                                                                    \
    using AcDbSymbolTableIterator::getRecord;                                                                 \
    Acad::ErrorStatus getRecord(RECORD*& pRecord, AcDb::OpenMode openMode, bool openErasedRec = false) const; \
                                                                                                              \
   private:                                                                                                   \
    friend class TABLE;                                                                                       \
    explicit ITERATOR(std::vector<AcDbObjectId> ids) : AcDbSymbolTableIterator(std::move(ids)) {}             \
  };
TOVU_TABLE_ITERATOR(AcDbLayerTableIterator, AcDbLayerTableRecord, AcDbLayerTable)
TOVU_TABLE_ITERATOR(AcDbLinetypeTableIterator, AcDbLinetypeTableRecord, AcDbLinetypeTable)
TOVU_TABLE_ITERATOR(AcDbBlockTableIterator, AcDbBlockTableRecord, AcDbBlockTable)
#undef TOVU_TABLE_ITERATOR

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  AcDbLayerTableRecord();
  bool isLocked() const { return m_locked; }
  void setIsLocked(bool locked);
  bool isFrozen() const { return m_frozen; }
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isOff() const { return m_off; }
  void setIsOff(bool off);
  AcCmColor color() const { return m_color; }
  void setColor(const AcCmColor& color);
  AcDbObjectId linetypeObjectId() const { return m_linetype; }
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId id);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  bool m_locked = false, m_frozen = false, m_off = false;
  AcCmColor m_color;
  AcDbObjectId m_linetype;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
  Acad::ErrorStatus comments(const ACHAR*& pString) const;
  Acad::ErrorStatus setComments(const ACHAR* pString);
  double patternLength() const { return m_patternLength; }
  void setPatternLength(double length);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  std::wstring m_comments;
  double m_patternLength = 0;
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
  // The entity joins the record (and its drawing) and stays open for write. REQUIRES the
  // record open for write. eNullEntityPointer, eAlreadyInDb, eNoDatabase (record not in a
  // drawing).
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  bool hasAttributeDefinitions() const;
  bool isLayout() const;
  bool isAnonymous() const;
  AcGePoint3d origin() const { return m_origin; }
  Acad::ErrorStatus setOrigin(const AcGePoint3d& pt);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  std::vector<AcDbObjectId> m_entities;
  AcGePoint3d m_origin;
};

class AcDbBlockTableRecordIterator {
 public:
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode, bool openErasedEntity = false) const;

 private:
  friend class AcDbBlockTableRecord;
  explicit AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
  void skipErased(bool forward);
  std::vector<AcDbObjectId> m_ids;
  long m_at = 0;
};

class AcDbBlockTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTable);
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbBlockTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  AcRxClass* recordClass() const override;
};

class AcDbLayerTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTable);
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbLayerTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus newIterator(AcDbLayerTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  AcRxClass* recordClass() const override;
};

class AcDbLinetypeTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTable);
  using AcDbSymbolTable::getAt;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbLinetypeTableRecord*& pRec, AcDb::OpenMode openMode,
                          bool openErasedRec = false) const;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus newIterator(AcDbLinetypeTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  AcRxClass* recordClass() const override;
};

// --- Dictionaries and groups ---

class AcDbDictionaryIterator {
 public:
  const ACHAR* name() const;
  AcDbObjectId objectId() const;
  Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode);
  bool done() const { return m_at >= m_entries.size(); }
  bool next() {
    if (!done()) ++m_at;
    return !done();
  }

 private:
  friend class AcDbDictionary;
  explicit AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries)
      : m_entries(std::move(entries)) {}
  std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;
  size_t m_at = 0;
};

class AcDbDictionary : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDictionary);
  // Keys compare ignoring case. eKeyNotFound, or the open errors.
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const;
  // A malloc'ed copy of the key the object is filed under; eKeyNotFound.
  Acad::ErrorStatus nameAt(AcDbObjectId objId, ACHAR*& name) const;
  bool has(const ACHAR* entryName) const;
  bool has(AcDbObjectId objId) const;
  Adesk::UInt32 numEntries() const { return static_cast<Adesk::UInt32>(m_entries.size()); }
  Acad::ErrorStatus remove(const ACHAR* key);
  Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& returnId);
  Acad::ErrorStatus remove(AcDbObjectId objId);
  // Files the object under the key; it joins the dictionary's drawing and stays open for
  // write. A key "*" or "*" and letters is anonymous: the dictionary appends the lowest free
  // number ("*" alone becomes "*A1", "*A2" ...). An existing entry of that key is erased and
  // replaced. REQUIRES the dictionary open for write. eInvalidKey, eAlreadyInDb.
  Acad::ErrorStatus setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId);
  // The caller deletes the iterator.
  AcDbDictionaryIterator* newIterator() const;

 private:
  friend struct standin::DbAccess;
  std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;  // in the order they were filed
};

class AcDbGroupIterator {
 public:
  bool done() const { return m_at >= m_ids.size(); }
  bool next() {
    if (!done()) ++m_at;
    return !done();
  }
  AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : m_ids[m_at]; }
  Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode openMode);

 private:
  friend class AcDbGroup;
  explicit AcDbGroupIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}
  std::vector<AcDbObjectId> m_ids;
  size_t m_at = 0;
};

// A named (or anonymous) list of entities of one drawing, filed in the group dictionary.
class AcDbGroup : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbGroup);
  AcDbGroup() = default;
  AcDbGroup(const ACHAR* grpDesc, bool selectable = true);
  // The key the group is filed under; NULL before it is filed.
  const ACHAR* name() const;
  bool isAnonymous() const;
  const ACHAR* description() const { return m_description.c_str(); }
  Acad::ErrorStatus setDescription(const ACHAR* grpDesc);
  bool isSelectable() const { return m_selectable; }
  Acad::ErrorStatus setSelectable(bool selectable);
  // REQUIRES open for write. eNotInDatabase (the group is not filed yet), eNullObjectId,
  // eNotAnEntity, eWrongDatabase, eWasErased, eAlreadyInGroup.
  Acad::ErrorStatus append(AcDbObjectId id);
  Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
  Acad::ErrorStatus remove(AcDbObjectId id);  // eNotInGroup
  Acad::ErrorStatus clear();
  // Entities that are not erased.
  Adesk::UInt32 numEntities() const;
  Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;
  bool has(const AcDbEntity* pEntity) const;
  // The caller deletes the iterator.
  AcDbGroupIterator* newIterator();

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  std::vector<AcDbObjectId> liveIds() const;
  std::wstring m_description;
  bool m_selectable = true;
  std::vector<AcDbObjectId> m_ids;
};

// --- The drawing ---

class AcDbDatabase : public AcRxObject {
 public:
  // A drawing with the host's standard contents: layer "0", linetypes BYBLOCK, BYLAYER and
  // CONTINUOUS, model and paper space, the named-object and group dictionaries.
  AcDbDatabase();
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode) { return getBlockTable(pTable, mode); }
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode) { return getLayerTable(pTable, mode); }
  Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode) {
    return getLinetypeTable(pTable, mode);
  }
  Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode);
  Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode);

  AcDbObjectId blockTableId() const;
  AcDbObjectId layerTableId() const;
  AcDbObjectId linetypeTableId() const;
  AcDbObjectId groupDictionaryId() const;
  AcDbObjectId namedObjectsDictionaryId() const;
  AcDbObjectId layerZero() const;
  AcDbObjectId byLayerLinetype() const;
  AcDbObjectId byBlockLinetype() const;
  AcDbObjectId continuousLinetype() const;
  // The space new entities go to: model space while TILEMODE is 1, paper space otherwise.
  AcDbObjectId currentSpaceId() const;
  // The current layer (CLAYER when it names a layer of this drawing, else layer "0").
  AcDbObjectId clayer() const;
  AcDbHandle handseed() const;

  // The object of a handle; eUnknownHandle-style failure is eKeyNotFound here.
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound, const AcDbHandle& objHandle,
                                    Adesk::UInt32 xRefId = 0);
  // Adds an object owned by the database itself; it stays open for write.
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj);
  // How many objects refer to each id (entities to their layer, linetype or block definition;
  // layers to their linetype; groups to their entities) in *pCount, added up.
  Acad::ErrorStatus countHardReferences(const AcDbObjectIdArray& objectIds, Adesk::UInt32* pCount);

 private:
  friend struct standin::DbAccess;
  struct Store;
  // The standard contents numbered from firstHandle on (a file's own handles stay free).
  explicit AcDbDatabase(Adesk::UInt64 firstHandle);
  std::unique_ptr<Store> m_store;
};

class AcDbHostApplicationServices {
 public:
  // The drawing open in the session.
  AcDbDatabase* workingDatabase() const;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
