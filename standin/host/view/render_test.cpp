// The drawing view as a picture: what each entity looks like in its colour, the display states,
// the temporary graphics, the cursor and the view, against reference images; bad drawings.
#include "standin/host/view/render.h"

#include <acedads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <gtest/gtest.h>
#include <rxmfcapi.h>
#include <windows.h>

#include <cmath>
#include <limits>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/overlay.h"
#include "testing/EntityData.h"
#include "testing/GoldenImage.h"

namespace {

using standin::Session;
using tovutest::ByHandle;
using tovutest::MatchesGolden;

constexpr double kPi = 3.141592653589793;

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Get().Reset();
    MoveCursor(-1, -1);
  }
  void TearDown() override {
    MoveCursor(-1, -1);
    Session::Get().Reset();
  }
  // The mouse over a pixel of the drawing view.
  static void MoveCursor(LONG x, LONG y) {
    POINT pt{x, y};
    ClientToScreen(acedGetAcadDwgView()->m_hWnd, &pt);
    SetCursorPos(pt.x, pt.y);
  }
  static AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }
};

tovutest::RgbImage Picture(int width = 400, int height = 300) {
  const standin::Raster raster = standin::RenderView(width, height).raster;
  return {raster.width, raster.height, raster.Rgb()};
}

uint32_t PixelAt(const standin::Raster& raster, int x, int y) {
  return raster.pixels[static_cast<size_t>(y) * raster.width + x];
}

AcDbEntity* Coloured(AcDbEntity* entity, int colour) {
  entity->setColorIndex(static_cast<Adesk::UInt16>(colour));
  return entity;
}

AcDbHatch* NewHatch(const wchar_t* pattern, std::initializer_list<AcGePoint2d> points,
                    std::initializer_list<double> bulges) {
  auto* hatch = new AcDbHatch;
  hatch->setPattern(AcDbHatch::kPreDefined, pattern);
  AcGePoint2dArray vertices;
  AcGeDoubleArray bs;
  for (const AcGePoint2d& p : points) vertices.append(p);
  for (double b : bulges) bs.append(b);
  hatch->appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, vertices, bs);
  hatch->evaluateHatch();
  return hatch;
}

