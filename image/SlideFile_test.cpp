// Slide files read into vector lists: the header's checks, every record type in both byte
// orders, the points that offset forms count from, solid-fill sequences, and the stops at
// undefined records and at the end of the data.
#include <gtest/gtest.h>

#include <string>

#include "image/ImageList.h"
#include "image/slide_test_support.h"
#include "platform/Host.h"
#include "testing/TempDir.h"

namespace {

using slidetest::SlideWriter;

class SlideFileTest : public ::testing::Test {
 protected:
  int Read(ZoPtImageList& list, const std::string& bytes) {
    const auto path = m_dir.Write("slide.sld", bytes);
    return list.ReadSlideFile(path.wstring().c_str());
  }
  int Read(ZoPtImageList& list, const SlideWriter& slide) { return Read(list, slide.bytes()); }

  tovutest::TempDir m_dir;
};

void ExpectLine(const ZoPtImageList& list, long i, double fx, double fy, double tx, double ty, int color) {
  ASSERT_LT(i, list.GetLength());
  const ZoPtImageLine& line = list.GetPData(i);
  EXPECT_EQ(line.m_ptStart.x, fx) << "line " << i;
  EXPECT_EQ(line.m_ptStart.y, fy) << "line " << i;
  EXPECT_EQ(line.m_ptEnd.x, tx) << "line " << i;
  EXPECT_EQ(line.m_ptEnd.y, ty) << "line " << i;
  EXPECT_EQ(line.m_ptStart.z, 0.0);
  EXPECT_EQ(line.m_ptEnd.z, 0.0);
  EXPECT_EQ(line.m_nColor, color) << "line " << i;
}

const ZoPtImageHatch& Polygon(const ZoPtImageList& list, long i) { return list.GetHatchList().GetPData(i); }

TEST_F(SlideFileTest, HeaderIsCheckedBeforeAnythingIsRead) {
  ZoPtImageList list;
  // Identification in capitals, level 2: accepted.
  EXPECT_EQ(Read(list, SlideWriter(false, 2, "AUTOCAD SLIDE").Vector(1, 2, 3, 4).End()), RTNORM);
  EXPECT_EQ(list.GetLength(), 1);
  EXPECT_EQ(Read(list, SlideWriter(false, 1, "autocad slide").Vector(1, 2, 3, 4).End()), RTNORM);
  EXPECT_EQ(list.GetLength(), 2);
  // Levels 0, 3 and -1, another identification: refused, the list unchanged.
  for (int level : {0, 3, 0xFF}) {
    EXPECT_EQ(Read(list, SlideWriter(false, level).Vector(1, 2, 3, 4).End()), RTERROR) << level;
  }
  EXPECT_EQ(Read(list, SlideWriter(false, 2, "AutoCAD Slidf").Vector(1, 2, 3, 4).End()), RTERROR);
  // The four bytes after the identification and the type byte are not looked at.
  std::string other = SlideWriter().Vector(1, 2, 3, 4).End().bytes();
  other.replace(13, 5, "XXXXX");
  EXPECT_EQ(Read(list, other), RTNORM);
  EXPECT_EQ(list.GetLength(), 3);

  // Shorter than the header: refused; exactly the header: accepted, nothing in it.
  const std::string header = SlideWriter().bytes();
  ASSERT_EQ(header.size(), 31u);
  EXPECT_EQ(Read(list, header.substr(0, 30)), RTERROR);
  EXPECT_EQ(Read(list, std::string()), RTERROR);
  EXPECT_EQ(Read(list, header), RTNORM);
  EXPECT_EQ(list.GetLength(), 3);

  EXPECT_EQ(list.ReadSlideFile(nullptr), RTERROR);
  EXPECT_EQ(list.ReadSlideFile((m_dir / "missing.sld").wstring().c_str()), RTERROR);
  EXPECT_EQ(list.ReadSlideFile(m_dir.path().wstring().c_str()), RTERROR);  // a folder
  EXPECT_EQ(list.GetLength(), 3);
  EXPECT_TRUE(list.GetHatchList().GetLength() == 0);
}

// Every record type, in a file written least significant byte first and in its big-endian twin.
TEST_F(SlideFileTest, EveryRecordTypeDecodesAlikeInBothByteOrders) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian" : "little-endian");
    SlideWriter slide(big);
    slide.Color(240)
        .Vector(100, 100, 200, 200)
        .OffsetVector(-1, 2, 3, -4)
        .Color(3)
        .Vector(0x7FFF, -300, -32768, 513)
        .CommonEndpoint(-128, 127)
        .Color(0)
        .Polygon({{10, 20}, {30, 20}, {30, 40}})
        .End();
    ZoPtImageList list;
    ASSERT_EQ(Read(list, slide), RTNORM);
    ASSERT_EQ(list.GetLength(), 4);
    // Colour 240 read unsigned; the offset vector counts from the vector's start.
    ExpectLine(list, 0, 100, 100, 200, 200, 240);
    ExpectLine(list, 1, 99, 102, 103, 96, 240);
    ExpectLine(list, 2, 32767, -300, -32768, 513, 3);
    ExpectLine(list, 3, 32767, -300, 32767 - 128, -300 + 127, 3);
    ASSERT_EQ(list.GetHatchList().GetLength(), 1);
    const ZoPtImageHatch& hatch = Polygon(list, 0);
    EXPECT_EQ(hatch.m_nColor, 0);
    ASSERT_EQ(hatch.GetVertexNum(), 3);
    EXPECT_EQ(hatch.GetVertex(2), ZoGePoint(30, 40));
    EXPECT_EQ(hatch.GetBulge(1), 0.0);
    EXPECT_FALSE(hatch.IsClosed());
  }
  // Any test word other than 0x1234 read least significant byte first means big-endian.
  std::string bytes = SlideWriter(true).Vector(1, 2, 3, 4).End().bytes();
  bytes[29] = 0;
  bytes[30] = 0;
  ZoPtImageList list;
  ASSERT_EQ(Read(list, bytes), RTNORM);
  ExpectLine(list, 0, 1, 2, 3, 4, 7);
}

