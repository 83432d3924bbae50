// Just enough of the host's entity classes, behaving as the host's do, for the module to read,
// create and transform the entities of a drawing, and for the stand-in host to list their DXF
// data, measure them and find them under the cursor.
#include "standin/host/entities.h"

#include <cmath>
#include <cwchar>

#include "standin/host/dbcore.h"
#include "standin/host/shape.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::DxfOut;
using standin::Peek;
using standin::Shape;

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject, nullptr)
ACRX_DEFINE_MEMBERS(AcDbCurve, AcDbEntity, nullptr)
ACRX_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, L"POINT")
ACRX_DEFINE_MEMBERS(AcDbLine, AcDbCurve, L"LINE")
ACRX_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, L"CIRCLE")
ACRX_DEFINE_MEMBERS(AcDbArc, AcDbCircle, L"ARC")
ACRX_DEFINE_MEMBERS(AcDbText, AcDbEntity, L"TEXT")
ACRX_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, L"ATTDEF")
ACRX_DEFINE_MEMBERS(AcDbAttribute, AcDbText, L"ATTRIB")
ACRX_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, L"SEQEND")
ACRX_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, L"INSERT")
ACRX_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")
ACRX_DEFINE_MEMBERS(AcDb2dVertex, AcDbEntity, L"VERTEX")
ACRX_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, L"POLYLINE")

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;

ACHAR* Duplicate(const std::wstring& s) {
  ACHAR* copy = nullptr;
  acutNewString(s.c_str(), copy);
  return copy;
}

std::wstring RecordName(AcDbObjectId id, const wchar_t* fallback) {
  const auto* rec = Peek<AcDbSymbolTableRecord>(id);
  return rec ? rec->standinName() : fallback;
}

// The block table record that finally holds an entity (sub-entities through their owner).
const AcDbBlockTableRecord* HoldingRecord(const AcDbEntity* ent) {
  for (int depth = 0; ent && depth < 4; ++depth) {
    const AcDbObject* owner = DbAccess::Resolve(ent->ownerId());
    if (const auto* btr = AcDbBlockTableRecord::cast(owner)) return btr;
    ent = AcDbEntity::cast(owner);
  }
  return nullptr;
}

AcGeVector3d Unit(const AcGeVector3d& v) {
  const double len = v.length();
  return len > 0 ? v * (1 / len) : AcGeVector3d::kZAxis;
}

// Scale, rotation and mirror of a matrix that is a similarity in XY.
struct PlaneMotion {
  double scale, rotation;
  bool mirrored;
};

PlaneMotion MotionOf(const AcGeMatrix3d& m) {
  return {std::hypot(m(0, 0), m(1, 0)), std::atan2(m(1, 0), m(0, 0)), m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0) < 0};
}

bool SimilarInXY(const AcGeMatrix3d& m) {
  const double a = m(0, 0), b = m(0, 1), c = m(1, 0), d = m(1, 1);
  const double s = std::hypot(a, c), tol = 1e-9 * s;
  return s > 0 &&
         ((std::fabs(a - d) <= tol && std::fabs(b + c) <= tol) || (std::fabs(a + d) <= tol && std::fabs(b - c) <= tol));
}

AcGeMatrix3d Translation(const AcGeVector3d& v) {
  AcGeMatrix3d m;
  m(0, 3) = v.x, m(1, 3) = v.y, m(2, 3) = v.z;
  return m;
}

AcGeMatrix3d Multiply(const AcGeMatrix3d& a, const AcGeMatrix3d& b) {
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a(r, k) * b(k, c);
      out(r, c) = sum;
    }
  return out;
}

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

thread_local int g_blockDepth = 0;

}  // namespace

