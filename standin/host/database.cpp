// Just enough of the host's drawing database, behaving as the host's does, for the module to
// open, read, change and create database objects: ids and handles, the open and close
// discipline, symbol tables, dictionaries and groups, and the session's open drawing.
#include "standin/host/database.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <map>
#include <unordered_map>

#include "standin/host/dbcore.h"
#include "standin/host/drawing.h"
#include "standin/host/entities.h"
#include "standin/host/session.h"
#include "standin/host/sysvars.h"

struct AcDbDatabase::Store {
  std::unordered_map<Adesk::IntPtr, std::unique_ptr<AcDbObject>> objects;
  std::map<Adesk::UInt64, Adesk::IntPtr> handles;
  Adesk::UInt64 handseed = 1;
  AcDbObjectId blockTable, layerTable, linetypeTable, namedObjects, groups;
  std::vector<Adesk::IntPtr> order;
  std::unordered_map<Adesk::IntPtr, long> orderIndex;
  std::wstring name = L"Drawing1.dwg";
  std::vector<std::pair<std::wstring, standin::DxfGroup>> header;
};

namespace {

struct Registry {
  std::recursive_mutex mutex;
  Adesk::IntPtr next = 1;
  std::unordered_map<Adesk::IntPtr, AcDbObject*> live;
  std::unique_ptr<AcDbDatabase> working;
  std::vector<std::function<void()>> closedHandlers;
};

// Every AcDbObject alive, in a drawing or not.
std::atomic<long> g_liveObjects{0};

Registry& Reg() {
  static Registry* registry = new Registry;  // never destroyed: modules may close objects at exit
  return *registry;
}

bool SameText(const std::wstring& a, const wchar_t* b) {
  if (!b) return false;
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
  return i == a.size() && !b[i];
}

ACHAR* Duplicate(const std::wstring& s) {
  ACHAR* copy = nullptr;
  acutNewString(s.c_str(), copy);
  return copy;
}

// The characters the host refuses in symbol names; "*" only starts special names (*Model_Space).
bool IsValidSymbolName(const ACHAR* name) {
  if (!name || !*name || std::wcslen(name) > 255) return false;
  for (const ACHAR* p = name; *p; ++p) {
    if (std::wcschr(L"<>/\\\":;?|,=`", *p) || *p < 0x20) return false;
    if (*p == L'*' && p != name) return false;
  }
  return true;
}

int ReadShortVar(const wchar_t* name, int fallback) {
  resbuf rb{};
  return acedGetVar(name, &rb) == RTNORM && rb.restype == RTSHORT ? rb.resval.rint : fallback;
}

AcDbObjectId IdOf(Adesk::IntPtr n) { return AcDbObjectId().setFromOldId(n); }

}  // namespace

namespace standin {

std::recursive_mutex& DrawingMutex() { return Reg().mutex; }

Adesk::IntPtr NextSerial() {
  std::lock_guard<std::recursive_mutex> lock(Reg().mutex);
  return Reg().next++;
}

void DxfOut::Text(short code, std::wstring_view text) {
  DxfGroup g;
  g.code = code;
  g.kind = RbValue::String;
  g.text = text;
  m_groups.push_back(std::move(g));
}

void DxfOut::Real(short code, double value) {
  DxfGroup g;
  g.code = code;
  g.kind = RbValue::Real;
  g.real = value;
  m_groups.push_back(std::move(g));
}

void DxfOut::Int(short code, long value) {
  DxfGroup g;
  g.code = code;
  g.kind = ResbufValueKind(code) == RbValue::Long ? RbValue::Long : RbValue::Short;
  g.integer = value;
  m_groups.push_back(std::move(g));
}

void DxfOut::Point(short code, const AcGePoint3d& p) {
  DxfGroup g;
  g.code = code;
  g.kind = RbValue::Point;
  g.point[0] = p.x, g.point[1] = p.y, g.point[2] = p.z;
  m_groups.push_back(std::move(g));
}

void DxfOut::Name(short code, AcDbObjectId id) {
  DxfGroup g;
  g.code = code;
  g.kind = RbValue::Name;
  g.name = id.asOldId();
  m_groups.push_back(std::move(g));
}

resbuf* DxfOut::ToResbuf() const {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const DxfGroup& g : m_groups) {
    resbuf* rb = acutNewRb(g.code);
    if (!rb) {
      acutRelRb(head);
      return nullptr;
    }
    *tail = rb;
    tail = &rb->rbnext;
    switch (g.kind) {
      case RbValue::String:
        if (acutNewString(g.text.c_str(), rb->resval.rstring) != RTNORM) {
          acutRelRb(head);
          return nullptr;
        }
        break;
      case RbValue::Real:
        rb->resval.rreal = g.real;
        break;
      case RbValue::Point:
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = g.point[i];
        break;
      case RbValue::Short:
        rb->resval.rint = static_cast<short>(g.integer);
        break;
      case RbValue::Long:
        rb->resval.rlong = static_cast<Adesk::Int32>(g.integer);
        break;
      case RbValue::Name:
        rb->resval.rlname[0] = g.name;
        rb->resval.rlname[1] = 0;
        break;
      default:
        break;
    }
  }
  return head;
}

