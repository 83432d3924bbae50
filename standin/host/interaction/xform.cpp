// Just enough of the host's acedXformSS, behaving as the host's does, for the module to move,
// rotate, scale and mirror the entities of a selection set in one step, or not at all.
#include <acedads.h>
#include <dbents.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"
#include "standin/host/interaction/sets.h"
#include "standin/host/view/display.h"

int acedXformSS(const ads_name ssname, const ads_matrix genmat) {
  using namespace standin;
  if (!genmat) return RTERROR;
  AcGeMatrix3d m;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m(r, c) = genmat[r][c];
  if (!IsUniformScaling(m)) return RTERROR;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const auto* set = FindSet(ssname);
  if (!set) return RTERROR;
  std::vector<AcDbEntity*> opened;
  auto closeAll = [&] {
    for (AcDbEntity* e : opened) e->close();
  };
  for (Adesk::IntPtr id : *set) {
    const AcDbEntity* peek = AcDbEntity::cast(DbAccess::Resolve(id));
    if (!peek || peek->isErased()) continue;
    AcDbEntity* ent = nullptr;
    if (acdbOpenAcDbEntity(ent, peek->objectId(), AcDb::kForWrite) != Acad::eOk) {
      closeAll();
      return RTERROR;
    }
    opened.push_back(ent);
    const Acad::ErrorStatus check = CheckTransform(*ent, m);
    if (check != Acad::eOk) {
      if (check == Acad::eNotApplicable)
        std::fprintf(stderr, "stand-in host: acedXformSS cannot take a %ls out of its plane; the call fails\n",
                     ent->isA()->dxfName());
      closeAll();
      return RTERROR;
    }
  }
  for (AcDbEntity* e : opened) {
    e->transformBy(m);
    ShowChanged(DbAccess::Id(e));
  }
  closeAll();
  return RTNORM;
}
