// Slide files read into vector lists: the header's checks, every record type in both byte
// orders, the points that offset forms count from, solid-fill sequences, the stops at undefined
// records and at the end of the data; and the real slides of the shared test data.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "image/ImageDraw.h"
#include "image/ImageList.h"
#include "platform/Host.h"
#include "testing/Canvas.h"
#include "testing/ImageTest.h"
#include "testing/SlideWriter.h"
#include "testing/TempDir.h"

namespace {

using tovutest::Lines;
using tovutest::Numbers;
using tovutest::Polygons;
using tovutest::SlideWriter;
using tovutest::Strings;

class SlideFile : public ::testing::Test {
 protected:
  int Read(ZoPtImageList& list, const std::string& bytes) {
    return list.ReadSlideFile(m_dir.Write("slide.sld", bytes).wstring().c_str());
  }

  tovutest::TempDir m_dir;
};

TEST_F(SlideFile, HeaderIsCheckedBeforeAnythingIsRead) {
  ZoPtImageList list;
  // The identification in any letter case, levels 1 and 2; the four bytes after the
  // identification and the type byte are not looked at. Reading appends to the list.
  std::string loose = SlideWriter(false, 1, "autocad slide").Vector(1, 2, 3, 4).End().bytes();
  loose.replace(13, 5, "XXXXX");
  EXPECT_EQ(Read(list, loose), RTNORM);
  EXPECT_EQ(Read(list, SlideWriter(false, 2, "AUTOCAD SLIDE").Vector(1, 2, 3, 4).Polygon({{0, 0}, {1, 1}}).bytes()),
            RTNORM);
  // Exactly the header: accepted, nothing in it.
  const std::string header = SlideWriter().bytes();
  ASSERT_EQ(header.size(), 31u);
  EXPECT_EQ(Read(list, header), RTNORM);

  // Levels 0, 3 and -1, another identification, less than a header: refused.
  for (const std::string& bad :
       {SlideWriter(false, 0).Vector(1, 2, 3, 4).bytes(), SlideWriter(false, 3).Vector(1, 2, 3, 4).bytes(),
        SlideWriter(false, 0xFF).Vector(1, 2, 3, 4).bytes(), SlideWriter(false, 2, "AutoCAD Slidf").bytes(),
        header.substr(0, 30), std::string()})
    EXPECT_EQ(Read(list, bad), RTERROR) << bad.size();
  EXPECT_EQ(list.ReadSlideFile(nullptr), RTERROR);
  EXPECT_EQ(list.ReadSlideFile((m_dir / "missing.sld").wstring().c_str()), RTERROR);
  EXPECT_EQ(list.ReadSlideFile(m_dir.path().wstring().c_str()), RTERROR);  // a folder
  EXPECT_EQ(Lines(list), (Strings{"c7 (1,2)-(3,4)", "c7 (1,2)-(3,4)"}));
  EXPECT_EQ(Polygons(list), Strings{"c7 (0,0) (1,1)"});
}

TEST_F(SlideFile, EveryRecordTypeDecodesAlikeInBothByteOrders) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian" : "little-endian");
    SlideWriter slide(big);
    slide.Color(240).Vector(100, 100, 200, 200).OffsetVector(-1, 2, 3, -4);
    slide.Color(3).Vector(0x7FFF, -300, -32768, 513).CommonEndpoint(-128, 127);
    slide.Color(0).Polygon({{10, 20}, {30, 20}, {30, 40}}).End();
    tovutest::KeepAsFuzzSeed("slide", big ? "records_be.sld" : "records_le.sld", slide.bytes());
    ZoPtImageList list;
    ASSERT_EQ(Read(list, slide.bytes()), RTNORM);
    // Colour 240 read unsigned; the offset vector counts from the vector's start.
    EXPECT_EQ(Lines(list), (Strings{"c240 (100,100)-(200,200)", "c240 (99,102)-(103,96)",
                                    "c3 (32767,-300)-(-32768,513)", "c3 (32767,-300)-(32639,-173)"}));
    EXPECT_EQ(Polygons(list), Strings{"c0 (10,20) (30,20) (30,40)"});
  }
  // Any test word other than 0x1234 read least significant byte first means big-endian.
  std::string bytes = SlideWriter(true).Vector(1, 2, 3, 4).End().bytes();
  bytes[29] = bytes[30] = 0;
  ZoPtImageList list;
  ASSERT_EQ(Read(list, bytes), RTNORM);
  EXPECT_EQ(Lines(list), Strings{"c7 (1,2)-(3,4)"});
}