// Every kind of entity the view draws, in colours by number, BYLAYER and BYBLOCK; what lies on a
// layer that is off or frozen is not drawn.
TEST_F(RenderTest, EntitiesInTheirColours) {
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = Db();
  standin::AddLayer(db, L"RED", 1);
  standin::AddLayer(db, L"OFF", 3, false, true);
  standin::AddLayer(db, L"FROZEN", 4, false, false, true);
  standin::AddEntity(db, new AcDbLine({20, 560, 0}, {200, 500, 0}));
  standin::AddEntity(db, new AcDbLine({20, 540, 0}, {200, 480, 0}), L"RED");
  standin::AddEntity(db, Coloured(new AcDbLine({20, 520, 0}, {200, 460, 0}), 5), L"RED");
  standin::AddEntity(db, new AcDbLine({20, 420, 0}, {200, 440, 0}), L"OFF");
  standin::AddEntity(db, new AcDbLine({20, 440, 0}, {200, 420, 0}), L"FROZEN");
  standin::AddEntity(db, Coloured(new AcDbCircle({300, 500, 0}, AcGeVector3d::kZAxis, 50), 3));
  // A quarter from east to north, and a half from west through south to east.
  standin::AddEntity(db, Coloured(new AcDbArc({450, 500, 0}, 50, 0, kPi / 2), 2));
  standin::AddEntity(db, Coloured(new AcDbArc({450, 500, 0}, 30, kPi, 0), 30));
  standin::AddEntity(db, new AcDbPoint({560, 560, 0}));

  // Thin and wide polylines: bulges to the left (positive) and to the right (negative).
  auto* thin = new AcDbPolyline;
  thin->addVertexAt(0, {560, 460}, 1.0);
  thin->addVertexAt(1, {640, 460}, -0.5);
  thin->addVertexAt(2, {760, 460});
  standin::AddEntity(db, Coloured(thin, 4));
  auto* wide = new AcDbPolyline;
  wide->addVertexAt(0, {40, 340}, 0, 4, 16);
  wide->addVertexAt(1, {160, 340}, -1.0, 10, 10);
  wide->addVertexAt(2, {160, 260}, 0.4, 10, 2);
  wide->addVertexAt(3, {260, 260});
  standin::AddEntity(db, Coloured(wide, 6));
  AcDb2dPolyline* old = nullptr;
  ASSERT_EQ(acdbOpenObject(old, standin::AddEntity(db, Coloured(new AcDb2dPolyline, 11)), AcDb::kForWrite), Acad::eOk);
  for (auto* vertex : {new AcDb2dVertex({560, 120, 0}, 0, 0, 8), new AcDb2dVertex({660, 120, 0}, 0.5, 8, 8),
                       new AcDb2dVertex({760, 180, 0})}) {
    ASSERT_EQ(old->appendVertex(vertex), Acad::eOk);
    vertex->close();
  }
  old->close();

  // Text in the stroke font, with a glyph the font lacks (its box is drawn).
  standin::AddEntity(db, Coloured(new AcDbText({300, 340, 0}, L"Tovu 0-9 AZaz \u95e8?", AcDbObjectId::kNull, 24), 7));
  standin::AddEntity(db, new AcDbText({300, 290, 0}, L"turned", AcDbObjectId::kNull, 16, kPi / 6), L"RED");

  // A block: a BYBLOCK line, a circle BYLAYER on layer 0 (both follow the reference) and a blue
  // one, with a visible and an invisible attribute.
  auto* tag = new AcDbAttributeDefinition({0, -30, 0}, L"A1", L"TAG", L"Tag");
  tag->setHeight(12);
  auto* hidden = new AcDbAttributeDefinition({0, -50, 0}, L"SECRET", L"NOTE", L"Note");
  hidden->setHeight(12);
  hidden->setInvisible(true);
  standin::AddBlock(
      db, L"MARK",
      {Coloured(new AcDbLine({-40, 0, 0}, {40, 0, 0}), 0), new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 20),
       Coloured(new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 10), 5), tag, hidden});
  const AcDbObjectId mark = standin::AddBlockReference(db, L"MARK", {640, 300, 0}, kPi / 8, {{L"TAG", L"B7"}}, L"RED");
  standin::AddBlockReference(db, L"MARK", {520, 300, 0}, 0, {}, L"OFF");
  AcDbEntity* ref = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ref, mark, AcDb::kForWrite), Acad::eOk);
  ref->setColorIndex(40, false);
  ref->close();

  // Hatches: solid with an arc in its loop, a known pattern, and a pattern drawn as its outline.
  standin::AddEntity(db,
                     Coloured(NewHatch(L"SOLID", {{40, 100}, {160, 100}, {160, 200}, {40, 200}}, {0, 0.6, 0, 0}), 1));
  auto* ansi = NewHatch(L"ANSI31", {{200, 100}, {320, 100}, {320, 200}, {200, 200}}, {});
  ansi->setPatternScale(4);
  ansi->evaluateHatch();
  standin::AddEntity(db, Coloured(ansi, 3));
  standin::AddEntity(db, Coloured(NewHatch(L"ESCHER", {{360, 100}, {480, 100}, {420, 200}}, {}), 2));

  EXPECT_TRUE(MatchesGolden(Picture(800, 600), "standin/host/view/golden/entities.png"));
}