namespace standin {

Acad::ErrorStatus CheckTransform(const AcDbEntity& entity, const AcGeMatrix3d& xform) {
  if (AcDbLine::cast(&entity) || AcDbPoint::cast(&entity)) return Acad::eOk;
  AcGeVector3d normal = AcGeVector3d::kZAxis;
  bool needSimilar = true;
  if (const auto* c = AcDbCircle::cast(&entity))
    normal = c->normal();
  else if (const auto* t = AcDbText::cast(&entity))
    normal = t->normal();
  else if (const auto* r = AcDbBlockReference::cast(&entity))
    normal = r->normal();
  else if (const auto* p = AcDbPolyline::cast(&entity)) {
    normal = p->normal();
    needSimilar = false;
    for (unsigned i = 0; i < p->numVerts(); ++i) {
      double b = 0;
      p->getBulgeAt(i, b);
      if (b != 0) needSimilar = true;
    }
  } else if (const auto* p2 = AcDb2dPolyline::cast(&entity)) {
    normal = p2->normal();
  }
  if (!IsWorldZ(normal) || !KeepsXYPlane(xform)) return Acad::eNotApplicable;
  if (needSimilar && !SimilarInXY(xform)) return Acad::eCannotScaleNonUniformly;
  return Acad::eOk;
}

}  // namespace standin

// --- AcDbEntity ---

AcDbObjectId AcDbEntity::blockId() const { return ownerId(); }

AcCmColor AcDbEntity::color() const {
  AcCmColor c;
  c.setColorIndex(m_color);
  return c;
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool doSubents) {
  return setColorIndex(color.colorIndex(), doSubents);
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, bool doSubents) {
  assertWriteEnabled();
  if (color > 256) return Acad::eInvalidInput;
  m_color = color;
  if (doSubents)
    for (const AcDbObjectId& id : standinSubEntities())
      if (auto* sub = AcDbEntity::cast(DbAccess::Resolve(id))) sub->m_color = color;
  return Acad::eOk;
}

ACHAR* AcDbEntity::layer() const { return m_layer.isNull() ? nullptr : Duplicate(RecordName(m_layer, L"0")); }

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, bool doSubents, bool allowHiddenLayer) {
  assertWriteEnabled();
  AcDbDatabase* db = database() ? database() : acdbHostApplicationServices()->workingDatabase();
  const auto* table = db ? Peek<AcDbLayerTable>(db->layerTableId()) : nullptr;
  AcDbObjectId id;
  if (!newVal || !table || table->getAt(newVal, id) != Acad::eOk) return Acad::eKeyNotFound;
  return setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, bool doSubents, bool) {
  assertWriteEnabled();
  if (!Peek<AcDbLayerTableRecord>(newVal)) return Acad::eInvalidInput;
  m_layer = newVal;
  if (doSubents)
    for (const AcDbObjectId& id : standinSubEntities())
      if (auto* sub = AcDbEntity::cast(DbAccess::Resolve(id))) sub->m_layer = newVal;
  return Acad::eOk;
}

ACHAR* AcDbEntity::linetype() const {
  return m_linetype.isNull() ? nullptr : Duplicate(RecordName(m_linetype, L"ByLayer"));
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* newVal, bool doSubents) {
  assertWriteEnabled();
  AcDbDatabase* db = database() ? database() : acdbHostApplicationServices()->workingDatabase();
  const auto* table = db ? Peek<AcDbLinetypeTable>(db->linetypeTableId()) : nullptr;
  AcDbObjectId id;
  if (!newVal || !table || table->getAt(newVal, id) != Acad::eOk) return Acad::eKeyNotFound;
  return setLinetype(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, bool doSubents) {
  assertWriteEnabled();
  if (!Peek<AcDbLinetypeTableRecord>(newVal)) return Acad::eInvalidInput;
  m_linetype = newVal;
  if (doSubents)
    for (const AcDbObjectId& id : standinSubEntities())
      if (auto* sub = AcDbEntity::cast(DbAccess::Resolve(id))) sub->m_linetype = newVal;
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults() { setDatabaseDefaults(acdbHostApplicationServices()->workingDatabase()); }

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* pDb) {
  assertWriteEnabled();
  if (!pDb) return;
  m_layer = pDb->clayer();
  m_linetype = pDb->byLayerLinetype();
  m_color = 256;
}

void AcDbEntity::subSetDatabaseDefaults(AcDbDatabase* db) {
  if (m_layer.isNull() || m_layer.database() != db) m_layer = db->clayer();
  if (m_linetype.isNull() || m_linetype.database() != db) m_linetype = db->byLayerLinetype();
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  Shape shape;
  standinShape(shape);
  return shape.Extents(extents) ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) {
  assertWriteEnabled();
  return Acad::eNotApplicable;
}

void AcDbEntity::standinShape(Shape&) const {}

void AcDbEntity::dxfOutFields(DxfOut& out) const {
  out.Text(100, L"AcDbEntity");
  if (const AcDbBlockTableRecord* btr = HoldingRecord(this); btr && btr->isLayout()) {
    const bool paper = btr->standinName() == ACDB_PAPER_SPACE;
    out.Int(67, paper ? 1 : 0);
    out.Text(410, paper ? L"Layout1" : L"Model");
  }
  out.Text(8, RecordName(m_layer, L"0"));
  const std::wstring linetype = RecordName(m_linetype, L"ByLayer");
  if (linetype != L"ByLayer") out.Text(6, linetype);
  if (m_color != 256) out.Int(62, m_color);
}

// --- Points, lines, circles, arcs ---

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_position = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_position.transformBy(xform);
  m_normal = Unit(m_normal.transformBy(xform));
  return Acad::eOk;
}