Acad::ErrorStatus DbAccess::Add(AcDbDatabase* db, AcDbObject* obj, AcDbObjectId owner, AcDbObjectId& id,
                                AcDbHandle handle) {
  if (!db || !obj) return Acad::eNullObjectPointer;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (obj->m_id) return Acad::eAlreadyInDb;
  AcDbDatabase::Store& st = *db->m_store;
  Adesk::UInt64 h = handle.value();
  if (h == 0) {
    while (st.handles.count(st.handseed)) ++st.handseed;
    h = st.handseed++;
  } else if (st.handles.count(h)) {
    return Acad::eDuplicateKey;
  } else if (h >= st.handseed) {
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
  st.objects[serial].reset(obj);
  st.handles[h] = serial;
  Reg().live[serial] = obj;
  id.setFromOldId(serial);
  if (auto* btr = AcDbBlockTableRecord::cast(Resolve(owner))) {
    if (AcDbEntity::cast(obj) && btr->isLayout()) {
      st.orderIndex[serial] = static_cast<long>(st.order.size());
      st.order.push_back(serial);
    }
  }
  obj->subSetDatabaseDefaults(db);
  return Acad::eOk;
}

AcDbObject* DbAccess::Resolve(Adesk::IntPtr id) {
  if (!id) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto it = Reg().live.find(id);
  return it == Reg().live.end() ? nullptr : it->second;
}

AcDbObject* DbAccess::Resolve(AcDbObjectId id) { return Resolve(id.asOldId()); }

Acad::ErrorStatus DbAccess::Open(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  obj = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  AcDbObject* o = Resolve(id);
  if (!o) return Acad::ePermanentlyErased;
  if (o->m_erased && !openErased) return Acad::eWasErased;
  switch (mode) {
    case AcDb::kForRead:
      if (o->m_writer) return Acad::eWasOpenForWrite;
      if (o->m_readers >= 256) return Acad::eAtMaxReaders;
      ++o->m_readers;
      break;
    case AcDb::kForWrite: {
      if (o->m_writer) return Acad::eWasOpenForWrite;
      if (o->m_readers > 0) return Acad::eWasOpenForRead;
      if (const AcDbEntity* ent = AcDbEntity::cast(o)) {
        const auto* layer = Peek<AcDbLayerTableRecord>(ent->layerId());
        if (layer && layer->isLocked()) return Acad::eOnLockedLayer;
      }
      o->m_writer = true;
      break;
    }
    case AcDb::kForNotify:
      if (o->m_notify) return Acad::eWasOpenForNotify;
      o->m_notify = true;
      break;
  }
  obj = o;
  return Acad::eOk;
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
  const auto it = db->m_store->orderIndex.find(id);
  return it == db->m_store->orderIndex.end() ? -1 : it->second;
}

int DbAccess::OpenCount(const AcDbDatabase* db) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  int n = 0;
  for (const auto& [id, obj] : db->m_store->objects)
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

long DbAccess::FreeObjectCount() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return g_liveObjects - static_cast<long>(Reg().live.size());
}

