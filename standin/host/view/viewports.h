// Control of the host's viewports: the tiled viewports of model space (TILEMODE 1) and, on a
// layout (TILEMODE 0), paper space (viewport 1) with its floating viewports. CVPORT names the
// current one and only takes the number of a viewport of the list in use.
#pragma once

#include <vector>

namespace standin {

struct Viewport {
  short number;
  double lowerLeft[2];
  double upperRight[2];
};

// The tiled viewports of model space (by default one, number 2, the whole drawing area).
void SetTiledViewports(std::vector<Viewport> viewports);
// Paper space and its floating viewports (by default paper space 1, 420 x 297, and one
// floating viewport 2).
void SetLayoutViewports(std::vector<Viewport> viewports);
// The list in use: the tiled viewports while TILEMODE is 1, the layout's otherwise.
std::vector<Viewport> Viewports();
// The current viewport's number (CVPORT).
int CurrentViewport();

}  // namespace standin