void AcDbPoint::standinShape(Shape& shape) const { shape.AddPoint(m_position); }

void AcDbPoint::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbPoint");
  if (m_thickness != 0) out.Real(39, m_thickness);
  out.Point(10, m_position);
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
  out.Real(50, 0.0);
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_start = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_end = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_start.transformBy(xform);
  m_end.transformBy(xform);
  m_normal = Unit(m_normal.transformBy(xform));
  return Acad::eOk;
}

void AcDbLine::standinShape(Shape& shape) const { shape.AddSegment(m_start, m_end); }

void AcDbLine::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbLine");
  if (m_thickness != 0) out.Real(39, m_thickness);
  out.Point(10, m_start);
  out.Point(11, m_end);
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_center = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setRadius(double r) {
  assertWriteEnabled();
  if (!(r > 0)) return Acad::eInvalidInput;
  m_radius = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}

void AcDbCircle::sweep(double& start, double& end) const {
  start = 0;
  end = kTwoPi;
}

Acad::ErrorStatus AcDbCircle::transformCircle(const AcGeMatrix3d& xform, double* startAngle, double* endAngle) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  const PlaneMotion motion = MotionOf(xform);
  m_center.transformBy(xform);
  m_radius *= motion.scale;
  if (startAngle && endAngle) {
    const double s = *startAngle, e = *endAngle;
    *startAngle = motion.mirrored ? motion.rotation - e : motion.rotation + s;
    *endAngle = motion.mirrored ? motion.rotation - s : motion.rotation + e;
    for (double* a : {startAngle, endAngle}) {
      *a = std::fmod(*a, kTwoPi);
      if (*a < 0) *a += kTwoPi;
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
  return transformCircle(xform, nullptr, nullptr);
}

void AcDbCircle::standinShape(Shape& shape) const {
  double start = 0, end = 0;
  sweep(start, end);
  shape.AddCurve(m_normal, m_center, m_radius, start, end);
}

void AcDbCircle::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbCircle");
  if (m_thickness != 0) out.Real(39, m_thickness);
  out.Point(10, standin::WcsToOcs(m_normal, m_center));
  out.Real(40, m_radius);
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
}

Acad::ErrorStatus AcDbArc::setStartAngle(double a) {
  assertWriteEnabled();
  m_startAngle = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double a) {
  assertWriteEnabled();
  m_endAngle = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
  return transformCircle(xform, &m_startAngle, &m_endAngle);
}

void AcDbArc::sweep(double& start, double& end) const {
  start = m_startAngle;
  end = m_endAngle;
}

void AcDbArc::dxfOutFields(DxfOut& out) const {
  AcDbCircle::dxfOutFields(out);
  out.Text(100, L"AcDbArc");
  out.Real(50, m_startAngle);
  out.Real(51, m_endAngle);
}

