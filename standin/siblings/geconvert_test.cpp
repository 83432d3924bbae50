// The sibling stand-ins between the family's geometry and the host's entities: the closing rule
// of the 2D polyline, geometry turned into entities, entities released, block transforms.
#include <ZoDbUtil.h>
#include <ZoGePolyline2d.h>
#include <acarray.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbpl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(GeometryPolyline2d, ClosingDropsALastVertexOnTheFirst) {
  ZoGePolyline2d poly(0, false);
  poly.AppendVertex(ZoGePoint(0, 0), kPi / 2);
  poly.AppendVertex(ZoGePoint(4, 0), 0.3);
  poly.AppendVertex(ZoGePoint(4, 4));
  poly.AppendVertex(ZoGePoint(0.05, 0), 0.7);
  poly.SetElevation(2);
  ZoGePolyline2d tight(poly);
  tight.SetClosed(true, 0.01);
  EXPECT_TRUE(tight.IsClosed());
  EXPECT_EQ(tight.GetVertexNum(), 4) << "0.05 apart is more than the tolerance";
  poly.SetClosed(true, 0.1);
  ASSERT_EQ(poly.GetVertexNum(), 3);
  EXPECT_EQ(poly.GetVertex(2), ZoGePoint(4, 4));
  EXPECT_DOUBLE_EQ(poly.GetBulge(0), kPi / 2) << "bulges stay included angles";
  EXPECT_DOUBLE_EQ(poly.GetBulge(1), 0.3);
  EXPECT_EQ(poly.GetElevation(), 2);
  // Opening keeps the vertices; a lone vertex stays.
  poly.SetClosed(false, 0.1);
  EXPECT_FALSE(poly.IsClosed());
  EXPECT_EQ(poly.GetVertexNum(), 3);
  ZoGePolyline2d dot;
  dot.AppendVertex(ZoGePoint(1, 1));
  dot.SetClosed(true, 1.0);
  EXPECT_EQ(dot.GetVertexNum(), 1);
  // A tolerance below g_distZero counts as g_distZero.
  ZoGePolyline2d exact;
  exact.AppendVertex(ZoGePoint(0, 0));
  exact.AppendVertex(ZoGePoint(1, 0));
  exact.AppendVertex(ZoGePoint(0, 1));
  exact.AppendVertex(ZoGePoint(0, 0));
  exact.SetClosed(true, -1);
  EXPECT_EQ(exact.GetVertexNum(), 3);

  std::unique_ptr<ZoGeObject> clone(poly.Clone());
  ASSERT_NE(dynamic_cast<ZoGePolyline2d*>(clone.get()), nullptr);
  EXPECT_STREQ(clone->GetRxClassName(), L"ZoGePolyline2d");
  ZoGePolyline2d target;
  EXPECT_TRUE(target.CopyFrom(*clone));
  EXPECT_TRUE(target == poly);
  EXPECT_FALSE(target.CopyFrom(ZoGeLineSeg2d()));
  EXPECT_FALSE(target.CopyFrom(ZoGeMLine2d())) << "only polylines of this kind";
}

TEST(DrawingUtilities, GeometryBecomesEntitiesWithHostBulges) {
  standin::Session::Get().Reset();
  standin::OpenEmptyDrawing();
  ZoGePolyline2d poly(0, false);
  poly.AppendVertex(ZoGePoint(0, 0), kPi);
  poly.AppendVertex(ZoGePoint(2, 0), -kPi / 2);
  poly.AppendVertex(ZoGePoint(2, 2));
  poly.SetElevation(5);
  poly.SetClosed(true, 0);
  std::unique_ptr<AcDbEntity> ent(ZoGe2AcDb(&poly));
  auto* pline = AcDbPolyline::cast(ent.get());
  ASSERT_NE(pline, nullptr);
  EXPECT_TRUE(pline->objectId().isNull());
  EXPECT_EQ(pline->layerId(), acdbHostApplicationServices()->workingDatabase()->layerZero());
  ASSERT_EQ(pline->numVerts(), 3u);
  EXPECT_TRUE(pline->isClosed());
  EXPECT_EQ(pline->elevation(), 5);
  double bulge = 0;
  pline->getBulgeAt(0, bulge);
  EXPECT_NEAR(bulge, 1.0, 1e-12);
  pline->getBulgeAt(1, bulge);
  EXPECT_NEAR(bulge, std::tan(-kPi / 8), 1e-12);
  pline->getBulgeAt(2, bulge);
  EXPECT_EQ(bulge, 0);
  AcGePoint2d pt;
  pline->getPointAt(1, pt);
  EXPECT_EQ(pt, AcGePoint2d(2, 0));

  ZoGeLineSeg2d seg(ZoGePoint(1, 2, 3), ZoGePoint(4, 5, 3));
  std::unique_ptr<AcDbEntity> line(ZoGe2AcDb(&seg));
  ASSERT_NE(AcDbLine::cast(line.get()), nullptr);
  EXPECT_EQ(AcDbLine::cast(line.get())->endPoint(), AcGePoint3d(4, 5, 3));
  EXPECT_EQ(ZoGe2AcDb(nullptr), nullptr);

  // Released: free entities are deleted (the sanitizer build sees any leak), drawing ones stay.
  const AcDbObjectId kept =
      standin::AddEntity(acdbHostApplicationServices()->workingDatabase(), new AcDbLine({0, 0, 0}, {1, 0, 0}));
  AcDbEntity* resident = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(resident, kept, AcDb::kForRead), Acad::eOk);
  AcDbVoidPtrArray ents;
  ents.append(ent.release());
  ents.append(line.release());
  ents.append(resident);
  ents.append(nullptr);
  ReleaseEntSet(ents);
  EXPECT_EQ(ents.length(), 0);
  EXPECT_EQ(resident->close(), Acad::eOk);
  EXPECT_EQ(standin::OpenObjectCount(), 0);
  standin::Session::Get().Reset();
}

TEST(DrawingUtilities, BlockTransformPlacesBlockPoints) {
  AcDbBlockReference ref(AcGePoint3d(10, 20, 0), AcDbObjectId::kNull);
  ref.setRotation(kPi / 2);
  ref.setScaleFactors(AcGeScale3d(2, 3, 1));
  AcGePoint3d p(1, 1, 0);
  p.transformBy(BlockTransform(&ref));
  EXPECT_NEAR(p.x, 10 - 3, 1e-12);
  EXPECT_NEAR(p.y, 20 + 2, 1e-12);
  const AcGeMatrix3d identity = BlockTransform(nullptr);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(identity(r, c), r == c ? 1.0 : 0.0);
}

}  // namespace
