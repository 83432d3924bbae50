// The fit of a slide into a pixel rectangle, shared by the list's WcsToDcs and the painter, which
// fits each point as it paints so that its list keeps slide coordinates without a fitted copy.
#pragma once

#include "image/ImageList.h"
#include "platform/Host.h"

class ZoPtSlideFit {
 public:
  // One scale for both axes, centred in the rectangle inset by the margin, y flipped to grow
  // downwards; an axis without extent (within 1e-6) takes the scale 1. False when the list has
  // no extent (nothing in it).
  bool Compute(ZoPtImageList& list, int nWidth, int nHeight, int nMargin) {
    const double w = static_cast<double>(nWidth) - 2.0 * nMargin;
    const double h = static_cast<double>(nHeight) - 2.0 * nMargin;
    ZoGePoint hi;
    if (list.GetExtend(m_lo, hi) != RTNORM) return false;
    const double dx = hi.x - m_lo.x, dy = hi.y - m_lo.y;
    const double sx = dx > 1e-6 ? w / dx : 1.0;
    const double sy = dy > 1e-6 ? h / dy : 1.0;
    m_scale = sy > sx ? sx : sy;
    m_offsetX = nMargin + (w - m_scale * dx) / 2;
    m_offsetY = nMargin + (h - m_scale * dy) / 2;
    m_height = nHeight;
    return true;
  }

  // The point in pixels, z 0.
  void Apply(ZoGePoint& p) const {
    p.x = (p.x - m_lo.x) * m_scale + m_offsetX;
    p.y = m_height - ((p.y - m_lo.y) * m_scale + m_offsetY);
    p.z = 0.0;
  }

 private:
  ZoGePoint m_lo;
  double m_scale = 1.0;
  double m_offsetX = 0.0;
  double m_offsetY = 0.0;
  double m_height = 0.0;
};