// --- Text, attributes and their definitions ---

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height, double rotation)
    : m_position(position), m_text(text ? text : L""), m_height(height), m_rotation(rotation) {
  if (const auto* rec = Peek<AcDbSymbolTableRecord>(style)) m_style = rec->standinName();
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_position = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_alignment = pt;
  return Acad::eOk;
}

ACHAR* AcDbText::textString() const { return Duplicate(m_text); }

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  assertWriteEnabled();
  if (!text) return Acad::eInvalidInput;
  m_text = text;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double h) {
  assertWriteEnabled();
  if (!(h > 0)) return Acad::eInvalidInput;
  m_height = h;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double r) {
  assertWriteEnabled();
  m_rotation = r;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double w) {
  assertWriteEnabled();
  if (!(w > 0)) return Acad::eInvalidInput;
  m_widthFactor = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setOblique(double a) {
  assertWriteEnabled();
  m_oblique = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  assertWriteEnabled();
  m_horzMode = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  assertWriteEnabled();
  m_vertMode = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirroredInX(bool mirror) {
  assertWriteEnabled();
  m_generation = mirror ? (m_generation | 2) : (m_generation & ~2);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirroredInY(bool mirror) {
  assertWriteEnabled();
  m_generation = mirror ? (m_generation | 4) : (m_generation & ~4);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

void AcDbText::copyTextFrom(const AcDbText& other) {
  m_position = other.m_position;
  m_alignment = other.m_alignment;
  m_normal = other.m_normal;
  m_text = other.m_text;
  m_style = other.m_style;
  m_height = other.m_height;
  m_rotation = other.m_rotation;
  m_widthFactor = other.m_widthFactor;
  m_oblique = other.m_oblique;
  m_thickness = other.m_thickness;
  m_horzMode = other.m_horzMode;
  m_vertMode = other.m_vertMode;
  m_generation = other.m_generation;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  const PlaneMotion motion = MotionOf(xform);
  m_position.transformBy(xform);
  m_alignment.transformBy(xform);
  m_height *= motion.scale;
  if (motion.mirrored) {
    // Text follows a mirror as the host's does: it reads backwards afterwards.
    m_rotation = motion.rotation - m_rotation;
    m_generation ^= 2;
  } else {
    m_rotation += motion.rotation;
  }
  m_rotation = std::fmod(m_rotation, kTwoPi);
  if (m_rotation < 0) m_rotation += kTwoPi;
  return Acad::eOk;
}

void AcDbText::standinShape(Shape& shape) const { textBox(shape, m_text); }

void AcDbText::textBox(Shape& shape, const std::wstring& text) const {
  if (text.empty() || !(m_height > 0)) return;
  // Each character takes the height times the width factor (a cell of the host's plain font).
  double width = static_cast<double>(text.size()) * m_height * m_widthFactor;
  AcGePoint3d ref = m_position;
  double x0 = 0, y0 = 0;
  const bool aligned = !(m_horzMode == AcDb::kTextLeft && m_vertMode == AcDb::kTextBase);
  if (aligned && m_horzMode != AcDb::kTextAlign && m_horzMode != AcDb::kTextFit) ref = m_alignment;
  switch (m_horzMode) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
      x0 = -width / 2;
      break;
    case AcDb::kTextRight:
      x0 = -width;
      break;
    case AcDb::kTextAlign:
    case AcDb::kTextFit:
      width = m_position.distanceTo(m_alignment);
      break;
    default:
      break;
  }
  if (m_horzMode == AcDb::kTextMid)
    y0 = -m_height / 2;
  else if (m_vertMode == AcDb::kTextVertMid)
    y0 = -m_height / 2;
  else if (m_vertMode == AcDb::kTextTop)
    y0 = -m_height;
  AcGeVector3d ax, ay;
  standin::OcsAxes(m_normal, ax, ay);
  const double c = std::cos(m_rotation), s = std::sin(m_rotation);
  const double fx = isMirroredInX() ? -1 : 1, fy = isMirroredInY() ? -1 : 1;
  auto corner = [&](double x, double y) {
    x *= fx, y *= fy;
    return ref + ax * (x * c - y * s) + ay * (x * s + y * c);
  };
  const AcGePoint3d p[4] = {corner(x0, y0), corner(x0 + width, y0), corner(x0 + width, y0 + m_height),
                            corner(x0, y0 + m_height)};
  for (int i = 0; i < 4; ++i) shape.AddSegment(p[i], p[(i + 1) % 4]);
}

void AcDbText::textFields(DxfOut& out, bool withSecondMarker) const {
  out.Text(100, L"AcDbText");
  if (m_thickness != 0) out.Real(39, m_thickness);
  out.Point(10, standin::WcsToOcs(m_normal, m_position));
  out.Real(40, m_height);
  out.Text(1, m_text);
  out.Real(50, m_rotation);
  out.Real(41, m_widthFactor);
  out.Real(51, m_oblique);
  out.Text(7, m_style);
  out.Int(71, m_generation);
  out.Int(72, m_horzMode);
  out.Point(11, standin::WcsToOcs(m_normal, m_alignment));
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
  if (withSecondMarker) {
    out.Text(100, L"AcDbText");
    out.Int(73, m_vertMode);
  }
}

void AcDbText::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  textFields(out, true);
}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                                                 const ACHAR* prompt, AcDbObjectId style)
    : AcDbText(position, text, style), m_tag(tag ? tag : L""), m_prompt(prompt ? prompt : L"") {}

ACHAR* AcDbAttributeDefinition::tag() const { return Duplicate(m_tag); }
ACHAR* AcDbAttributeDefinition::prompt() const { return Duplicate(m_prompt); }

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const ACHAR* tag) {
  assertWriteEnabled();
  if (!tag || !*tag || std::wcschr(tag, L' ')) return Acad::eInvalidInput;
  m_tag = tag;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* prompt) {
  assertWriteEnabled();
  m_prompt = prompt ? prompt : L"";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool value) {
  assertWriteEnabled();
  m_flags = value ? (m_flags | 1) : (m_flags & ~1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool value) {
  assertWriteEnabled();
  m_flags = value ? (m_flags | 2) : (m_flags & ~2);
  return Acad::eOk;
}

// A definition shows its tag where it is drawn on its own (in a block definition).
void AcDbAttributeDefinition::standinShape(Shape& shape) const { textBox(shape, m_tag); }

void AcDbAttributeDefinition::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  textFields(out, false);
  out.Text(100, L"AcDbAttributeDefinition");
  out.Text(3, m_prompt);
  out.Text(2, m_tag);
  out.Int(70, m_flags);
  out.Int(73, 0);
  out.Int(74, verticalMode());
}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag, AcDbObjectId style)
    : AcDbText(position, text, style), m_tag(tag ? tag : L"") {}

