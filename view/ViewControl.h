// The current viewport's view: its size on screen in drawing units, the drawing size of pixels,
// and changing it (pan, zoom, making a region visible). All of it assumes a plan view, widths and
// heights taken along the world's x and y axes.
#pragma once

#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

// The view's width and height in drawing units: the height is VIEWSIZE, the width follows the
// proportions of the viewport's pixels.
TOVU_PLATFORM_API void GetViewScreenSize(double& dWidth, double& dHeight);
// The lower-left and upper-right corners of the view (world coordinates, at the centre's z).
TOVU_PLATFORM_API void GetViewScreenCorner(ZoGePoint& ptLowerLeft, ZoGePoint& ptUpperRight);

// The drawing length that nPixels pixels show; 0.0 when the screen or view height is not known.
TOVU_PLATFORM_API double PixelToWcs(int nPixels);
// The pick box and the object-snap aperture in drawing units; 0.0 below one pixel.
TOVU_PLATFORM_API double GetPickBoxWcsSize();
TOVU_PLATFORM_API double GetApertureWcsSize();

// Fills the record with the current view: centre, size, direction, twist, target, and, for a
// perspective view, its clipping and lens.
TOVU_PLATFORM_API void InitView(AcDbViewTableRecord& view);
// Moves the view's centre by the offset (display coordinates). The host's status.
TOVU_PLATFORM_API Acad::ErrorStatus PanView(const ZoGePoint& ptOffset);
// Shows the centre (world coordinates) with that width and height. The host's status.
TOVU_PLATFORM_API Acad::ErrorStatus ZoomView(const ZoGePoint& ptCenter, double dWidth, double dHeight);
// Shows exactly the rectangle spanned by the two corners (world coordinates). The host's status.
TOVU_PLATFORM_API Acad::ErrorStatus ZoomView(const ZoGePoint& pt1, const ZoGePoint& pt2);
// Pans, or zooms when the view is not both wider and taller, so that the rectangle (lower-left,
// upper-right, world coordinates) is visible; eNotApplicable, with the view left alone, when it
// already is.
TOVU_PLATFORM_API Acad::ErrorStatus AssureViewVisible(const ZoGePoint& pt1, const ZoGePoint& pt2);

// Makes the rectangle visible for the scope's duration; the former view comes back at its end
// when bRestore was true.
class TOVU_PLATFORM_API ZoPushViewVisible {
 public:
  ZoPushViewVisible(const ZoGePoint& ptLowerLeft, const ZoGePoint& ptUpperRight, bool bRestore);
  ~ZoPushViewVisible();
  ZoPushViewVisible(const ZoPushViewVisible&) = delete;
  ZoPushViewVisible& operator=(const ZoPushViewVisible&) = delete;

 private:
  ZoGePoint m_ptLowerLeft;
  ZoGePoint m_ptUpperRight;
  int m_bRestore;
};
