// The real slide files of the shared test data, read and painted: their line and polygon
// counts, dots and extents must match the figures an independent walker wrote in SOURCES.md.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/ImageDraw.h"
#include "image/ImageList.h"
#include "image/slide_test_support.h"
#include "platform/Host.h"
#include "testing/Canvas.h"

namespace {

struct Range {
  double low, high;
};

struct Figures {
  std::string file;
  int lines = 0;  // vectors, offset vectors and common-endpoint vectors
  int polygons = 0;
  std::set<int> colours;
  std::optional<Range> lineX, lineY, fillX, fillY;
  int dots = 0;
};

std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::stringstream in(row);
  std::string cell;
  std::getline(in, cell, '|');  // before the first bar
  while (std::getline(in, cell, '|')) {
    const size_t a = cell.find_first_not_of(' '), b = cell.find_last_not_of(' ');
    cells.push_back(a == std::string::npos ? std::string() : cell.substr(a, b - a + 1));
  }
  if (!cells.empty() && cells.back().empty()) cells.pop_back();
  return cells;
}

// "3..1870" as a range; anything else (a dash) as none.
std::optional<Range> ParseRange(const std::string& text) {
  const size_t dots = text.find("..");
  if (dots == std::string::npos || text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
    return std::nullopt;
  return Range{std::stod(text.substr(0, dots)), std::stod(text.substr(dots + 2))};
}

// The "Record figures" table: file | V | O | C | Col | colours | Fill | Polys | End | line x |
// line y | fill x / y | dots.
std::vector<Figures> ReadFigures(const std::filesystem::path& sources) {
  std::vector<Figures> out;
  std::ifstream in(sources);
  std::string row;
  while (std::getline(in, row)) {
    if (row.rfind("| `", 0) != 0) continue;
    const auto cells = Cells(row);
    if (cells.size() != 13 || cells[8] != "yes") continue;
    Figures f;
    f.file = cells[0].substr(1, cells[0].size() - 2);
    f.lines = std::stoi(cells[1]) + std::stoi(cells[2]) + std::stoi(cells[3]);
    f.polygons = std::stoi(cells[7]);
    std::stringstream colours(cells[5]);
    for (std::string c; std::getline(colours, c, ',');)
      if (c.find_first_of("0123456789") != std::string::npos) f.colours.insert(std::stoi(c));
    f.lineX = ParseRange(cells[9]);
    f.lineY = ParseRange(cells[10]);
    const size_t slash = cells[11].find(" / ");
    if (slash != std::string::npos) {
      f.fillX = ParseRange(cells[11].substr(0, slash));
      f.fillY = ParseRange(cells[11].substr(slash + 3));
    }
    f.dots = std::stoi(cells[12]);
    out.push_back(f);
  }
  return out;
}

void ExpectRange(const std::optional<Range>& want, const ZoGeExtent& got, const char* what) {
  if (!want) {
    EXPECT_TRUE(got.IsEmpty()) << what;
    return;
  }
  EXPECT_EQ(got.GetLow(), want->low) << what;
  EXPECT_EQ(got.GetHigh(), want->high) << what;
}

TEST(RealSlides, ReadAsTheIndependentFiguresSayAndPaint) {
  const std::filesystem::path dir = slidetest::RealSlides();
  if (dir.empty()) GTEST_SKIP() << "the real slide files (../shared/testdata/slides) are not there";
  const auto figures = ReadFigures(dir / "SOURCES.md");
  ASSERT_EQ(figures.size(), 14u) << "SOURCES.md's record table was not understood";
  for (const Figures& f : figures) {
    SCOPED_TRACE(f.file);
    const std::wstring path = (dir / f.file).wstring();
    ZoPtImageList list;
    ASSERT_EQ(list.ReadSlideFile(path.c_str()), RTNORM);
    EXPECT_EQ(list.GetLength(), f.lines);
    EXPECT_EQ(list.GetHatchList().GetLength(), f.polygons);

    ZoGeExtent2d lineBox, fillBox;
    std::set<int> colours;
    int dots = 0;
    for (long i = 0; i < list.GetLength(); ++i) {
      const ZoPtImageLine& line = list.GetPData(i);
      lineBox.AddPoint(line.m_ptStart);
      lineBox.AddPoint(line.m_ptEnd);
      dots += line.m_ptStart == line.m_ptEnd;
      colours.insert(line.m_nColor);
    }
    for (long i = 0; i < list.GetHatchList().GetLength(); ++i) {
      const ZoPtImageHatch& hatch = list.GetHatchList().GetPData(i);
      EXPECT_GE(hatch.GetVertexNum(), 1);
      for (long k = 0; k < hatch.GetVertexNum(); ++k) fillBox.AddPoint(hatch.GetVertex(k));
      colours.insert(hatch.m_nColor);
    }
    ExpectRange(f.lineX, lineBox.GetXExtend(), "line x");
    ExpectRange(f.lineY, lineBox.GetYExtend(), "line y");
    ExpectRange(f.fillX, fillBox.GetXExtend(), "fill x");
    ExpectRange(f.fillY, fillBox.GetYExtend(), "fill y");
    EXPECT_EQ(dots, f.dots);
    for (int c : colours) EXPECT_TRUE(f.colours.count(c)) << "colour " << c << " is not one the file sets";

    // The list's own box is the union of both.
    ZoGePoint lo, hi;
    if (list.IsEmpty()) {
      EXPECT_EQ(list.GetExtend(lo, hi), RTERROR);
    } else {
      ASSERT_EQ(list.GetExtend(lo, hi), RTNORM);
      ZoGeExtent2d all = lineBox;
      all.AddExtent(fillBox);
      EXPECT_EQ(lo, all.GetMinPoint());
      EXPECT_EQ(hi, all.GetMaxPoint());
    }

    // Painted on grey: a non-empty slide leaves marks of its own colours.
    tovutest::Canvas canvas(320, 240);
    CDC dc;
    dc.Attach(canvas.dc());
    ZoPtImageDraw draw;
    draw.SetBackColor(RGB(40, 40, 40));
    draw.PaintSlide(path.c_str());
    draw.SetDC(&dc);
    draw.SetRect(CRect(0, 0, 320, 240));
    EXPECT_EQ(draw.Redraw(), list.IsEmpty() ? 0 : 1);
    const int background = canvas.Count(list.IsEmpty() ? RGB(192, 192, 192) : RGB(40, 40, 40));
    if (list.IsEmpty())
      EXPECT_EQ(background, 320 * 240);
    else
      EXPECT_LT(background, 320 * 240);
    dc.Detach();
  }
}

// The format documentation's annotated example, as SOURCES.md decodes it.
TEST(RealSlides, DocumentationExampleDecodesRecordByRecord) {
  const std::filesystem::path dir = slidetest::RealSlides();
  if (dir.empty()) GTEST_SKIP() << "the real slide files (../shared/testdata/slides) are not there";
  ZoPtImageList list;
  ASSERT_EQ(list.ReadSlideFile((dir / "velisp-mylib-slide1.sld").wstring().c_str()), RTNORM);
  const struct {
    double fx, fy, tx, ty;
    int colour;
  } want[] = {{572, 292, 0, 0, 7}, {15, 50, 15, 19, 3}, {33, 25, 33, 0, 1},
              {33, 25, 0, 25, 1},  {0, 25, 0, 0, 1},    {0, 0, 33, 0, 1}};
  ASSERT_EQ(list.GetLength(), 6);
  for (long i = 0; i < 6; ++i) {
    const ZoPtImageLine& line = list.GetPData(i);
    EXPECT_EQ(line.m_ptStart, ZoGePoint(want[i].fx, want[i].fy)) << i;
    EXPECT_EQ(line.m_ptEnd, ZoGePoint(want[i].tx, want[i].ty)) << i;
    EXPECT_EQ(line.m_nColor, want[i].colour) << i;
  }
}

}  // namespace
