// The host's "Select objects" dialogue and the selection the user makes at the command prompt
// before a command (the pickfirst set).
#include "standin/host/interaction/select_dialog.h"

#include <acutads.h>
#include <adscodes.h>
#include <dbdict.h>
#include <dbgroup.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/selection.h"
#include "standin/host/interaction/sets.h"
#include "standin/host/view/display.h"
#include "standin/host/view/hittest.h"

namespace standin {

namespace {

const wchar_t kInvalidSelection[] =
    L"\n*Invalid selection*\nExpects a point or\n"
    L"Window/Last/Crossing/BOX/ALL/Fence/WPolygon/CPolygon/Group/Add/Remove/Multiple/Previous/Undo/AUto/SIngle/"
    L"SUbobject/Object";

enum class PointRead { Point, Cancel, Other };

// A point for a prompt of the selection (a window's corner); typed relative input starts from base
// (the first corner for the opposite one), or from LASTPOINT when base is NULL.
PointRead ReadPoint(const wchar_t* prompt, const double* base, double* p) {
  Session::Get().Print(prompt);
  const InputEvent e = NextMeaningfulInput();
  switch (e.kind) {
    case InputKind::Point:
    case InputKind::Pick:
      std::copy(e.point, e.point + 3, p);
      return PointRead::Point;
    case InputKind::Text:
      return TypedPoint(Trim(e.text), base, p) ? PointRead::Point : PointRead::Other;
    case InputKind::Esc:
      Session::Get().Print(L"*Cancel*");
      return PointRead::Cancel;
    default:
      return PointRead::Other;
  }
}

// With group selection on (PICKSTYLE 1 or 3), the picked entities and every member the screen
// shows of the selectable groups they belong to; otherwise the picked ones. Windows take only
// what they find (chosen: the host's group rule is described for picks).
std::vector<Adesk::IntPtr> WithGroups(std::vector<Adesk::IntPtr> picked, bool skipLocked) {
  if (!(SysVarInt(L"PICKSTYLE", 1) & 1) || picked.empty()) return picked;
  const auto* groups = Peek<AcDbDictionary>(WorkingDrawing()->groupDictionaryId());
  if (!groups) return picked;
  Members out(picked);
  std::unique_ptr<AcDbDictionaryIterator> it(groups->newIterator());
  for (; !it->done(); it->next()) {
    const auto* group = Peek<AcDbGroup>(it->objectId());
    if (!group || !group->isSelectable()) continue;
    const bool holds = std::any_of(picked.begin(), picked.end(), [group](Adesk::IntPtr id) {
      return group->has(AcDbEntity::cast(DbAccess::Resolve(id)));
    });
    if (!holds) continue;
    AcDbObjectIdArray members;
    group->allEntityIds(members);
    for (int i = 0; i < members.length(); ++i)
      if (const Adesk::IntPtr id = PickableEntity(members[i].asOldId(), skipLocked)) out.Add(id);
  }
  return out.Ids();
}

class Interaction {
 public:
  Interaction(const SelectionMode& mode, const Filter& filter, const ACHAR* selectPrompt, const ACHAR* removePrompt,
              std::vector<Keyword> keywords)
      : m_mode(mode),
        m_filter(filter),
        m_select(selectPrompt),
        m_remove(removePrompt),
        m_keywords(std::move(keywords)) {}

  // RTNORM with the chosen entities, RTCAN, or RTERROR when nothing was chosen.
  int Run(std::vector<Adesk::IntPtr>& chosen);

 private:
  void Prompt() const {
    const ACHAR* text = m_removing ? (m_mode.prompts ? m_remove : L"\nRemove objects: ")
                                   : (m_mode.prompts ? m_select : L"\nSelect objects: ");
    if (text) Session::Get().Print(text);
  }
  // Adds (or removes) what one selection found and says so as the host does.
  void Take(const std::vector<Adesk::IntPtr>& found);
  // A click: the entity under the pick box, else a window opened at p.
  int Click(const double* p, std::vector<Adesk::IntPtr>& found);
  int TypedWindow(bool crossing, std::vector<Adesk::IntPtr>& found);
  bool TypedKeyword(const std::wstring& typed);

