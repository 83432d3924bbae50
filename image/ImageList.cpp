// The slide vector list: coloured lines and polygons, their extents and the fit into pixels.
#include "image/ImageList.h"

#include "platform/Host.h"

ZoPtImageLine::ZoPtImageLine(const ZoGePoint& ptStart, const ZoGePoint& ptEnd, int nColor)
    : m_nColor(nColor), m_ptStart(ptStart), m_ptEnd(ptEnd) {}

ZoPtImageLine::ZoPtImageLine(const ZoPtImageLine& src) = default;

ZoPtImageLine& ZoPtImageLine::operator=(const ZoPtImageLine& src) = default;

void ZoPtImageLine::GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax) const {
  ZoGeExtent2d ext;
  ZoGeLineSeg2d(m_ptStart, m_ptEnd).GetExtent2d(ext);
  const ZoGeExtent x = ext.GetXExtend(), y = ext.GetYExtend();
  ptMin = ZoGePoint(x.GetLow(), y.GetLow(), 0.0);
  ptMax = ZoGePoint(x.GetHigh(), y.GetHigh(), 0.0);
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
  for (ZoPtImageLine* const* p = src.GetFirst(); p; p = src.GetNext(p))
    Append(*p ? new ZoPtImageLine(**p) : nullptr);
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
  auto grow = [&](const ZoGePoint& lo, const ZoGePoint& hi) {
    if (first) {
      ptMin = lo;
      ptMax = hi;
      first = false;
    } else {
      ptMin = Min(lo, ptMin);
      ptMax = Max(hi, ptMax);
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
  const double w = static_cast<double>(nWidth) - 2.0 * nMargin;
  const double h = static_cast<double>(nHeight) - 2.0 * nMargin;
  ZoGePoint lo, hi;
  if (GetExtend(lo, hi) != RTNORM) return;
  const double dx = hi.x - lo.x, dy = hi.y - lo.y;
  const double sx = dx > 1e-6 ? w / dx : 1.0;
  const double sy = dy > 1e-6 ? h / dy : 1.0;
  const double s = sy > sx ? sx : sy;
  const double ox = (w - s * dx) / 2, oy = (h - s * dy) / 2;
  auto fit = [&](ZoGePoint& p) {
    p.x = (p.x - lo.x) * s + (nMargin + ox);
    p.y = nHeight - ((p.y - lo.y) * s + (nMargin + oy));
    p.z = 0.0;
  };
  for (ZoPtImageLine* const* p = GetFirst(); p; p = GetNext(p)) {
    if (!*p) continue;
    fit((*p)->m_ptStart);
    fit((*p)->m_ptEnd);
  }
  for (ZoPtImageHatch* const* p = m_hatchList.GetFirst(); p; p = m_hatchList.GetNext(p)) {
    if (!*p) continue;
    ZoPtImageHatch& polygon = **p;
    for (long i = 0; i < polygon.GetVertexNum(); ++i) fit(polygon[i]);
  }
}
