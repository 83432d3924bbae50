// Just enough of the host's jigs, behaving as the host's do: drag() calls the jig's sampler until
// the user ends the drag, and acquirePoint is where the sampler takes the user's next input, as on
// the host, where the acquisition polls the mouse and the keyboard.
#include <dbjig.h>

#include <acedads.h>
#include <acutads.h>
#include <dbpl.h>

#include <cmath>
#include <cstdarg>
#include <mutex>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/host/interaction/input.h"
#include "standin/host/view/overlay.h"
#include "standin/host/view/views.h"
#include "standin/win32/utf8.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

// What the acquisitions of one sample saw: whether one took input at all, and whether that input
// ends the drag (a click, Enter, Esc, a keyword) rather than moving the cursor.
struct Sample {
  bool acquired = false;
  bool final = false;
};
thread_local Sample* g_sample = nullptr;

void ToWorld(const double ucs[3], AcGePoint3d& world) {
  double w[3];
  standin::Transform(ucs, 1, 0, false, w);
  world.set(w[0], w[1], w[2]);
}

// The entity the jig shows, as the user sees it after an update.
void RecordEntity(const AcDbEntity* ent) {
  if (!ent) return;
  std::wstring text = ent->isA()->dxfName() ? ent->isA()->dxfName() : ent->isA()->name();
  standin::JigImage image;
  if (ACHAR* linetype = ent->linetype()) {
    text += L" ";
    text += linetype;
    const std::wstring name = standin::Upper(linetype);
    image.dashed = name != L"CONTINUOUS" && name != L"BYLAYER" && name != L"BYBLOCK";
    acutDelString(linetype);
  }
  {
    standin::Shape shape;
    std::lock_guard<std::recursive_mutex> lock(standin::DrawingMutex());
    standin::DbAccess::ShapeOf(ent, shape);
    for (const auto& s : shape.segments)
      image.segments.insert(image.segments.end(), {s.first.x, s.first.y, s.second.x, s.second.y});
  }
  standin::SetJigImage(std::move(image));
  std::vector<double> values;
  if (const auto* pline = AcDbPolyline::cast(ent)) {
    if (pline->isClosed()) text += L" closed";
    for (unsigned i = 0; i < pline->numVerts(); ++i) {
      AcGePoint3d p;
      pline->getPointAt(i, p);
      values.insert(values.end(), {p.x, p.y});
    }
  } else {
    standin::Shape shape;
    standin::DbAccess::ShapeOf(ent, shape);
    for (const auto& s : shape.segments) values.insert(values.end(), {s.first.x, s.first.y, s.second.x, s.second.y});
  }
  Session::Get().Record(standin::JournalKind::Jig, std::move(text), std::move(values));
}

}  // namespace

AcEdJig::AcEdJig() = default;
AcEdJig::~AcEdJig() = default;

// The host's defaults, for a jig that does not override them: nothing to sample or show.
AcEdJig::DragStatus AcEdJig::sampler() { return kNoChange; }
Adesk::Boolean AcEdJig::update() { return false; }
AcDbEntity* AcEdJig::entity() const { return nullptr; }
AcDbDimDataPtrArray* AcEdJig::dimData(const double) { return nullptr; }
Acad::ErrorStatus AcEdJig::setDimValue(const AcDbDimData*, const double) { return Acad::eNotImplementedYet; }

