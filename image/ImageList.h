// The in-memory form of a slide: coloured line segments and coloured filled polygons, in
// slide coordinates after reading (y upwards) and in device pixels after WcsToDcs.
#pragma once

#include "containers/Exported.h"
#include "image/ImageRecord.h"
#include "platform/Export.h"

// The lines of a slide (the list itself) and its polygons; both lists own their elements.
class TOVU_PLATFORM_API ZoPtImageList : public ZoPDList<ZoPtImageLine> {
 public:
  ZoPtImageList();
  // A copy owns copies of every line and polygon, in the source's order.
  ZoPtImageList(const ZoPtImageList& src);
  // Empties this list, then copies the source's lines and polygons. Assigning a list to
  // itself keeps it as it is.
  ZoPtImageList& operator=(const ZoPtImageList& src);
  ~ZoPtImageList() override;

  // Destroys every line, then every polygon.
  void Reset() override;
  bool IsEmpty() const;
  // Appends a new polygon holding a copy of the outline.
  void AppendHatch(int nColor, const ZoGeMLine2d& polygon);
  // The box around every line and polygon (z 0): RTNORM, or RTERROR with min and max left
  // alone when the list is empty.
  int GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax);
  // Fits every point into a width by height pixel rectangle inset by the margin on every side:
  // one scale for both axes, centred, y flipped to grow downwards. An empty list is left as
  // it is; an axis without extent (within 1e-6) takes the scale 1.
  void WcsToDcs(int nWidth, int nHeight, int nMargin);

  // Appends the lines and polygons of a slide file (see SlideFile.cpp for the format): RTNORM
  // once the header is accepted, RTERROR for a null path, a file that cannot be read or a
  // header that is not a slide's (the list then unchanged).
  int ReadSlideFile(const wchar_t* path);

  const ZoPDList<ZoPtImageHatch>& GetHatchList() const { return m_hatchList; }

 private:
  void CopyFrom(const ZoPtImageList& src);

  ZoPDList<ZoPtImageHatch> m_hatchList;
};