TEST_F(SlideFileTest, OffsetFormsCountFromTheRightPoint) {
  ZoPtImageList list;
  // Before any vector, offsets count from the origin and lines take colour 7.
  ASSERT_EQ(Read(list, SlideWriter()
                           .CommonEndpoint(5, 6)
                           .OffsetVector(1, 1, 2, 2)
                           .Vector(10, 10, 50, 50)
                           .OffsetVector(1, 1, 5, 5)
                           .CommonEndpoint(3, 0)
                           .CommonEndpoint(0, 3)
                           .Polygon({{0, 0}, {9, 0}, {9, 9}})
                           .CommonEndpoint(-4, -4)
                           .OffsetVector(0, 0, 1, 0)
                           .End()),
            RTNORM);
  ASSERT_EQ(list.GetLength(), 8);
  ExpectLine(list, 0, 0, 0, 5, 6, 7);
  // A common-endpoint vector moves the last point to its end, an offset vector to its start.
  ExpectLine(list, 1, 6, 7, 7, 8, 7);
  ExpectLine(list, 2, 10, 10, 50, 50, 7);
  ExpectLine(list, 3, 11, 11, 15, 15, 7);
  ExpectLine(list, 4, 11, 11, 14, 11, 7);
  ExpectLine(list, 5, 14, 11, 14, 14, 7);
  // Fill records leave the last point alone.
  ExpectLine(list, 6, 14, 14, 10, 10, 7);
  ExpectLine(list, 7, 10, 10, 11, 10, 7);
}

TEST_F(SlideFileTest, SolidFillSequences) {
  ZoPtImageList list;
  ASSERT_EQ(Read(list, SlideWriter()
                           .Color(5)
                           // Starts that are no starts are skipped: count 11, count 1, y not negative.
                           .Fill(11, -1)
                           .Fill(1, -1)
                           .Fill(3, 0)
                           // Count 3, three vertices, no closing record: a triangle. The (0, -1)
                           // that follows is a fill record of count 0, skipped.
                           .Fill(3, -1)
                           .Fill(0, 0)
                           .Fill(10, 0)
                           .Fill(10, 10)
                           .Fill(0, -1)
                           // Count 4 whose fourth record has negative y: a triangle.
                           .Fill(4, -2)
                           .Fill(1, 1)
                           .Fill(2, 1)
                           .Fill(2, 2)
                           .Fill(2, -2)
                           // Count 2 ending at once: a single vertex.
                           .Color(6)
                           .Fill(2, -1)
                           .Fill(7, 8)
                           .Fill(0, -1)
                           // Ten vertices, the most a polygon has.
                           .Fill(10, -1)
                           .Fill(0, 0)
                           .Fill(1, 0)
                           .Fill(2, 0)
                           .Fill(3, 0)
                           .Fill(4, 0)
                           .Fill(5, 0)
                           .Fill(6, 0)
                           .Fill(7, 0)
                           .Fill(8, 0)
                           .Fill(9, 0)
                           .Vector(1, 1, 2, 2)
                           .End()),
            RTNORM);
  EXPECT_EQ(list.GetLength(), 1);
  ASSERT_EQ(list.GetHatchList().GetLength(), 4);
  EXPECT_EQ(Polygon(list, 0).GetVertexNum(), 3);
  EXPECT_EQ(Polygon(list, 0).GetVertex(2), ZoGePoint(10, 10));
  EXPECT_EQ(Polygon(list, 0).m_nColor, 5);
  ASSERT_EQ(Polygon(list, 1).GetVertexNum(), 3);
  EXPECT_EQ(Polygon(list, 1).GetVertex(0), ZoGePoint(1, 1));
  EXPECT_EQ(Polygon(list, 1).GetVertex(2), ZoGePoint(2, 2));
  ASSERT_EQ(Polygon(list, 2).GetVertexNum(), 1);
  EXPECT_EQ(Polygon(list, 2).GetVertex(0), ZoGePoint(7, 8));
  EXPECT_EQ(Polygon(list, 2).m_nColor, 6);
  ASSERT_EQ(Polygon(list, 3).GetVertexNum(), 10);
  EXPECT_EQ(Polygon(list, 3).GetVertex(9), ZoGePoint(9, 0));

  // A record of another type inside a sequence stops the whole file; so does a negative y
  // before the last record. The polygon is dropped, what came before stays.
  for (int broken = 0; broken < 2; ++broken) {
    SCOPED_TRACE(broken);
    SlideWriter slide;
    slide.Vector(1, 1, 2, 2).Polygon({{0, 0}, {5, 0}, {5, 5}}).Fill(4, -2).Fill(0, 0);
    if (broken == 0)
      slide.Vector(3, 3, 4, 4);
    else
      slide.Fill(5, -5);
    slide.Fill(5, 5).Fill(5, -5).Vector(9, 9, 8, 8).Polygon({{0, 0}, {1, 0}, {1, 1}}).End();
    ZoPtImageList broken_list;
    ASSERT_EQ(Read(broken_list, slide), RTNORM);
    EXPECT_EQ(broken_list.GetLength(), 1);
    EXPECT_EQ(broken_list.GetHatchList().GetLength(), 1);
  }
}

