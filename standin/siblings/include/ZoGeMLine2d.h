// Just enough of the geometry library's 2D polyline, behaving as the family's does, for
// outlines and polygons: vertices with bulges, an elevation and a closed flag, with the whole
// 2D curve interface.
#pragma once

#include <ZoGeCurve2d.h>

#include <cstddef>
#include <vector>

// A segment's bulge is the included angle of its arc in radians, positive counter-clockwise,
// 0 for a straight segment (the host's bulge is tan(angle / 4)). Vertex i carries the bulge
// of the segment from it to vertex i + 1; the last vertex's bulge is the closing segment's
// and counts only when the polyline is closed.
class ZoGeMLine2d : public ZoGeCurve2d {
 public:
  // nAllocUnit: vertices are reserved in steps of this many (0 or less: as needed).
  explicit ZoGeMLine2d(long nAllocUnit = 0, bool bClosed = false);
  ZoGeMLine2d(const ZoGeMLine2d& src);
  ZoGeMLine2d& operator=(const ZoGeMLine2d& src);
  ~ZoGeMLine2d() override;

  const wchar_t* GetRxClassName() const override;
  ZoGeObject* Clone() const override { return new ZoGeMLine2d(*this); }
  bool CopyFrom(const ZoGeObject& src) override;
  // Straight segments by their ends, arcs by their ends and the points where they cross the
  // axes through their centre. False, with the box empty, when there is no vertex.
  bool GetExtent2d(ZoGeExtent2d& ext) const override;
  void Move(double dx, double dy) override;
  // The first vertex; the origin when there is none.
  ZoGePoint GetStartPoint() const override;
  // The last vertex, or the first when the polyline is closed; the origin when there is none.
  ZoGePoint GetEndPoint() const override;
  double GetLength() const override;
  bool IsClosed() const override { return m_bClosed; }
  void Reverse() override;

  void SetClosed(bool bClosed) { m_bClosed = bClosed; }
  double GetElevation() const { return m_dElevation; }
  void SetElevation(double dElevation) { m_dElevation = dElevation; }

  long GetVertexNum() const { return static_cast<long>(m_vertices.size()); }
  // REQUIRES: 0 <= i < GetVertexNum().
  const ZoGePoint& GetVertex(long i) const;
  ZoGePoint& operator[](long i);
  double GetBulge(long i) const;
  void SetBulge(long i, double dBulge);
  void AppendVertex(const ZoGePoint& pt, double dBulge = 0.0);
  void RemoveAll();

  // Same closure, same number of vertices, vertices equal as points and bulges within
  // g_angleZero.
  bool operator==(const ZoGeMLine2d& other) const {
    if (m_bClosed != other.m_bClosed || m_vertices.size() != other.m_vertices.size()) return false;
    for (size_t i = 0; i < m_vertices.size(); ++i) {
      if (m_vertices[i] != other.m_vertices[i]) return false;
      const double d = m_bulges[i] - other.m_bulges[i];
      if (d > g_angleZero || d < -g_angleZero) return false;
    }
    return true;
  }
  bool operator!=(const ZoGeMLine2d& other) const { return !(*this == other); }

 private:
  // The segments to walk: every vertex to the next, and back to the first when closed.
  size_t SegmentCount() const;

  std::vector<ZoGePoint> m_vertices;
  std::vector<double> m_bulges;
  long m_nAllocUnit;
  bool m_bClosed;
  double m_dElevation = 0.0;
};
