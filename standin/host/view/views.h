// Control of the host's views: the view of every viewport, the user coordinate system, and the
// mapping between the drawing view's pixels, display, user and world coordinates. The view of
// the current viewport is what the view variables (VIEWCTR, VIEWSIZE, VIEWDIR, TARGET, VIEWTWIST,
// VIEWMODE, LENSLENGTH, FRONTZ, BACKZ, SCREENSIZE) show; setting one of them moves the view too.
#pragma once

namespace standin {

struct View {
  double center[2] = {400, 300};       // display coordinates
  double height = 600;                 // display units shown from top to bottom (VIEWSIZE)
  double target[3] = {0, 0, 0};        // world
  double direction[3] = {0, 0, 1};     // world, from the target towards the eye
  double twist = 0;                    // radians
  double lens = 50, front = 0, back = 0;
  int mode = 0;                        // VIEWMODE bits
};

struct Ucs {
  double origin[3] = {0, 0, 0};
  double xAxis[3] = {1, 0, 0};
  double yAxis[3] = {0, 1, 0};
};

// The pixels of the drawing view a viewport covers (origin at the drawing view's top-left
// corner, y down).
struct PixelRect {
  double left, top, width, height;
};

// The size of the drawing view's client area in pixels.
constexpr int kDrawingViewWidth = 800, kDrawingViewHeight = 600;

// The view of a viewport of the list in use; false for one that does not exist.
bool ViewOf(int viewport, View& view);
View CurrentView();
// Makes the view current in the current viewport as a zoom or pan of the user does, and records
// it in the journal. The caller has checked it (positive height, non-zero direction).
void ShowView(const View& view);
// Zooms the current viewport to a centre (user coordinates of a plan view) and a height, as the
// mouse wheel does; false for a height that is not positive.
bool ZoomTo(const double center[3], double height);

Ucs CurrentUcs();
// Makes the user coordinate system current (axes made orthonormal; false when they are parallel
// or zero) and records it in the journal.
bool SetUcs(const Ucs& ucs);

bool ViewportPixels(int viewport, PixelRect& rect);
// The world point on the view plane under a pixel of the drawing view (fractions allowed), and
// the pixel showing a world point; false for a viewport that does not exist.
bool PixelToWorld(int viewport, double px, double py, double world[3]);
bool WorldToPixel(int viewport, const double world[3], double& px, double& py);

// Between world (0), user (1) and display (2) coordinates of the current viewport; a
// displacement when disp. False for another code.
bool Transform(const double in[3], int from, int to, bool disp, double out[3]);

}  // namespace standin
