// Just enough of the host's database objects, behaving as the host's do, for the module to open,
// read, change and create them: the open and close discipline, entities with their layer, colour
// and linetype, the drawing that owns them, and extents.
#pragma once

#include <acadstrc.h>
#include <acdb.h>
#include <adsdef.h>
#include <dbcolor.h>
#include <dbid.h>
#include <dbidar.h>
#include <gemat3d.h>
#include <gepnt3d.h>
#include <rxobject.h>

#include <memory>
#include <string>
#include <vector>

class AcDbBlockTable;
class AcDbDictionary;
class AcDbEntity;
class AcDbLayerTable;
class AcDbLinetypeTable;

// The stand-in host's own access to what it keeps inside these objects.
namespace standin {
class DxfOut;
class Shape;
struct DbAccess;
struct GroupList;
}  // namespace standin

// The stand-in keeps the entity types it only lists, draws and moves as their DXF groups.
#define STANDIN_LISTED_ENTITY(Class)                                 \
 public:                                                             \
  Class();                                                           \
  ~Class() override;                                                 \
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override; \
                                                                     \
 protected:                                                          \
  void dxfOutFields(standin::DxfOut& out) const override;            \
                                                                     \
 private:                                                            \
  friend struct standin::DbAccess;                                   \
  void standinShape(standin::Shape& shape) const override;           \
  std::unique_ptr<standin::GroupList> m_data;                        \
                                                                     \
 public:

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

// Every graphical object. Properties are the host's: a layer, a colour index (256 BYLAYER,
// 0 BYBLOCK), a linetype (BYLAYER by default).
class AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity);

  // The block table record (space or block definition) that holds the entity.
  AcDbObjectId blockId() const;

  AcCmColor color() const;
  Adesk::UInt16 colorIndex() const { return m_color; }
  // eOutOfRange-style refusal (eInvalidInput) above 256.
  Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, bool doSubents = true);
  // A malloc'ed copy of the layer's name that the caller frees; NULL without a layer.
  ACHAR* layer() const;
  AcDbObjectId layerId() const { return m_layer; }
  // Looks the name up in the entity's drawing (the working drawing for a new entity);
  // eKeyNotFound for a layer that does not exist.
  Acad::ErrorStatus setLayer(const ACHAR* newVal, bool doSubents = true, bool allowHiddenLayer = false);
  Acad::ErrorStatus setLayer(AcDbObjectId newVal, bool doSubents = true, bool allowHiddenLayer = false);
  ACHAR* linetype() const;
  AcDbObjectId linetypeId() const { return m_linetype; }
  // By name: eKeyNotFound for a linetype the drawing lacks. By id: eNullObjectId, eWasErased,
  // eWrongObjectType for an object that is no linetype, eWrongDatabase for another drawing's
  // (chosen: a new entity's is checked when it joins a drawing, falling back to ByLayer there).
  Acad::ErrorStatus setLinetype(const ACHAR* newVal, bool doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId newVal, bool doSubents = true);
  // The current layer, BYLAYER colour and linetype of the drawing (the working one for NULL).
  void setDatabaseDefaults();
  void setDatabaseDefaults(AcDbDatabase* pDb);

  // eInvalidExtents for an entity without geometry.
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  // REQUIRES open for write. eCannotScaleNonUniformly where the shape cannot follow
  // (circles and arcs under unequal scaling); eNotApplicable for a transform that takes a
  // planar entity out of its plane, which this stand-in does not do.
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;
  void subSetDatabaseDefaults(AcDbDatabase* db) override;

 private:
  friend struct standin::DbAccess;
  // The entity's outline in world coordinates (for extents and selection).
  virtual void standinShape(standin::Shape& shape) const;
  // The sub-entities that follow the entity in the drawing (attributes, vertices, the
  // sequence end), in order.
  virtual std::vector<AcDbObjectId> standinSubEntities() const { return {}; }
  AcDbObjectId m_layer;
  AcDbObjectId m_linetype;
  Adesk::UInt16 m_color = 256;
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
  // Adds the linetypes that ltn names (a wild-card pattern, as acutWcMatch reads it, ignoring
  // case) from the host's standard library "acad.lin" (inches) or "acadiso.lin" (millimetres).
  // eInvalidInput for NULL or empty arguments, eFileNotFound for another file, eUndefinedLineType
  // when the library has no such name, eDuplicateRecordName when the drawing has them all already.
  // Chosen: the stand-in's library holds the plain standard patterns, and the files are built in.
  Acad::ErrorStatus loadLineTypeFile(const ACHAR* ltn, const ACHAR* filename);

 private:
  friend struct standin::DbAccess;
  struct Store;
  // The standard contents numbered from firstHandle on (a file's own handles stay free).
  explicit AcDbDatabase(Adesk::UInt64 firstHandle);
  std::unique_ptr<Store> m_store;
};
