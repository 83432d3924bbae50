// The geometry library's mesh cells: what is not inline in their header.
#include <ZoGeCurveMesh.h>

bool ZoGeCurveMeshCell::operator<(const ZoGeCurveMeshCell& c) const { return m_edges.size() < c.m_edges.size(); }

bool ZoGeCurveMeshCell::operator>(const ZoGeCurveMeshCell& c) const { return c < *this; }
