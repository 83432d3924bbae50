// The drawing the simulated session holds: drawings opened from files or built by code, and the
// session's view of the open drawing (handles, open objects, header variables).
#include "standin/host/drawing/drawing.h"

#include <acedads.h>
#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <cstdio>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/dxf.h"
#include "standin/host/drawing/sysvars.h"

namespace standin {

namespace {

// The header variables that the session's system variables take over from an opened drawing.
const wchar_t* const kHeaderVariables[] = {
    L"ANGBASE",   L"ANGDIR",  L"AUNITS",  L"AUPREC",   L"CECOLOR",  L"CELTYPE",  L"CLAYER",   L"EXTMAX",
    L"EXTMIN",    L"INSBASE", L"LIMMAX",  L"LIMMIN",   L"LTSCALE",  L"LUNITS",   L"LUPREC",   L"MIRRTEXT",
    L"ORTHOMODE", L"PDMODE",  L"SNAPANG", L"SNAPBASE", L"SNAPMODE", L"SNAPUNIT", L"TEXTSIZE", L"TILEMODE",
};

void ApplyHeader(AcDbDatabase* db) {
  for (const auto& [name, value] : DbAccess::Header(db)) {
    const std::wstring var = name.substr(1);
    bool wanted = false;
    for (const wchar_t* known : kHeaderVariables) wanted = wanted || var == known;
    if (!wanted) continue;
    resbuf rb{};
    switch (value.kind) {
      case RbValue::String:
        rb.restype = RTSTR;
        rb.resval.rstring = const_cast<ACHAR*>(value.text.c_str());
        break;
      case RbValue::Real:
        rb.restype = RTREAL;
        rb.resval.rreal = value.real;
        break;
      case RbValue::Point:
        rb.restype = RT3DPOINT;
        for (int i = 0; i < 3; ++i) rb.resval.rpoint[i] = value.point[i];
        break;
      default:
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(value.integer);
        break;
    }
    SetSystemVariable(var.c_str(), rb);
  }
  resbuf name{};
  name.restype = RTSTR;
  name.resval.rstring = const_cast<ACHAR*>(DbAccess::Name(db).c_str());
  SetSystemVariable(L"DWGNAME", name);
}

template <class T>
T* OpenForWrite(AcDbObjectId id) {
  T* obj = nullptr;
  acdbOpenObject(obj, id, AcDb::kForWrite);
  return obj;
}

// A pick names an entity of the drawing by its handle: a pick of one that does not exist is a
// fault of the script, not a click somewhere.
const bool g_pickCheck = (Session::Get().SetInputCheck([](const InputEvent& e) {
  ads_name name;
  if (e.kind != InputKind::Pick || EntityByHandle(e.text.c_str(), name)) return std::wstring();
  return L"no entity of the drawing has the handle " + e.text;
}),
                          true);

}  // namespace

AcDbObjectId AddLayer(AcDbDatabase* db, const wchar_t* name, int color, bool locked, bool off, bool frozen) {
  auto* layers = OpenForWrite<AcDbLayerTable>(db->layerTableId());
  if (!layers) return AcDbObjectId::kNull;
  auto* rec = new AcDbLayerTableRecord;
  AcDbObjectId id;
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(color));
  if (rec->setName(name) == Acad::eOk && layers->add(id, rec) == Acad::eOk) {
    rec->setColor(c);
    rec->setIsLocked(locked);
    rec->setIsOff(off);
    rec->setIsFrozen(frozen);
    rec->setLinetypeObjectId(db->continuousLinetype());
    rec->close();
  } else {
    delete rec;
  }
  layers->close();
  return id;
}

