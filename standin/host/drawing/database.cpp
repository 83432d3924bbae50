// Just enough of the host's drawing, behaving as the host's does: a database with the standard
// contents, the objects it owns, their handles, and the drawing the session holds open.
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbsymtb.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"

namespace {

// The serials of a drawing's objects by their handles. Files number their objects from 1 up:
// handles up to about twice the number of objects index an array, and the others, which a file
// may choose as it likes, go to a tree.
class HandleTable {
 public:
  // The serial of the object of the handle, or 0.
  Adesk::IntPtr Find(Adesk::UInt64 handle) const {
    if (handle < m_dense.size()) return m_dense[handle];
    const auto it = m_sparse.find(handle);
    return it == m_sparse.end() ? 0 : it->second;
  }
  void Erase(Adesk::UInt64 handle) {
    if (handle < m_dense.size())
      m_dense[handle] = 0;
    else
      m_sparse.erase(handle);
  }
  // Handle 0 is no handle; a handle is added once.
  void Insert(Adesk::UInt64 handle, Adesk::IntPtr serial) {
    const size_t limit = 2 * ++m_count + 4096;
    if (handle >= limit) {
      m_sparse.emplace(handle, serial);
      return;
    }
    if (handle >= m_dense.size()) {
      m_dense.resize(std::max<size_t>(handle + 1, std::min(2 * m_dense.size(), limit)));
      // Handles of the tree that the array reaches now move into it.
      while (!m_sparse.empty() && m_sparse.begin()->first < m_dense.size()) {
        m_dense[m_sparse.begin()->first] = m_sparse.begin()->second;
        m_sparse.erase(m_sparse.begin());
      }
    }
    m_dense[handle] = serial;
  }

 private:
  std::vector<Adesk::IntPtr> m_dense;
  std::map<Adesk::UInt64, Adesk::IntPtr> m_sparse;
  size_t m_count = 0;
};

}  // namespace

struct AcDbDatabase::Store {
  std::vector<std::unique_ptr<AcDbObject>> objects;  // in the order they were added, so by serial
  HandleTable handles;
  Adesk::UInt64 handseed = 1;
  AcDbObjectId blockTable, layerTable, linetypeTable, namedObjects, groups;
  std::vector<Adesk::IntPtr> order;  // serials only grow, so this is sorted
  std::wstring name = L"Drawing1.dwg";
  std::vector<std::pair<std::wstring, standin::DxfGroup>> header;
};

namespace {

// The drawing the session holds, and who wants to know when it is closed.
struct OpenDrawingState {
  std::unique_ptr<AcDbDatabase> working;
  std::vector<std::function<void()>> closedHandlers;
};

OpenDrawingState& Open() {
  static auto* state = new OpenDrawingState;  // guarded by DrawingMutex; never destroyed
  return *state;
}

}  // namespace

namespace standin {

Acad::ErrorStatus DbAccess::Enter(AcDbDatabase* db, AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id,
                                  AcDbHandle handle, bool topLevel) {
  AcDbDatabase::Store& st = *db->m_store;
  Adesk::UInt64 h = handle.value();
  // A handseed of 0 marks the handle space used up; handles never wrap round to reused ones
  // (the host's code for it is not known: eOutOfMemory was chosen).
  if (h == 0) {
    while (st.handseed != 0 && st.handles.Find(st.handseed)) ++st.handseed;
    if (st.handseed == 0) return Acad::eOutOfMemory;
    h = st.handseed++;
  } else if (st.handles.Find(h)) {
    return Acad::eDuplicateKey;
  } else if (st.handseed != 0 && h >= st.handseed) {
    st.handseed = h + 1;
  }
  const Adesk::IntPtr serial = NextSerial();
  obj->m_id = serial;
  obj->m_owner = owner.asOldId();
  obj->m_handle = h;
  obj->m_db = db;
  obj->m_writer = true;
  obj->m_readers = 0;
  obj->m_new = true;
  st.objects.emplace_back(obj);
  st.handles.Insert(h, serial);
  Register(serial, obj);
  id.setFromOldId(serial);
  if (topLevel) st.order.push_back(serial);
  return Acad::eOk;
}

Acad::ErrorStatus DbAccess::Add(AcDbDatabase* db, AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id,
                                AcDbHandle handle) {
  if (!db || !obj) return Acad::eNullObjectPointer;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (obj->m_id) return Acad::eAlreadyInDb;
  const auto* btr = AcDbBlockTableRecord::cast(Resolve(owner));
  const Acad::ErrorStatus es = Enter(db, obj, owner, id, handle, btr && AcDbEntity::cast(obj) && btr->isLayout());
  if (es == Acad::eOk) obj->subSetDatabaseDefaults(db);
  return es;
}

Acad::ErrorStatus DbAccess::AddEntity(AcDbDatabase* db, AcDbEntity* ent, AcDbObjectId owner, bool layout,
                                      AcDbObjectId layer, AcDbObjectId linetype, AcDbObjectId& id, AcDbHandle handle) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (ent->m_id) return Acad::eAlreadyInDb;
  ent->m_layer = layer;
  ent->m_linetype = linetype;
  return Enter(db, ent, owner, id, handle, layout);
}