TEST_F(SlideFile, OffsetFormsCountFromTheRightPoint) {
  SlideWriter slide;
  slide.CommonEndpoint(5, 6).OffsetVector(1, 1, 2, 2).Vector(10, 10, 50, 50).OffsetVector(1, 1, 5, 5);
  slide.CommonEndpoint(3, 0).CommonEndpoint(0, 3).Polygon({{0, 0}, {9, 0}, {9, 9}});
  slide.CommonEndpoint(-4, -4).OffsetVector(0, 0, 1, 0).End();
  ZoPtImageList list;
  ASSERT_EQ(Read(list, slide.bytes()), RTNORM);
  // Before any vector, offsets count from the origin. A common-endpoint vector moves the last
  // point to its end, an offset vector to its start; fill records leave it alone.
  EXPECT_EQ(Lines(list),
            (Strings{"c7 (0,0)-(5,6)", "c7 (6,7)-(7,8)", "c7 (10,10)-(50,50)", "c7 (11,11)-(15,15)",
                     "c7 (11,11)-(14,11)", "c7 (14,11)-(14,14)", "c7 (14,14)-(10,10)", "c7 (10,10)-(11,10)"}));
}

TEST_F(SlideFile, SolidFillSequences) {
  SlideWriter slide;
  // Starts that are no starts are skipped: count 11, count 1, y not negative.
  slide.Color(5).Fill(11, -1).Fill(1, -1).Fill(3, 0);
  // Count 3, three vertices, no closing record: a triangle. The (0, -1) after it is a fill
  // record of count 0, skipped.
  slide.Fill(3, -1).Fill(0, 0).Fill(10, 0).Fill(10, 10).Fill(0, -1);
  // Count 4 whose fourth record has negative y: a triangle.
  slide.Fill(4, -2).Fill(1, 1).Fill(2, 1).Fill(2, 2).Fill(2, -2);
  // Count 2 ending at once: a single vertex; then ten vertices, the most a polygon has.
  slide.Color(6).Fill(2, -1).Fill(7, 8).Fill(0, -1).Fill(10, -1);
  for (int x = 0; x < 10; ++x) slide.Fill(x, 0);
  slide.Vector(1, 1, 2, 2).End();
  tovutest::KeepAsFuzzSeed("slide", "fills.sld", slide.bytes());
  ZoPtImageList list;
  ASSERT_EQ(Read(list, slide.bytes()), RTNORM);
  EXPECT_EQ(list.GetLength(), 1);
  EXPECT_EQ(Polygons(list), (Strings{"c5 (0,0) (10,0) (10,10)", "c5 (1,1) (2,1) (2,2)", "c6 (7,8)",
                                     "c6 (0,0) (1,0) (2,0) (3,0) (4,0) (5,0) (6,0) (7,0) (8,0) (9,0)"}));

  // A record of another type inside a sequence stops the whole file; so does a negative y
  // before the last record. The polygon is dropped, what came before stays.
  for (bool otherType : {true, false}) {
    SlideWriter broken;
    broken.Vector(1, 1, 2, 2).Polygon({{0, 0}, {5, 0}, {5, 5}}).Fill(4, -2).Fill(0, 0);
    if (otherType)
      broken.Vector(3, 3, 4, 4);
    else
      broken.Fill(5, -5);
    broken.Fill(5, 5).Fill(5, -5).Vector(9, 9, 8, 8).Polygon({{0, 0}, {1, 0}, {1, 1}}).End();
    ZoPtImageList read;
    ASSERT_EQ(Read(read, broken.bytes()), RTNORM);
    EXPECT_EQ(read.GetLength(), 1) << otherType;
    EXPECT_EQ(read.GetHatchList().GetLength(), 1) << otherType;
  }
}

TEST_F(SlideFile, UndefinedRecordsAndTruncatedDataStopCleanly) {
  for (int type : {0x80, 0x90, 0xFA, 0xFC}) {
    ZoPtImageList list;
    ASSERT_EQ(Read(list, SlideWriter().Color(1).Vector(1, 2, 3, 4).Word(type << 8).Vector(5, 6, 7, 8).bytes()), RTNORM);
    EXPECT_EQ(Lines(list), Strings{"c1 (1,2)-(3,4)"}) << type;
  }
  // Cut anywhere, a file gives exactly the records that lie whole before the cut.
  for (bool big : {false, true}) {
    SlideWriter full(big);
    full.Color(2).Vector(10, 10, 20, 20).OffsetVector(1, 2, 3, 4).CommonEndpoint(5, 6);
    full.Polygon({{0, 0}, {4, 0}, {4, 4}}).Fill(3, 0).Vector(1, 1, 1, 1).Polygon({{1, 1}, {2, 1}, {2, 2}}).End();
    for (size_t cut = 31; cut <= full.bytes().size(); ++cut) {
      int lines = 0, polygons = 0;
      for (const auto& mark : full.marks())
        if (mark.end <= cut) lines = mark.lines, polygons = mark.polygons;
      ZoPtImageList part;
      ASSERT_EQ(Read(part, full.bytes().substr(0, cut)), RTNORM) << cut;
      EXPECT_EQ(part.GetLength(), lines) << "cut at " << cut;
      EXPECT_EQ(part.GetHatchList().GetLength(), polygons) << "cut at " << cut;
    }
  }
}