std::vector<AcDbObject*> DbAccess::OpenObjects(const AcDbDatabase* db) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::map<Adesk::IntPtr, AcDbObject*> open;
  for (const auto& [id, obj] : db->m_store->objects)
    if (IsOpen(obj.get())) open[id] = obj.get();
  std::vector<AcDbObject*> out;
  for (const auto& entry : open) out.push_back(entry.second);
  return out;
}

AcDbObjectId DbAccess::ModelSpace(const AcDbDatabase* db) { return SpaceOf(db, ACDB_MODEL_SPACE); }
AcDbObjectId DbAccess::PaperSpace(const AcDbDatabase* db) { return SpaceOf(db, ACDB_PAPER_SPACE); }
std::wstring& DbAccess::Name(AcDbDatabase* db) { return db->m_store->name; }
std::unique_ptr<AcDbDatabase> DbAccess::NewDatabase(Adesk::UInt64 firstHandle) {
  return std::unique_ptr<AcDbDatabase>(new AcDbDatabase(firstHandle));
}
void DbAccess::RaiseHandseed(AcDbDatabase* db, Adesk::UInt64 handseed) {
  if (handseed > db->m_store->handseed) db->m_store->handseed = handseed;
}
std::vector<std::pair<std::wstring, DxfGroup>>& DbAccess::Header(AcDbDatabase* db) { return db->m_store->header; }

AcDbDatabase* WorkingDrawing() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  Registry& reg = Reg();
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
    old = std::move(Reg().working);
    Reg().working = std::move(db);
    ApplyDrawingHeader(Reg().working.get());
    handlers = Reg().closedHandlers;
    for (const auto& handler : handlers) handler();
  }
}

void AddDrawingClosedHandler(std::function<void()> handler) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  Reg().closedHandlers.push_back(std::move(handler));
}

}  // namespace standin

using standin::DbAccess;
using standin::DrawingMutex;
using standin::Peek;

// --- AcDbHandle, AcDbObjectId, AcDbExtents, AcCmColor ---

AcDbHandle::AcDbHandle(const ACHAR* hex) {
  if (!hex || !*hex || std::wcslen(hex) > 16) return;
  Adesk::UInt64 v = 0;
  for (const ACHAR* p = hex; *p; ++p) {
    const wint_t c = std::towupper(static_cast<wint_t>(*p));
    if (c >= L'0' && c <= L'9')
      v = v * 16 + (c - L'0');
    else if (c >= L'A' && c <= L'F')
      v = v * 16 + (c - L'A' + 10);
    else
      return;
  }
  m_value = v;
}

void AcDbHandle::getIntoAsciiBuffer(ACHAR* pBuf) const { std::swprintf(pBuf, 17, L"%llX", m_value); }

const AcDbObjectId AcDbObjectId::kNull;

bool AcDbObjectId::isValid() const { return DbAccess::Resolve(*this) != nullptr; }

bool AcDbObjectId::isErased() const {
  const AcDbObject* obj = DbAccess::Resolve(*this);
  return obj && obj->isErased();
}

AcDbDatabase* AcDbObjectId::database() const {
  const AcDbObject* obj = DbAccess::Resolve(*this);
  return obj ? obj->database() : nullptr;
}

AcDbHandle AcDbObjectId::handle() const {
  AcDbHandle h;
  if (const AcDbObject* obj = DbAccess::Resolve(*this)) obj->getAcDbHandle(h);
  return h;
}

AcRxClass* AcDbObjectId::objectClass() const {
  const AcDbObject* obj = DbAccess::Resolve(*this);
  return obj ? obj->isA() : nullptr;
}

AcDbExtents::AcDbExtents() : m_min(1e20, 1e20, 1e20), m_max(-1e20, -1e20, -1e20) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : m_min(min), m_max(max) {}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
  m_min = min;
  m_max = max;
  return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
  m_min.set(std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z));
  m_max.set(std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z));
}

void AcDbExtents::addExt(const AcDbExtents& src) {
  if (src.m_min.x > src.m_max.x) return;
  addPoint(src.m_min);
  addPoint(src.m_max);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& mat) {
  if (m_min.x > m_max.x) return;
  AcDbExtents out;
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d p((i & 1) ? m_max.x : m_min.x, (i & 2) ? m_max.y : m_min.y, (i & 4) ? m_max.z : m_min.z);
    out.addPoint(p.transformBy(mat));
  }
  *this = out;
}

