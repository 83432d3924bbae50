// The host's MOVE, ROTATE and MIRROR commands on the drawing's entities. Their points are user
// coordinates; points given as values pass the running object snaps (OSMODE) as clicks do,
// which is why callers turn the snaps off around them. At a pause the user answers, dragging
// the image of the objects where the host drags it.
#include <acedads.h>
#include <acutads.h>
#include <dbents.h>

#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "standin/host/commands/command_input.h"
#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/input.h"
#include "standin/host/interaction/sets.h"
#include "standin/host/view/display.h"
#include "standin/host/view/hittest.h"
#include "standin/host/view/views.h"

namespace standin {

namespace {

constexpr double kHalfTurnDegrees = 180, kHalfTurn = 3.14159265358979323846;

// "Select objects:" takes sets (RTPICKS) and entity names (RTENAME) until Enter; of what they
// name, only the current space's entities count, and those on locked layers are left out as
// the host leaves them.
int SelectObjects(CommandInput& input, std::vector<Adesk::IntPtr>& chosen) {
  Members members;
  for (;;) {
    input.Echo(L"\nSelect objects: ");
    if (input.Done()) return input.RunOut();
    const CommandValue& value = input.Next();
    if (value.IsEnter()) break;
    std::vector<Adesk::IntPtr> named;
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (value.type == RTPICKS) {
      if (const Members* set = FindSet(value.name)) named = set->Ids();
    } else if (value.type == RTENAME) {
      named.push_back(value.name[0]);
    } else {
      if (value.IsPause()) std::fputs("stand-in host: a pause at \"Select objects\" is not carried out\n", stderr);
      input.Echo(value.Text() +
                 L"\n*Invalid selection*\nExpects a point or Window/Last/Crossing/BOX/ALL/Fence/"
                 L"WPolygon/CPolygon/Group/Add/Remove/Multiple/Previous/Undo/AUto/SIngle");
      continue;
    }
    size_t found = 0, locked = 0;
    for (Adesk::IntPtr id : named) {
      const AcDbEntity* ent = AcDbEntity::cast(DbAccess::Resolve(id));
      if (!ent || ent->isErased() || !InCurrentSpace(ent)) continue;
      ++found;
      if (OnLockedLayer(ent))
        ++locked;
      else
        members.Add(id);
    }
    input.Echo(std::to_wstring(found) + L" found");
    if (locked)
      input.Echo(L"\n" + std::to_wstring(locked) + (locked == 1 ? L" was" : L" were") + L" on a locked layer.");
  }
  chosen = members.Ids();
  return RTNORM;
}

// The host's set of the chosen objects for a drag at a pause; freed with the scope.
class TempSet {
 public:
  explicit TempSet(const std::vector<Adesk::IntPtr>& ids) : m_made(MakeSet(ids, m_name)) {}
  ~TempSet() {
    if (m_made) acedSSFree(m_name);
  }
  TempSet(const TempSet&) = delete;
  TempSet& operator=(const TempSet&) = delete;
  bool Made() const { return m_made; }
  const ads_name& Name() const { return m_name; }