ACHAR* AcDbAttribute::tag() const { return Duplicate(m_tag); }

Acad::ErrorStatus AcDbAttribute::setTag(const ACHAR* tag) {
  assertWriteEnabled();
  if (!tag || !*tag || std::wcschr(tag, L' ')) return Acad::eInvalidInput;
  m_tag = tag;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setInvisible(bool value) {
  assertWriteEnabled();
  m_flags = value ? (m_flags | 1) : (m_flags & ~1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                                       const AcGeMatrix3d& blkXform) {
  assertWriteEnabled();
  if (!pAttdef) return Acad::eNullObjectPointer;
  copyTextFrom(*pAttdef);
  m_tag = pAttdef->tagConst();
  m_flags = pAttdef->standinFlags();
  if (!pAttdef->layerId().isNull()) setLayer(pAttdef->layerId(), false);
  if (!pAttdef->linetypeId().isNull()) setLinetype(pAttdef->linetypeId(), false);
  setColorIndex(pAttdef->colorIndex(), false);
  // The definition's placement follows the reference; the height follows its y scaling.
  const PlaneMotion motion = MotionOf(blkXform);
  AcGePoint3d pos = position(), align = alignmentPoint();
  setPosition(pos.transformBy(blkXform));
  setAlignmentPoint(align.transformBy(blkXform));
  setHeight(height() * std::hypot(blkXform(0, 1), blkXform(1, 1)));
  setRotation(motion.mirrored ? motion.rotation - rotation() : rotation() + motion.rotation);
  return Acad::eOk;
}

void AcDbAttribute::standinShape(Shape& shape) const {
  if (!isInvisible()) AcDbText::standinShape(shape);
}

void AcDbAttribute::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  textFields(out, false);
  out.Text(100, L"AcDbAttribute");
  out.Text(2, m_tag);
  out.Int(70, m_flags);
  out.Int(73, 0);
  out.Int(74, verticalMode());
}

void AcDbSequenceEnd::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Name(-2, ownerId());
}

