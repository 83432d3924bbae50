// Inside the stand-in host's drawing database: the registry of live objects, the session's
// open drawing, the DXF group lists objects describe themselves with, and what the stand-in
// keeps inside the database classes. Used by the stand-in host's own layers; not by the module.
#pragma once

#include <dbdict.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbmain.h>
#include <dbregion.h>
#include <dbsymtb.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "standin/host/core/resbuf.h"
#include "standin/host/drawing/boundary.h"

namespace standin {

// One process-wide lock for the drawing, its objects' open states and the selection sets.
std::recursive_mutex& DrawingMutex();

// A new number for an object id or a selection-set name; numbers are never reused.
Adesk::IntPtr NextSerial();

// One DXF group as acdbEntGet lists it.
struct DxfGroup {
  short code = 0;
  RbValue kind = RbValue::None;
  std::wstring text;
  double real = 0;
  double point[3] = {0, 0, 0};
  long integer = 0;
  Adesk::IntPtr name = 0;  // an object id's number, as the entity name's first word
};

class DxfOut {
 public:
  void Text(short code, std::wstring_view text);
  void Real(short code, double value);
  void Int(short code, long value);
  void Point(short code, const AcGePoint3d& p);
  void Group(const DxfGroup& group) { m_groups.push_back(group); }
  void Name(short code, AcDbObjectId id);
  const std::vector<DxfGroup>& Groups() const { return m_groups; }
  // The groups as a new chain of the host's records; NULL when memory runs out.
  resbuf* ToResbuf() const;

 private:
  DxfGroup& Add(short code, RbValue kind);
  std::vector<DxfGroup> m_groups;
};

// The private state of database objects, for the stand-in host's own code.
struct DbAccess {
  static Adesk::IntPtr Id(const AcDbObject* obj) { return obj->m_id; }
  static void SetOwner(AcDbObject* obj, AcDbObjectId owner) { obj->m_owner = owner.asOldId(); }
  static bool IsOpen(const AcDbObject* obj) { return obj->m_readers > 0 || obj->m_writer || obj->m_notify; }
  static void SetErased(AcDbObject* obj, bool erased) { obj->m_erased = erased; }
  static void DxfOutFields(const AcDbObject* obj, DxfOut& out) { obj->dxfOutFields(out); }
  // Lets the host change an object as part of a change of its owner (attributes that move with
  // their block reference): Denied while someone has it open for read, else it is writable
  // (Borrowed ones are handed back with Return).
  enum class Borrow { Denied, Writable, Borrowed };
  static Borrow BorrowForWrite(AcDbObject* obj) {
    if (obj->m_writer || !obj->m_id) return Borrow::Writable;
    if (obj->m_readers > 0) return Borrow::Denied;
    obj->m_writer = true;
    return Borrow::Borrowed;
  }
  static void Return(AcDbObject* obj) { obj->m_writer = false; }
  // A record already in the table's drawing joins the table's records.
  static void AppendRecord(AcDbSymbolTable* table, AcDbObjectId id, const std::wstring& name) {
    table->standinAppend(id, name);
  }
  static std::vector<AcDbObjectId>& Entities(AcDbBlockTableRecord* record) { return record->m_entities; }
  static std::vector<std::pair<std::wstring, AcDbObjectId>>& Entries(AcDbDictionary* dict) { return dict->m_entries; }

  // Makes obj a resident of db owned by owner, with the given handle (or the next free one),
  // open for write. eAlreadyInDb, eHandleInUse-style refusal as eDuplicateKey.
  static Acad::ErrorStatus Add(AcDbDatabase* db, AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id,
                               AcDbHandle handle = AcDbHandle());
  // An entity of a drawing file joins db as Add makes it, on the layer and linetype the reader took
  // from db's own records, so that neither is looked up again; layout says whether owner is a
  // layout's record, whose entities are the drawing's top-level ones.
  static Acad::ErrorStatus AddEntity(AcDbDatabase* db, AcDbEntity* ent, AcDbObjectId owner, bool layout,
                                     AcDbObjectId layer, AcDbObjectId linetype, AcDbObjectId& id, AcDbHandle handle);
  // The sequence end that closes the sub-entities of owner (a block reference with attributes, an
  // old-style polyline): a new one in owner's drawing, on its layer, closed; null when refused.
  static AcDbObjectId AddSequenceEnd(const AcDbEntity* owner);
  // Files the object under its id among the live objects (obj NULL: takes it out again).
  static void Register(Adesk::IntPtr id, AcDbObject* obj);
  // The live object of an id (any drawing), or NULL.
  static AcDbObject* Resolve(AcDbObjectId id);
  static AcDbObject* Resolve(Adesk::IntPtr id);
  // The open protocol itself.
  static Acad::ErrorStatus Open(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased);

