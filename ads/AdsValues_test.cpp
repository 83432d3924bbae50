#include "ads/AdsValues.h"

#include <gtest/gtest.h>

namespace {

// Stands for a host call that fills an ads_point / ads_name / ads_matrix argument.
void HostWritesPoint(ads_point out, double v) { out[X] = v, out[Y] = v + 1, out[Z] = v + 2; }
void HostWritesName(ads_name out) { out[0] = 11, out[1] = 22; }
void HostWritesMatrix(ads_matrix out) { out[0][3] = 5.0; }

TEST(ZoAdsPoint, ConstructsCopiesOutAndExposesItsOwnStorage) {
  const ZoAdsPoint zero;
  EXPECT_EQ(zero.x, 0.0);
  EXPECT_EQ(zero.y, 0.0);
  EXPECT_EQ(zero.z, 0.0);

  const double raw[3] = {1.5, -2.5, 3.25};
  const ZoAdsPoint fromRaw(raw);
  double out[3] = {-9, -9, -9};
  fromRaw >> out;
  EXPECT_EQ(out[0], 1.5);
  EXPECT_EQ(out[1], -2.5);
  EXPECT_EQ(out[2], 3.25);

  ZoAdsPoint pt(7, 8);
  EXPECT_EQ(pt.z, 0.0);
  HostWritesPoint(pt, 10.0);  // through the double[3] conversion
  EXPECT_EQ(pt.x, 10.0);
  EXPECT_EQ(pt.y, 11.0);
  EXPECT_EQ(pt.z, 12.0);

  const ZoAdsPoint& cpt = pt;
  double* storage = cpt;  // a const point still hands out its own storage
  EXPECT_EQ(storage, &pt.x);
  storage[1] = -1.0;
  EXPECT_EQ(pt.y, -1.0);
  const ads_point& asArray = cpt;
  EXPECT_EQ(&asArray[2], &pt.z);

  ZoAdsPoint copy;
  copy = pt;
  EXPECT_TRUE(copy == ZoGePoint(10.0, -1.0, 12.0));
  EXPECT_NE(static_cast<double*>(copy), static_cast<double*>(pt));
}

TEST(ZoAdsMatrix, IsTheIdentityUntilOverwrittenAndCopiesAllSixteenValues) {
  const ZoAdsMatrix identity;
  const ads_matrix& m = identity;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(m[r][c], r == c ? 1.0 : 0.0) << r << "," << c;

  ads_matrix raw;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) raw[r][c] = r * 4 + c + 0.5;
  ZoAdsMatrix fromRaw(raw);
  const ads_matrix& f = fromRaw;
  EXPECT_EQ(f[0][0], 0.5);
  EXPECT_EQ(f[2][1], 9.5);  // row-major: [row][column]
  EXPECT_EQ(f[3][3], 15.5);

  const ZoAdsMatrix fromNull(static_cast<const double(*)[4]>(nullptr));
  EXPECT_EQ(static_cast<const ads_matrix&>(fromNull)[1][1], 1.0);

  ZoAdsMatrix assigned;
  assigned = fromRaw;
  EXPECT_EQ(static_cast<const ads_matrix&>(assigned)[1][2], 6.5);
  ZoAdsMatrix copied(fromRaw);
  EXPECT_EQ(static_cast<const ads_matrix&>(copied)[3][0], 12.5);

  ZoAdsMatrix written;
  HostWritesMatrix(written);
  EXPECT_EQ(static_cast<const ads_matrix&>(written)[0][3], 5.0);
  EXPECT_EQ(static_cast<const ads_matrix&>(written)[0][0], 1.0);
}

TEST(ZoAdsName, ValidityAndEqualityAreExactOnBothWords) {
  const ZoAdsName none;
  EXPECT_FALSE(none.IsValid());
  const ads_name secondOnly = {0, 5};
  EXPECT_TRUE(ZoAdsName(secondOnly).IsValid());
  const ads_name firstOnly = {-3, 0};
  EXPECT_TRUE(ZoAdsName(firstOnly).IsValid());

  ZoAdsName a(secondOnly), b;
  EXPECT_TRUE(a == secondOnly);
  EXPECT_FALSE(a != secondOnly);
  const ads_name close = {0, 6};
  EXPECT_FALSE(a == close);
  EXPECT_FALSE(a == firstOnly);
  EXPECT_FALSE(a == b);  // through the conversion of the right-hand name
  b = a;
  EXPECT_TRUE(a == b);
  b = firstOnly;
  EXPECT_TRUE(b != a);

  ZoAdsName written;
  HostWritesName(written);
  const ads_name expected = {11, 22};
  EXPECT_TRUE(written == expected);
  const ZoAdsName& cwritten = written;
  EXPECT_EQ(&static_cast<const ads_name&>(cwritten)[0], &static_cast<ads_name&>(written)[0]);

  ZoAdsName fromNull(static_cast<const long long*>(nullptr));
  EXPECT_FALSE(fromNull.IsValid());
  EXPECT_TRUE(fromNull == static_cast<const long long*>(nullptr));
}

}  // namespace