  const SelectionMode& m_mode;
  const Filter& m_filter;
  const ACHAR* m_select;
  const ACHAR* m_remove;
  std::vector<Keyword> m_keywords;
  Members m_chosen;
  std::vector<std::vector<Adesk::IntPtr>> m_added;  // what each selection added, for Undo
  bool m_removing = false;
};

void Interaction::Take(const std::vector<Adesk::IntPtr>& raw) {
  std::vector<Adesk::IntPtr> found;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    found = Filtered(raw, m_filter, m_mode.skipLocked);
  }
  const bool hadSome = !m_chosen.empty();
  std::wstring msg = std::to_wstring(found.size()) + L" found";
  if (m_removing) {
    const size_t removed = m_chosen.Remove(found);
    msg += L", " + std::to_wstring(removed) + L" removed, " + std::to_wstring(m_chosen.size()) + L" total";
  } else {
    std::vector<Adesk::IntPtr> added;
    m_chosen.Reserve(m_chosen.size() + found.size());
    for (Adesk::IntPtr id : found)
      if (m_chosen.Add(id)) added.push_back(id);
    const size_t duplicates = found.size() - added.size();
    if (duplicates) msg += L" (" + std::to_wstring(duplicates) + (duplicates == 1 ? L" duplicate)" : L" duplicates)");
    if (hadSome) msg += L", " + std::to_wstring(m_chosen.size()) + L" total";
    m_added.push_back(added);
  }
  Session::Get().Print(msg);
}

int Interaction::Click(const double* p, std::vector<Adesk::IntPtr>& found) {
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    found = WithGroups(AtPoint(p, m_mode.everything, m_mode.skipLocked), m_mode.skipLocked);
  }
  if (!found.empty()) return RTNORM;
  // A click on nothing opens a window; opened to the left it is a crossing.
  double corner[3];
  switch (ReadPoint(L"Specify opposite corner: ", p, corner)) {
    case PointRead::Cancel:
      return RTCAN;
    case PointRead::Other:
      return RTNONE;
    case PointRead::Point:
      break;
  }
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  found = InBox(p, corner, corner[0] < p[0], m_mode.skipLocked);
  return RTNORM;
}

int Interaction::TypedWindow(bool crossing, std::vector<Adesk::IntPtr>& found) {
  double a[3], b[3];
  PointRead r = ReadPoint(L"\nSpecify first corner: ", nullptr, a);
  if (r == PointRead::Point) r = ReadPoint(L"Specify opposite corner: ", a, b);
  if (r == PointRead::Cancel) return RTCAN;
  if (r == PointRead::Other) return RTNONE;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  found = InBox(a, b, crossing, m_mode.skipLocked);
  return RTNORM;
}

bool Interaction::TypedKeyword(const std::wstring& typed) {
  KeywordCallback callback;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    callback = SelectionKeywordCallback();
  }
  if (!m_mode.keywords || !callback) return false;
  InputOptions options;
  options.keywords = m_keywords;
  std::wstring global;
  if (MatchKeyword(options, typed, global) != KeywordMatch::Found) return false;
  resbuf* result = callback(global.c_str());
  for (resbuf* rb = result; rb; rb = rb->rbnext) {
    if (rb->restype == RTSTR && rb->resval.rstring) {
      Session::Get().Print(rb->resval.rstring);
    } else if (rb->restype == RTENAME) {
      Take({rb->resval.rlname[0]});
    } else if (rb->restype == RTPICKS) {
      std::vector<Adesk::IntPtr> members;
      {
        std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
        if (const auto* set = FindSet(rb->resval.rlname)) members = set->Ids();
      }
      Take(members);
    }
  }
  if (result) acutRelRb(result);
  return true;
}