void DbAccess::SetStandardIds(AcDbDatabase* db, AcDbObjectId blockTable, AcDbObjectId layerTable,
                              AcDbObjectId linetypeTable, AcDbObjectId namedObjects, AcDbObjectId groups) {
  AcDbDatabase::Store& st = *db->m_store;
  st.blockTable = blockTable;
  st.layerTable = layerTable;
  st.linetypeTable = linetypeTable;
  st.namedObjects = namedObjects;
  st.groups = groups;
}

const std::vector<Adesk::IntPtr>& DbAccess::Order(const AcDbDatabase* db) { return db->m_store->order; }

long DbAccess::OrderIndex(const AcDbDatabase* db, Adesk::IntPtr id) {
  const std::vector<Adesk::IntPtr>& order = db->m_store->order;
  const auto it = std::lower_bound(order.begin(), order.end(), id);
  return it == order.end() || *it != id ? -1 : static_cast<long>(it - order.begin());
}

int DbAccess::OpenCount(const AcDbDatabase* db) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  int n = 0;
  for (const auto& obj : db->m_store->objects)
    if (IsOpen(obj.get())) ++n;
  return n;
}

namespace {
AcDbObjectId SpaceOf(const AcDbDatabase* db, const wchar_t* name) {
  const auto* table = Peek<AcDbBlockTable>(db->blockTableId());
  AcDbObjectId id;
  if (table) table->getAt(name, id);
  return id;
}
}  // namespace

std::vector<AcDbObject*> DbAccess::OpenObjects(const AcDbDatabase* db) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<AcDbObject*> out;
  for (const auto& obj : db->m_store->objects)
    if (IsOpen(obj.get())) out.push_back(obj.get());
  return out;
}

AcDbObjectId DbAccess::ModelSpace(const AcDbDatabase* db) { return SpaceOf(db, ACDB_MODEL_SPACE); }
AcDbObjectId DbAccess::PaperSpace(const AcDbDatabase* db) { return SpaceOf(db, ACDB_PAPER_SPACE); }
std::wstring& DbAccess::Name(AcDbDatabase* db) { return db->m_store->name; }
std::unique_ptr<AcDbDatabase> DbAccess::NewDatabase(Adesk::UInt64 firstHandle) {
  return std::unique_ptr<AcDbDatabase>(new AcDbDatabase(firstHandle));
}
void DbAccess::RaiseHandseed(AcDbDatabase* db, Adesk::UInt64 handseed) {
  if (db->m_store->handseed != 0 && handseed > db->m_store->handseed) db->m_store->handseed = handseed;
}
void DbAccess::SettleHandles(AcDbDatabase* db, Adesk::UInt64 provisional, Adesk::UInt64 firstHandle) {
  AcDbDatabase::Store& st = *db->m_store;
  // The standard contents are the first objects of the drawing.
  for (const auto& obj : st.objects) {
    if (obj->m_handle < provisional || obj->m_handle >= st.handseed) break;
    st.handles.Erase(obj->m_handle);
    obj->m_handle = obj->m_handle - provisional + firstHandle;
    st.handles.Insert(obj->m_handle, obj->m_id);
  }
  st.handseed = st.handseed - provisional + firstHandle;
}
std::vector<std::pair<std::wstring, DxfGroup>>& DbAccess::Header(AcDbDatabase* db) { return db->m_store->header; }

