// Just enough of the host's light-weight polyline, behaving as the host's does.
#pragma once

#include <dbcurve.h>
#include <gepnt2d.h>
#include <gepnt3d.h>
#include <gevec3d.h>

#include <vector>

// A light-weight polyline: vertices (x, y) at one elevation, each with a bulge (the tangent of
// a quarter of the included angle of the arc to the next vertex) and widths.
class AcDbPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolyline);
  explicit AcDbPolyline(unsigned int num_verts = 0);

  unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
  // eInvalidIndex past the end (index numVerts() appends).
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0., double startWidth = -1.,
                                double endWidth = -1., Adesk::Int32 vertexIdentifier = 0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
  // The vertex in world coordinates (elevation and normal applied).
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  bool isClosed() const override { return m_closed; }
  void setClosed(bool closed);
  double elevation() const { return m_elevation; }
  void setElevation(double elev);
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);
  // Keeps the first newSize vertices when reuse is true (all are dropped otherwise).
  void reset(bool reuse, unsigned int newSize);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
  struct Vertex {
    AcGePoint2d pt;
    double bulge = 0, startWidth = 0, endWidth = 0;
  };
  std::vector<Vertex> m_vertices;
  bool m_closed = false;
  double m_elevation = 0, m_thickness = 0, m_constantWidth = 0;
  bool m_hasConstantWidth = true;
  AcGeVector3d m_normal{0, 0, 1};
};