AcDbObjectId AddEntity(AcDbDatabase* db, AcDbEntity* entity, const wchar_t* layer, bool paperSpace) {
  AcDbBlockTable* blocks = nullptr;
  AcDbBlockTableRecord* space = nullptr;
  AcDbObjectId id;
  if (db->getBlockTable(blocks, AcDb::kForRead) == Acad::eOk) {
    blocks->getAt(paperSpace ? ACDB_PAPER_SPACE : ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    blocks->close();
  }
  if (space) {
    if (layer) {
      AcDbObjectId layerId;
      if (const auto* table = Peek<AcDbLayerTable>(db->layerTableId())) table->getAt(layer, layerId);
      if (!layerId.isNull()) entity->setLayer(layerId);
    }
    if (space->appendAcDbEntity(id, entity) == Acad::eOk) entity->close();
    space->close();
  }
  if (id.isNull()) delete entity;
  return id;
}

AcDbObjectId AddBlock(AcDbDatabase* db, const wchar_t* name, const std::vector<AcDbEntity*>& entities,
                      const AcGePoint3d& origin) {
  auto* blocks = OpenForWrite<AcDbBlockTable>(db->blockTableId());
  AcDbObjectId id;
  auto* rec = new AcDbBlockTableRecord;
  if (!blocks || rec->setName(name) != Acad::eOk || blocks->add(id, rec) != Acad::eOk) {
    delete rec;
    for (AcDbEntity* e : entities) delete e;
    if (blocks) blocks->close();
    return AcDbObjectId::kNull;
  }
  blocks->close();
  rec->setOrigin(origin);
  for (AcDbEntity* e : entities) {
    if (rec->appendAcDbEntity(e) == Acad::eOk)
      e->close();
    else
      delete e;
  }
  rec->close();
  return id;
}

AcDbObjectId AddBlockReference(AcDbDatabase* db, const wchar_t* block, const AcGePoint3d& position, double rotation,
                               const std::vector<std::pair<std::wstring, std::wstring>>& values, const wchar_t* layer) {
  AcDbObjectId blockId;
  if (const auto* blocks = Peek<AcDbBlockTable>(db->blockTableId())) blocks->getAt(block, blockId);
  if (blockId.isNull()) return AcDbObjectId::kNull;
  auto* ref = new AcDbBlockReference(position, blockId);
  ref->setRotation(rotation);
  const AcDbObjectId refId = AddEntity(db, ref, layer);
  if (refId.isNull()) return refId;
  AcDbBlockReference* open = OpenForWrite<AcDbBlockReference>(refId);
  const auto* def = Peek<AcDbBlockTableRecord>(blockId);
  if (!open || !def) return refId;
  const AcGeMatrix3d xform = open->blockTransform();
  AcDbBlockTableRecordIterator* it = nullptr;
  def->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId entId;
    it->getEntityId(entId);
    const auto* attdef = Peek<AcDbAttributeDefinition>(entId);
    if (!attdef || attdef->isConstant()) continue;
    auto* att = new AcDbAttribute;
    att->setAttributeFromBlock(attdef, xform);
    att->setLayer(open->layerId(), false);
    for (const auto& [tag, value] : values)
      if (tag == attdef->tagConst()) att->setTextString(value.c_str());
    if (open->appendAttribute(att) == Acad::eOk)
      att->close();
    else
      delete att;
  }
  delete it;
  open->close();
  return refId;
}

void OpenEmptyDrawing() { OpenDrawing(std::make_unique<AcDbDatabase>()); }

void OpenSampleDrawing() { OpenDrawing(BuildSampleDrawing()); }

bool OpenDxfDrawing(const std::wstring& path, std::wstring& error) {
  std::unique_ptr<AcDbDatabase> db = ReadDxfFile(path, error);
  if (!db) return false;
  OpenDrawing(std::move(db));
  return true;
}

void ApplyDrawingHeader(AcDbDatabase* db) { ApplyHeader(db); }

bool EntityByHandle(const wchar_t* handle, ads_name name) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  AcDbObjectId id;
  const AcDbHandle h(handle);
  if (h.isNull() || WorkingDrawing()->getAcDbObjectId(id, false, h) != Acad::eOk) return false;
  if (!Peek<AcDbEntity>(id)) return false;
  name[0] = id.asOldId();
  name[1] = 0;
  return true;
}

std::wstring HandleOf(const ads_name name) {
  AcDbObjectId id;
  if (acdbGetObjectId(id, name) != Acad::eOk) return L"";
  ACHAR buf[17];
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

int OpenObjectCount() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return DbAccess::OpenCount(WorkingDrawing());
}

long FreeObjectCount() { return DbAccess::FreeObjectCount(); }

std::wstring OpenObjectsReport() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::wstring report;
  for (const AcDbObject* obj : DbAccess::OpenObjects(WorkingDrawing())) {
    AcDbHandle handle;
    obj->getAcDbHandle(handle);
    ACHAR hex[17];
    handle.getIntoAsciiBuffer(hex);
    const wchar_t* mode = obj->isWriteEnabled() ? L"write" : obj->isReadEnabled() ? L"read" : L"notify";
    report += std::wstring(obj->isA()->name()) + L" " + hex + L" (" + mode + L")\n";
  }
  return report;
}

int ReportObjectsLeftOpen(std::wstring_view operation) {
  const std::wstring report = OpenObjectsReport();
  const int count = OpenObjectCount();
  if (count == 0) return 0;
  Session::Get().Record(JournalKind::LeftOpen, std::wstring(operation), {static_cast<double>(count)});
  std::fprintf(stderr, "stand-in host: %ls left %d object(s) open:\n%ls", std::wstring(operation).c_str(), count,
               report.c_str());
  return count;
}

}  // namespace standin