Acad::ErrorStatus AcCmColor::setColorIndex(Adesk::UInt16 index) {
  if (index > 256) return Acad::eInvalidInput;
  m_index = index;
  return Acad::eOk;
}

// --- AcDbObject ---

ACRX_DEFINE_MEMBERS(AcDbObject, AcRxObject, nullptr)

AcDbObject::AcDbObject() { ++g_liveObjects; }

AcDbObject::~AcDbObject() {
  --g_liveObjects;
  if (m_id && !m_dying) {
    std::fprintf(stderr, "INTERNAL ERROR: a database-resident object was deleted; close it instead\n");
    std::abort();
  }
}

AcDbObjectId AcDbObject::objectId() const { return IdOf(m_id); }
AcDbObjectId AcDbObject::ownerId() const { return IdOf(m_owner); }
void AcDbObject::getAcDbHandle(AcDbHandle& handle) const { handle = AcDbHandle(m_handle); }
AcDbDatabase* AcDbObject::database() const { return m_db; }

Acad::ErrorStatus AcDbObject::close() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!m_id) return Acad::eNotInDatabase;
  if (m_writer) {
    m_writer = false;
    m_new = false;
  } else if (m_readers > 0) {
    --m_readers;
  } else if (m_notify) {
    m_notify = false;
  } else {
    return Acad::eNotOpenForRead;
  }
  if (!m_writer && m_readers == 0) m_notify = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  assertWriteEnabled();
  // Redraws on the flicker's timer thread read the flag under this lock.
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (erasing && m_erased) return Acad::eWasErased;
  if (!erasing && !m_erased) return Acad::eNotApplicable;
  m_erased = erasing;
  return Acad::eOk;
}

bool AcDbObject::isErased() const { return m_erased; }
bool AcDbObject::isReadEnabled() const { return !m_id || m_readers > 0 || m_writer; }
bool AcDbObject::isWriteEnabled() const { return !m_id || m_writer; }
bool AcDbObject::isNotifyEnabled() const { return m_notify; }
bool AcDbObject::isNewObject() const { return m_new; }

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!m_id || m_writer) return Acad::eOk;
  if (m_readers != 1) return m_readers == 0 ? Acad::eNotOpenForRead : Acad::eWasOpenForRead;
  if (const AcDbEntity* ent = AcDbEntity::cast(this)) {
    const auto* layer = Peek<AcDbLayerTableRecord>(ent->layerId());
    if (layer && layer->isLocked()) return Acad::eOnLockedLayer;
  }
  m_readers = 0;
  m_writer = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!m_id) return Acad::eOk;
  if (!m_writer) return Acad::eNotOpenForWrite;
  m_writer = false;
  m_readers = 1;
  return Acad::eOk;
}

void AcDbObject::assertWriteEnabled() const {
  if (isWriteEnabled()) return;
  std::fprintf(stderr, "INTERNAL ERROR: a %ls object was changed while not open for write (eNotOpenForWrite)\n",
               isA()->name());
  std::abort();
}

void AcDbObject::dxfOutFields(standin::DxfOut&) const {}
void AcDbObject::subSetDatabaseDefaults(AcDbDatabase*) {}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return DbAccess::Open(obj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  ent = nullptr;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const AcDbObject* peek = DbAccess::Resolve(id);
  if (peek && !AcDbEntity::cast(peek)) return Acad::eNotAnEntity;
  AcDbObject* obj = nullptr;
  const Acad::ErrorStatus es = DbAccess::Open(obj, id, mode, openErased);
  if (es == Acad::eOk) ent = AcDbEntity::cast(obj);
  return es;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId) {
  if (objId.isNull()) return Acad::eNullObjectId;
  if (!DbAccess::Resolve(objId)) return Acad::ePermanentlyErased;
  objName[0] = objId.asOldId();
  objName[1] = 0;
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName) {
  if (!objName || objName[1] != 0 || !DbAccess::Resolve(objName[0])) return Acad::eInvalidAdsName;
  objId.setFromOldId(objName[0]);
  return Acad::eOk;
}