 private:
  ads_name m_name = {0, 0};
  bool m_made;
};

// What a pause drags: the objects moved from the base point to the cursor, or turned about it.
struct DragAround {
  double base[3] = {0, 0, 0};
  bool turn = false;
};
thread_local DragAround g_drag;

// The world matrix of a transform given in user coordinates.
AcGeMatrix3d InWorld(const AcGeMatrix3d& ucs) {
  // An affine map is fixed by where it takes the origin and the three unit points.
  double image[4][3];
  for (int i = 0; i < 4; ++i) {
    double world[3] = {0, 0, 0}, u[3], moved[3];
    if (i > 0) world[i - 1] = 1;
    Transform(world, 0, 1, false, u);
    for (int r = 0; r < 3; ++r) moved[r] = ucs(r, 0) * u[0] + ucs(r, 1) * u[1] + ucs(r, 2) * u[2] + ucs(r, 3);
    Transform(moved, 1, 0, false, image[i]);
  }
  AcGeMatrix3d m;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m(r, c) = image[c + 1][r] - image[0][r];
    m(r, 3) = image[0][r];
  }
  return m;
}

AcGeMatrix3d Turn(const double base[3], double angle) {
  AcGeMatrix3d m;
  return InWorld(m.setToRotation(angle, AcGeVector3d::kZAxis, AcGePoint3d(base[0], base[1], base[2])));
}

int DragSample(ads_point pt, ads_matrix mt) {
  const DragAround& d = g_drag;
  AcGeMatrix3d m;
  if (d.turn) {
    m = Turn(d.base, acutAngle(d.base, pt));
  } else {
    double from[3], to[3];
    Transform(d.base, 1, 0, false, from);
    Transform(pt, 1, 0, false, to);
    m = Translation(AcGeVector3d(to[0] - from[0], to[1] - from[1], to[2] - from[2]));
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) mt[r][c] = m(r, c);
  return RTNORM;
}

// A point answering prompt: a point value (the running snaps applied), typed coordinates, or at
// a pause the user's (the objects dragged from base when drag is given). RTNONE for Enter.
int PointAnswer(CommandInput& input, const wchar_t* prompt, const double* base, double out[3],
                const TempSet* drag = nullptr) {
  for (input.Echo(prompt); !input.Done();) {
    const CommandValue& value = input.Next();
    if (value.IsPause()) {
      if (drag && drag->Made() && base) {
        g_drag = DragAround{{base[0], base[1], base[2]}, false};
        return acedDragGen(drag->Name(), input.PausePrompt(prompt), 0, &DragSample, out);
      }
      return acedGetPoint(base, input.PausePrompt(prompt), out);
    }
    input.Echo(value.Text());
    if (value.IsEnter()) return RTNONE;
    if (ResbufValueKind(value.type) == RbValue::Point) {
      for (int i = 0; i < 3; ++i) out[i] = value.point[i];
      SnapClick(InputOptions(), out);
      return RTNORM;
    }
    if (value.type == RTSTR && TypedPoint(Trim(value.text), base, out)) return RTNORM;
    input.Echo(L"\nInvalid point.");
    input.Echo(prompt);
  }
  return input.RunOut();
}

// A point the command cannot do without: Enter asks again, as the host does.
int RequiredPoint(CommandInput& input, const wchar_t* prompt, const double* base, double out[3]) {
  int rc;
  do {
    rc = PointAnswer(input, prompt, base, out);
  } while (rc == RTNONE);
  return rc;
}

// The rotation angle (radians): a number of degrees (counter-clockwise unless ANGDIR is 1), a
// point whose direction from the base gives it, or at a pause the user's, the objects turning
// with the cursor. Enter takes the default, 0.
int AngleAnswer(CommandInput& input, const wchar_t* prompt, const double base[3], const TempSet& drag, double& angle) {
  const double sense = SysVarInt(L"ANGDIR", 0) == 1 ? -1 : 1;
  for (input.Echo(prompt); !input.Done();) {
    const CommandValue& value = input.Next();
    double degrees = 0;
    if (value.IsPause()) {
      if (!drag.Made()) return RTERROR;
      g_drag = DragAround{{base[0], base[1], base[2]}, true};
      for (;;) {
        ads_point pt;
        acedInitGet(RSG_OTHER, L"Copy Reference");
        const int rc = acedDragGen(drag.Name(), input.PausePrompt(prompt), 0, &DragSample, pt);
        if (rc == RTNORM) {
          angle = acutAngle(base, pt);
          return RTNORM;
        }
        if (rc == RTNONE) {
          angle = 0;
          return RTNORM;
        }
        ACHAR typed[132];
        if (rc == RTSTR && acedGetInput(typed) == RTNORM && ParseReal(typed, degrees)) {
          angle = sense * degrees * kHalfTurn / kHalfTurnDegrees;
          return RTNORM;
        }
        if (rc == RTKWORD) {
          std::fputs("stand-in host: ROTATE's Copy and Reference options are not carried out\n", stderr);
          return RTERROR;
        }
        if (rc != RTSTR) return rc;
        RefuseInput(L"Requires valid numeric angle or second point.", prompt);
      }
    }
    input.Echo(value.Text());
    if (value.IsEnter()) {
      angle = 0;
      return RTNORM;
    }
    const RbValue kind = ResbufValueKind(value.type);
    if (kind == RbValue::Real || kind == RbValue::Short || kind == RbValue::Long ||
        (value.type == RTSTR && ParseReal(value.text, degrees))) {
      if (kind == RbValue::Real) degrees = value.real;
      if (kind == RbValue::Short || kind == RbValue::Long) degrees = static_cast<double>(value.integer);
      angle = sense * degrees * kHalfTurn / kHalfTurnDegrees;
      return RTNORM;
    }
    if (kind == RbValue::Point) {
      angle = acutAngle(base, value.point);
      return RTNORM;
    }
    input.Echo(L"\nRequires valid numeric angle or second point.");
    input.Echo(prompt);
  }
  return input.RunOut();
}

// Transforms the objects one by one, as the command does: one that cannot be opened for write is
// left where it is (said on standard error), the others are moved.
void Apply(const std::vector<Adesk::IntPtr>& ids, const AcGeMatrix3d& m, const wchar_t* command) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  size_t left = 0;
  for (Adesk::IntPtr id : ids) {
    const AcDbEntity* peek = AcDbEntity::cast(DbAccess::Resolve(id));
    AcDbEntity* ent = nullptr;
    if (!peek || peek->isErased() || acdbOpenAcDbEntity(ent, peek->objectId(), AcDb::kForWrite) != Acad::eOk) {
      ++left;
      continue;
    }
    if (CheckTransform(*ent, m) == Acad::eOk) {
      ent->transformBy(m);
      ShowChanged(id);
    } else {
      ++left;
    }
    ent->close();
  }
  if (left)
    std::fprintf(stderr, "stand-in host: %ls left %zu object(s) it could not open or transform where they were\n",
                 command, left);
}

}  // namespace

