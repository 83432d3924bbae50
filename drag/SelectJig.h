// The rectangle shown while the user opens a selection window, the host's orthogonal mode and
// grid snap applied to raw cursor points, and a polygon as the host's point list.
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"
#include "platform/Win32.h"

// Shows the selection rectangle during the host's drag(): drawn continuous when opened from left
// to right (window), dashed from right to left (crossing). The picking code drags it twice: with
// m_bWindowMode 0 to choose the first corner, then with m_bWindowMode set to open the window, and
// reads the corners from the fields afterwards.
class ZoPtSelectJig : public AcEdJig {
 public:
  ZoPtSelectJig();
  ~ZoPtSelectJig() override;
  ZoPtSelectJig(const ZoPtSelectJig&) = delete;
  ZoPtSelectJig& operator=(const ZoPtSelectJig&) = delete;

  DragStatus sampler() override;
  Adesk::Boolean update() override;
  AcDbEntity* entity() const override;

  AcDbPolyline* m_pFrame;     // owned
  ZoGePoint m_ptFirstCorner;  // UCS
  ZoGePoint m_ptCurrent;      // UCS, the latest accepted cursor point
  ZoGePoint m_ptLastWcs;      // the latest accepted point as the host acquired it
  int m_bWindowMode;          // 0 while the first corner is chosen
  POINT m_ptFirstPixel;       // client-area pixels of the drawing view
  POINT m_ptCurrentPixel;
  CString m_strPrompt;  // for setDispPrompt
};

// The point (UCS) constrained as the host constrains a picked one: to the nearer orthogonal axis
// through ptBase when ORTHOMODE is on and ptBase is given, then to the snap grid when SNAPMODE is
// on; with isometric snap (SNAPSTYL) the point is taken as it is. result may be pt itself.
TOVU_PLATFORM_API void ZoPtCapturePoint(const ads_point ptBase, const ads_point pt, ads_point result);

// The polyline's vertices as a chain of RTPOINT nodes, the first vertex repeated at the end when
// bClose; the caller releases it with acutRelRb. Null without vertices. Module-internal.
resbuf* ZoPtPolygonPointList(const ZoGeMLine2d& polygon, bool bClose);
