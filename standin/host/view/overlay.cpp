// The host's temporary graphics: kept per session, cleared with the drawing and by a redraw of
// the viewport they were drawn in.
#include "standin/host/view/overlay.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "standin/host/core/session.h"
#include "standin/host/drawing/dbaccess.h"

namespace standin {

namespace {

struct Overlay {
  std::vector<TempVector> vectors;
  std::optional<DragImage> drag;
  std::optional<JigImage> jig;
};

Overlay& State() {
  static auto* overlay = new Overlay;  // guarded by DrawingMutex, never destroyed as the session
  return *overlay;
}

void Clear() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  State() = Overlay();
}

const bool g_registered = (AddDrawingClosedHandler(&Clear), Session::Get().AddResetHandler(&Clear), true);

bool Same(const TempVector& a, const TempVector& b) {
  return std::equal(a.from, a.from + 3, b.from) && std::equal(a.to, a.to + 3, b.to) && a.colour == b.colour &&
         a.viewport == b.viewport;
}

}  // namespace

void AddTempVector(const TempVector& vector) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<TempVector>& vectors = State().vectors;
  if (vector.colour == -1) {
    const auto it = std::find_if(vectors.begin(), vectors.end(), [&](const TempVector& v) { return Same(v, vector); });
    if (it != vectors.end()) {
      vectors.erase(it);
      return;
    }
  }
  vectors.push_back(vector);
}

std::vector<TempVector> TempVectors() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  return State().vectors;
}

void ClearTempVectors(int viewport) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  std::vector<TempVector>& vectors = State().vectors;
  vectors.erase(std::remove_if(vectors.begin(), vectors.end(),
                               [viewport](const TempVector& v) { return v.viewport == viewport; }),
                vectors.end());
}

void SetDragImage(DragImage image) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  State().drag = std::move(image);
}

void MoveDragImage(const double matrix[4][4]) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!State().drag) return;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) State().drag->matrix[r][c] = matrix[r][c];
}

void ClearDragImage() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  State().drag.reset();
}

bool CurrentDragImage(DragImage& image) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!State().drag) return false;
  image = *State().drag;
  return true;
}

void SetJigImage(JigImage image) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  State().jig = std::move(image);
}

void ClearJigImage() {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  State().jig.reset();
}

bool CurrentJigImage(JigImage& image) {
  std::lock_guard<std::recursive_mutex> lock(DrawingMutex());
  if (!State().jig) return false;
  image = *State().jig;
  return true;
}

}  // namespace standin
