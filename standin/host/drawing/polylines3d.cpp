// Just enough of the host's 3D polylines, behaving as the host's do: a header entity, its
// vertices in space and a sequence end, their transforms, DXF data and outlines.
#include <dbents.h>

#include "standin/host/drawing/dbaccess.h"
#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"

using standin::DbAccess;
using standin::DxfOut;

ACRX_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbEntity, L"VERTEX")
ACRX_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, L"POLYLINE")

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  m_position = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolylineVertex::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_position.transformBy(xform);
  return Acad::eOk;
}

void AcDb3dPolylineVertex::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDbVertex");
  out.Text(100, L"AcDb3dPolylineVertex");
  out.Point(10, m_position);
  out.Int(70, m_flags);
}

AcDbObjectIterator* AcDb3dPolyline::vertexIterator() const { return new AcDbObjectIterator(m_vertices); }

std::vector<AcDbObjectId> AcDb3dPolyline::standinSubEntities() const {
  std::vector<AcDbObjectId> out = m_vertices;
  if (!m_seqend.isNull()) out.push_back(m_seqend);
  return out;
}

Acad::ErrorStatus AcDb3dPolyline::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  std::lock_guard<std::recursive_mutex> lock(standin::DrawingMutex());
  for (const AcDbObjectId& id : m_vertices)
    if (auto* v = AcDbEntity::cast(DbAccess::Resolve(id)); v && v->isReadEnabled() && !v->isWriteEnabled())
      return Acad::eWasOpenForRead;
  for (const AcDbObjectId& id : m_vertices)
    if (auto* v = AcDb3dPolylineVertex::cast(DbAccess::Resolve(id))) DbAccess::MoveVertex(v, xform);
  return Acad::eOk;
}

void AcDb3dPolyline::standinShape(standin::Shape& shape) const {
  std::vector<AcGePoint3d> points;
  for (const AcDbObjectId& id : m_vertices)
    if (const auto* v = standin::Peek<AcDb3dPolylineVertex>(id); v && !v->isErased()) points.push_back(v->position());
  standin::AddChain(shape, points, isClosed());
}

void AcDb3dPolyline::dxfOutFields(DxfOut& out) const {
  AcDbEntity::dxfOutFields(out);
  out.Text(100, L"AcDb3dPolyline");
  out.Int(66, 1);
  out.Point(10, AcGePoint3d::kOrigin);
  out.Int(70, m_flags);
}
