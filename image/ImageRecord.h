// The records of a slide: one coloured line segment, one coloured filled polygon. Colours are
// host colour numbers (0 to 255 from a slide).
#pragma once

#include <cstddef>

#include "containers/List.h"
#include "platform/Export.h"
#include "platform/Siblings.h"

// One coloured line segment.
class TOVU_PLATFORM_API ZoPtImageLine {
 public:
  ZoPtImageLine(const ZoGePoint& ptStart, const ZoGePoint& ptEnd, int nColor);
  ZoPtImageLine(const ZoPtImageLine& src);
  ZoPtImageLine& operator=(const ZoPtImageLine& src);

  // A slide holds many lines: they come from the module's pool of records, and new and delete
  // work as usual.
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size);

  // The segment's 2D box: min and max get the lower and upper x and y, z 0.
  void GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax) const;

  // Lines never compare equal, unequal or ordered: a search for a line by value finds nothing.
  bool operator==(const ZoPtImageLine&) const { return false; }
  bool operator!=(const ZoPtImageLine&) const { return false; }
  bool operator<(const ZoPtImageLine&) const { return false; }
  bool operator>(const ZoPtImageLine&) const { return false; }

  int m_nColor;
  ZoGePoint m_ptStart;
  ZoGePoint m_ptEnd;
};

// One coloured filled polygon: the polyline's vertices are its outline.
class TOVU_PLATFORM_API ZoPtImageHatch : public ZoGeMLine2d {
 public:
  explicit ZoPtImageHatch(int nColor);
  ZoPtImageHatch(int nColor, const ZoGeMLine2d& polygon);
  ZoPtImageHatch(const ZoPtImageHatch& src);
  ZoPtImageHatch& operator=(const ZoPtImageHatch& src);
  ~ZoPtImageHatch() override;

  // From the pool of records, as lines are.
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size);

  // The polygon's 2D box, z 0.
  void GetExtend(ZoGePoint& ptMin, ZoGePoint& ptMax) const;

  // As for lines: never equal, unequal or ordered.
  bool operator==(const ZoPtImageHatch&) const { return false; }
  bool operator!=(const ZoPtImageHatch&) const { return false; }
  bool operator<(const ZoPtImageHatch&) const { return false; }
  bool operator>(const ZoPtImageHatch&) const { return false; }

  int m_nColor;
};

namespace zo_detail {

// The nodes of the lists of lines come from the pool of records too.
template <>
struct ListNodeStore<ZoPtImageLine*> {
  static void* Allocate(size_t size);
  static void Free(void* p, size_t size);
};

}  // namespace zo_detail