// --- Block references ---

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) { skipErased(false); }

void AcDbObjectIterator::skipErased(bool backwards) {
  while (!done() && m_ids[m_at].isErased()) {
    if (backwards) {
      if (m_at == 0) {
        m_at = m_ids.size();
        return;
      }
      --m_at;
    } else {
      ++m_at;
    }
  }
}

void AcDbObjectIterator::start(bool atEnd) {
  m_at = atEnd && !m_ids.empty() ? m_ids.size() - 1 : 0;
  skipErased(atEnd);
}

void AcDbObjectIterator::step(bool backwards, bool skipErasedObjects) {
  if (done()) return;
  if (backwards) {
    if (m_at == 0) {
      m_at = m_ids.size();
      return;
    }
    --m_at;
  } else {
    ++m_at;
  }
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
  if (m_seqend.isNull()) {
    auto* seqend = new AcDbSequenceEnd;
    AcDbObjectId seqId;
    if (DbAccess::Add(database(), seqend, objectId(), seqId) == Acad::eOk) {
      seqend->setLayer(layerId(), false);
      seqend->close();
      m_seqend = seqId;
    } else {
      delete seqend;
    }
  }
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

void AcDbBlockReference::standinShape(Shape& shape) const {
  const auto* btr = Peek<AcDbBlockTableRecord>(m_block);
  if (btr && g_blockDepth < 16) {
    ++g_blockDepth;
    Shape inner;
    AcDbBlockTableRecordIterator* it = nullptr;
    btr->newIterator(it);
    for (; !it->done(); it->step()) {
      AcDbObjectId id;
      it->getEntityId(id);
      const auto* ent = Peek<AcDbEntity>(id);
      if (!ent) continue;
      // Variable attribute definitions are shown by the reference's attributes instead.
      if (const auto* def = AcDbAttributeDefinition::cast(ent)) {
        if (def->isConstant() && !def->isInvisible()) def->AcDbText::standinShape(inner);
        continue;
      }
      ent->standinShape(inner);
    }
    delete it;
    inner.TransformBy(blockTransform());
    shape.Append(inner);
    --g_blockDepth;
  }
  for (const AcDbObjectId& id : m_attributes)
    if (const auto* att = Peek<AcDbAttribute>(id); att && !att->isErased()) att->standinShape(shape);
}

void AcDbBlockReference::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbBlockReference");
  if (!m_attributes.empty()) out.Int(66, 1);
  out.Text(2, RecordName(m_block, L""));
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

// --- Light-weight polylines ---

AcDbPolyline::AcDbPolyline(unsigned int num_verts) { m_vertices.reserve(num_verts); }

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge, double startWidth,
                                            double endWidth, Adesk::Int32) {
  assertWriteEnabled();
  if (index > m_vertices.size()) return Acad::eInvalidIndex;
  Vertex v;
  v.pt = pt;
  v.bulge = bulge;
  // A negative width means "the constant width".
  v.startWidth = startWidth < 0 ? m_constantWidth : startWidth;
  v.endWidth = endWidth < 0 ? m_constantWidth : endWidth;
  if (v.startWidth != m_constantWidth || v.endWidth != m_constantWidth) m_hasConstantWidth = false;
  m_vertices.insert(m_vertices.begin() + index, v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  assertWriteEnabled();
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  m_vertices.erase(m_vertices.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  pt = m_vertices[index].pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  pt = standin::OcsToWcs(m_normal, {m_vertices[index].pt.x, m_vertices[index].pt.y, m_elevation});
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
  assertWriteEnabled();
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  m_vertices[index].pt = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  bulge = m_vertices[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  assertWriteEnabled();
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  m_vertices[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const {
  if (index >= m_vertices.size()) return Acad::eInvalidIndex;
  startWidth = m_vertices[index].startWidth;
  endWidth = m_vertices[index].endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth) {
  assertWriteEnabled();
  if (index >= m_vertices.size() || startWidth < 0 || endWidth < 0) return Acad::eInvalidIndex;
  m_vertices[index].startWidth = startWidth;
  m_vertices[index].endWidth = endWidth;
  m_hasConstantWidth = false;
  return Acad::eOk;
}

void AcDbPolyline::setClosed(bool closed) {
  assertWriteEnabled();
  m_closed = closed;
}

void AcDbPolyline::setElevation(double elev) {
  assertWriteEnabled();
  m_elevation = elev;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  if (!m_hasConstantWidth) return Acad::eInvalidInput;
  width = m_constantWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  assertWriteEnabled();
  if (width < 0) return Acad::eInvalidInput;
  m_constantWidth = width;
  m_hasConstantWidth = true;
  for (Vertex& v : m_vertices) v.startWidth = v.endWidth = width;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

void AcDbPolyline::reset(bool reuse, unsigned int newSize) {
  assertWriteEnabled();
  if (!reuse)
    m_vertices.clear();
  else if (newSize < m_vertices.size())
    m_vertices.resize(newSize);
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  const PlaneMotion motion = MotionOf(xform);
  for (Vertex& v : m_vertices) {
    AcGePoint3d p(v.pt.x, v.pt.y, m_elevation);
    p.transformBy(xform);
    v.pt = AcGePoint2d(p.x, p.y);
    if (motion.mirrored) v.bulge = -v.bulge;
    v.startWidth *= motion.scale;
    v.endWidth *= motion.scale;
  }
  m_constantWidth *= motion.scale;
  m_elevation = xform(2, 2) * m_elevation + xform(2, 3);
  return Acad::eOk;
}

void AcDbPolyline::standinShape(Shape& shape) const {
  const size_t n = m_vertices.size();
  if (n == 1) shape.AddPoint(standin::OcsToWcs(m_normal, {m_vertices[0].pt.x, m_vertices[0].pt.y, m_elevation}));
  for (size_t i = 0; n > 1 && i < (m_closed ? n : n - 1); ++i) {
    const Vertex& a = m_vertices[i];
    const Vertex& b = m_vertices[(i + 1) % n];
    shape.AddBulgeSegment(m_normal, {a.pt.x, a.pt.y, m_elevation}, {b.pt.x, b.pt.y, m_elevation}, a.bulge);
  }
}

void AcDbPolyline::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbPolyline");
  out.Int(90, static_cast<long>(m_vertices.size()));
  out.Int(70, m_closed ? 1 : 0);
  if (m_hasConstantWidth) out.Real(43, m_constantWidth);
  out.Real(38, m_elevation);
  out.Real(39, m_thickness);
  for (const Vertex& v : m_vertices) {
    out.Point(10, {v.pt.x, v.pt.y, 0});
    out.Real(40, v.startWidth);
    out.Real(41, v.endWidth);
    out.Real(42, v.bulge);
    out.Int(91, 0);
  }
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
}

// --- Old-style polylines ---

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_position = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setBulge(double bulge) {
  assertWriteEnabled();
  m_bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setStartWidth(double w) {
  assertWriteEnabled();
  m_startWidth = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setEndWidth(double w) {
  assertWriteEnabled();
  m_endWidth = w;
  return Acad::eOk;
}

void AcDb2dVertex::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbVertex");
  out.Text(100, L"AcDb2dVertex");
  out.Point(10, m_position);
  out.Real(40, m_startWidth);
  out.Real(41, m_endWidth);
  out.Real(42, m_bulge);
  out.Int(91, 0);
  out.Int(70, m_flags);
  out.Real(50, 0.0);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& objId, AcDb2dVertex* pNewVertex) {
  assertWriteEnabled();
  objId.setNull();
  if (!pNewVertex) return Acad::eNullObjectPointer;
  if (!database()) return Acad::eNotInDatabase;
  if (!pNewVertex->objectId().isNull()) return Acad::eAlreadyInDb;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  pNewVertex->m_position.z = m_elevation;
  const Acad::ErrorStatus es = DbAccess::Add(database(), pNewVertex, objectId(), objId);
  if (es != Acad::eOk) return es;
  pNewVertex->setLayer(layerId(), false);
  m_vertices.push_back(objId);
  if (m_seqend.isNull()) {
    auto* seqend = new AcDbSequenceEnd;
    AcDbObjectId seqId;
    if (DbAccess::Add(database(), seqend, objectId(), seqId) == Acad::eOk) {
      seqend->setLayer(layerId(), false);
      seqend->close();
      m_seqend = seqId;
    } else {
      delete seqend;
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* pNewVertex) {
  AcDbObjectId id;
  return appendVertex(id, pNewVertex);
}

AcDbObjectIterator* AcDb2dPolyline::vertexIterator() const { return new AcDbObjectIterator(m_vertices); }

Acad::ErrorStatus AcDb2dPolyline::makeClosed() {
  assertWriteEnabled();
  m_flags |= 1;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeOpen() {
  assertWriteEnabled();
  m_flags &= ~1;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setElevation(double elev) {
  assertWriteEnabled();
  m_elevation = elev;
  for (const AcDbObjectId& id : m_vertices)
    if (auto* v = AcDb2dVertex::cast(DbAccess::Resolve(id))) v->m_position.z = elev;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& v) {
  assertWriteEnabled();
  m_normal = Unit(v);
  return Acad::eOk;
}

std::vector<AcDbObjectId> AcDb2dPolyline::standinSubEntities() const {
  std::vector<AcDbObjectId> out = m_vertices;
  if (!m_seqend.isNull()) out.push_back(m_seqend);
  return out;
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  Acad::ErrorStatus es = standin::CheckTransform(*this, xform);
  if (es != Acad::eOk) return es;
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  for (const AcDbObjectId& id : m_vertices)
    if (auto* v = AcDbEntity::cast(DbAccess::Resolve(id)); v && v->isReadEnabled() && !v->isWriteEnabled())
      return Acad::eWasOpenForRead;
  const PlaneMotion motion = MotionOf(xform);
  for (const AcDbObjectId& id : m_vertices) {
    auto* v = AcDb2dVertex::cast(DbAccess::Resolve(id));
    if (!v) continue;
    v->m_position.transformBy(xform);
    if (motion.mirrored) v->m_bulge = -v->m_bulge;
    v->m_startWidth *= motion.scale;
    v->m_endWidth *= motion.scale;
  }
  m_elevation = xform(2, 2) * m_elevation + xform(2, 3);
  return Acad::eOk;
}

void AcDb2dPolyline::standinShape(Shape& shape) const {
  std::vector<const AcDb2dVertex*> vs;
  for (const AcDbObjectId& id : m_vertices)
    if (const auto* v = Peek<AcDb2dVertex>(id); v && !v->isErased()) vs.push_back(v);
  const size_t n = vs.size();
  if (n == 1) shape.AddPoint(standin::OcsToWcs(m_normal, vs[0]->position()));
  for (size_t i = 0; n > 1 && i < (isClosed() ? n : n - 1); ++i)
    shape.AddBulgeSegment(m_normal, vs[i]->position(), vs[(i + 1) % n]->position(), vs[i]->bulge());
}

void AcDb2dPolyline::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDb2dPolyline");
  out.Int(66, 1);
  out.Point(10, {0, 0, m_elevation});
  out.Int(70, m_flags);
  out.Real(40, 0.0);
  out.Real(41, 0.0);
  out.Point(210, {m_normal.x, m_normal.y, m_normal.z});
  out.Int(71, 0);
  out.Int(72, 0);
  out.Int(73, 0);
  out.Int(74, 0);
  out.Int(75, 0);
}
