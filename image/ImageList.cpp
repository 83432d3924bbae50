// The slide vector list: coloured lines and polygons, their extents and the fit into pixels.
#include "image/ImageList.h"

#include <algorithm>

#include "image/RecordPool.h"
#include "image/SlideFit.h"
#include "platform/Host.h"

namespace {

// Constant-initialised, so that they exist before any static of the module uses them, and
// destroyed with the module.
ZoPtRecordPool<ZoPtImageLine> g_linePool;
ZoPtRecordPool<ZoDListNode<ZoPtImageLine*>> g_lineNodePool;
ZoPtRecordPool<ZoPtImageHatch> g_hatchPool;

}  // namespace

void* ZoPtImageLine::operator new(size_t size) { return g_linePool.Allocate(size); }

void ZoPtImageLine::operator delete(void* p, size_t size) { g_linePool.Free(p, size); }

void* ZoPtImageHatch::operator new(size_t size) { return g_hatchPool.Allocate(size); }

void ZoPtImageHatch::operator delete(void* p, size_t size) { g_hatchPool.Free(p, size); }

void* zo_detail::ListNodeStore<ZoPtImageLine*>::Allocate(size_t size) { return g_lineNodePool.Allocate(size); }

void zo_detail::ListNodeStore<ZoPtImageLine*>::Free(void* p, size_t size) { g_lineNodePool.Free(p, size); }

ZoPtImageLine::ZoPtImageLine(const ZoGePoint& ptStart, const ZoGePoint& ptEnd, int nColor)
    : m_nColor(nColor), m_ptStart(ptStart), m_ptEnd(ptEnd) {}

ZoPtImageLine::ZoPtImageLine(const ZoPtImageLine& src) = default;

ZoPtImageLine& ZoPtImageLine::operator=(const ZoPtImageLine& src) = default;

// A segment's extent by its ends, as the geometry library's segments give it (std::min and
// std::max of start and end), without building one for every line of a slide.
void ZoPtImageLine::GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax) const {
  ptMin = ZoGePoint(std::min(m_ptStart.x, m_ptEnd.x), std::min(m_ptStart.y, m_ptEnd.y), 0.0);
  ptMax = ZoGePoint(std::max(m_ptStart.x, m_ptEnd.x), std::max(m_ptStart.y, m_ptEnd.y), 0.0);
}

ZoPtImageHatch::ZoPtImageHatch(int nColor) : ZoGeMLine2d(0, false), m_nColor(nColor) {}

ZoPtImageHatch::ZoPtImageHatch(int nColor, const ZoGeMLine2d& polygon) : ZoGeMLine2d(polygon), m_nColor(nColor) {}

ZoPtImageHatch::ZoPtImageHatch(const ZoPtImageHatch& src) = default;

ZoPtImageHatch& ZoPtImageHatch::operator=(const ZoPtImageHatch& src) = default;

ZoPtImageHatch::~ZoPtImageHatch() = default;

void ZoPtImageHatch::GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax) const {
  ZoGeExtent2d ext;
  GetExtent2d(ext);
  const ZoGeExtent x = ext.GetXExtend(), y = ext.GetYExtend();
  ptMin = ZoGePoint(x.GetLow(), y.GetLow(), 0.0);
  ptMax = ZoGePoint(x.GetHigh(), y.GetHigh(), 0.0);
}

ZoPtImageList::ZoPtImageList() : ZoPDList<ZoPtImageLine>(0), m_hatchList(0) {}

ZoPtImageList::ZoPtImageList(const ZoPtImageList& src) : ZoPDList<ZoPtImageLine>(0), m_hatchList(0) { CopyFrom(src); }

ZoPtImageList& ZoPtImageList::operator=(const ZoPtImageList& src) {
  if (&src == this) return *this;
  Reset();
  CopyFrom(src);
  return *this;
}

ZoPtImageList::~ZoPtImageList() {
  m_hatchList.Reset();
  ZoPDList<ZoPtImageLine>::Reset();
}

// Empty nodes are copied as empty nodes, so a copy has the same nodes at the same indices.
void ZoPtImageList::CopyFrom(const ZoPtImageList& src) {
  for (ZoPtImageLine* const* p = src.GetFirst(); p; p = src.GetNext(p)) Append(*p ? new ZoPtImageLine(**p) : nullptr);
  for (ZoPtImageHatch* const* p = src.m_hatchList.GetFirst(); p; p = src.m_hatchList.GetNext(p))
    m_hatchList.Append(*p ? new ZoPtImageHatch(**p) : nullptr);
}

void ZoPtImageList::Reset() {
  ZoPDList<ZoPtImageLine>::Reset();
  m_hatchList.Reset();
}

bool ZoPtImageList::IsEmpty() const { return GetLength() == 0 && m_hatchList.GetLength() == 0; }

void ZoPtImageList::AppendHatch(int nColor, const ZoGeMLine2d& polygon) {
  m_hatchList.Append(new ZoPtImageHatch(nColor, polygon));
}

int ZoPtImageList::GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax) {
  if (IsEmpty()) return RTERROR;
  bool first = true;
  // Min and Max of the geometry library, with the same order of arguments.
  auto grow = [&](const ZoGePoint& lo, const ZoGePoint& hi) {
    if (first) {
      ptMin = lo;
      ptMax = hi;
      first = false;
    } else {
      ptMin = ZoGePoint(std::min(lo.x, ptMin.x), std::min(lo.y, ptMin.y), std::min(lo.z, ptMin.z));
      ptMax = ZoGePoint(std::max(hi.x, ptMax.x), std::max(hi.y, ptMax.y), std::max(hi.z, ptMax.z));
    }
  };
  ZoGePoint lo, hi;
  // The lists are walked through their node links: indexing each element would walk the list
  // again for every one of them.
  for (ZoPtImageLine* const* p = GetFirst(); p; p = GetNext(p)) {
    if (!*p) continue;
    (*p)->GetExtend(lo, hi);
    grow(lo, hi);
  }
  for (ZoPtImageHatch* const* p = m_hatchList.GetFirst(); p; p = m_hatchList.GetNext(p)) {
    if (!*p) continue;
    (*p)->GetExtend(lo, hi);
    grow(lo, hi);
  }
  return first ? RTERROR : RTNORM;
}

void ZoPtImageList::WcsToDcs(int nWidth, int nHeight, int nMargin) {
  ZoPtSlideFit fit;
  if (!fit.Compute(*this, nWidth, nHeight, nMargin)) return;
  for (ZoPtImageLine* const* p = GetFirst(); p; p = GetNext(p)) {
    if (!*p) continue;
    fit.Apply((*p)->m_ptStart);
    fit.Apply((*p)->m_ptEnd);
  }
  for (ZoPtImageHatch* const* p = m_hatchList.GetFirst(); p; p = m_hatchList.GetNext(p)) {
    if (!*p) continue;
    ZoPtImageHatch& polygon = **p;
    for (long i = 0; i < polygon.GetVertexNum(); ++i) fit.Apply(polygon[i]);
  }
}
