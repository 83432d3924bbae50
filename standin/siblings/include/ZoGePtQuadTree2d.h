// The geometry library's point quadtree, as far as the platform knows it: its containers hold
// pointers to trees and never look inside one.
#pragma once

class ZoGePtQuadTree2d;
