// Layer 3 of the stand-in host, over the drawing: the view of it. Viewports, the display state of
// entities (drawn, hidden, highlighted), the drawing view window, the colour palette, and
// hit-testing: which entities the pick box, a window, a crossing or a polygon finds.
//
// Hit-testing works in the XY plane on the outlines of entities, and sees what the screen shows:
// entities of the current space, on layers that are on and thawed, not taken off the screen.
// Callers hold the drawing lock.
#pragma once

#include <adesk.h>

#include <functional>
#include <vector>

#include "standin/host/drawing/shape.h"

class AcDbEntity;

namespace standin {

struct XY {
  double x, y;
};

// Every part lies inside the rectangle.
bool InsideRect(const Shape& shape, double minX, double minY, double maxX, double maxY);
// Some part lies inside the rectangle or crosses its edges.
bool TouchesRect(const Shape& shape, double minX, double minY, double maxX, double maxY);
bool InsidePolygon(const Shape& shape, const std::vector<XY>& polygon);
bool TouchesPolygon(const Shape& shape, const std::vector<XY>& polygon);

// Main entities of the drawing, newest first, entities on locked layers left out when asked.
// Graphical searches see only what the screen shows of the current space.
std::vector<const AcDbEntity*> Candidates(bool graphical, bool skipLocked);
// The length of that many pixels of the current view in drawing units.
double ViewPixels(double pixels);
// The pick box's half size in drawing units: PICKBOX pixels of the current view.
double PickBoxHalf();
// Entities under the pick box at p: the topmost, or all of them.
std::vector<Adesk::IntPtr> AtPoint(const double* p, bool everything, bool skipLocked);
// Entities inside (window) or inside or crossing (crossing) the box of two corners, among those
// keep accepts (all when empty), which is asked first as it is cheaper than the geometry.
using Keep = std::function<bool(const AcDbEntity*)>;
std::vector<Adesk::IntPtr> InBox(const double* corner1, const double* corner2, bool crossing, bool skipLocked,
                                 const Keep& keep = {});
std::vector<Adesk::IntPtr> InPolygon(const std::vector<XY>& polygon, bool crossing, bool skipLocked,
                                     const Keep& keep = {});
// The last entity made that the screen shows, or none.
std::vector<Adesk::IntPtr> LastEntity(bool skipLocked);
// The main entity a pick names (an attribute's block reference) when the screen shows it; 0
// otherwise.
Adesk::IntPtr PickableEntity(Adesk::IntPtr picked, bool skipLocked);
// Whether the layer of the entity is locked.
bool OnLockedLayer(const AcDbEntity* ent);
// Whether the entity belongs to the space the user works in (model space, or paper space while
// the layout's paper space viewport is current).
bool InCurrentSpace(const AcDbEntity* ent);

}  // namespace standin
