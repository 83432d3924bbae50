// Just enough of the host's drag of a selection set, behaving as the host's does: the image of
// the set follows the matrix the caller's sampler makes from each cursor position, and the input
// that ends the drag is reported as the other input calls report it.
#include <acedads.h>
#include <dbents.h>

#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"
#include "standin/host/interaction/input.h"
#include "standin/host/interaction/sets.h"
#include "standin/host/view/overlay.h"

namespace {

using standin::InputKind;
using standin::Session;

using Sampler = int (*)(ads_point, ads_matrix);

// The set's image: what its entities look like, moved by each sample's matrix.
class Image {
 public:
  // False for a name that names no set. Erased members have no image.
  bool Take(const ads_name ss) {
    std::lock_guard<std::recursive_mutex> lock(standin::DrawingMutex());
    const standin::Members* set = standin::FindSet(ss);
    if (!set) return false;
    standin::DragImage image;
    for (Adesk::IntPtr id : *set) {
      const AcDbEntity* ent = AcDbEntity::cast(standin::DbAccess::Resolve(id));
      if (!ent || ent->isErased()) continue;
      image.entities.push_back(id);
      standin::Shape shape;
      standin::DbAccess::ShapeOf(ent, shape);
      m_shape.Append(shape);
    }
    m_count = image.entities.size();
    standin::SetDragImage(std::move(image));
    return true;
  }
  ~Image() { standin::ClearDragImage(); }

  // Calls the sampler at the cursor (user coordinates); RTERROR from it ends the drag, RTNONE
  // keeps the image where it is (the documented meanings; the host's own code was not seen).
  bool Sample(Sampler scnf, const double cursor[3]) {
    ads_point pt = {cursor[0], cursor[1], cursor[2]};
    ads_matrix mt;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) mt[r][c] = r == c ? 1 : 0;
    const int rc = scnf(pt, mt);
    if (rc == RTERROR) return false;
    if (rc != RTNORM) return true;
    standin::MoveDragImage(mt);
    std::vector<double> values(&mt[0][0], &mt[0][0] + 16);
    // Where the image now lies, as the user sees it.
    AcGeMatrix3d m;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m(r, c) = mt[r][c];
    standin::Shape moved = m_shape;
    moved.TransformBy(m);
    AcDbExtents ext;
    if (moved.Extents(ext))
      values.insert(values.end(), {ext.minPoint().x, ext.minPoint().y, ext.maxPoint().x, ext.maxPoint().y});
    Session::Get().Record(standin::JournalKind::Drag, std::to_wstring(m_count), std::move(values));
    return true;
  }

 private:
  standin::Shape m_shape;
  size_t m_count = 0;
};

}  // namespace

int acedDragGen(const ads_name ss, const ACHAR* pmt, int cursor, Sampler scnf, ads_point p) {
  const standin::InputOptions options = standin::TakeInputOptions();
  if (!ss || !scnf || !p || cursor < 0 || cursor > 2) return RTERROR;
  Image image;
  if (!image.Take(ss)) return RTERROR;
  const wchar_t* unusable = options.keywords.empty() ? standin::kInvalidPoint : standin::kPointOrKeyword;
  if (pmt) Session::Get().Print(pmt);
  for (;;) {
    const standin::InputEvent input = standin::NextTypedInput();
    const wchar_t* refusal = unusable;
    switch (input.kind) {
      case InputKind::Cursor:
        if (!image.Sample(scnf, input.point)) return RTERROR;
        continue;
      case InputKind::Point:
      case InputKind::Pick: {
        // The cursor is where the click is: the image follows it there first.
        if (!image.Sample(scnf, input.point)) return RTERROR;
        double at[3] = {input.point[0], input.point[1], input.point[2]};
        if (input.kind == InputKind::Point) standin::SnapClick(options, at);
        p[0] = at[0], p[1] = at[1], p[2] = at[2];
        return RTNORM;
      }
      case InputKind::Text: {
        const std::wstring typed = standin::Trim(input.text);
        double at[3];
        if (standin::TypedPoint(typed, nullptr, at)) {
          p[0] = at[0], p[1] = at[1], p[2] = at[2];
          return RTNORM;
        }
        std::wstring keyword;
        const standin::KeywordMatch match = standin::MatchKeyword(options, typed, keyword);
        if (match == standin::KeywordMatch::Found) {
          standin::SetLastInput(keyword);
          return RTKWORD;
        }
        if (match == standin::KeywordMatch::None && (options.flags & RSG_OTHER)) {
          standin::SetLastInput(typed);
          return RTSTR;
        }
        if (match == standin::KeywordMatch::Ambiguous) refusal = standin::kAmbiguous;
        break;
      }
      case InputKind::Enter:
        if (!(options.flags & RSG_NONULL)) return RTNONE;
        break;
      case InputKind::Esc:
        standin::PrintCancel();
        return RTCAN;
      case InputKind::Zoom:  // carried out by the view before it gets here
        continue;
      case InputKind::Window:
      case InputKind::Crossing:
        break;
    }
    standin::RefuseInput(refusal, pmt);
  }
}
