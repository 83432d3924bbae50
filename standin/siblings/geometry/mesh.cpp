// The geometry library's mesh cells and drawable objects: what is not inline in their headers.
#include <ZoGeCurveMesh.h>
#include <ZoGiObject.h>

bool ZoGeCurveMeshCell::operator<(const ZoGeCurveMeshCell& c) const { return m_edges.size() < c.m_edges.size(); }

bool ZoGeCurveMeshCell::operator>(const ZoGeCurveMeshCell& c) const { return c < *this; }

ZoGiObject::~ZoGiObject() = default;
