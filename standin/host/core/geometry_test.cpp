// The host's plane geometry of ADS points: angles of lines and points at a distance.
#include <acutads.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(PointGeometry, AngleAndPolarAreInverseInEveryQuadrant) {
  const ads_point base = {10, -30, 4};
  for (int step = 0; step < 16; ++step) {
    const double angle = step * kPi / 8 + 0.1;
    ads_point far;
    acutPolar(base, angle, 25, far);
    EXPECT_NEAR(std::hypot(far[X] - base[X], far[Y] - base[Y]), 25, 1e-9);
    EXPECT_EQ(far[Z], 4);
    const double back = acutAngle(base, far);
    EXPECT_GE(back, 0);
    EXPECT_LT(back, 2 * kPi);
    EXPECT_NEAR(back, std::fmod(angle, 2 * kPi), 1e-9) << step;
    // The other way round is half a turn more.
    EXPECT_NEAR(acutAngle(far, base), std::fmod(angle + kPi, 2 * kPi), 1e-9) << step;
  }
  // The axes, a negative distance and a negative angle.
  const ads_point o = {0, 0, 0}, left = {-3, 0, 0}, down = {0, -2, 7}, up = {0, 5, 0};
  EXPECT_EQ(acutAngle(o, left), kPi);
  EXPECT_NEAR(acutAngle(o, down), 1.5 * kPi, 1e-15);
  EXPECT_NEAR(acutAngle(o, up), kPi / 2, 1e-15);
  ads_point p;
  acutPolar(o, -kPi / 2, -4, p);
  EXPECT_NEAR(p[X], 0, 1e-12);
  EXPECT_NEAR(p[Y], 4, 1e-12);
  // Just below the x axis the angle is almost a full turn, never 2 pi itself.
  const ads_point below = {1, -1e-17, 0};
  EXPECT_LT(acutAngle(o, below), 2 * kPi);
}

TEST(PointGeometry, CoincidentPointsHaveAngleZeroAndResultMayBeTheInput) {
  const ads_point a = {3, 4, 5}, sameXY = {3, 4, -9}, negZero = {-0.0, -0.0, 0}, zero = {0, 0, 0};
  EXPECT_EQ(acutAngle(a, a), 0);
  EXPECT_EQ(acutAngle(a, sameXY), 0) << "only x and y count";
  EXPECT_EQ(acutAngle(zero, negZero), 0) << "the signs of zeros give no direction";
  ads_point p = {1, 2, 3};
  acutPolar(p, kPi / 2, 10, p);
  EXPECT_NEAR(p[X], 1, 1e-12);
  EXPECT_NEAR(p[Y], 12, 1e-12);
  EXPECT_EQ(p[Z], 3);
}

}  // namespace
