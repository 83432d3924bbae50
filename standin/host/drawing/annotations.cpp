// Just enough of the host's annotations kept as their DXF groups, behaving as the host's do:
// paragraph text (MTEXT) and dimensions, which the host draws through an anonymous block.
#include <acutads.h>
#include <dbdim.h>
#include <dbmtext.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cmath>

#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"

using standin::DbAccess;
using standin::GroupList;

STANDIN_DEFINE_LISTED(AcDbMText, AcDbEntity, L"MTEXT")
STANDIN_DEFINE_LISTED(AcDbDimension, AcDbEntity, L"DIMENSION")

namespace {

// Dimension blocks holding dimensions are drawn this deep.
constexpr int kMaxDimensionDepth = 16;

// The text of a file's MTEXT: the chunks of group 3, then group 1.
std::wstring Contents(const GroupList& data) {
  std::wstring text;
  for (const standin::DxfGroup& g : data.groups)
    if (g.code == 3) text += g.text;
  if (const standin::DxfGroup* last = data.Find(1)) text += last->text;
  return text;
}

}  // namespace

AcGePoint3d AcDbMText::location() const { return m_data->Point(10); }
ACHAR* AcDbMText::contents() const { return standin::NewText(Contents(*m_data)); }
double AcDbMText::textHeight() const { return m_data->Real(40); }
double AcDbMText::width() const { return m_data->Real(41); }

AcDbObjectId AcDbDimension::dimBlockId() const { return m_data->block; }

namespace standin {

void MTextShape(const GroupList& data, Shape& shape) {
  const std::wstring text = Contents(data);
  const double height = data.Real(40);
  if (text.empty() || !(height > 0)) return;
  // Lines end at \P; without a column width, each character of the longest line takes the height.
  size_t lines = 1, longest = 0, run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, L"\\P") == 0) {
      ++lines, longest = std::max(longest, run), run = 0, ++i;
    } else {
      ++run;
    }
  }
  longest = std::max(longest, run);
  const double width = data.Real(41) > 0 ? data.Real(41) : static_cast<double>(longest) * height;
  const double tall = height * (1 + static_cast<double>(lines - 1) * 5 / 3);
  const long attach = std::clamp(data.Int(71, 1), 1L, 9L) - 1;
  const double x0 = -width * static_cast<double>(attach % 3) / 2;
  const double y0 = -tall * static_cast<double>(2 - attach / 3) / 2;
  const AcGeVector3d normal = data.Normal();
  AcGeVector3d ax, ay;
  OcsAxes(normal, ax, ay);
  const double r = data.Real(50);
  AcGeVector3d along = data.Find(11) ? Unit(data.Vector(11)) : ax * std::cos(r) + ay * std::sin(r);
  const AcGeVector3d up = normal.crossProduct(along);
  const AcGePoint3d at = data.Point(10);
  std::vector<AcGePoint3d> box;
  for (const auto& [x, y] : {std::pair{x0, y0}, {x0 + width, y0}, {x0 + width, y0 + tall}, {x0, y0 + tall}})
    box.push_back(at + along * x + up * y);
  AddChain(shape, box, true);
}

void DimensionShape(const GroupList& data, Shape& shape) {
  static thread_local int depth = 0;
  const auto* btr = Peek<AcDbBlockTableRecord>(data.block);
  if (!btr || depth >= kMaxDimensionDepth) return;
  ++depth;
  for (const AcDbObjectId& id : DbAccess::Entities(const_cast<AcDbBlockTableRecord*>(btr))) {
    const auto* ent = Peek<AcDbEntity>(id);
    if (!ent || ent->isErased() || AcDbAttributeDefinition::cast(ent)) continue;
    Shape part;
    DbAccess::ShapeOf(ent, part);
    part.TransformBy(data.placement);
    shape.Append(part);
  }
  --depth;
}

}  // namespace standin
