// Just enough of the database module's wall graphs, behaving as the family's do, for the
// containers the platform exports over them: wall ends as nodes, walls as edges, and paths.
#pragma once

#include <ZoGePoint2d.h>

#include <cstdint>
#include <vector>

// A wall end: a 2D point, compared as one; the wall count is not looked at.
class ZoDbWallGraphNode : public ZoGePoint2d {
 public:
  ZoDbWallGraphNode(double dx = 0, double dy = 0) : ZoGePoint2d(dx, dy), m_nWallNum(0) {}

  int32_t m_nWallNum;
};

// A wall end that also keeps the walls meeting there; compared as its point.
class ZoDbWallGraphNodeEx : public ZoDbWallGraphNode {
 public:
  using ZoDbWallGraphNode::ZoDbWallGraphNode;

  std::vector<long> m_walls;
};

// A wall between two ends, known by the wall's number.
class ZoDbWallGraphEdge {
 public:
  explicit ZoDbWallGraphEdge(int32_t nWall = 0) : m_nWall(nWall), m_dThickness(0) {}

  bool operator==(const ZoDbWallGraphEdge& e) const { return m_nWall == e.m_nWall; }
  bool operator!=(const ZoDbWallGraphEdge& e) const { return !(*this == e); }
  bool operator<(const ZoDbWallGraphEdge& e) const { return m_nWall < e.m_nWall; }
  bool operator>(const ZoDbWallGraphEdge& e) const { return e < *this; }

  int32_t m_nWall;
  double m_dThickness;
};

// A path through the graph: its walls in order. Paths are equal when they hold the same walls
// (by address) in the same order; they are never ordered.
class ZoDbWallGraphPath {
 public:
  bool operator==(const ZoDbWallGraphPath& p) const { return m_walls == p.m_walls; }
  bool operator!=(const ZoDbWallGraphPath& p) const { return m_walls != p.m_walls; }
  bool operator<(const ZoDbWallGraphPath&) const { return false; }
  bool operator>(const ZoDbWallGraphPath&) const { return false; }

  std::vector<ZoDbWallGraphEdge*> m_walls;
};