int Interaction::Run(std::vector<Adesk::IntPtr>& chosen) {
  for (;;) {
    Prompt();
    const InputEvent e = NextMeaningfulInput();
    std::vector<Adesk::IntPtr> found;
    int rc = RTNORM;
    switch (e.kind) {
      case InputKind::Esc:
        Session::Get().Print(L"*Cancel*");
        return RTCAN;
      case InputKind::Enter:
        goto done;
      case InputKind::Cursor:
      case InputKind::Zoom:  // carried out by the view before it gets here
        continue;
      case InputKind::Window:
      case InputKind::Crossing: {
        std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
        found = InBox(e.point, e.corner, e.kind == InputKind::Crossing, m_mode.skipLocked);
        break;
      }
      case InputKind::Pick: {
        const Adesk::IntPtr picked = PickedEntity(e, m_mode.skipLocked);
        // A pick on something that cannot be selected is a click where it was made.
        if (picked) {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          found = WithGroups({picked}, m_mode.skipLocked);
        } else {
          rc = Click(e.point, found);
        }
        break;
      }
      case InputKind::Point:
        rc = Click(e.point, found);
        break;
      case InputKind::Text: {
        const std::wstring typed = Trim(e.text);
        const std::wstring word = Upper(typed);
        double p[3];
        if (typed.empty()) goto done;  // a blank ends the selection as Enter does
        if (TypedKeyword(typed)) continue;
        if (word == L"W" || word == L"WINDOW" || word == L"C" || word == L"CROSSING") {
          rc = TypedWindow(word[0] == L'C', found);
        } else if (word == L"ALL") {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          for (const AcDbEntity* ent : Candidates(true, m_mode.skipLocked)) found.push_back(DbAccess::Id(ent));
        } else if (word == L"L" || word == L"LAST") {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          found = LastEntity(m_mode.skipLocked);
        } else if (word == L"P" || word == L"PREVIOUS") {
          std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
          found = PreviousSelection();
        } else if (word == L"R" || word == L"REMOVE") {
          m_removing = true;
          continue;
        } else if (word == L"A" || word == L"ADD") {
          m_removing = false;
          continue;
        } else if (word == L"U" || word == L"UNDO") {
          if (m_added.empty()) {
            Session::Get().Print(L"All selection has been undone");
          } else {
            m_chosen.Remove(m_added.back());
            m_added.pop_back();
          }
          continue;
        } else if (TypedPoint(typed, nullptr, p)) {
          rc = Click(p, found);
        } else {
          Session::Get().Print(kInvalidSelection);
          continue;
        }
        break;
      }
    }
    if (rc == RTCAN) return RTCAN;
    if (rc != RTNORM) continue;
    const size_t before = m_chosen.size();
    Take(found);
    if (m_mode.single && m_chosen.size() > before) break;
  }
done:
  if (m_chosen.empty()) return RTERROR;
  chosen = m_chosen.Ids();
  return RTNORM;
}

}  // namespace

Adesk::IntPtr PickedEntity(const InputEvent& e, bool skipLocked) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  ads_name name;
  return EntityByHandle(e.text.c_str(), name) ? PickableEntity(name[0], skipLocked) : 0;
}

int RunSelectionDialog(const SelectionMode& mode, const Filter& filter, const ACHAR* selectPrompt,
                       const ACHAR* removePrompt, std::vector<Keyword> keywords, std::vector<Adesk::IntPtr>& chosen) {
  Interaction interaction(mode, filter, selectPrompt, removePrompt, std::move(keywords));
  return interaction.Run(chosen);
}

void SelectAtCommandPrompt(const InputEvent& event) {
  std::vector<Adesk::IntPtr> found;
  double p[3];
  std::copy(event.point, event.point + 3, p);
  bool chosen = false;
  {
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    if (event.kind == InputKind::Window || event.kind == InputKind::Crossing) {
      found = InBox(event.point, event.corner, event.kind == InputKind::Crossing, false);
      chosen = true;
    } else if (const Adesk::IntPtr picked = event.kind == InputKind::Pick ? PickedEntity(event, false) : 0) {
      found = {picked};
      chosen = true;
    } else {
      found = AtPoint(p, false, false);
    }
  }
  if (!chosen && found.empty()) {
    double corner[3];
    if (ReadPoint(L"Specify opposite corner: ", p, corner) != PointRead::Point) {
      ClearPickfirst();
      return;
    }
    std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
    found = InBox(p, corner, corner[0] < p[0], false);
  }
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  Members& pickfirst = Pickfirst();
  for (Adesk::IntPtr id : found)
    if (pickfirst.Add(id)) SetHighlight(id, true);
}

}  // namespace standin