AcDbDatabase* WorkingDrawing() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  OpenDrawingState& reg = Open();
  if (!reg.working) {
    // The session starts with the sample drawing and gets it back whenever it is reset.
    reg.working = BuildSampleDrawing();
    ApplyDrawingHeader(reg.working.get());
    Session::Get().AddResetHandler([] { OpenDrawing(BuildSampleDrawing()); });
  }
  return reg.working.get();
}

void OpenDrawing(std::unique_ptr<AcDbDatabase> db) {
  std::vector<std::function<void()>> handlers;
  std::unique_ptr<AcDbDatabase> old;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    WorkingDrawing();
    old = std::move(Open().working);
    Open().working = std::move(db);
    ApplyDrawingHeader(Open().working.get());
    handlers = Open().closedHandlers;
    for (const auto& handler : handlers) handler();
  }
}

void AddDrawingClosedHandler(std::function<void()> handler) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  Open().closedHandlers.push_back(std::move(handler));
}

}  // namespace standin

using standin::DbAccess;
using standin::DrawingMutex;
using standin::Peek;

// --- The drawing ---

namespace {

// Creates an object of the new drawing and closes it: the drawing is being built.
template <class T>
AcDbObjectId AddClosed(AcDbDatabase* db, T* obj, AcDbObjectId owner) {
  AcDbObjectId id;
  DbAccess::Add(db, obj, owner, id);
  obj->close();
  return id;
}

AcDbObjectId AddRecord(AcDbSymbolTable* table, AcDbSymbolTableRecord* rec, const wchar_t* name) {
  rec->setName(name);
  AcDbObjectId id;
  table->add(id, rec);
  rec->close();
  return id;
}

}  // namespace

AcDbDatabase::AcDbDatabase() : AcDbDatabase(Adesk::UInt64{1}) {}

AcDbDatabase::AcDbDatabase(Adesk::UInt64 firstHandle) : m_store(std::make_unique<Store>()) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  m_store->handseed = firstHandle;
  auto* blocks = new AcDbBlockTable;
  auto* layers = new AcDbLayerTable;
  auto* linetypes = new AcDbLinetypeTable;
  auto* named = new AcDbDictionary;
  AcDbObjectId blocksId, layersId, linetypesId, namedId, groupsId;
  DbAccess::Add(this, blocks, AcDbObjectId::kNull, blocksId);
  DbAccess::Add(this, layers, AcDbObjectId::kNull, layersId);
  DbAccess::Add(this, linetypes, AcDbObjectId::kNull, linetypesId);
  DbAccess::Add(this, named, AcDbObjectId::kNull, namedId);
  named->setAt(ACDB_GROUP_DICTIONARY, new AcDbDictionary, groupsId);
  if (AcDbObject* groups = DbAccess::Resolve(groupsId)) groups->close();
  named->close();
  DbAccess::SetStandardIds(this, blocksId, layersId, linetypesId, namedId, groupsId);

  AddRecord(linetypes, new AcDbLinetypeTableRecord, L"ByBlock");
  AddRecord(linetypes, new AcDbLinetypeTableRecord, L"ByLayer");
  auto* continuous = new AcDbLinetypeTableRecord;
  continuous->setComments(L"Solid line");
  const AcDbObjectId continuousId = AddRecord(linetypes, continuous, L"Continuous");
  linetypes->close();

  auto* zero = new AcDbLayerTableRecord;
  zero->setLinetypeObjectId(continuousId);
  AddRecord(layers, zero, L"0");
  layers->close();

  AddRecord(blocks, new AcDbBlockTableRecord, ACDB_MODEL_SPACE);
  AddRecord(blocks, new AcDbBlockTableRecord, ACDB_PAPER_SPACE);
  blocks->close();
}

