// Just enough of the host's symbol tables, behaving as the host's do, for the module to find,
// walk and add layers, linetypes and blocks: tables, their records and iterators, and the
// entities of a block table record.
#pragma once

#include <dbmain.h>
#include <gepnt2d.h>
#include <gepnt3d.h>

#include <string>
#include <unordered_map>
#include <vector>

class AcDbBlockTableRecordIterator;
class AcDbSymbolTableIterator;

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  // A malloc'ed copy the caller frees.
  Acad::ErrorStatus getName(ACHAR*& pName) const;
  Acad::ErrorStatus getName(const ACHAR*& pName) const;
  // eInvalidSymbolTableName for an empty name or one with a character the host refuses.
  Acad::ErrorStatus setName(const ACHAR* pName);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  const std::wstring& standinName() const { return m_name; }
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
  friend class AcDbSymbolTableRecord;
  // Files a record under its name, or takes it out from under it, for lookups in constant time.
  void standinIndex(AcDbObjectId id, const std::wstring& name);
  void standinUnindex(AcDbObjectId id, const std::wstring& name);
  void standinAppend(AcDbObjectId id, const std::wstring& name);
  std::vector<AcDbObjectId> m_records;  // in the order they were added
  // By upper-case name: the records of that name (erased ones too), in the order of m_records.
  std::unordered_map<std::wstring, std::vector<AcDbObjectId>> m_byName;
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

// A view: centre (display coordinates), height and width (display units), direction from the
// target and target (world), twist, lens length, clipping distances (from the target) and the
// VIEWMODE bits they stand for. A new record shows the host's default plan view.
class AcDbAbstractViewTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbAbstractViewTableRecord);
  AcGePoint2d centerPoint() const { return m_center; }
  void setCenterPoint(const AcGePoint2d& pt) { m_center = pt; }
  double height() const { return m_height; }
  void setHeight(double height) { m_height = height; }
  double width() const { return m_width; }
  void setWidth(double width) { m_width = width; }
  AcGePoint3d target() const { return m_target; }
  void setTarget(const AcGePoint3d& target) { m_target = target; }
  AcGeVector3d viewDirection() const { return m_direction; }
  void setViewDirection(const AcGeVector3d& direction) { m_direction = direction; }
  double viewTwist() const { return m_twist; }
  void setViewTwist(double angle) { m_twist = angle; }
  double lensLength() const { return m_lens; }
  void setLensLength(double length) { m_lens = length; }
  double frontClipDistance() const { return m_front; }
  void setFrontClipDistance(double distance) { m_front = distance; }
  double backClipDistance() const { return m_back; }
  void setBackClipDistance(double distance) { m_back = distance; }
  bool perspectiveEnabled() const { return (m_mode & 1) != 0; }
  void setPerspectiveEnabled(bool enabled) { SetBit(1, enabled); }
  bool frontClipEnabled() const { return (m_mode & 2) != 0; }
  void setFrontClipEnabled(bool enabled) { SetBit(2, enabled); }
  bool backClipEnabled() const { return (m_mode & 4) != 0; }
  void setBackClipEnabled(bool enabled) { SetBit(4, enabled); }
  // Front clipping at the eye is the absence of VIEWMODE bit 16.
  bool frontClipAtEye() const { return (m_mode & 16) == 0; }
  void setFrontClipAtEye(bool atEye) { SetBit(16, !atEye); }

 private:
  friend struct standin::DbAccess;
  void SetBit(int bit, bool on) { m_mode = on ? (m_mode | bit) : (m_mode & ~bit); }
  AcGePoint2d m_center{0, 0};
  double m_height = 1, m_width = 1;
  AcGePoint3d m_target;
  AcGeVector3d m_direction{0, 0, 1};
  double m_twist = 0, m_lens = 50, m_front = 0, m_back = 0;
  int m_mode = 0;
};

class AcDbViewTableRecord : public AcDbAbstractViewTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbViewTableRecord);
  bool isPaperspaceView() const { return m_paperspace; }
  void setIsPaperspaceView(bool paperspace) { m_paperspace = paperspace; }

 private:
  bool m_paperspace = false;
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
