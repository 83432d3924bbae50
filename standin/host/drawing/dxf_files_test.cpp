// The DXF reader against real drawings of many writers (../shared/testdata/dxf): every file loads,
// and the model space holds what an independent reader counts there, less the entity types this
// host still leaves out. The counts were taken once from ezdxf (len(doc.modelspace()), its
// recover mode where its plain reader refuses the file).
#include <acedads.h>
#include <acutads.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/dxf.h"
#include "standin/win32/utf8.h"

namespace {

const std::filesystem::path kFiles = std::filesystem::path(TOVU_SOURCE_DIR) / ".." / "shared" / "testdata" / "dxf";

struct Drawing {
  const char* file;
  int ezdxf;                      // entities of the model space
  int leftOut;                    // of types this host does not read (meshes, images, solids of ACIS data ...)
  int notes;                      // what the reader set aside or corrected (-1: many)
  const wchar_t* says = nullptr;  // what one of the notes says
};

const Drawing kDrawings[] = {
    {"acad-2000-sample.dxf", 6, 0, 0},
    {"acad-2004-sample.dxf", 6, 0, 0},
    {"acad-2007-sample.dxf", 6, 0, 0},
    {"acad-2010-sample.dxf", 6, 0, 0},
    {"acad-2013-mtext.dxf", 2, 0, 0},
    {"acad-2018-colors.dxf", 28, 0, 0},
    {"acad-2018-korean.dxf", 0, 0, 0},
    {"acad-r10-entities.dxf", 16, 2, 0},  // SHAPE, 3DLINE
    {"acad-r12-ascii.dxf", 3, 0, 0},
    {"acad-r12-example.dxf", 64, 1, 0},  // a polygon mesh
    {"archicad-2004.dxf", 16, 0, 0},
    {"bin-ixmilia-diamond.dxf", 12, 0, 0},
    {"bin-r2000.dxf", 1, 0, 0},
    {"bricscad-xclip.dxf", 18, 0, 0},
    {"cadman-sdi.dxf", 8, 0, 8, L"the LINE has the handle \"\", which is no handle; it is given a new one"},
    {"cadmapper-osm.dxf", 742, 0, 0},
    {"cloudcompare-dxflib.dxf", 1, 0, 0},
    {"dup-handles-r13.dxf", 145, 0, -1, L"the LINE has the handle 20, which is used twice; it is given the handle 145"},
    {"ezdxf-attribs.dxf", 1, 0, 0},
    {"ezdxf-r2004-textalign.dxf", 58, 0, 0},
    {"fusion360-r14.dxf", 121, 0, 0},
    {"inkscape-r12-outlines.dxf", 118, 0, 0},
    {"ixmilia-r2013.dxf", 1, 0, 0},  // ezdxf refuses it; its ENTITIES section holds one LINE
    {"kompas-2000.dxf", 150, 0, 0},
    {"leica-disto-s910.dxf", 32, 0, 0},
    {"librecad-0511-lm29.dxf", 73, 0, 0},
    {"librecad-063-branche.dxf", 204, 0, -1, L"the SPLINE has a zero extrusion direction; it is given 0,0,1"},
    {"librecad-063-tool.dxf", 1, 0, -1, L"the INSERT has the Z scale 0; the block is drawn flattened"},
    // IMAGE, MESH, 2 MLINE, PDFUNDERLAY, WIPEOUT, a polyface mesh, and a block reference of scale 0
    {"netdxf-2018-sample.dxf", 53, 8, 1,
     L"netdxf-2018-sample.dxf:13659: the INSERT is left out: it has a zero scale factor"},
    {"oda-r13-example.dxf", 67, 8, 0},  // 3DSOLID, MLINE, 2 REGION, TOLERANCE, 2 WIPEOUT, a polyface mesh
    {"oda-r14-example.dxf", 67, 9, 0},  // as r13, and a proxy entity
    {"openscad-export.dxf", 452, 0, 0},
    {"qcad-2010-entities.dxf", 116, 0, 0},
    {"qcad-2013-flange.dxf", 223, 0, 0},
    {"qcad-dxflib3122-entities.dxf", 52, 0, 0},
    {"qcad-pattern-ansi31.dxf", 99, 0, 1,
     L"qcad-pattern-ansi31.dxf:69: the layer default has colour 0; it is given colour 7"},
    {"qcad2-dxflib220-ant10.dxf", 3, 0, 0},
    {"rhino-2004.dxf", 2, 0, 0},
    {"schematic-r12-electric.dxf", 1234, 0, 0},
    {"teigha-r2000.dxf", 1, 0, 0},
};

TEST(DxfFiles, EveryDrawingLoadsWithTheEntitiesAnotherReaderFinds) {
  if (!std::filesystem::exists(kFiles / "SOURCES.md"))
    GTEST_SKIP() << "the drawings (../shared/testdata/dxf) are not there";
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kFiles)) files += entry.path().extension() == ".dxf";
  EXPECT_EQ(files, std::size(kDrawings));
  for (const Drawing& d : kDrawings) {
    SCOPED_TRACE(d.file);
    standin::Session::Get().Reset();
    std::ifstream in(kFiles / d.file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring error;
    std::vector<std::wstring> skipped, notes;
    auto db = standin::ReadDxf(bytes, standin::FromUtf8(d.file), error, &skipped, &notes);
    ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
    if (d.notes >= 0) {
      EXPECT_EQ(static_cast<int>(notes.size()), d.notes) << (notes.empty() ? "" : standin::ToUtf8(notes[0]));
    } else {
      EXPECT_FALSE(notes.empty());
    }
    bool said = !d.says;
    for (const std::wstring& note : notes) {
      EXPECT_EQ(note.rfind(standin::FromUtf8(d.file) + L":", 0), 0u);
      said = said || note.find(d.says) != std::wstring::npos;
    }
    EXPECT_TRUE(said) << standin::ToUtf8(d.says);
    standin::OpenDrawing(std::move(db));
    resbuf* modelSpace = acutBuildList(67, 0, RTNONE);
    ads_name all;
    long n = 0;
    if (acedSSGet(L"X", nullptr, nullptr, modelSpace, all) == RTNORM) {
      acedSSLength(all, &n);
      acedSSFree(all);
    }
    acutRelRb(modelSpace);
    EXPECT_EQ(n, d.ezdxf - d.leftOut);
  }
  standin::Session::Get().Reset();
}

}  // namespace
