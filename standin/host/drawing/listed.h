// Inside the stand-in host's drawing: the entity types it keeps as the DXF groups a file gave
// them (after the AcDbEntity part), with a table of what each group is, so that one place lists,
// moves and checks them all, and each type only says how it is drawn.
#pragma once

#include <dbmain.h>

#include <string>
#include <string_view>
#include <vector>

#include "standin/host/drawing/dbaccess.h"

namespace standin {

struct ListedKind;

struct GroupList {
  const ListedKind* kind = nullptr;
  // Subclass markers included; points as one group each.
  std::vector<DxfGroup> groups;
  // A dimension's block, and how the dimension moved since it was read (the block is drawn
  // through that).
  AcDbObjectId block;
  AcGeMatrix3d placement;

  // The n-th group of the code, or NULL.
  const DxfGroup* Find(short code, size_t n = 0) const;
  size_t Count(short code) const;
  AcGePoint3d Point(short code, size_t n = 0) const;
  AcGeVector3d Vector(short code, size_t n = 0) const;
  double Real(short code, double fallback = 0) const;
  long Int(short code, long fallback = 0) const;
  // Group 210, the z axis when there is none.
  AcGeVector3d Normal() const;
};

struct ListedKind {
  const char* dxfName;
  const wchar_t* marker;  // the subclass marker a file without markers leaves out
  AcDbEntity* (*make)();
  GroupList* (*data)(const AcDbEntity*);  // NULL for an entity of another class
  // What a group is when the entity moves: a point, a direction (kept of length 1 for units), a
  // length, or an angle in degrees or radians. Points of the plane of the normal (OCS) move as
  // world points: the entity only moves in its plane, where the two agree.
  std::vector<short> points, vectors, units, lengths, degrees, radians;
  // What was corrected of a file's entity that the host tolerates, or NULL.
  const wchar_t* (*correct)(GroupList&);
  // Why a file's entity cannot be kept, or NULL.
  const wchar_t* (*check)(const GroupList&);
  void (*shape)(const GroupList&, Shape&);
};

// The kind of a DXF type name, or NULL.
const ListedKind* FindListedKind(std::string_view dxfName);
// The listed data of an entity of a listed kind, or NULL.
GroupList* ListedData(const AcDbEntity* ent);
void ListedOut(const GroupList& data, DxfOut& out);
// Whether the entity can move by xform (see AcDbEntity::transformBy).
Acad::ErrorStatus ListedCheck(const GroupList& data, const AcGeMatrix3d& xform);
Acad::ErrorStatus ListedTransform(GroupList& data, const AcGeMatrix3d& xform);

// The outline through the points, closed or not.
void AddChain(Shape& shape, const std::vector<AcGePoint3d>& points, bool closed);

// Points along a NURBS curve of the degree (weights empty for a polynomial one); false when the
// control points, weights and knots do not make one.
bool FlattenNurbs(const std::vector<AcGePoint3d>& ctrl, const std::vector<double>& weights,
                  const std::vector<double>& knots, int degree, std::vector<AcGePoint3d>& out);

// What each kind checks and how it is drawn (corners.cpp, curves.cpp, annotations.cpp).
void TraceShape(const GroupList& data, Shape& shape);
void FaceShape(const GroupList& data, Shape& shape);
const wchar_t* EllipseCorrect(GroupList& data);
const wchar_t* EllipseCheck(const GroupList& data);
void EllipseShape(const GroupList& data, Shape& shape);
const wchar_t* SplineCheck(const GroupList& data);
void SplineShape(const GroupList& data, Shape& shape);
const wchar_t* DirectionCheck(const GroupList& data);
void RayShape(const GroupList& data, Shape& shape);
void XlineShape(const GroupList& data, Shape& shape);
const wchar_t* LeaderCheck(const GroupList& data);
void LeaderShape(const GroupList& data, Shape& shape);
void MTextShape(const GroupList& data, Shape& shape);
void DimensionShape(const GroupList& data, Shape& shape);

}  // namespace standin

// The members every listed entity class defines the same way.
#define STANDIN_DEFINE_LISTED(Class, Parent, Name)                   \
  ACRX_DEFINE_MEMBERS(Class, Parent, Name)                           \
  Class::Class() : m_data(std::make_unique<standin::GroupList>()) {} \
  Class::~Class() = default;                                         \
  Acad::ErrorStatus Class::transformBy(const AcGeMatrix3d& xform) {  \
    assertWriteEnabled();                                            \
    return standin::ListedTransform(*m_data, xform);                 \
  }                                                                  \
  void Class::dxfOutFields(standin::DxfOut& out) const {             \
    AcDbEntity::dxfOutFields(out);                                   \
    standin::ListedOut(*m_data, out);                                \
  }                                                                  \
  void Class::standinShape(standin::Shape& shape) const {            \
    if (m_data->kind) m_data->kind->shape(*m_data, shape);           \
  }
