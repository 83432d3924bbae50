// Just enough of the geometry library's curve meshes, behaving as the family's do, for the
// containers the platform exports over them: their nodes, edges and cells, and the same in 3D.
#pragma once

#include <ZoGePoint.h>
#include <ZoGePoint2d.h>

#include <cstdint>
#include <vector>

// A mesh node: a 2D point, compared as one; the edge count is not looked at.
class ZoGeCurveMeshNode : public ZoGePoint2d {
 public:
  ZoGeCurveMeshNode(double dx = 0, double dy = 0) : ZoGePoint2d(dx, dy), m_nEdgeNum(0) {}

  int32_t m_nEdgeNum;
};

// A node of a 3D mesh: a 3D point, compared as one.
class ZoGeCurveMeshNode3d : public ZoGePoint {
 public:
  ZoGeCurveMeshNode3d(double dx = 0, double dy = 0, double dz = 0) : ZoGePoint(dx, dy, dz), m_nEdgeNum(0) {}

  int32_t m_nEdgeNum;
};

// An edge between two nodes, known by its number: edges with the same number are the same edge.
class ZoGeCurveMeshEdge {
 public:
  explicit ZoGeCurveMeshEdge(int32_t nIndex = 0) : m_nIndex(nIndex), m_pStart(nullptr), m_pEnd(nullptr) {}

  bool operator==(const ZoGeCurveMeshEdge& e) const { return m_nIndex == e.m_nIndex; }
  bool operator!=(const ZoGeCurveMeshEdge& e) const { return m_nIndex != e.m_nIndex; }
  bool operator<(const ZoGeCurveMeshEdge& e) const { return m_nIndex < e.m_nIndex; }
  bool operator>(const ZoGeCurveMeshEdge& e) const { return m_nIndex > e.m_nIndex; }

  int32_t m_nIndex;
  ZoGeCurveMeshNode* m_pStart;
  ZoGeCurveMeshNode* m_pEnd;
};

// An edge of a 3D mesh: the same by its number, and never ordered.
class ZoGeCurveMeshEdge3d {
 public:
  explicit ZoGeCurveMeshEdge3d(int32_t nIndex = 0) : m_nIndex(nIndex), m_pNodes{nullptr, nullptr} {}

  bool operator==(const ZoGeCurveMeshEdge3d& e) const { return e.m_nIndex == m_nIndex; }
  bool operator!=(const ZoGeCurveMeshEdge3d& e) const { return !(*this == e); }
  bool operator<(const ZoGeCurveMeshEdge3d&) const { return false; }
  bool operator>(const ZoGeCurveMeshEdge3d&) const { return false; }

  int32_t m_nIndex;
  ZoGeCurveMeshNode3d* m_pNodes[2];
};

// A cell: the edges around it, in order. Cells are equal when they hold the same edges (by
// address) in the same order.
class ZoGeCurveMeshCell {
 public:
  bool operator==(const ZoGeCurveMeshCell& c) const { return m_edges == c.m_edges; }
  bool operator!=(const ZoGeCurveMeshCell& c) const { return m_edges != c.m_edges; }
  // By the number of edges, as the family's containers order by length.
  bool operator<(const ZoGeCurveMeshCell& c) const;
  bool operator>(const ZoGeCurveMeshCell& c) const;

  std::vector<ZoGeCurveMeshEdge*> m_edges;
};

// A cell of a 3D mesh: equal as cells are, never ordered.
class ZoGeCurveMeshCell3d {
 public:
  bool operator==(const ZoGeCurveMeshCell3d& c) const { return c.m_edges == m_edges; }
  bool operator!=(const ZoGeCurveMeshCell3d& c) const { return !(c == *this); }
  bool operator<(const ZoGeCurveMeshCell3d&) const { return false; }
  bool operator>(const ZoGeCurveMeshCell3d&) const { return false; }

  std::vector<ZoGeCurveMeshEdge3d*> m_edges;
};