// A highlighted door is dashed and a hidden one not drawn; over the drawing the temporary vectors,
// the image of a set being dragged, a jig's rectangle and the cursor.
TEST_F(RenderTest, DisplayStatesAndTemporaryGraphics) {
  ASSERT_EQ(acedRedraw(ByHandle(L"1C").n, 3), RTNORM);
  ASSERT_EQ(acedRedraw(ByHandle(L"20").n, 2), RTNORM);
  standin::AddTempVector({{120, 60, 0}, {680, 60, 0}, 1, false, 2});
  standin::AddTempVector({{120, 40, 0}, {680, 40, 0}, 2, true, 2});
  standin::AddTempVector({{120, 20, 0}, {680, 20, 0}, 3, false, 3});  // another viewport's
  standin::DragImage drag;
  drag.entities = {ByHandle(L"1C").n[0]};
  drag.matrix[0][3] = 250;
  drag.matrix[1][3] = 300;
  standin::SetDragImage(drag);
  standin::SetJigImage({{450, 150, 650, 150, 650, 150, 650, 250, 650, 250, 450, 250, 450, 250, 450, 150}, true});
  MoveCursor(300, 200);
  EXPECT_TRUE(MatchesGolden(Picture(), "standin/host/view/golden/display_states.png"));
}

// The crosshair follows a rotated user coordinate system; the view zoomed and panned, and the
// same view at twice the size.
TEST_F(RenderTest, RotatedUserCoordinatesAndAZoomedView) {
  const standin::Raster normal = standin::RenderView().raster, large = standin::RenderView(1600, 1200).raster;
  EXPECT_EQ(PixelAt(normal, 100, 500), 0xFFFFFFu);  // the walls' corner at 100,100
  EXPECT_EQ(PixelAt(large, 200, 1000), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(large, 201, 1002), 0u);

  standin::Ucs ucs;
  ucs.origin[0] = 100, ucs.origin[1] = 100;
  ucs.xAxis[0] = std::cos(kPi / 6), ucs.xAxis[1] = std::sin(kPi / 6);
  ucs.yAxis[0] = -std::sin(kPi / 6), ucs.yAxis[1] = std::cos(kPi / 6);
  ASSERT_TRUE(standin::SetUcs(ucs));
  const double center[3] = {250, 150, 0};
  ASSERT_TRUE(standin::ZoomTo(center, 300));
  MoveCursor(500, 350);
  EXPECT_TRUE(MatchesGolden(Picture(), "standin/host/view/golden/ucs_zoom.png"));
}

// Bad values and unknown entities are left out, said once; a line from far away is clipped, a
// zero radius is a dot and a million vertices take no time to speak of.
TEST_F(RenderTest, BadDrawingsRenderWithoutAFault) {
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = Db();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  standin::AddEntity(db, new AcDbLine({nan, 0, 0}, {10, 10, 0}));
  standin::AddEntity(db, new AcDbLine({-1e300, 300, 0}, {1e300, 300, 0}));
  standin::AddEntity(db, new AcDbCircle({100, 100, 0}, AcGeVector3d::kZAxis, 0));
  standin::AddEntity(db, new AcDbCircle({400, 100, 0}, AcGeVector3d::kZAxis, 1e300));
  standin::AddEntity(db, new AcDbSequenceEnd);
  auto* zigzag = new AcDbPolyline;
  for (unsigned i = 0; i < 1000000; ++i) zigzag->addVertexAt(i, {i * 0.0008, i % 2 ? 420.0 : 400.0});
  standin::AddEntity(db, zigzag);

  testing::internal::CaptureStderr();
  const standin::RenderResult first = standin::RenderView();
  const standin::RenderResult second = standin::RenderView();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(first.leftOut, (std::vector<std::wstring>{L"1 entity of a type the view does not draw (AcDbSequenceEnd)",
                                                      L"1 entity with coordinates that are not finite"}));
  EXPECT_EQ(second.leftOut, first.leftOut);
  EXPECT_NE(said.find("leaves out 1 entity with coordinates that are not finite"), std::string::npos) << said;
  EXPECT_EQ(said.find("not finite"), said.rfind("not finite")) << said;
  EXPECT_EQ(PixelAt(first.raster, 100, 500), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(first.raster, 50, 300), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(first.raster, 400, 190), 0xFFFFFFu);
}

}  // namespace