TEST_F(SlideFileTest, UndefinedRecordsAndTruncatedDataStopCleanly) {
  SlideWriter slide;
  slide.Color(1).Vector(1, 2, 3, 4).Word(0x9012).Vector(5, 6, 7, 8).End();
  ZoPtImageList list;
  ASSERT_EQ(Read(list, slide), RTNORM);
  ASSERT_EQ(list.GetLength(), 1);
  ExpectLine(list, 0, 1, 2, 3, 4, 1);
  for (int type : {0x80, 0xFA}) {
    ZoPtImageList stopped;
    ASSERT_EQ(Read(stopped, SlideWriter().Vector(1, 2, 3, 4).Word(type << 8).Vector(5, 6, 7, 8).End()), RTNORM);
    EXPECT_EQ(stopped.GetLength(), 1) << type;
  }
  ZoPtImageList afterEnd;
  ASSERT_EQ(Read(afterEnd, SlideWriter().Vector(1, 2, 3, 4).End().Vector(5, 6, 7, 8)), RTNORM);
  EXPECT_EQ(afterEnd.GetLength(), 1);

  // Cut anywhere, a file gives exactly the records that lie whole before the cut.
  for (bool big : {false, true}) {
    SlideWriter full(big);
    full.Color(2)
        .Vector(10, 10, 20, 20)
        .OffsetVector(1, 2, 3, 4)
        .CommonEndpoint(5, 6)
        .Polygon({{0, 0}, {4, 0}, {4, 4}})
        .Fill(3, 0)
        .Vector(1, 1, 1, 1)
        .Polygon({{1, 1}, {2, 1}, {2, 2}})
        .End();
    const std::string& bytes = full.bytes();
    for (size_t cut = 31; cut <= bytes.size(); ++cut) {
      int lines = 0, polygons = 0;
      for (const auto& mark : full.marks())
        if (mark.end <= cut) lines = mark.lines, polygons = mark.polygons;
      ZoPtImageList part;
      ASSERT_EQ(Read(part, bytes.substr(0, cut)), RTNORM) << cut;
      EXPECT_EQ(part.GetLength(), lines) << "cut at " << cut;
      EXPECT_EQ(part.GetHatchList().GetLength(), polygons) << "cut at " << cut;
    }
  }
}

TEST_F(SlideFileTest, ReadingAppendsToWhatTheListHolds) {
  const SlideWriter slide = SlideWriter().Vector(1, 2, 3, 4).Polygon({{0, 0}, {1, 0}, {1, 1}}).End();
  ZoPtImageList list;
  ASSERT_EQ(Read(list, slide), RTNORM);
  ASSERT_EQ(Read(list, slide), RTNORM);
  EXPECT_EQ(list.GetLength(), 2);
  EXPECT_EQ(list.GetHatchList().GetLength(), 2);
  ExpectLine(list, 1, 1, 2, 3, 4, 7);
  list.Reset();
  ASSERT_EQ(Read(list, slide), RTNORM);
  EXPECT_EQ(list.GetLength(), 1);
}

}  // namespace
