// Just enough of the host's entities of four corners, behaving as the host's do: filled
// quadrilaterals (SOLID), wide segments (TRACE) and faces in space (3DFACE).
#include <dbents.h>

#include "standin/host/drawing/listed.h"
#include "standin/host/drawing/shape.h"

STANDIN_DEFINE_LISTED(AcDbTrace, AcDbEntity, L"TRACE")
STANDIN_DEFINE_LISTED(AcDbSolid, AcDbEntity, L"SOLID")
STANDIN_DEFINE_LISTED(AcDbFace, AcDbEntity, L"3DFACE")

namespace {

// The corner of the index: a file that gives three corners repeats the third as the fourth.
Acad::ErrorStatus Corner(const standin::GroupList& data, Adesk::UInt16 index, AcGePoint3d& point) {
  if (index > 3) return Acad::eInvalidIndex;
  const short code = static_cast<short>(10 + (index == 3 && !data.Find(13) ? 2 : index));
  point = data.Point(code);
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbTrace::getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const {
  return Corner(*m_data, idx, pntRes);
}

Acad::ErrorStatus AcDbSolid::getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const {
  return Corner(*m_data, idx, pntRes);
}

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 vertexIndex, AcGePoint3d& vertexPoint) const {
  return Corner(*m_data, vertexIndex, vertexPoint);
}

namespace standin {

void TraceShape(const GroupList& data, Shape& shape) {
  // The outline runs 1, 2, 4, 3; the area inside is filled.
  std::vector<AcGePoint3d> outline;
  const AcGeVector3d normal = data.Normal();
  for (Adesk::UInt16 i : {0, 1, 3, 2}) {
    AcGePoint3d p;
    Corner(data, i, p);
    outline.push_back(OcsToWcs(normal, p));
  }
  AddChain(shape, outline, true);
  shape.hulls.push_back(outline);
}

void FaceShape(const GroupList& data, Shape& shape) {
  std::vector<AcGePoint3d> outline(4);
  for (Adesk::UInt16 i = 0; i < 4; ++i) Corner(data, i, outline[i]);
  AddChain(shape, outline, true);
}

}  // namespace standin
