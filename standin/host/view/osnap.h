// Running object snaps: where the modes of OSMODE take a click, among the entities the aperture
// box (APERTURE pixels of the current view) touches. Callers hold the drawing lock.
#pragma once

namespace standin {

// The OSMODE bits the stand-in carries out; others are left alone.
constexpr int kSnapEndpoint = 1, kSnapMidpoint = 2, kSnapCenter = 4, kSnapNearest = 512, kSnapOff = 16384;

// The aperture box's half size in drawing units, measured as PickBoxHalf measures the pick box.
double ApertureHalf();
// The point the running snaps take a click at p (world) to: false, snapped untouched, when the
// modes are off or none finds a point.
bool RunningSnap(const double p[3], int osmode, double snapped[3]);

}  // namespace standin