AcEdJig::DragStatus AcEdJig::drag() {
  Session::Get().Print(m_prompt);
  // What the jig shows goes with the drag, however it ends.
  struct ClearImage {
    ~ClearImage() { standin::ClearJigImage(); }
  } clearImage;
  bool lastUpdate = true;
  for (;;) {
    Sample sample;
    Sample* outer = g_sample;
    g_sample = &sample;
    const DragStatus status = sampler();
    g_sample = outer;
    // A sampler that acquires nothing could never see the user end the drag.
    if (!sample.acquired) return status;
    if (status == kNormal) {
      lastUpdate = update();
      RecordEntity(entity());
    }
    if (!sample.final) continue;
    if (status == kNormal || status == kNoChange) return lastUpdate ? kNormal : kOther;
    return status;
  }
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& point) {
  Sample scratch;
  Sample& sample = g_sample ? *g_sample : scratch;
  sample.acquired = true;
  for (;;) {
    const InputEvent e = Session::Get().NextInput();
    double ucs[3] = {e.point[0], e.point[1], e.point[2]};
    switch (e.kind) {
      case InputKind::Cursor:
        ToWorld(ucs, point);
        return kNormal;
      case InputKind::Point:
      case InputKind::Pick:
        break;
      case InputKind::Enter:
        if (m_controls & kNullResponseAccepted) {
          sample.final = true;
          return kNull;
        }
        standin::RefuseInput(standin::kInvalidPoint, m_prompt.c_str());
        continue;
      case InputKind::Esc:
        standin::PrintCancel();
        sample.final = true;
        return kCancel;
      case InputKind::Text: {
        Session::Get().Print(e.text);
        const std::wstring typed = standin::Trim(e.text);
        standin::InputOptions options;
        options.keywords = standin::ParseKeywordList(m_keywords.c_str());
        std::wstring global;
        if (standin::MatchKeyword(options, typed, global) == standin::KeywordMatch::Found) {
          for (size_t i = 0; i < options.keywords.size() && i < 9; ++i)
            if (options.keywords[i].global == global) {
              standin::SetLastInput(global);
              sample.final = true;
              return static_cast<DragStatus>(kKW1 + static_cast<int>(i));
            }
        }
        if (typed.empty() && (m_controls & kNullResponseAccepted)) {
          sample.final = true;
          return kNull;
        }
        if (standin::TypedPoint(typed, nullptr, ucs)) break;
        if ((m_controls & kAcceptOtherInputString) && !typed.empty()) {
          standin::SetLastInput(typed);
          sample.final = true;
          return kOther;
        }
        standin::RefuseInput(options.keywords.empty() ? standin::kInvalidPoint : standin::kPointOrKeyword,
                             m_prompt.c_str());
        continue;
      }
      case InputKind::Window:
      case InputKind::Crossing:
      case InputKind::Zoom:
        standin::RefuseInput(standin::kInvalidPoint, m_prompt.c_str());
        continue;
    }
    // A click or typed point ends the drag there.
    sample.final = true;
    ToWorld(ucs, point);
    if (!(m_controls & kDontUpdateLastPoint)) standin::SetSysVarPoint(L"LASTPOINT", ucs);
    return kNormal;
  }
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& point, const AcGePoint3d& basePnt) {
  const DragStatus status = acquirePoint(point);
  if (status != kNormal || !(m_controls & kGovernedByOrthoMode) || standin::SysVarInt(L"ORTHOMODE", 0) == 0)
    return status;
  // Orthogonal mode keeps the larger of the offsets along the snap axes (the first axis on a tie).
  const double angle = standin::SysVarReal(L"SNAPANG", 0);
  const double c = std::cos(angle), s = std::sin(angle);
  const double dx = point.x - basePnt.x, dy = point.y - basePnt.y;
  const double along = dx * c + dy * s, across = -dx * s + dy * c;
  if (std::fabs(along) >= std::fabs(across))
    point.set(basePnt.x + along * c, basePnt.y + along * s, point.z);
  else
    point.set(basePnt.x - across * s, basePnt.y + across * c, point.z);
  return status;
}

const ACHAR* AcEdJig::dispPrompt() { return m_prompt.c_str(); }

void AcEdJig::setDispPrompt(const ACHAR* prompt, ...) {
  if (!prompt) {
    m_prompt.clear();
    return;
  }
  va_list args;
  va_start(args, prompt);
  m_prompt = standin::FormatWideV(prompt, args);
  va_end(args);
}

Acad::ErrorStatus AcEdJig::setKeywordList(const ACHAR* keywords) {
  m_keywords = keywords ? keywords : L"";
  return Acad::eOk;
}

const ACHAR* AcEdJig::keywordList() { return m_keywords.c_str(); }
AcEdJig::UserInputControls AcEdJig::userInputControls() { return m_controls; }
void AcEdJig::setUserInputControls(UserInputControls controls) { m_controls = controls; }
AcEdJig::CursorType AcEdJig::specialCursorType() { return m_cursor; }
void AcEdJig::setSpecialCursorType(CursorType type) { m_cursor = type; }
