// Just enough of the host's ADS entity functions, behaving as the host's do, for the module to
// read entity data by entity name, walk the drawing and delete entities.
#include <acedads.h>
#include <dbents.h>
#include <dbpl.h>

#include "standin/host/drawing/dbaccess.h"

using standin::DbAccess;
using standin::DrawingMutex;

namespace {

AcDbObject* Named(const ads_name name) {
  if (!name || name[1] != 0) return nullptr;
  return DbAccess::Resolve(name[0]);
}

void SetName(ads_name out, Adesk::IntPtr id) {
  out[0] = id;
  out[1] = 0;
}

// The first entity at or after position i of the drawing's order that is not erased.
int FirstFrom(const AcDbDatabase* db, size_t i, ads_name result) {
  const std::vector<Adesk::IntPtr>& order = DbAccess::Order(db);
  for (; i < order.size(); ++i) {
    const AcDbObject* obj = DbAccess::Resolve(order[i]);
    if (obj && !obj->isErased()) {
      SetName(result, order[i]);
      return RTNORM;
    }
  }
  return RTERROR;
}

// What follows sub-entity index at (-1: the main entity itself) of main.
int NextAfter(const AcDbEntity* main, long at, ads_name result) {
  const AcDbDatabase* db = main->database();
  if (!main->isErased()) {
    const std::vector<AcDbObjectId> subs = DbAccess::SubEntities(main);
    for (size_t i = static_cast<size_t>(at + 1); i < subs.size(); ++i)
      if (!subs[i].isErased()) {
        SetName(result, subs[i].asOldId());
        return RTNORM;
      }
  }
  const long index = DbAccess::OrderIndex(db, DbAccess::Id(main));
  return index < 0 ? RTERROR : FirstFrom(db, static_cast<size_t>(index + 1), result);
}

}  // namespace

struct resbuf* acdbEntGet(const ads_name ent) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  AcDbObject* obj = Named(ent);
  if (!obj || obj->isErased() || obj->isWriteEnabled()) return nullptr;
  standin::DxfOut out;
  out.Name(-1, obj->objectId());
  const ACHAR* type = obj->isA()->dxfName();
  out.Text(0, type ? type : L"");
  if (!obj->ownerId().isNull()) out.Name(330, obj->ownerId());
  ACHAR handle[17];
  obj->objectId().handle().getIntoAsciiBuffer(handle);
  out.Text(5, handle);
  DbAccess::DxfOutFields(obj, out);
  return out.ToResbuf();
}

int acdbEntNext(const ads_name ent, ads_name result) {
  if (!result) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!ent) return FirstFrom(standin::WorkingDrawing(), 0, result);
  const AcDbEntity* entity = AcDbEntity::cast(Named(ent));
  if (!entity) return RTERROR;
  const AcDbObject* owner = DbAccess::Resolve(entity->ownerId());
  if (const auto* main = AcDbEntity::cast(owner)) {
    const std::vector<AcDbObjectId> subs = DbAccess::SubEntities(main);
    for (size_t i = 0; i < subs.size(); ++i)
      if (subs[i] == entity->objectId()) return NextAfter(main, static_cast<long>(i), result);
    return RTERROR;
  }
  const auto* record = AcDbBlockTableRecord::cast(owner);
  if (record && !record->isLayout()) {
    // Within a block definition the walk stays in the definition.
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    bool found = false;
    int rc = RTERROR;
    for (; !it->done(); it->step()) {
      AcDbObjectId id;
      it->getEntityId(id);
      if (found) {
        SetName(result, id.asOldId());
        rc = RTNORM;
        break;
      }
      found = id == entity->objectId();
    }
    delete it;
    return rc;
  }
  return NextAfter(entity, -1, result);
}

int acdbEntLast(ads_name result) {
  if (!result) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const std::vector<Adesk::IntPtr>& order = DbAccess::Order(standin::WorkingDrawing());
  for (size_t i = order.size(); i-- > 0;) {
    const AcDbObject* obj = DbAccess::Resolve(order[i]);
    if (obj && !obj->isErased()) {
      SetName(result, order[i]);
      return RTNORM;
    }
  }
  return RTERROR;
}

int acdbEntDel(const ads_name ent) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const AcDbEntity* entity = AcDbEntity::cast(Named(ent));
  if (!entity || DbAccess::OrderIndex(entity->database(), DbAccess::Id(entity)) < 0) return RTERROR;
  AcDbEntity* open = nullptr;
  if (acdbOpenAcDbEntity(open, entity->objectId(), AcDb::kForWrite, true) != Acad::eOk) return RTERROR;
  const Acad::ErrorStatus es = open->erase(!open->isErased());
  open->close();
  return es == Acad::eOk ? RTNORM : RTERROR;
}

int acdbHandEnt(const ACHAR* handle, ads_name entres) {
  if (!handle || !entres) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const AcDbHandle h(handle);
  AcDbObjectId id;
  if (h.isNull() || standin::WorkingDrawing()->getAcDbObjectId(id, false, h) != Acad::eOk) return RTERROR;
  SetName(entres, id.asOldId());
  return RTNORM;
}
