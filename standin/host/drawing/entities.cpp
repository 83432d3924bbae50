// Just enough of the host's entity classes, behaving as the host's do: the entity base with its
// layer, colour and linetype, points, lines, circles and arcs, and what acedXformSS can move.
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbpl.h>
#include <dbsymtb.h>

#include <cmath>
#include <cwchar>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::DxfOut;
using standin::kTwoPi;
using standin::MotionOf;
using standin::Peek;
using standin::PlaneMotion;
using standin::Shape;
using standin::SimilarInXY;
using standin::Unit;

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject, nullptr)
ACRX_DEFINE_MEMBERS(AcDbCurve, AcDbEntity, nullptr)
ACRX_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, L"POINT")
ACRX_DEFINE_MEMBERS(AcDbLine, AcDbCurve, L"LINE")
ACRX_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, L"CIRCLE")
ACRX_DEFINE_MEMBERS(AcDbArc, AcDbCircle, L"ARC")

namespace {

// The block table record that finally holds an entity (sub-entities through their owner).
const AcDbBlockTableRecord* HoldingRecord(const AcDbEntity* ent) {
  for (int depth = 0; ent && depth < 4; ++depth) {
    const AcDbObject* owner = DbAccess::Resolve(ent->ownerId());
    if (const auto* btr = AcDbBlockTableRecord::cast(owner)) return btr;
    ent = AcDbEntity::cast(owner);
  }
  return nullptr;
}

}  // namespace

namespace standin {

Acad::ErrorStatus CheckTransform(const AcDbEntity& entity, const AcGeMatrix3d& xform) {
  if (AcDbLine::cast(&entity) || AcDbPoint::cast(&entity) || AcDb3dPolyline::cast(&entity)) return Acad::eOk;
  if (const GroupList* listed = ListedData(&entity)) return ListedCheck(*listed, xform);
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

ACHAR* AcDbEntity::layer() const {
  return m_layer.isNull() ? nullptr : standin::NewText(standin::NameOfRecord(m_layer, L"0"));
}

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
  return m_linetype.isNull() ? nullptr : standin::NewText(standin::NameOfRecord(m_linetype, L"ByLayer"));
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
  if (newVal.isNull()) return Acad::eNullObjectId;
  if (!Peek<AcDbLinetypeTableRecord>(newVal)) return Acad::eWrongObjectType;
  if (newVal.isErased()) return Acad::eWasErased;
  if (database() && newVal.database() != database()) return Acad::eWrongDatabase;
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
    const bool paper = DbAccess::RecordName(btr) == ACDB_PAPER_SPACE;
    out.Int(67, paper ? 1 : 0);
    out.Text(410, paper ? L"Layout1" : L"Model");
  }
  out.Text(8, standin::NameOfRecord(m_layer, L"0"));
  const std::wstring linetype = standin::NameOfRecord(m_linetype, L"ByLayer");
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
