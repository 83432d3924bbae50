// The drawing the simulated session holds: the built-in sample floor plan, drawings built by
// code, and the session's view of the open drawing (handles, open objects, header variables).
#include "standin/host/drawing.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "standin/host/dbcore.h"
#include "standin/host/dxf.h"
#include "standin/host/session.h"
#include "standin/host/sysvars.h"

namespace standin {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

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

std::unique_ptr<AcDbDatabase> BuildSampleDrawing() {
  auto db = std::make_unique<AcDbDatabase>();
  AcDbDatabase* d = db.get();
  DbAccess::Name(d) = L"Sample.dwg";
  AddLayer(d, L"WALL", 7, true);
  AddLayer(d, L"DOOR", 3);
  AddLayer(d, L"TEXT", 2);
  AddLayer(d, L"FURNITURE", 4);

  // Outer walls with the entrance between x 200 and 280, and an inner wall with a doorway
  // between y 260 and 340.
  const double walls[][4] = {{100, 100, 200, 100}, {280, 100, 700, 100}, {700, 100, 700, 500}, {700, 500, 100, 500},
                             {100, 500, 100, 100}, {400, 100, 400, 260}, {400, 340, 400, 500}};
  for (const auto& w : walls) AddEntity(d, new AcDbLine({w[0], w[1], 0}, {w[2], w[3], 0}), L"WALL");

  // A door leaf 80 wide with its swing, numbered and sized by attributes.
  auto* number = new AcDbAttributeDefinition({10, 10, 0}, L"D1", L"NO", L"Door number");
  number->setHeight(10);
  auto* width = new AcDbAttributeDefinition({10, -15, 0}, L"800", L"WIDTH", L"Door width");
  width->setHeight(8);
  width->setInvisible(true);
  AddBlock(d, L"DOOR", {new AcDbLine({0, 0, 0}, {0, 80, 0}), new AcDbArc({0, 0, 0}, 80, 0, kHalfPi), number, width});
  AddBlockReference(d, L"DOOR", {200, 100, 0}, 0, {{L"NO", L"D1"}, {L"WIDTH", L"800"}}, L"DOOR");
  AddBlockReference(d, L"DOOR", {400, 260, 0}, kHalfPi, {{L"NO", L"D2"}, {L"WIDTH", L"800"}}, L"DOOR");

  auto* living = new AcDbText({150, 300, 0}, L"LIVING ROOM", AcDbObjectId::kNull, 20);
  AddEntity(d, living, L"TEXT");
  AddEntity(d, new AcDbText({480, 300, 0}, L"BEDROOM", AcDbObjectId::kNull, 20), L"TEXT");

  // A bed with a rounded head: a closed polyline with one semicircular segment.
  auto* bed = new AcDbPolyline;
  bed->addVertexAt(0, {500, 380});
  bed->addVertexAt(1, {620, 380}, 1.0);
  bed->addVertexAt(2, {620, 440});
  bed->addVertexAt(3, {500, 440});
  bed->setClosed(true);
  AddEntity(d, bed, L"FURNITURE");
  AddEntity(d, new AcDbCircle({250, 400, 0}, AcGeVector3d::kZAxis, 40), L"FURNITURE");

  DxfGroup extmin, extmax;
  extmin.kind = extmax.kind = RbValue::Point;
  extmin.point[0] = extmin.point[1] = 100;
  extmax.point[0] = 700, extmax.point[1] = 500;
  DbAccess::Header(d) = {{L"$EXTMIN", extmin}, {L"$EXTMAX", extmax}};
  return db;
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
