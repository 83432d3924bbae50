// The base library's graph element comparisons.
#include <ZoGraph.h>

bool ZoGraphNode::operator==(const ZoGraphNode& n) const { return m_nId == n.m_nId; }
bool ZoGraphNode::operator!=(const ZoGraphNode& n) const { return m_nId != n.m_nId; }
bool ZoGraphNode::operator<(const ZoGraphNode& n) const { return m_nId < n.m_nId; }
bool ZoGraphNode::operator>(const ZoGraphNode& n) const { return m_nId > n.m_nId; }

bool ZoGraphArc::operator==(const ZoGraphArc& a) const { return m_nFrom == a.m_nFrom && m_nTo == a.m_nTo; }
bool ZoGraphArc::operator!=(const ZoGraphArc& a) const { return !(*this == a); }
bool ZoGraphArc::operator<(const ZoGraphArc& a) const {
  return m_nFrom != a.m_nFrom ? m_nFrom < a.m_nFrom : m_nTo < a.m_nTo;
}
bool ZoGraphArc::operator>(const ZoGraphArc& a) const { return a < *this; }
