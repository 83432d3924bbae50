// Just enough of the host's drawing area, behaving as the host's does, for the module to redraw,
// hide and highlight entities, with each redraw in the session's journal.
#include "standin/host/view/display.h"

#include <acedads.h>
#include <dbents.h>

#include <unordered_map>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/view/overlay.h"
#include "standin/host/view/views.h"
#include "standin/host/view/viewports.h"

namespace standin {

namespace {

std::unordered_map<Adesk::IntPtr, EntityDisplay>& States() {
  static auto* states = new std::unordered_map<Adesk::IntPtr, EntityDisplay>;  // guarded by DrawingMutex
  return *states;
}

const bool g_registered = (AddDrawingClosedHandler([] { States().clear(); }), true);

// The entity a redraw acts on: the main entity of an attribute, vertex or SEQEND.
const AcDbEntity* MainEntity(const ads_name ent) {
  if (!ent || ent[1] != 0) return nullptr;
  const AcDbEntity* entity = AcDbEntity::cast(DbAccess::Resolve(ent[0]));
  if (!entity) return nullptr;
  if (const AcDbEntity* owner = AcDbEntity::cast(DbAccess::Resolve(entity->ownerId()))) return owner;
  return entity;
}

}  // namespace

EntityDisplay DisplayOf(const ads_name ent) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const AcDbEntity* entity = MainEntity(ent);
  if (!entity) return {};
  const auto it = States().find(DbAccess::Id(entity));
  return it == States().end() ? EntityDisplay() : it->second;
}

void SetHighlight(Adesk::IntPtr entity, bool highlighted) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  States()[entity].highlighted = highlighted;
}

void ShowChanged(Adesk::IntPtr entity) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto it = States().find(entity);
  if (it != States().end()) it->second.visible = true;
}

}  // namespace standin

int acedRedraw(const ads_name ent, int mode) {
  using standin::Session;
  const double viewport = standin::CurrentViewport();
  if (!ent) {
    standin::ClearTempVectors(static_cast<int>(viewport));
    Session::Get().Record(standin::JournalKind::Redraw, L"all", {static_cast<double>(mode), viewport});
    return RTNORM;
  }
  if (mode < 1 || mode > 4) return RTERROR;
  std::wstring handle;
  standin::EntityDisplay state;
  {
    std::lock_guard<std::recursive_mutex> lock(standin::DrawingMutex());
    const AcDbEntity* entity = standin::MainEntity(ent);
    if (!entity || entity->isErased()) return RTERROR;
    standin::EntityDisplay& s = standin::States()[standin::DbAccess::Id(entity)];
    if (mode == 1 || mode == 2)
      s.visible = mode == 1;
    else
      s.highlighted = mode == 3;
    state = s;
    ACHAR buf[17];
    entity->objectId().handle().getIntoAsciiBuffer(buf);
    handle = buf;
  }
  Session::Get().Record(
      standin::JournalKind::Redraw, handle,
      {static_cast<double>(mode), viewport, state.visible ? 1.0 : 0.0, state.highlighted ? 1.0 : 0.0});
  return RTNORM;
}

int acedGrDraw(const ads_point from, const ads_point to, int color, int hl) {
  if (!from || !to) return RTERROR;
  standin::TempVector v{};
  standin::Transform(from, 1, 0, false, v.from);
  standin::Transform(to, 1, 0, false, v.to);
  v.colour = color;
  v.highlighted = hl != 0;
  v.viewport = standin::CurrentViewport();
  standin::AddTempVector(v);
  standin::Session::Get().Record(standin::JournalKind::GrDraw, L"",
                                 {from[0], from[1], from[2], to[0], to[1], to[2], static_cast<double>(color),
                                  static_cast<double>(hl)});
  return RTNORM;
}