// --- Symbol tables ---

ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject, nullptr)
ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject, nullptr)
ACRX_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ACRX_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ACRX_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, L"DICTIONARY")
ACRX_DEFINE_MEMBERS(AcDbGroup, AcDbObject, L"GROUP")

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& pName) const {
  pName = Duplicate(m_name);
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
  if (auto* table = AcDbSymbolTable::cast(DbAccess::Resolve(ownerId()))) {
    AcDbObjectId other;
    if (table->getAt(pName, other) == Acad::eOk && other != objectId()) return Acad::eDuplicateRecordName;
  }
  m_name = pName;
  return Acad::eOk;
}

void AcDbSymbolTableRecord::dxfOutFields(standin::DxfOut& out) const { out.Text(100, L"AcDbSymbolTableRecord"); }

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord) const {
  recordId.setNull();
  if (!entryName) return Acad::eInvalidInput;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const AcDbObjectId& id : m_records) {
    const auto* rec = Peek<AcDbSymbolTableRecord>(id);
    if (!rec || (rec->isErased() && !getErasedRecord) || !SameText(rec->standinName(), entryName)) continue;
    recordId = id;
    return Acad::eOk;
  }
  return Acad::eKeyNotFound;
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
  if (!IsValidSymbolName(pRecord->standinName().c_str())) return Acad::eInvalidSymbolTableName;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (has(pRecord->standinName().c_str())) return Acad::eDuplicateRecordName;
  const Acad::ErrorStatus es = DbAccess::Add(database(), pRecord, objectId(), recordId);
  if (es == Acad::eOk) m_records.push_back(recordId);
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
  out.Text(2, standinName());
  out.Int(70, (m_frozen ? 1 : 0) | (m_locked ? 4 : 0));
  out.Int(62, m_off ? -static_cast<int>(m_color.colorIndex()) : m_color.colorIndex());
  const auto* lt = Peek<AcDbLinetypeTableRecord>(m_linetype);
  out.Text(6, lt ? lt->standinName() : L"Continuous");
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
  out.Text(2, standinName());
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
  const std::wstring& n = standinName();
  return SameText(n, ACDB_MODEL_SPACE) || SameText(n, ACDB_PAPER_SPACE);
}

bool AcDbBlockTableRecord::isAnonymous() const {
  return !isLayout() && !standinName().empty() && standinName()[0] == L'*';
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_origin = pt;
  return Acad::eOk;
}

void AcDbBlockTableRecord::dxfOutFields(standin::DxfOut& out) const {
  AcDbSymbolTableRecord::dxfOutFields(out);
  out.Text(100, L"AcDbBlockTableRecord");
  out.Text(2, standinName());
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
    if (SameText(key, entryName) && !id.isErased()) {
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
      name = Duplicate(key);
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
    if (SameText(it->first, key)) {
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
      if (SameText(it->first, key.c_str())) {
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
  for (auto& [id, obj] : m_store->objects) {
    obj->m_dying = true;
    Reg().live.erase(id);
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
  const bool paper = ReadShortVar(L"TILEMODE", 1) == 0 && ReadShortVar(L"CVPORT", 2) == 1;
  return paper ? DbAccess::PaperSpace(this) : DbAccess::ModelSpace(this);
}

AcDbObjectId AcDbDatabase::clayer() const {
  resbuf rb{};
  AcDbObjectId id;
  if (acedGetVar(L"CLAYER", &rb) == RTNORM && rb.restype == RTSTR) {
    id = RecordOf(m_store->layerTable, rb.resval.rstring);
    std::free(rb.resval.rstring);
  }
  return id.isNull() ? layerZero() : id;
}

AcDbHandle AcDbDatabase::handseed() const { return AcDbHandle(m_store->handseed); }

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool, const AcDbHandle& objHandle, Adesk::UInt32) {
  retId.setNull();
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto it = m_store->handles.find(objHandle.value());
  if (it == m_store->handles.end()) return Acad::eKeyNotFound;
  retId.setFromOldId(it->second);
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
  for (const auto& [serial, obj] : m_store->objects) {
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

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const { return standin::WorkingDrawing(); }

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}
