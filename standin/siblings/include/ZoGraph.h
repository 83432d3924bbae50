// Just enough of the base library's graphs, behaving as the family's do, for the containers the
// platform exports over them: nodes and arcs known by their numbers.
#pragma once

class ZoGraphNode {
 public:
  explicit ZoGraphNode(long nId = 0) : m_nId(nId) {}

  // By number.
  bool operator==(const ZoGraphNode& n) const;
  bool operator!=(const ZoGraphNode& n) const;
  bool operator<(const ZoGraphNode& n) const;
  bool operator>(const ZoGraphNode& n) const;

  long m_nId;
};

// An arc from one node to another, by their numbers; the weight is not compared.
class ZoGraphArc {
 public:
  ZoGraphArc(long nFrom = 0, long nTo = 0, double dWeight = 0) : m_nFrom(nFrom), m_nTo(nTo), m_dWeight(dWeight) {}

  // By the start node's number, then the end node's.
  bool operator==(const ZoGraphArc& a) const;
  bool operator!=(const ZoGraphArc& a) const;
  bool operator<(const ZoGraphArc& a) const;
  bool operator>(const ZoGraphArc& a) const;

  long m_nFrom;
  long m_nTo;
  double m_dWeight;
};