AcDbDatabase::~AcDbDatabase() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (auto& obj : m_store->objects) {
    obj->m_dying = true;
    DbAccess::Register(obj->m_id, nullptr);
  }
  m_store->objects.clear();
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode) {
  return acdbOpenObject(pTable, m_store->blockTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode) {
  return acdbOpenObject(pTable, m_store->layerTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode) {
  return acdbOpenObject(pTable, m_store->linetypeTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode) {
  return acdbOpenObject(pDict, m_store->groups, mode);
}

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode) {
  return acdbOpenObject(pDict, m_store->namedObjects, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const { return m_store->blockTable; }
AcDbObjectId AcDbDatabase::layerTableId() const { return m_store->layerTable; }
AcDbObjectId AcDbDatabase::linetypeTableId() const { return m_store->linetypeTable; }
AcDbObjectId AcDbDatabase::groupDictionaryId() const { return m_store->groups; }
AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const { return m_store->namedObjects; }

namespace {
AcDbObjectId RecordOf(AcDbObjectId tableId, const wchar_t* name) {
  AcDbObjectId id;
  if (const auto* table = Peek<AcDbSymbolTable>(tableId)) table->getAt(name, id);
  return id;
}
}  // namespace

AcDbObjectId AcDbDatabase::layerZero() const { return RecordOf(m_store->layerTable, L"0"); }
AcDbObjectId AcDbDatabase::byLayerLinetype() const { return RecordOf(m_store->linetypeTable, L"ByLayer"); }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return RecordOf(m_store->linetypeTable, L"ByBlock"); }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return RecordOf(m_store->linetypeTable, L"Continuous"); }

AcDbObjectId AcDbDatabase::currentSpaceId() const {
  const bool paper = standin::SysVarInt(L"TILEMODE", 1) == 0 && standin::SysVarInt(L"CVPORT", 2) == 1;
  return paper ? DbAccess::PaperSpace(this) : DbAccess::ModelSpace(this);
}

AcDbObjectId AcDbDatabase::clayer() const {
  resbuf rb{};
  AcDbObjectId id;
  if (acedGetVar(L"CLAYER", &rb) == RTNORM && rb.restype == RTSTR) {
    id = RecordOf(m_store->layerTable, rb.resval.rstring);
    acutDelString(rb.resval.rstring);
  }
  return id.isNull() ? layerZero() : id;
}

AcDbHandle AcDbDatabase::handseed() const { return AcDbHandle(m_store->handseed); }

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool, const AcDbHandle& objHandle, Adesk::UInt32) {
  retId.setNull();
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const Adesk::IntPtr serial = objHandle.isNull() ? 0 : m_store->handles.Find(objHandle.value());
  if (!serial) return Acad::eKeyNotFound;
  retId.setFromOldId(serial);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj) {
  objId.setNull();
  if (!pObj) return Acad::eNullObjectPointer;
  return DbAccess::Add(this, pObj, AcDbObjectId::kNull, objId);
}

Acad::ErrorStatus AcDbDatabase::countHardReferences(const AcDbObjectIdArray& objectIds, Adesk::UInt32* pCount) {
  if (!pCount) return Acad::eInvalidInput;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  auto wanted = [&](AcDbObjectId id) { return !id.isNull() && objectIds.contains(id); };
  Adesk::UInt32 n = 0;
  for (const auto& obj : m_store->objects) {
    if (obj->isErased()) continue;
    if (const AcDbEntity* ent = AcDbEntity::cast(obj.get())) {
      n += wanted(ent->layerId()) + wanted(ent->linetypeId());
      if (const AcDbBlockReference* ref = AcDbBlockReference::cast(ent)) n += wanted(ref->blockTableRecord());
    } else if (const AcDbLayerTableRecord* layer = AcDbLayerTableRecord::cast(obj.get())) {
      n += wanted(layer->linetypeObjectId());
    } else if (AcDbGroup* group = AcDbGroup::cast(obj.get())) {
      // A group holds its entities by hard pointers.
      AcDbObjectIdArray members;
      group->allEntityIds(members);
      for (int i = 0; i < members.length(); ++i) n += wanted(members[i]);
    }
  }
  *pCount += n;
  return Acad::eOk;
}

namespace {
std::atomic<bool> g_noWorkingDatabase{false};
}  // namespace

void standin::SetNoWorkingDatabase(bool none) {
  static const bool once = [] {
    Session::Get().AddResetHandler([] { g_noWorkingDatabase = false; });
    return true;
  }();
  (void)once;
  g_noWorkingDatabase = none;
}

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
  return g_noWorkingDatabase ? nullptr : standin::WorkingDrawing();
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}