int MoveCommand(CommandInput& input) {
  std::vector<Adesk::IntPtr> ids;
  if (const int rc = SelectObjects(input, ids); rc != RTNORM || ids.empty()) return rc;
  const TempSet drag(ids);
  double base[3] = {0, 0, 0}, second[3];
  int rc = PointAnswer(input, L"\nSpecify base point or [Displacement] <Displacement>: ", nullptr, base);
  double displacement[3];
  if (rc == RTNONE) {
    rc = PointAnswer(input, L"\nSpecify displacement <0.0000, 0.0000, 0.0000>: ", nullptr, displacement);
    if (rc == RTNONE) displacement[0] = displacement[1] = displacement[2] = 0, rc = RTNORM;
    if (rc != RTNORM) return rc;
  } else {
    if (rc != RTNORM) return rc;
    rc = PointAnswer(input, L"\nSpecify second point or <use first point as displacement>: ", base, second, &drag);
    if (rc == RTNONE) {
      for (int i = 0; i < 3; ++i) displacement[i] = base[i];
    } else if (rc == RTNORM) {
      for (int i = 0; i < 3; ++i) displacement[i] = second[i] - base[i];
    } else {
      return rc;
    }
  }
  double world[3];
  Transform(displacement, 1, 0, true, world);
  Apply(ids, Translation(AcGeVector3d(world[0], world[1], world[2])), L"MOVE");
  return RTNORM;
}

int RotateCommand(CommandInput& input) {
  wchar_t current[128];
  std::swprintf(current, 128, L"\nCurrent positive angle in UCS:  ANGDIR=%ls  ANGBASE=%g",
                SysVarInt(L"ANGDIR", 0) == 1 ? L"clockwise" : L"counterclockwise",
                SysVarReal(L"ANGBASE", 0) * kHalfTurnDegrees / kHalfTurn);
  input.Echo(current);
  std::vector<Adesk::IntPtr> ids;
  if (const int rc = SelectObjects(input, ids); rc != RTNORM || ids.empty()) return rc;
  const TempSet drag(ids);
  double base[3], angle = 0;
  int rc = RequiredPoint(input, L"\nSpecify base point: ", nullptr, base);
  if (rc != RTNORM) return rc;
  rc = AngleAnswer(input, L"\nSpecify rotation angle or [Copy/Reference] <0>: ", base, drag, angle);
  if (rc != RTNORM) return rc;
  Apply(ids, Turn(base, angle), L"ROTATE");
  return RTNORM;
}

// Erasing the source mirrors the objects themselves: the drawing then shows what the host's copy
// and erase leaves, under the old handles. Keeping the source needs copies, which the stand-in
// does not make.
int MirrorCommand(CommandInput& input) {
  std::vector<Adesk::IntPtr> ids;
  if (const int rc = SelectObjects(input, ids); rc != RTNORM || ids.empty()) return rc;
  double first[3], second[3];
  int rc = RequiredPoint(input, L"\nSpecify first point of mirror line: ", nullptr, first);
  if (rc != RTNORM) return rc;
  for (;;) {  // a second point on the first is asked again
    rc = RequiredPoint(input, L"\nSpecify second point of mirror line: ", first, second);
    if (rc != RTNORM) return rc;
    if (std::hypot(second[0] - first[0], second[1] - first[1]) > 0) break;
    input.Echo(L"\nInvalid point.");
  }
  std::wstring erase;
  if (!input.Choose(L"\nErase source objects? [Yes/No] <N>: ", L"Yes No", L"No", erase)) return RTCAN;
  if (erase != L"Yes") {
    std::fputs("stand-in host: MIRROR keeps the source objects only by copying them, which the stand-in cannot\n",
               stderr);
    return RTERROR;
  }
  // The reflection in the line, in the user's XY plane: 2 u u^T - I about the first point.
  const double dx = second[0] - first[0], dy = second[1] - first[1], len = std::hypot(dx, dy);
  const double ux = dx / len, uy = dy / len;
  AcGeMatrix3d ucs;
  ucs(0, 0) = 2 * ux * ux - 1, ucs(0, 1) = 2 * ux * uy;
  ucs(1, 0) = 2 * ux * uy, ucs(1, 1) = 2 * uy * uy - 1;
  ucs(0, 3) = first[0] - (ucs(0, 0) * first[0] + ucs(0, 1) * first[1]);
  ucs(1, 3) = first[1] - (ucs(1, 0) * first[0] + ucs(1, 1) * first[1]);
  Apply(ids, InWorld(ucs), L"MIRROR");
  return RTNORM;
}

}  // namespace standin
