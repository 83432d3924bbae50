// The entity types the stand-in host keeps as their DXF groups: the table of what their groups
// are, and the listing, checks and moves they share.
#include "standin/host/drawing/listed.h"

#include <dbdim.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dblead.h>
#include <dbmtext.h>
#include <dbray.h>
#include <dbspline.h>
#include <dbxline.h>

#include <cmath>
#include <cstring>

#include "standin/host/drawing/boundary.h"
#include "standin/host/drawing/shape.h"

namespace standin {

namespace {

template <class T>
AcDbEntity* Make() {
  return new T;
}

template <class T>
GroupList* DataOf(const AcDbEntity* ent) {
  const T* t = T::cast(ent);
  return t ? DbAccess::Listed(t) : nullptr;
}

using Codes = std::vector<short>;

// points, vectors, units, lengths, degrees, radians: the roles of the groups (ListedKind).
template <class T>
ListedKind Kind(const char* name, const wchar_t* marker, Codes points, Codes vectors, Codes units, Codes lengths,
                Codes degrees, Codes radians, const wchar_t* (*check)(const GroupList&),
                void (*shape)(const GroupList&, Shape&), const wchar_t* (*correct)(GroupList&) = nullptr) {
  return {name,
          marker,
          Make<T>,
          DataOf<T>,
          std::move(points),
          std::move(vectors),
          std::move(units),
          std::move(lengths),
          std::move(degrees),
          std::move(radians),
          correct,
          check,
          shape};
}

const std::vector<ListedKind>& Kinds() {
  static const std::vector<ListedKind> kinds = {
      Kind<AcDbSolid>("SOLID", L"AcDbTrace", {10, 11, 12, 13}, {}, {}, {39}, {}, {}, nullptr, TraceShape),
      Kind<AcDbTrace>("TRACE", L"AcDbTrace", {10, 11, 12, 13}, {}, {}, {39}, {}, {}, nullptr, TraceShape),
      Kind<AcDbFace>("3DFACE", L"AcDbFace", {10, 11, 12, 13}, {}, {}, {}, {}, {}, nullptr, FaceShape),
      Kind<AcDbEllipse>("ELLIPSE", L"AcDbEllipse", {10}, {11}, {}, {}, {}, {}, EllipseCheck, EllipseShape,
                        EllipseCorrect),
      Kind<AcDbSpline>("SPLINE", L"AcDbSpline", {10, 11}, {12, 13}, {}, {}, {}, {}, SplineCheck, SplineShape),
      Kind<AcDbRay>("RAY", L"AcDbRay", {10}, {}, {11}, {}, {}, {}, DirectionCheck, RayShape),
      Kind<AcDbXline>("XLINE", L"AcDbXline", {10}, {}, {11}, {}, {}, {}, DirectionCheck, XlineShape),
      Kind<AcDbLeader>("LEADER", L"AcDbLeader", {10}, {212, 213}, {211}, {40, 41}, {}, {}, LeaderCheck, LeaderShape),
      Kind<AcDbMText>("MTEXT", L"AcDbMText", {10}, {}, {11}, {40, 41, 42, 43, 46}, {}, {50}, nullptr, MTextShape),
      Kind<AcDbDimension>("DIMENSION", L"AcDbDimension", {10, 11, 12, 13, 14, 15, 16}, {}, {}, {40, 41, 42},
                          {50, 51, 52, 53, 54}, {}, nullptr, DimensionShape),
  };
  return kinds;
}

bool Has(const std::vector<short>& codes, short code) {
  for (short c : codes)
    if (c == code) return true;
  return false;
}

}  // namespace

const DxfGroup* GroupList::Find(short code, size_t n) const {
  for (const DxfGroup& g : groups)
    if (g.code == code && n-- == 0) return &g;
  return nullptr;
}

size_t GroupList::Count(short code) const {
  size_t n = 0;
  for (const DxfGroup& g : groups) n += g.code == code;
  return n;
}

AcGePoint3d GroupList::Point(short code, size_t n) const {
  const DxfGroup* g = Find(code, n);
  return g ? AcGePoint3d(g->point[0], g->point[1], g->point[2]) : AcGePoint3d::kOrigin;
}

AcGeVector3d GroupList::Vector(short code, size_t n) const { return Point(code, n) - AcGePoint3d::kOrigin; }

double GroupList::Real(short code, double fallback) const {
  const DxfGroup* g = Find(code);
  return g ? g->real : fallback;
}

long GroupList::Int(short code, long fallback) const {
  const DxfGroup* g = Find(code);
  return g ? g->integer : fallback;
}

AcGeVector3d GroupList::Normal() const { return Find(210) ? Unit(Vector(210)) : AcGeVector3d::kZAxis; }

const ListedKind* FindListedKind(std::string_view dxfName) {
  for (const ListedKind& k : Kinds())
    if (dxfName == k.dxfName) return &k;
  return nullptr;
}

GroupList* ListedData(const AcDbEntity* ent) {
  for (const ListedKind& k : Kinds())
    if (GroupList* data = k.data(ent)) return data;
  return nullptr;
}

void ListedOut(const GroupList& data, DxfOut& out) {
  if (data.kind && !data.Find(100)) out.Text(100, data.kind->marker);
  for (const DxfGroup& g : data.groups) out.Group(g);
}

void AddChain(Shape& shape, const std::vector<AcGePoint3d>& points, bool closed) {
  for (size_t i = 0; i + 1 < points.size(); ++i) shape.AddSegment(points[i], points[i + 1]);
  if (closed && points.size() > 2) shape.AddSegment(points.back(), points.front());
  if (points.size() == 1) shape.AddPoint(points[0]);
}

Acad::ErrorStatus ListedCheck(const GroupList& data, const AcGeMatrix3d& xform) {
  if (!data.kind) return Acad::eNotApplicable;
  if (!IsWorldZ(data.Normal()) || !KeepsXYPlane(xform)) return Acad::eNotApplicable;
  const ListedKind& k = *data.kind;
  const bool measured =
      !k.lengths.empty() || !k.degrees.empty() || !k.radians.empty() || std::strcmp(k.dxfName, "ELLIPSE") == 0;
  if (measured && !SimilarInXY(xform)) return Acad::eCannotScaleNonUniformly;
  return Acad::eOk;
}

Acad::ErrorStatus ListedTransform(GroupList& data, const AcGeMatrix3d& xform) {
  const Acad::ErrorStatus es = ListedCheck(data, xform);
  if (es != Acad::eOk) return es;
  const ListedKind& k = *data.kind;
  const PlaneMotion motion = MotionOf(xform);
  for (DxfGroup& g : data.groups) {
    AcGePoint3d p(g.point[0], g.point[1], g.point[2]);
    if (Has(k.points, g.code)) {
      p.transformBy(xform);
    } else if (Has(k.vectors, g.code) || Has(k.units, g.code)) {
      AcGeVector3d v = (p - AcGePoint3d::kOrigin).transformBy(xform);
      if (Has(k.units, g.code)) v = Unit(v);
      p = AcGePoint3d::kOrigin + v;
    } else if (Has(k.lengths, g.code)) {
      g.real *= motion.scale;
    } else if (Has(k.degrees, g.code) || Has(k.radians, g.code)) {
      const double turn = Has(k.degrees, g.code) ? motion.rotation * 180 / kPi : motion.rotation;
      g.real = motion.mirrored ? turn - g.real : turn + g.real;
    }
    g.point[0] = p.x, g.point[1] = p.y, g.point[2] = p.z;
  }
  // An elliptical arc runs the other way round its centre in a mirror: its parameters change sides.
  DxfGroup* start = const_cast<DxfGroup*>(data.Find(41));
  DxfGroup* end = const_cast<DxfGroup*>(data.Find(42));
  if (motion.mirrored && std::strcmp(k.dxfName, "ELLIPSE") == 0 && start && end) {
    const double s = start->real;
    start->real = kTwoPi - end->real;
    end->real = kTwoPi - s;
  }
  data.placement = Multiply(xform, data.placement);
  return Acad::eOk;
}

}  // namespace standin
