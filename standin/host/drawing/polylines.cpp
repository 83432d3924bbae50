// Just enough of the host's polylines, behaving as the host's do: light-weight polylines and
// old-style 2D polylines with their vertices, their transforms, DXF data and outlines.
#include <acutads.h>
#include <dbents.h>
#include <dbpl.h>
#include <dbsymtb.h>

#include <cmath>
#include <cwchar>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/shape.h"

using standin::DbAccess;
using standin::DrawingMutex;
using standin::DxfOut;
using standin::MotionOf;
using standin::Peek;
using standin::PlaneMotion;
using standin::Shape;
using standin::Unit;

ACRX_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")
ACRX_DEFINE_MEMBERS(AcDb2dVertex, AcDbEntity, L"VERTEX")
ACRX_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, L"POLYLINE")

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
  if (m_seqend.isNull()) m_seqend = DbAccess::AddSequenceEnd(this);
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
