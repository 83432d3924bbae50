// Just enough of the host's acedEntSel, behaving as the host's does, for the module to have the
// user pick one entity.
#include <acedads.h>

#include <mutex>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/input.h"
#include "standin/host/interaction/select_dialog.h"
#include "standin/host/view/hittest.h"
#include "standin/host/view/views.h"

namespace standin {

namespace {

// The ERRNO values of entity selection.
constexpr int kPickMissed = 7, kNullPick = 52;

int Failed(int errnoValue) {
  SetSysVarInt(L"ERRNO", errnoValue);
  return RTERROR;
}

// The topmost entity the pick box finds at p (user coordinates), or 0.
Adesk::IntPtr EntityAt(const double* p) {
  double world[3];
  Transform(p, 1, 0, false, world);
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const std::vector<Adesk::IntPtr> found = AtPoint(world, false, false);
  return found.empty() ? 0 : found.front();
}

}  // namespace

}  // namespace standin

int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres) {
  using namespace standin;
  const InputOptions options = TakeInputOptions();
  if (!entres || !ptres) return RTERROR;
  Session& session = Session::Get();
  const wchar_t* prompt = str ? str : L"\nSelect object: ";
  // Text that is neither a point nor a keyword gets acedGetPoint's refusal (chosen).
  const wchar_t* unusable = options.keywords.empty() ? kInvalidPoint : kPointOrKeyword;
  session.Print(prompt);
  for (;;) {
    const InputEvent e = NextUserInput();
    double p[3] = {e.point[0], e.point[1], e.point[2]};
    Adesk::IntPtr picked = 0;
    const wchar_t* refusal = unusable;
    switch (e.kind) {
      case InputKind::Cursor:
      case InputKind::Zoom:  // carried out by the view before it gets here
        continue;
      case InputKind::Esc:
        session.Print(L"*Cancel*");
        return RTCAN;
      case InputKind::Enter:
        return Failed(kNullPick);
      case InputKind::Window:
      case InputKind::Crossing:
        RefuseInput(refusal, prompt);
        continue;
      case InputKind::Pick:
        picked = PickedEntity(e, false);
        break;
      case InputKind::Point:
        break;
      case InputKind::Text: {
        session.Print(e.text);
        const std::wstring typed = Trim(e.text);
        if (typed.empty()) return Failed(kNullPick);
        if (TypedPoint(typed, nullptr, p)) break;
        std::wstring keyword;
        const KeywordMatch match = MatchKeyword(options, typed, keyword);
        if (match == KeywordMatch::Found || (match == KeywordMatch::None && (options.flags & RSG_OTHER))) {
          SetLastInput(match == KeywordMatch::Found ? keyword : typed);
          return RTKWORD;
        }
        if (match == KeywordMatch::Ambiguous) refusal = kAmbiguous;
        RefuseInput(refusal, prompt);
        continue;
      }
    }
    // A pick on what cannot be picked is a click where it was made. The host says nothing of a
    // miss; the caller reads ERRNO (chosen, as the host's own callers print their message).
    if (!picked) picked = EntityAt(p);
    if (!picked) return Failed(kPickMissed);
    entres[0] = picked;
    entres[1] = 0;
    ptres[0] = p[0], ptres[1] = p[1], ptres[2] = p[2];
    return RTNORM;
  }
}
