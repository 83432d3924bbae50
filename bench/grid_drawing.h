// The drawing the view benchmarks share: a square grid of lines and circles on two layers.
#pragma once

#include <dbapserv.h>
#include <dbents.h>

#include <cmath>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/views.h"

namespace tovubench {

// n lines and circles, every other one a circle and every fourth on layer DOOR, shown whole;
// returns the grid's side.
inline double BuildGridDrawing(long n) {
  standin::Session::Get().Reset();
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  standin::AddLayer(db, L"DOOR");
  const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(n))));
  for (long i = 0; i < n; ++i) {
    const double x = static_cast<double>(i % side), y = static_cast<double>(i / side);
    if (i % 2)
      standin::AddEntity(db, new AcDbCircle(AcGePoint3d(x + 0.5, y + 0.5, 0), AcGeVector3d::kZAxis, 0.3),
                         i % 4 == 1 ? L"DOOR" : nullptr);
    else
      standin::AddEntity(db, new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 0.5, y + 0.5, 0)));
  }
  const double center[3] = {side / 2.0, side / 2.0, 0};
  standin::ZoomTo(center, side + 4.0);
  return static_cast<double>(side);
}

}  // namespace tovubench
