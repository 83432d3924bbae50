// The raw ADS arrays as value classes: the host writes through the conversions into the
// object's own storage, and names compare on both words.
#include "ads/AdsValues.h"

#include <gtest/gtest.h>

namespace {

// Stand for host calls that fill an ads_point / ads_name / ads_matrix argument.
void HostWritesPoint(ads_point out) { out[X] = 10, out[Y] = 11, out[Z] = 12; }
void HostWritesName(ads_name out) { out[0] = 11, out[1] = 22; }
void HostWritesMatrix(ads_matrix out) { out[0][3] = 5.0; }

TEST(AdsValues, TheHostWritesIntoTheObjectsOwnStorage) {
  ZoAdsPoint pt(7, 8);
  HostWritesPoint(pt);
  EXPECT_TRUE(pt == ZoGePoint(10, 11, 12));
  const ZoAdsPoint& cpt = pt;
  static_cast<double*>(cpt)[1] = -1.0;  // a const point still hands out its own storage
  EXPECT_EQ(pt.y, -1.0);
  double out[3] = {};
  pt >> out;
  EXPECT_EQ(out[Y], -1.0);
  EXPECT_EQ(out[Z], 12.0);

  ZoAdsName name;
  HostWritesName(name);
  const ads_name expected = {11, 22};
  EXPECT_TRUE(name == expected);

  // A matrix is the identity until something is written over it; a null source leaves it so.
  ZoAdsMatrix m(static_cast<const double(*)[4]>(nullptr));
  HostWritesMatrix(m);
  const ads_matrix& entries = m;
  EXPECT_EQ(entries[0][3], 5.0);
  EXPECT_EQ(entries[1][1], 1.0);
  EXPECT_EQ(entries[1][0], 0.0);
  ads_matrix raw;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) raw[r][c] = r * 4 + c + 0.5;
  ZoAdsMatrix copied;
  copied = ZoAdsMatrix(raw);
  EXPECT_EQ(static_cast<const ads_matrix&>(copied)[2][1], 9.5);  // row-major: [row][column]
}

TEST(AdsValues, NamesAreValidAndEqualByBothWords) {
  const ads_name secondOnly = {0, 5}, firstOnly = {-3, 0}, close = {0, 6};
  EXPECT_FALSE(ZoAdsName().IsValid());
  EXPECT_TRUE(ZoAdsName(secondOnly).IsValid());
  EXPECT_TRUE(ZoAdsName(firstOnly).IsValid());
  const ZoAdsName a(secondOnly);
  EXPECT_TRUE(a == secondOnly);
  EXPECT_TRUE(a != close);
  EXPECT_FALSE(a == firstOnly);
  EXPECT_FALSE(a == ZoAdsName());
  EXPECT_TRUE(a == ZoAdsName(a));
  // A null name is no name.
  const ZoAdsName fromNull(static_cast<const long long*>(nullptr));
  EXPECT_FALSE(fromNull.IsValid());
  EXPECT_TRUE(fromNull == static_cast<const long long*>(nullptr));
  EXPECT_FALSE(a == static_cast<const long long*>(nullptr));
}

}  // namespace
