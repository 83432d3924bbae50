// Just enough of the host's block references, behaving as the host's do: insertions of block
// definitions with their attributes and sequence end, their transforms, DXF data and outlines.
#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>
#include <map>
#include <utility>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::DxfOut;
using standin::KeepsArcs;
using standin::kPi;
using standin::kTwoPi;
using standin::MotionOf;
using standin::Multiply;
using standin::Peek;
using standin::PlaneMotion;
using standin::Shape;
using standin::Translation;
using standin::Unit;

ACRX_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, L"SEQEND")
ACRX_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, L"INSERT")

namespace {

// Applies an owner's transform to one of its sub-entities.
Acad::ErrorStatus TransformSub(AcDbObjectId id, const AcGeMatrix3d& m) {
  auto* sub = AcDbEntity::cast(DbAccess::Resolve(id));
  if (!sub) return Acad::eOk;
  const DbAccess::Borrow borrow = DbAccess::BorrowForWrite(sub);
  if (borrow == DbAccess::Borrow::Denied) return Acad::eWasOpenForRead;
  const Acad::ErrorStatus es = sub->transformBy(m);
  if (borrow == DbAccess::Borrow::Borrowed) DbAccess::Return(sub);
  return es;
}

// Blocks nested deeper than this are not drawn (a block may hold a reference to itself).
constexpr int kMaxBlockDepth = 16;
// Nested parts drawn exactly up to this many pieces, then as transformed extents: windows need all, crossings any.
constexpr size_t kOutlineBudget = 20000;

// The drawing of the outline of one outermost block reference: how deep it is, the transform from
// the coordinates of the reference being drawn to those of the outermost one's owner, what is
// left of its budget, and the extents of the blocks it had to stand in for, by block and depth.
struct Outline {
  int depth = 0;
  AcGeMatrix3d toOuter;
  size_t left = kOutlineBudget;
  std::map<std::pair<Adesk::IntPtr, int>, std::pair<bool, AcDbExtents>> extents;

  // Adds the part through m, or the hull of its extents when it would spend more than is left.
  void Add(Shape& part, const AcGeMatrix3d& m, Shape& shape) {
    if (part.Empty()) return;
    const bool tessellates = !KeepsArcs(m) && part.arcs.size() * standin::kStepsPerTurn > left;
    if (left == 0 || tessellates) {
      // Extents that are not finite stay so, and are never inside a window.
      const double nan = std::numeric_limits<double>::quiet_NaN();
      AcDbExtents ext(AcGePoint3d(nan, nan, nan), AcGePoint3d(nan, nan, nan));
      part.Extents(ext);
      shape.AddHull(ext, m);
      Spend(1);
      return;
    }
    part.TransformBy(m);
    Spend(part.Pieces());
    shape.Append(part);
  }

  void Spend(size_t pieces) { left -= std::min(left, pieces); }
};

thread_local Outline* g_outline = nullptr;

// The outline being drawn, made for the outermost reference and dropped when it is done.
class OutlineScope {
 public:
  OutlineScope() : m_outermost(!g_outline) {
    if (m_outermost) g_outline = &m_own;
  }
  ~OutlineScope() {
    if (m_outermost) g_outline = nullptr;
  }
  OutlineScope(const OutlineScope&) = delete;
  OutlineScope& operator=(const OutlineScope&) = delete;
  Outline& Get() const { return *g_outline; }

 private:
  bool m_outermost;
  Outline m_own;
};

// The visible attributes among a reference's sub-entities, in the coordinates of its owner.
void AttributesShape(const std::vector<AcDbObjectId>& attributes, Shape& shape) {
  for (const AcDbObjectId& id : attributes)
    if (const auto* att = Peek<AcDbAttribute>(id); att && !att->isErased()) DbAccess::ShapeOf(att, shape);
}

// Calls part for each entity of the block and for what stands for its constant attribute
// definitions; variable ones are shown by the references' attributes instead.
template <class Part>
void ForEachPart(const AcDbBlockTableRecord* btr, Part part) {
  AcDbBlockTableRecordIterator* it = nullptr;
  btr->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    const auto* ent = Peek<AcDbEntity>(id);
    if (!ent) continue;
    if (const auto* def = AcDbAttributeDefinition::cast(ent)) {
      if (!def->isConstant() || def->isInvisible()) continue;
      Shape text;
      DbAccess::TextShape(def, text);
      part(nullptr, text);
      continue;
    }
    part(ent, Shape());
  }
  delete it;
}

}  // namespace