// An extent's low and high value; nothing for an empty one.
std::vector<int> Range(const ZoGeExtent& extent) {
  if (extent.IsEmpty()) return {};
  return {static_cast<int>(extent.GetLow()), static_cast<int>(extent.GetHigh())};
}

// Each file's line and polygon counts, colours, extents and dots as an independent walker
// wrote them in SOURCES.md, and its painting; the format documentation's annotated example,
// record by record.
TEST(RealSlides, ReadAsTheIndependentFiguresSay) {
  const std::filesystem::path dir = tovutest::SharedTestData("slides");
  if (dir.empty()) GTEST_SKIP() << "the real slide files (../shared/testdata/slides) are not there";
  // file | V | O | C | Col | colours | Fill | Polys | End | line x | line y | fill x / y | dots
  const auto rows = tovutest::TableRows(dir / "SOURCES.md", "Record figures");
  ASSERT_EQ(rows.size(), 14u) << "SOURCES.md's record table was not understood";
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 13u);
    const std::string file = row[0].substr(1, row[0].size() - 2);
    SCOPED_TRACE(file);
    ZoPtImageList list;
    ASSERT_EQ(list.ReadSlideFile((dir / file).wstring().c_str()), RTNORM);
    EXPECT_EQ(list.GetLength(), std::stoi(row[1]) + std::stoi(row[2]) + std::stoi(row[3]));
    EXPECT_EQ(list.GetHatchList().GetLength(), std::stoi(row[7]));

    ZoGeExtent2d lineBox, fillBox;
    std::set<int> colours;
    int dots = 0;
    for (ZoPtImageLine* const* p = list.GetFirst(); p; p = list.GetNext(p)) {
      lineBox.AddPoint((*p)->m_ptStart);
      lineBox.AddPoint((*p)->m_ptEnd);
      dots += (*p)->m_ptStart == (*p)->m_ptEnd;
      colours.insert((*p)->m_nColor);
    }
    for (ZoPtImageHatch* const* p = list.GetHatchList().GetFirst(); p; p = list.GetHatchList().GetNext(p)) {
      for (long k = 0; k < (*p)->GetVertexNum(); ++k) fillBox.AddPoint((*p)->GetVertex(k));
      colours.insert((*p)->m_nColor);
    }
    const size_t slash = row[11].find(" / ");
    EXPECT_EQ(Range(lineBox.GetXExtend()), Numbers(row[9]));
    EXPECT_EQ(Range(lineBox.GetYExtend()), Numbers(row[10]));
    EXPECT_EQ(Range(fillBox.GetXExtend()), Numbers(row[11].substr(0, slash)));
    EXPECT_EQ(Range(fillBox.GetYExtend()), Numbers(slash == std::string::npos ? "" : row[11].substr(slash)));
    EXPECT_EQ(dots, std::stoi(row[12]));
    const std::vector<int> set = Numbers(row[5]);
    for (int c : colours) EXPECT_NE(std::count(set.begin(), set.end(), c), 0) << "colour " << c << " is not set";

    // Painted on a dark back colour, a slide with anything in it leaves marks; an empty one is
    // not painted, the rectangle turns grey.
    tovutest::Canvas canvas(320, 240);
    CDC dc;
    dc.Attach(canvas.dc());
    ZoPtImageDraw draw;
    draw.SetBackColor(RGB(40, 40, 40));
    draw.PaintSlide((dir / file).wstring().c_str());
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, 320, 240));
    EXPECT_EQ(draw.Redraw(), list.IsEmpty() ? 0 : 1);
    EXPECT_EQ(canvas.Count(list.IsEmpty() ? RGB(192, 192, 192) : RGB(40, 40, 40)) == 320 * 240, list.IsEmpty());
    dc.Detach();
  }

  ZoPtImageList example;
  ASSERT_EQ(example.ReadSlideFile((dir / "velisp-mylib-slide1.sld").wstring().c_str()), RTNORM);
  EXPECT_EQ(Lines(example), (Strings{"c7 (572,292)-(0,0)", "c3 (15,50)-(15,19)", "c1 (33,25)-(33,0)",
                                     "c1 (33,25)-(0,25)", "c1 (0,25)-(0,0)", "c1 (0,0)-(33,0)"}));
}

}  // namespace
