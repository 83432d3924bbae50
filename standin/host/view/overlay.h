// What the host draws over the drawing in the current viewport until the next redraw of it:
// temporary vectors (acedGrDraw), the image of a set being dragged (acedDragGen) and what a jig
// shows. The renderer and the tests read it as the user would see it.
#pragma once

#include <adsdef.h>

#include <vector>

namespace standin {

struct TempVector {
  double from[3], to[3];  // world
  int colour;             // the host's colour number; -1 is XOR ink
  bool highlighted;       // drawn dashed
  int viewport;           // CVPORT when drawn
};

// Adds a temporary vector. An XOR vector drawn again over an identical one erases both, as the
// screen's XOR ink does.
void AddTempVector(const TempVector& vector);
std::vector<TempVector> TempVectors();
// A redraw of the viewport (acedRedraw with no entity, REDRAW) takes its vectors away.
void ClearTempVectors(int viewport);

// The entities of a set being dragged, drawn moved by matrix (world to world) while the drag
// lasts; the entities themselves stay where they are.
struct DragImage {
  std::vector<Adesk::IntPtr> entities;
  double matrix[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};
void SetDragImage(DragImage image);
void MoveDragImage(const double matrix[4][4]);
void ClearDragImage();
// False when no drag is under way.
bool CurrentDragImage(DragImage& image);

// The segments (world, x and y) of what a jig shows after its last update, and its linetype name.
struct JigImage {
  std::vector<double> segments;  // x1, y1, x2, y2 per segment
  bool dashed = false;
};
void SetJigImage(JigImage image);
void ClearJigImage();
bool CurrentJigImage(JigImage& image);

}  // namespace standin
