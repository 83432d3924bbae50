// Just enough of the host's database objects, behaving as the host's do: ids and handles, the
// open and close discipline, and the registry of every live object of the session's drawings.
#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <vector>

#include "standin/host/drawing/dbaccess.h"

namespace {

// Every object of an open drawing by its serial, in pages of consecutive serials: a lookup is
// two loads, and a page goes when its last object does.
class LiveObjects {
 public:
  AcDbObject* Find(Adesk::IntPtr id) const {
    if (id <= 0) return nullptr;
    const size_t page = static_cast<size_t>(id) / kPage;
    return page < m_pages.size() && m_pages[page] ? m_pages[page]->slots[static_cast<size_t>(id) % kPage] : nullptr;
  }
  void Set(Adesk::IntPtr id, AcDbObject* obj) {
    if (id <= 0) return;
    const size_t page = static_cast<size_t>(id) / kPage;
    if (page >= m_pages.size()) {
      if (!obj) return;
      m_pages.resize(page + 1);
    }
    std::unique_ptr<Page>& p = m_pages[page];
    if (!p) {
      if (!obj) return;
      p = std::make_unique<Page>();
    }
    AcDbObject*& slot = p->slots[static_cast<size_t>(id) % kPage];
    const long change = (obj != nullptr) - (slot != nullptr);
    slot = obj;
    p->used += change;
    m_count += change;
    if (p->used == 0) p.reset();
  }
  long Count() const { return m_count; }

 private:
  static constexpr size_t kPage = 4096;
  struct Page {
    AcDbObject* slots[kPage] = {};
    long used = 0;
  };
  std::vector<std::unique_ptr<Page>> m_pages;  // by serial / kPage
  long m_count = 0;
};

struct Objects {
  std::recursive_mutex mutex;
  Adesk::IntPtr next = 1;
  LiveObjects live;
};

// Every AcDbObject alive, in a drawing or not.
std::atomic<long> g_liveObjects{0};

Objects& Reg() {
  static Objects* objects = new Objects;  // never destroyed: modules may close objects at exit
  return *objects;
}

AcDbObjectId IdOf(Adesk::IntPtr n) { return AcDbObjectId().setFromOldId(n); }

}  // namespace

namespace standin {

std::recursive_mutex& DrawingMutex() { return Reg().mutex; }

std::wstring NameOfRecord(AcDbObjectId id, const wchar_t* fallback) {
  const auto* rec = Peek<AcDbSymbolTableRecord>(id);
  return rec ? DbAccess::RecordName(rec) : fallback;
}

ACHAR* NewText(const std::wstring& text) {
  ACHAR* copy = nullptr;
  acutNewString(text.c_str(), copy);
  return copy;
}

Adesk::IntPtr NextSerial() {
  std::lock_guard<std::recursive_mutex> lock(Reg().mutex);
  return Reg().next++;
}

DxfGroup& DxfOut::Add(short code, RbValue kind) {
  DxfGroup& g = m_groups.emplace_back();
  g.code = code;
  g.kind = kind;
  return g;
}

void DxfOut::Text(short code, std::wstring_view text) { Add(code, RbValue::String).text = text; }

void DxfOut::Real(short code, double value) { Add(code, RbValue::Real).real = value; }

void DxfOut::Int(short code, long value) {
  Add(code, ResbufValueKind(code) == RbValue::Long ? RbValue::Long : RbValue::Short).integer = value;
}

void DxfOut::Point(short code, const AcGePoint3d& p) {
  DxfGroup& g = Add(code, RbValue::Point);
  g.point[0] = p.x, g.point[1] = p.y, g.point[2] = p.z;
}

void DxfOut::Name(short code, AcDbObjectId id) { Add(code, RbValue::Name).name = id.asOldId(); }

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

void DbAccess::Register(Adesk::IntPtr id, AcDbObject* obj) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  Reg().live.Set(id, obj);
}

AcDbObject* DbAccess::Resolve(Adesk::IntPtr id) {
  if (!id) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return Reg().live.Find(id);
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

long DbAccess::FreeObjectCount() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return g_liveObjects - Reg().live.Count();
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