namespace standin {

AcDbObjectId DbAccess::AddSequenceEnd(const AcDbEntity* owner) {
  auto* seqend = new AcDbSequenceEnd;
  AcDbObjectId id;
  if (Add(owner->database(), seqend, owner->objectId(), id) != Acad::eOk) {
    delete seqend;
    return AcDbObjectId::kNull;
  }
  seqend->setLayer(owner->layerId(), false);
  seqend->close();
  return id;
}

}  // namespace standin

// --- Block references ---

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) { skipErased(false); }

namespace {

// One place on; stepping back from the first lands past the end, which is done().
void StepOnce(size_t& at, size_t size, bool backwards) {
  if (!backwards)
    ++at;
  else if (at == 0)
    at = size;
  else
    --at;
}

}  // namespace

void AcDbObjectIterator::skipErased(bool backwards) {
  while (!done() && m_ids[m_at].isErased()) StepOnce(m_at, m_ids.size(), backwards);
}

void AcDbObjectIterator::start(bool atEnd) {
  m_at = atEnd && !m_ids.empty() ? m_ids.size() - 1 : 0;
  skipErased(atEnd);
}

void AcDbObjectIterator::step(bool backwards, bool skipErasedObjects) {
  if (done()) return;
  StepOnce(m_at, m_ids.size(), backwards);
  if (skipErasedObjects) skipErased(backwards);
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
  assertWriteEnabled();
  if (!Peek<AcDbBlockTableRecord>(id)) return Acad::eInvalidInput;
  m_block = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_position = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
  assertWriteEnabled();
  if (scale.sx == 0 || scale.sy == 0 || scale.sz == 0) return Acad::eInvalidInput;
  m_scale = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double r) {
  assertWriteEnabled();
  m_rotation = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  AcGePoint3d origin;
  if (const auto* btr = Peek<AcDbBlockTableRecord>(m_block)) origin = btr->origin();
  AcGeVector3d ax, ay;
  standin::OcsAxes(m_normal, ax, ay);
  const AcGeVector3d az = Unit(m_normal);
  const double c = std::cos(m_rotation), s = std::sin(m_rotation);
  // Columns: the block's x, y and z axes in the world, scaled; then the insertion point.
  const AcGeVector3d bx = (ax * c + ay * s) * m_scale.sx;
  const AcGeVector3d by = (ay * c - ax * s) * m_scale.sy;
  const AcGeVector3d bz = az * m_scale.sz;
  AcGeMatrix3d m;
  m(0, 0) = bx.x, m(1, 0) = bx.y, m(2, 0) = bx.z;
  m(0, 1) = by.x, m(1, 1) = by.y, m(2, 1) = by.z;
  m(0, 2) = bz.x, m(1, 2) = bz.y, m(2, 2) = bz.z;
  m(0, 3) = m_position.x, m(1, 3) = m_position.y, m(2, 3) = m_position.z;
  return Multiply(m, Translation(AcGeVector3d(-origin.x, -origin.y, -origin.z)));
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& attId, AcDbAttribute* pAttr) {
  assertWriteEnabled();
  attId.setNull();
  if (!pAttr) return Acad::eNullObjectPointer;
  if (!database()) return Acad::eNotInDatabase;
  if (!pAttr->objectId().isNull()) return Acad::eAlreadyInDb;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  const Acad::ErrorStatus es = DbAccess::Add(database(), pAttr, objectId(), attId);
  if (es != Acad::eOk) return es;
  m_attributes.push_back(attId);
  if (m_seqend.isNull()) m_seqend = DbAccess::AddSequenceEnd(this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* pAttr) {
  AcDbObjectId id;
  return appendAttribute(id, pAttr);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const { return new AcDbObjectIterator(m_attributes); }

std::vector<AcDbObjectId> AcDbBlockReference::standinSubEntities() const {
  std::vector<AcDbObjectId> out = m_attributes;
  if (!m_seqend.isNull()) out.push_back(m_seqend);
  return out;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const AcDbObjectId& id : m_attributes)
    if (auto* att = AcDbEntity::cast(DbAccess::Resolve(id)); att && att->isReadEnabled() && !att->isWriteEnabled())
      return Acad::eWasOpenForRead;
  const PlaneMotion motion = MotionOf(xform);
  m_position.transformBy(xform);
  m_scale.sx *= motion.scale, m_scale.sy *= motion.scale;
  m_scale.sz *= xform(2, 2);
  if (motion.mirrored) {
    // The host keeps a mirrored reference as a turned one with a negative x scale.
    m_rotation = motion.rotation - m_rotation + kPi;
    m_scale.sx = -m_scale.sx;
  } else {
    m_rotation += motion.rotation;
  }
  m_rotation = std::fmod(m_rotation, kTwoPi);
  if (m_rotation < 0) m_rotation += kTwoPi;
  for (const AcDbObjectId& id : m_attributes)
    if ((es = TransformSub(id, xform)) != Acad::eOk) return es;
  return Acad::eOk;
}

namespace {

// The extents of the block as drawn by a reference at that depth; nested blocks by their own
// extents, transformed. False when it draws nothing.
const std::pair<bool, AcDbExtents>& BlockExtents(Outline& outline, const AcDbBlockTableRecord* btr, int depth) {
  const auto key = std::make_pair(DbAccess::Id(btr), depth);
  if (const auto it = outline.extents.find(key); it != outline.extents.end()) return it->second;
  Shape corners;
  if (depth < kMaxBlockDepth)
    ForEachPart(btr, [&](const AcDbEntity* ent, const Shape& text) {
      const auto* ref = AcDbBlockReference::cast(ent);
      const auto* inner = ref ? Peek<AcDbBlockTableRecord>(ref->blockTableRecord()) : nullptr;
      AcDbExtents ext;
      Shape own = text;
      if (ref)
        AttributesShape(DbAccess::SubEntities(ref), own);
      else if (ent)
        DbAccess::ShapeOf(ent, own);
      if (own.Extents(ext)) corners.AddHull(ext, AcGeMatrix3d());
      if (inner) {
        const auto& [any, innerExt] = BlockExtents(outline, inner, depth + 1);
        if (any) corners.AddHull(innerExt, ref->blockTransform());
      }
    });
  std::pair<bool, AcDbExtents> out;
  out.first = corners.Extents(out.second);
  return outline.extents[key] = out;
}

}  // namespace

void AcDbBlockReference::standinShape(Shape& shape) const {
  const OutlineScope scope;
  Outline& outline = scope.Get();
  // Nested references draw straight into the outermost one's shape, through the composed transform.
  const AcGeMatrix3d outer = outline.toOuter;
  const auto* btr = Peek<AcDbBlockTableRecord>(m_block);
  if (btr && outline.depth < kMaxBlockDepth) {
    const AcGeMatrix3d m = Multiply(outer, blockTransform());
    if (outline.left == 0) {
      if (const auto& [any, ext] = BlockExtents(outline, btr, outline.depth); any) shape.AddHull(ext, m);
    } else {
      ++outline.depth;
      outline.toOuter = m;
      ForEachPart(btr, [&](const AcDbEntity* ent, const Shape& text) {
        if (const auto* ref = AcDbBlockReference::cast(ent)) return DbAccess::ShapeOf(ref, shape);
        Shape part = text;
        if (ent) DbAccess::ShapeOf(ent, part);
        outline.Add(part, m, shape);
      });
      outline.toOuter = outer;
      --outline.depth;
    }
  }
  Shape attributes;
  AttributesShape(m_attributes, attributes);
  if (outline.depth == 0)
    shape.Append(attributes);
  else
    outline.Add(attributes, outer, shape);
}

void AcDbBlockReference::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbBlockReference");
  if (!m_attributes.empty()) out.Int(66, 1);
  out.Text(2, standin::NameOfRecord(m_block, L""));
  out.Point(10, standin::WcsToOcs(m_normal, m_position));
  out.Real(41, m_scale.sx);
  out.Real(42, m_scale.sy);
  out.Real(43, m_scale.sz);
  out.Real(50, m_rotation);
  out.Int(70, 0);
  out.Int(71, 0);
  out.Real(44, 0.0);
  out.Real(45, 0.0);
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
}