  // The drawing's records of standard objects.
  static void SetStandardIds(AcDbDatabase* db, AcDbObjectId blockTable, AcDbObjectId layerTable,
                             AcDbObjectId linetypeTable, AcDbObjectId namedObjects, AcDbObjectId groups);
  // Top-level entities of the spaces, in order of creation.
  static const std::vector<Adesk::IntPtr>& Order(const AcDbDatabase* db);
  // The position of a top-level entity in that order, or -1.
  static long OrderIndex(const AcDbDatabase* db, Adesk::IntPtr id);
  // Every object of the drawing that is open now.
  static int OpenCount(const AcDbDatabase* db);
  // Those objects, in order of their ids.
  static std::vector<AcDbObject*> OpenObjects(const AcDbDatabase* db);
  // Database objects alive in no drawing (new ones not yet added, or never to be).
  static long FreeObjectCount();
  static AcDbObjectId ModelSpace(const AcDbDatabase* db);
  static AcDbObjectId PaperSpace(const AcDbDatabase* db);
  static std::wstring& Name(AcDbDatabase* db);
  // A drawing whose standard contents take handles from firstHandle on.
  static std::unique_ptr<AcDbDatabase> NewDatabase(Adesk::UInt64 firstHandle);
  static void RaiseHandseed(AcDbDatabase* db, Adesk::UInt64 handseed);
  // The drawing's standard contents, numbered from provisional on while nothing else took a fresh
  // handle, take their handles from firstHandle on.
  static void SettleHandles(AcDbDatabase* db, Adesk::UInt64 provisional, Adesk::UInt64 firstHandle);
  // The drawing's header variables ("$CLAYER" ...) as its file gave them.
  static std::vector<std::pair<std::wstring, DxfGroup>>& Header(AcDbDatabase* db);

  // What the stand-in keeps inside the entity classes.
  static void ShapeOf(const AcDbEntity* ent, Shape& shape) { ent->standinShape(shape); }
  // The outline of the text itself, without what a subclass adds or leaves out.
  static void TextShape(const AcDbText* text, Shape& shape) { text->AcDbText::standinShape(shape); }
  static std::vector<AcDbObjectId> SubEntities(const AcDbEntity* ent) { return ent->standinSubEntities(); }
  static const std::wstring& RecordName(const AcDbSymbolTableRecord* rec) { return rec->standinName(); }
  static const std::wstring& TextStyle(const AcDbText* text) { return text->standinStyle(); }
  static void SetTextStyle(AcDbText* text, const std::wstring& style) { text->standinSetStyle(style); }
  // The DXF flags (group 70) of attributes, their definitions, vertices and old-style polylines.
  template <class T>
  static int Flags(const T* ent) {
    return ent->standinFlags();
  }
  template <class T>
  static void SetFlags(T* ent, int flags) {
    ent->standinSetFlags(flags);
  }
  // A file's sub-entities join their main entity as they are read.
  template <class T>
  static void AdoptSequenceEnd(T* ent, AcDbObjectId seqend) {
    ent->standinAdoptSequenceEnd(seqend);
  }
  // The DXF groups of an entity of a listed kind (listed.h).
  template <class T>
  static GroupList* Listed(const T* ent) {
    return ent->m_data.get();
  }
  // A vertex moves with its polyline, whoever has it open.
  static void MoveVertex(AcDb3dPolylineVertex* v, const AcGeMatrix3d& xform) { v->m_position.transformBy(xform); }
  static void SetScaleFactors(AcDbBlockReference* ref, const AcGeScale3d& scale) { ref->m_scale = scale; }
  static void AdoptAttribute(AcDbBlockReference* ref, AcDbObjectId att) { ref->standinAdoptAttribute(att); }
  template <class T>
  static void AdoptVertex(T* pline, AcDbObjectId vertex) {
    pline->standinAdoptVertex(vertex);
  }
  static bool IsEvaluated(const AcDbHatch* hatch) { return hatch->standinIsEvaluated(); }
  static Loop Outline(const AcDbRegion* region) { return {region->m_points, region->m_bulges}; }
  static double Elevation(const AcDbRegion* region) { return region->m_elevation; }
  static void SetOutline(AcDbRegion* region, const Loop& loop, double elevation) {
    region->assertWriteEnabled();
    region->m_points = loop.points;
    region->m_bulges = loop.bulges;
    region->m_elevation = elevation;
  }

 private:
  // What Add and AddEntity share, once obj is known to be new to every drawing: topLevel says
  // whether it joins the drawing's order of top-level entities.
  static Acad::ErrorStatus Enter(AcDbDatabase* db, AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id,
                                 AcDbHandle handle, bool topLevel);
};

// The name of a symbol table record, or the fallback when the id names none.
std::wstring NameOfRecord(AcDbObjectId id, const wchar_t* fallback);

// A malloc'ed copy for the caller to free, as the host hands out names; NULL when memory runs out.
ACHAR* NewText(const std::wstring& text);

// Opens for read without the open protocol's bookkeeping, for the host's own reads while it
// holds the drawing lock: NULL for an id that names no live object.
template <class T>
const T* Peek(AcDbObjectId id) {
  return T::cast(DbAccess::Resolve(id));
}

// Whether acedXformSS can apply the matrix to the entity (see AcDbEntity::transformBy).
Acad::ErrorStatus CheckTransform(const AcDbEntity& entity, const AcGeMatrix3d& xform);

// --- The session's drawing ---

// Its header variables become the session's system variables.
void ApplyDrawingHeader(AcDbDatabase* db);

// The drawing open in the session (the built-in sample until another is opened).
AcDbDatabase* WorkingDrawing();
// Every stand-in area that keeps names into the drawing forgets them when it closes.
void AddDrawingClosedHandler(std::function<void()> handler);

}  // namespace standin
