// The DXF reader against drawings of an independent writer (testdata/make_dxf.py), malformed
// files, and the header variables a drawing hands to the session.
#include "standin/host/drawing/dxf.h"

#include <acedads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "standin/host/core/resbuf.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/dxf_reader.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/win32/utf8.h"
#include "testing/EntityData.h"

namespace {

using tovutest::ByHandle;
using tovutest::EntityData;
using tovutest::Find;

class DxfTest : public ::testing::Test {
 protected:
  void SetUp() override { standin::Session::Get().Reset(); }
  void TearDown() override { standin::Session::Get().Reset(); }
};

std::wstring TestData(const char* name) {
  return standin::FromUtf8(std::string(TOVU_SOURCE_DIR) + "/standin/host/drawing/testdata/" + name);
}

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> out;
  std::stringstream in(s);
  std::string part;
  while (std::getline(in, part, by)) out.push_back(part);
  return out;
}

std::vector<double> Numbers(const std::string& s) {
  std::vector<double> out;
  for (const std::string& p : Split(s, ',')) out.push_back(std::stod(p));
  return out;
}

// Every layer, entity, vertex and the walk order that ezdxf wrote must arrive as it wrote them.
void CheckAgainstExpected(const char* expectedFile) {
  std::ifstream in(std::string(TOVU_SOURCE_DIR) + "/standin/host/drawing/testdata/" + expectedFile);
  ASSERT_TRUE(in) << expectedFile;
  std::string line;
  int entities = 0, layers = 0;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = Split(line, ' ');
    SCOPED_TRACE(line);
    if (f[0] == "LAYER") {
      ++layers;
      AcDbLayerTable* table = nullptr;
      ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
      AcDbLayerTableRecord* rec = nullptr;
      ASSERT_EQ(table->getAt(standin::FromUtf8(f[1]).c_str(), rec, AcDb::kForRead), Acad::eOk);
      table->close();
      EXPECT_EQ(rec->color().colorIndex(), std::stoi(f[2]));
      EXPECT_EQ(rec->isLocked(), f[3] == "1");
      EXPECT_EQ(rec->isOff(), f[4] == "1");
      EXPECT_EQ(rec->isFrozen(), f[5] == "1");
      AcDbLinetypeTableRecord* lt = nullptr;
      ASSERT_EQ(acdbOpenObject(lt, rec->linetypeObjectId(), AcDb::kForRead), Acad::eOk);
      const ACHAR* ltName = nullptr;
      lt->getName(ltName);
      EXPECT_STRCASEEQ(standin::ToUtf8(ltName).c_str(), f[6].c_str());
      lt->close();
      rec->close();
    } else if (f[0] == "ENTITY") {
      ++entities;
      const auto name = ByHandle(standin::FromUtf8(f[1]).c_str());
      const std::vector<tovutest::Group> data = EntityData(name);
      ASSERT_FALSE(data.empty());
      EXPECT_EQ(Find(data, 0)->text, standin::FromUtf8(f[2]));
      EXPECT_EQ(Find(data, 5)->text, standin::FromUtf8(f[1]));
      bool colour = false, linetype = false;
      for (size_t i = 3; i < f.size(); ++i) {
        const size_t eq = f[i].find('=');
        const short code = static_cast<short>(std::stoi(f[i].substr(0, eq)));
        const std::string value = f[i].substr(eq + 1);
        colour = colour || code == 62;
        linetype = linetype || code == 6;
        const tovutest::Group* g = Find(data, code);
        ASSERT_NE(g, nullptr) << "group " << code;
        switch (g->kind) {
          case standin::RbValue::String:
            EXPECT_EQ(g->text, standin::FromUtf8(value)) << "group " << code;
            break;
          case standin::RbValue::Real:
            EXPECT_NEAR(g->real, std::stod(value), 1e-9) << "group " << code;
            break;
          case standin::RbValue::Point: {
            const std::vector<double> p = Numbers(value);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(g->point[k], p[k], 1e-9) << "group " << code;
            break;
          }
          default:
            EXPECT_EQ(g->integer, std::stol(value)) << "group " << code;
        }
      }
      // BYLAYER colour and linetype are left out of the data, as the host leaves them out.
      if (!colour) {
        EXPECT_EQ(Find(data, 62), nullptr);
      }
      if (!linetype) {
        EXPECT_EQ(Find(data, 6), nullptr);
      }
    } else if (f[0] == "VERTICES") {
      const auto name = ByHandle(standin::FromUtf8(f[1]).c_str());
      std::vector<std::vector<double>> got;
      const std::vector<tovutest::Group> data = EntityData(name);
      if (Find(data, 0)->text == L"LWPOLYLINE") {
        for (int i = 0; Find(data, 10, i); ++i)
          got.push_back({Find(data, 10, i)->point[0], Find(data, 10, i)->point[1], Find(data, 42, i)->real});
      } else {
        ads_name at = {name.n[0], name.n[1]}, next;
        while (acdbEntNext(at, next) == RTNORM) {
          const std::vector<tovutest::Group> v = EntityData(next);
          if (Find(v, 0)->text != L"VERTEX") break;
          got.push_back({Find(v, 10)->point[0], Find(v, 10)->point[1], Find(v, 42)->real});
          at[0] = next[0], at[1] = next[1];
        }
      }
      ASSERT_EQ(got.size() + 2, f.size());
      for (size_t i = 0; i < got.size(); ++i) {
        const std::vector<double> want = Numbers(f[i + 2]);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[i][k], want[k], 1e-9) << "vertex " << i;
      }
    } else if (f[0] == "ORDER") {
      std::vector<std::wstring> want;
      for (size_t i = 1; i < f.size(); ++i) want.push_back(standin::FromUtf8(f[i]));
      EXPECT_EQ(tovutest::Walk(), want);
    }
  }
  EXPECT_GT(entities, 15);
  EXPECT_GT(layers, 5);
  EXPECT_EQ(standin::OpenObjectCount(), 0);
}

TEST_F(DxfTest, Release2000DrawingOfAnotherWriterArrivesWhole) {
  std::wstring error;
  ASSERT_TRUE(standin::OpenDxfDrawing(TestData("plan_r2000.dxf"), error)) << standin::ToUtf8(error);
  CheckAgainstExpected("plan_r2000.expected");
}

TEST_F(DxfTest, Release12DrawingOfAnotherWriterArrivesWhole) {
  std::wstring error;
  ASSERT_TRUE(standin::OpenDxfDrawing(TestData("plan_r12.dxf"), error)) << standin::ToUtf8(error);
  CheckAgainstExpected("plan_r12.expected");
}

TEST_F(DxfTest, BlockDefinitionsKeepTheirEntitiesAttributeDefinitionsAndNesting) {
  std::wstring error;
  ASSERT_TRUE(standin::OpenDxfDrawing(TestData("plan_r2000.dxf"), error)) << standin::ToUtf8(error);
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* door = nullptr;
  ASSERT_EQ(blocks->getAt(L"door", door, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(door->hasAttributeDefinitions());
  AcDbBlockTableRecordIterator* it = nullptr;
  door->newIterator(it);
  std::vector<std::wstring> types, tags;
  for (; !it->done(); it->step()) {
    AcDbEntity* ent = nullptr;
    ASSERT_EQ(it->getEntity(ent, AcDb::kForRead), Acad::eOk);
    types.push_back(ent->isA()->dxfName());
    if (auto* def = AcDbAttributeDefinition::cast(ent)) {
      tags.push_back(std::wstring(def->tagConst()) + L"/" + def->promptConst() + L"/" + def->textStringConst() +
                     (def->isInvisible() ? L"/invisible" : L""));
    }
    ent->close();
  }
  delete it;
  door->close();
  EXPECT_EQ(types, (std::vector<std::wstring>{L"LINE", L"ARC", L"ATTDEF", L"ATTDEF"}));
  EXPECT_EQ(tags, (std::vector<std::wstring>{L"NO/Door number/D?", L"WIDTH/Door width/900/invisible"}));

  AcDbBlockTableRecord* window = nullptr;
  ASSERT_EQ(blocks->getAt(L"WINDOW", window, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(window->origin(), AcGePoint3d(10, 0, 0));
  EXPECT_FALSE(window->hasAttributeDefinitions());
  window->close();
  blocks->close();

  // The window (base point 10,0) inserted at 500,500 holds the nested sill drawn from 490 to 610.
  const auto windowRef = ByHandle(L"66");
  AcDbObjectId id;
  ASSERT_EQ(acdbGetObjectId(id, windowRef), Acad::eOk);
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, id, AcDb::kForRead), Acad::eOk);
  AcDbExtents ext;
  ASSERT_EQ(ent->getGeomExtents(ext), Acad::eOk);
  ent->close();
  EXPECT_NEAR(ext.minPoint().x, 490, 1e-9);
  EXPECT_NEAR(ext.maxPoint().x, 610, 1e-9);
  EXPECT_NEAR(ext.minPoint().y, 495, 1e-9);
  EXPECT_NEAR(ext.maxPoint().y, 510, 1e-9);
}

std::string Dxf(const std::string& entities, const std::string& header = "", const std::string& tables = "",
                const std::string& blocks = "") {
  return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n" + header + "0\nENDSEC\n" + "0\nSECTION\n2\nTABLES\n" +
         tables + "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
         "0\nENDSEC\n0\nEOF\n";
}

const char kLine[] = "0\nLINE\n5\n20\n8\nA\n10\n0\n20\n0\n30\n0\n11\n10\n21\n0\n31\n0\n";

TEST_F(DxfTest, MalformedFilesAreRefusedWithTheirLineAndNothingIsKept) {
  struct Case {
    std::string bytes;
    int line;
    const wchar_t* says;
  };
  const std::string door = "0\nBLOCK\n2\nD\n10\n0\n20\n0\n30\n0\n0\nENDBLK\n";
  const Case cases[] = {
      {"", 1, L"empty"},
      {"0\nSECTION\nx\nHEADER\n", 3, L"expected a group code"},
      {"0\nSECTION\n2\n", 3, L"has no value line"},
      {"AutoCAD Binary DXF\r\n\x1a", 1, L"binary DXF"},
      {Dxf("0\nCIRCLE\n10\nabc\n20\n0\n40\n1\n"), 30, L"needs a finite number"},
      {Dxf("0\nCIRCLE\n10\nnan\n20\n0\n40\n1\n"), 30, L"needs a finite number"},
      {Dxf("0\nPOLYLINE\n66\n1\n70\n0\n0\nVERTEX\n10\n0\n20\n0\n0\nLINE\n"), 39, L"not ended by SEQEND"},
      {Dxf("", "", "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nW\n62\n1\n0\nENDSEC\n"), 25, L"not ended by ENDTAB"},
      {Dxf("", "", "", "0\nBLOCK\n2\nS\n10\n0\n20\n0\n0\nINSERT\n2\nS\n10\n0\n20\n0\n0\nENDBLK\n"), 21,
       L"block S refers to itself"},
      {Dxf("", "", "", door + "0\nBLOCK\n2\nD\n0\nLINE\n"), 33, L"block D is not ended by ENDBLK"},
      {Dxf("", "9\n$ACADVER\n1\nXYZ\n"), 9, L"unknown $ACADVER"},
      {Dxf("", "9\n\n70\n1\n"), 9, L"\"\" is no header variable name"},
      {Dxf("", "9\nACADVER\n1\nAC1015\n"), 9, L"\"ACADVER\" is no header variable name"},
      {Dxf(kLine).substr(0, Dxf(kLine).size() - 6), 45, L"without EOF"},
      {Dxf(kLine) + "0\nLINE\n", 49, L"groups follow EOF"},
      {"0\nSECTION\n2\nENTITIES\n" + std::string(kLine), 1, L"ENTITIES section is not ended by ENDSEC"},
      {"0\nLINE\n", 1, L"expected SECTION or EOF"},
      // What the whole file's groups say goes before a structure broken earlier: a group the file
      // cannot hold, then a handle leaving no room, even when an object took a fresh handle first.
      {"0\nLINE\n" + Dxf("0\nCIRCLE\n10\nabc\n20\n0\n40\n1\n"), 32, L"needs a finite number"},
      {"0\nLINE\n" + Dxf("0\nLINE\n5\nFFFFFFFFFFFFFFFF\n"), 31, L"leaves no handles"},
      {Dxf("0\nLINE\n8\nNEW\n0\nLINE\n5\nFFFFFFFFFFFFFFFF\n"), 33, L"leaves no handles"},
      {Dxf("0\nLINE\n8\nNEW\n0\nLINE\n5\nFFFFFFFFFFFFFFFF\n0\nCIRCLE\n10\nabc\n"), 38, L"needs a finite number"},
  };
  ads_name before;
  ASSERT_EQ(acdbEntLast(before), RTNORM);
  for (const Case& c : cases) {
    SCOPED_TRACE(standin::ToUtf8(c.says));
    std::wstring error;
    EXPECT_EQ(standin::ReadDxf(c.bytes, L"bad.dxf", error), nullptr);
    EXPECT_EQ(error.rfind(L"bad.dxf:" + std::to_wstring(c.line) + L": ", 0), 0u) << standin::ToUtf8(error);
    EXPECT_NE(error.find(c.says), std::wstring::npos) << standin::ToUtf8(error);
  }
  // Nothing noted of a file refused for what its groups say is said.
  const std::string noted = "0\nCIRCLE\n10\n1e300\n20\n0\n40\n1\n";
  for (const char* tail : {"0\nLINE\n10\nx\n", "0\nLINE\n5\nFFFFFFFFFFFFFFFF\n"}) {
    std::wstring error;
    std::vector<std::wstring> notes;
    EXPECT_EQ(standin::ReadDxf(Dxf(noted + tail), L"bad.dxf", error, nullptr, &notes), nullptr);
    EXPECT_TRUE(notes.empty()) << standin::ToUtf8(notes.front());
  }
  // A refused file leaves the session's drawing as it was.
  std::wstring error;
  EXPECT_FALSE(standin::OpenDxfDrawing(L"/nonexistent/plan.dxf", error));
  EXPECT_NE(error.find(L"cannot open"), std::wstring::npos);
  ads_name after;
  ASSERT_EQ(acdbEntLast(after), RTNORM);
  EXPECT_EQ(standin::HandleOf(after), standin::HandleOf(before));
}

// What cannot be kept is left out with a note naming its line, and what the host tolerates is
// corrected with one; the line of kLine (handle 20, or a fresh one) loads in every case.
TEST_F(DxfTest, WhatCannotBeKeptIsLeftOutAndWhatTheHostToleratesCorrectedWithANote) {
  struct Case {
    std::string bytes;
    int line;
    const wchar_t* says;
    long entities;  // in the model space
  };
  const std::string door = "0\nBLOCK\n2\nD\n10\n0\n20\n0\n30\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n0\nENDBLK\n";
  const std::string layerW = "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nW\n70\n0\n62\n1\n";
  const std::string spline =
      "0\nSPLINE\n210\n0\n220\n0\n230\n0\n71\n1\n40\n0\n40\n0\n40\n1\n40\n1\n10\n0\n20\n0\n10\n1\n20\n1\n";
  const Case cases[] = {
      {Dxf("0\nCIRCLE\n10\n1e300\n20\n0\n40\n1\n" + std::string(kLine)), 27,
       L"the CIRCLE is left out: the value 1e300 at line 30 is out of range", 1},
      {Dxf("0\nCIRCLE\n10\n0\n20\n0\n40\n0\n" + std::string(kLine)), 27,
       L"the CIRCLE is left out: it has no positive radius", 1},
      {Dxf("0\nLWPOLYLINE\n90\n3\n10\n0\n20\n0\n10\n1\n20\n0\n" + std::string(kLine)), 27,
       L"the LWPOLYLINE is left out: it declares 3 vertices but has 2", 1},
      {Dxf(std::string(kLine) + "0\nINSERT\n2\nNOPE\n10\n0\n20\n0\n"), 45,
       L"the INSERT is left out: it refers to the block \"NOPE\", which is not defined", 1},
      {Dxf("0\nATTRIB\n2\nT\n1\nv\n" + std::string(kLine)), 27, L"the ATTRIB is left out: it follows no INSERT", 1},
      {Dxf("0\nTEXT\n10\n0\n20\n0\n40\n1\n1\nx\n72\n9\n" + std::string(kLine)), 27,
       L"the TEXT is left out: its justification is unknown", 1},
      {Dxf("0\nLINE\n8\nA\n62\n300\n" + std::string(kLine)), 27,
       L"the LINE is left out: colour 300 is not a colour index", 1},
      {Dxf(std::string(kLine) + kLine), 47, L"the LINE has the handle 20, which is used twice; it is given the handle ",
       2},
      {Dxf("0\nLINE\n5\n\n8\nA\n10\n0\n20\n0\n11\n1\n21\n0\n" + std::string(kLine)), 29,
       L"the LINE has the handle \"\", which is no handle; it is given a new one", 2},
      {Dxf(spline + kLine), 29, L"the SPLINE has a zero extrusion direction; it is given 0,0,1", 2},
      {Dxf(std::string(kLine) + "0\nINSERT\n2\nD\n10\n0\n20\n0\n43\n0\n", "", "", door), 75,
       L"the INSERT has the Z scale 0; the block is drawn flattened", 2},
      {Dxf(std::string(kLine) + "0\nINSERT\n2\nD\n10\n0\n20\n0\n41\n0\n", "", "", door), 67,
       L"the INSERT is left out: it has a zero scale factor", 1},
      {Dxf(kLine, "", layerW + "0\nLAYER\n2\nw\n70\n0\n62\n1\n0\nENDTAB\n"), 27,
       L"the LAYER entry is left out: the layer w is defined twice", 1},
      {Dxf(kLine, "", "", door + door), 43, L"the BLOCK is left out with its entities: the block D is defined twice",
       1},
      {Dxf(kLine, "", "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nW\n62\n0\n0\nENDTAB\n"), 23,
       L"the layer W has colour 0; it is given colour 7", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(standin::ToUtf8(c.says));
    std::wstring error;
    std::vector<std::wstring> notes;
    auto db = standin::ReadDxf(c.bytes, L"bad.dxf", error, nullptr, &notes);
    ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].rfind(L"bad.dxf:" + std::to_wstring(c.line) + L": " + c.says, 0), 0u)
        << standin::ToUtf8(notes[0]);
    standin::OpenDrawing(std::move(db));
    ads_name all;
    long n = 0;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, all), RTNORM);
    acedSSLength(all, &n);
    acedSSFree(all);
    EXPECT_EQ(n, c.entities);
    EXPECT_EQ(Find(EntityData(ByHandle(L"20")), 0)->text, L"LINE");
  }
  // The last drawing's layer of colour 0 is shown in colour 7.
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* w = nullptr;
  ASSERT_EQ(table->getAt(L"W", w, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(w->color().colorIndex(), 7);
  w->close();
  table->close();
}

// The file in binary form: codes of two bytes (from release 13 on) or one (255 escaping larger ones).
std::string Binary(const std::string& ascii, bool wide) {
  std::string out("AutoCAD Binary DXF\r\n\x1a", 21);
  out.push_back('\0');
  std::istringstream in(ascii);
  std::string code, value;
  auto little = [&out](auto v) {
    for (size_t i = 0; i < sizeof v; ++i)
      out.push_back(static_cast<char>((reinterpret_cast<const unsigned char*>(&v))[i]));
  };
  while (std::getline(in, code) && std::getline(in, value)) {
    const int c = std::stoi(code);
    if (wide) little(static_cast<int16_t>(c));
    if (!wide && c >= 255) out.push_back('\xff'), little(static_cast<int16_t>(c));
    if (!wide && c < 255) out.push_back(static_cast<char>(c));
    if ((c >= 10 && c <= 59) || (c >= 210 && c <= 239))
      little(std::stod(value));
    else if (c >= 60 && c <= 79)
      little(static_cast<int16_t>(std::stoi(value)));
    else if (c >= 90 && c <= 99)
      little(static_cast<int32_t>(std::stoi(value)));
    else
      out += value, out.push_back('\0');
  }
  return out;
}

TEST_F(DxfTest, BinaryFilesReadAsTheirAsciiTwinsAndTheirDamageIsNamedByOffset) {
  const std::string text = "0\nTEXT\n5\n30\n8\nA\n10\n1.5\n20\n-2\n40\n2\n1\nCaf\xC3\xA9\n62\n3\n";
  const std::string lw = "0\nLWPOLYLINE\n5\n31\n90\n2\n70\n1\n10\n0\n20\n0\n42\n0.5\n10\n4\n20\n0\n";
  const std::string ascii = Dxf(kLine + text + lw, "9\n$ACADVER\n1\nAC1021\n");
  std::wstring error;
  ASSERT_NE(standin::ReadDxf(ascii, L"ascii", error), nullptr) << standin::ToUtf8(error);
  standin::OpenDrawing(standin::ReadDxf(ascii, L"ascii", error));
  std::vector<std::vector<tovutest::Group>> want;
  for (const wchar_t* h : {L"20", L"30", L"31"}) want.push_back(EntityData(ByHandle(h)));
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "two-byte codes" : "one-byte codes");
    const std::string bytes = Binary(ascii, wide);
    auto db = standin::ReadDxf(bytes, L"bin", error);
    ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
    standin::OpenDrawing(std::move(db));
    int k = 0;
    for (const wchar_t* h : {L"20", L"30", L"31"}) {
      const std::vector<tovutest::Group> got = EntityData(ByHandle(h));
      ASSERT_EQ(got.size(), want[k].size());
      for (size_t i = 1; i < got.size(); ++i) {
        EXPECT_EQ(got[i].code, want[k][i].code);
        EXPECT_EQ(got[i].text, want[k][i].text);
        EXPECT_EQ(got[i].real, want[k][i].real);
        EXPECT_EQ(got[i].integer, want[k][i].integer);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(got[i].point[c], want[k][i].point[c]);
      }
      ++k;
    }
    // Cut anywhere, the file is refused, the cut named by its offset in the file.
    for (size_t cut = 22; cut < bytes.size(); ++cut)
      EXPECT_EQ(standin::ReadDxf(bytes.substr(0, cut), L"cut", error), nullptr) << cut;
    const size_t end = bytes.size() - 4;  // the group 0 "EOF"
    EXPECT_EQ(standin::ReadDxf(bytes.substr(0, bytes.size() - 1), L"cut", error), nullptr);
    EXPECT_EQ(error, L"cut:" + std::to_wstring(end - (wide ? 2 : 1)) + L": the text of group 0 is not ended by a NUL");
  }
  const std::string unknown = Binary("0\nSECTION\n", true) + "\x10\x27";  // code 10000
  EXPECT_EQ(standin::ReadDxf(unknown, L"code", error), nullptr);
  EXPECT_EQ(error, L"code:32: group code 10000 has no value type in a binary file");
  EXPECT_EQ(standin::ReadDxf(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), L"empty", error), nullptr);
  EXPECT_NE(error.find(L"holds no groups"), std::wstring::npos);
}

TEST_F(DxfTest, LongChainsOfNestedBlocksLoadAndTheirCyclesAreFound) {
  std::string blocks;
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    blocks += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n10\n0\n20\n0\n";
    if (i + 1 < n) blocks += "0\nINSERT\n2\nB" + std::to_string(i + 1) + "\n10\n1\n20\n0\n";
    blocks += "0\nENDBLK\n";
  }
  std::wstring error;
  EXPECT_NE(standin::ReadDxf(Dxf("0\nINSERT\n2\nB0\n10\n0\n20\n0\n", "", "", blocks), L"chain", error), nullptr)
      << standin::ToUtf8(error);
  const std::string closing = "0\nINSERT\n2\nB0\n10\n0\n20\n0\n0\nENDBLK\n";
  blocks.replace(blocks.size() - 9, 9, closing);  // the last block refers back to the first
  EXPECT_EQ(standin::ReadDxf(Dxf("", "", "", blocks), L"cycle", error), nullptr);
  EXPECT_NE(error.find(L"cycle:21: the block B0 refers to itself"), std::wstring::npos) << standin::ToUtf8(error);
}

TEST_F(DxfTest, TruncatedAndDamagedFilesNeverCrash) {
  std::ifstream in(std::string(TOVU_SOURCE_DIR) + "/standin/host/drawing/testdata/plan_r12.dxf", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 1000u);
  int refused = 0;
  for (size_t cut = 0; cut < bytes.size(); cut += 97) {
    std::wstring error;
    if (!standin::ReadDxf(bytes.substr(0, cut), L"cut", error)) ++refused;
    std::string damaged = bytes;
    damaged[cut] = static_cast<char>(damaged[cut] ^ 0x5A);
    standin::ReadDxf(damaged, L"damaged", error);
  }
  EXPECT_GT(refused, 100);  // every cut before EOF is refused
}

TEST_F(DxfTest, HeaderVariablesTextEncodingsAndCreatedLayers) {
  const std::string header =
      "9\n$CLAYER\n8\nWALL\n9\n$TILEMODE\n70\n0\n9\n$LTSCALE\n40\n2.5\n9\n$INSBASE\n10\n1\n20\n2\n30\n3\n";
  const std::string tables = "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nWALL\n70\n4\n62\n-3\n6\nCONTINUOUS\n0\nENDTAB\n";
  // Latin-1 text of an old release, a \U+ escape, and a layer the table does not name.
  const std::string text = "0\nTEXT\n5\n30\n8\nNEW\n10\n0\n20\n0\n40\n2\n1\nCaf\xE9 \\U+4E2D\n";
  std::wstring error;
  auto db = standin::ReadDxf(Dxf(text, header, tables), L"plan.dxf", error);
  ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
  standin::OpenDrawing(std::move(db));
  resbuf rb{};
  ASSERT_EQ(acedGetVar(L"CLAYER", &rb), RTNORM);
  EXPECT_STREQ(rb.resval.rstring, L"WALL");
  std::free(rb.resval.rstring);
  ASSERT_EQ(acedGetVar(L"TILEMODE", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rint, 0);
  ASSERT_EQ(acedGetVar(L"LTSCALE", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rreal, 2.5);
  ASSERT_EQ(acedGetVar(L"INSBASE", &rb), RTNORM);
  EXPECT_EQ(rb.resval.rpoint[2], 3);
  ASSERT_EQ(acedGetVar(L"DWGNAME", &rb), RTNORM);
  EXPECT_STREQ(rb.resval.rstring, L"plan.dxf");
  std::free(rb.resval.rstring);

  const auto data = EntityData(ByHandle(L"30"));
  ASSERT_FALSE(data.empty());
  EXPECT_EQ(Find(data, 1)->text, L"Caf\u00e9 \u4e2d");
  EXPECT_EQ(Find(data, 8)->text, L"NEW");

  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* wall = nullptr;
  ASSERT_EQ(table->getAt(L"WALL", wall, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(wall->isLocked());
  EXPECT_TRUE(wall->isOff());
  EXPECT_EQ(wall->color().colorIndex(), 3);
  wall->close();
  EXPECT_TRUE(table->has(L"NEW"));
  table->close();

  // A drawing of a Chinese system names its code page; its text arrives as the characters.
  const std::string gbk = "0\nTEXT\n5\n31\n8\n\xC7\xBD\xCC\xE5\n10\n0\n20\n0\n40\n2\n1\n\xC3\xC5 D1\n";
  auto chinese = standin::ReadDxf(Dxf(gbk, "9\n$DWGCODEPAGE\n3\nANSI_936\n"), L"gbk.dxf", error);
  ASSERT_NE(chinese, nullptr) << standin::ToUtf8(error);
  standin::OpenDrawing(std::move(chinese));
  const auto gbkData = EntityData(ByHandle(L"31"));
  ASSERT_FALSE(gbkData.empty());
  EXPECT_EQ(Find(gbkData, 1)->text, L"\u95e8 D1");
  EXPECT_EQ(Find(gbkData, 8)->text, L"\u5899\u4f53");
}

TEST_F(DxfTest, NewObjectsTakeHandlesAboveTheFilesOwn) {
  std::wstring error;
  auto db = standin::ReadDxf(Dxf(kLine, "9\n$HANDSEED\n5\n400\n"), L"seed", error);
  ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
  standin::OpenDrawing(std::move(db));
  const AcDbObjectId id = standin::AddEntity(acdbHostApplicationServices()->workingDatabase(),
                                             new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  ASSERT_FALSE(id.isNull());
  EXPECT_EQ(id.handle().value(), 0x400u);
  EXPECT_EQ(Find(EntityData(ByHandle(L"20")), 8)->text, L"A");
  // An object the file gives no handle takes one above the highest handle of the file, even one
  // that comes later, and so do the drawing's own objects.
  for (const Adesk::UInt64 high : {Adesk::UInt64{0x9000}, Adesk::UInt64{0x8000000000000005}}) {
    std::ostringstream file;
    file << "0\nPOINT\n5\n10\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n0\nPOINT\n5\n"
         << std::hex << high << "\n10\n0\n20\n0\n";
    db = standin::ReadDxf(Dxf(file.str()), L"late", error);
    ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
    const Adesk::UInt64 zero = db->layerZero().handle().value();
    standin::OpenDrawing(std::move(db));
    ads_name first, line;
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    ASSERT_EQ(acdbEntNext(first, line), RTNORM);
    const Adesk::UInt64 fresh = std::stoull(standin::ToUtf8(Find(EntityData(line), 5)->text), nullptr, 16);
    EXPECT_GT(zero, high);
    EXPECT_GT(fresh, zero);
    EXPECT_LT(fresh, high + 32);
  }
}

// The reader's own decimal numbers against the general reader (std::from_chars): the forms files
// hold, the edges of the short way (19 digits, 2^53, 22 decimals) and random texts, every value
// bit for bit and every reading ending where the general one ends.
TEST(DxfNumbers, ReadAsTheGeneralReaderReadsThem) {
  // The edges, between bars (one of them the empty text).
  std::vector<std::string> texts = Split(
      "0|-0|-0.0|0.0|1.|.5|-.5|.|-||+1|--1|-.|1e5|1E-3|1e|1e+|2.5e|0x1A|1.5.3|12abc|7 |inf|nan|-inf|"
      "9007199254740992|9007199254740993|-9007199254740993.0|0.1|0.3|1234567890123456789|12345678901234567890|"
      "99999999999999999999|0.0000000000000000000001|0.00000000000000000000001|3.14159265358979323846|1999.5|"
      "-273.15|00012.5000|1e400|1e-400|4.9406564584124654e-324",
      '|');
  std::mt19937_64 random(20261207);
  const char kChars[] = "0123456789.-eE+x ";
  for (int i = 0; i < 200000; ++i) {
    std::string t = random() % 4 == 0 ? "-" : "";
    const int digits = static_cast<int>(random() % 26), point = static_cast<int>(random() % 27);
    for (int k = 0; k < digits; ++k) {
      if (k == point) t += '.';
      t += static_cast<char>('0' + random() % 10);
    }
    if (random() % 8 == 0) t += "e" + std::to_string(static_cast<int>(random() % 60) - 30);
    if (random() % 8 == 0) t += kChars[random() % (sizeof kChars - 1)];
    texts.push_back(t);
  }
  int differing = 0;
  for (const std::string& t : texts) {
    double fast = -1, general = -1;
    const char* end = standin::dxf::ReadReal(t.data(), t.data() + t.size(), fast);
    const auto [generalEnd, ec] = std::from_chars(t.data(), t.data() + t.size(), general);
    std::uint64_t fastBits, generalBits;
    std::memcpy(&fastBits, &fast, 8);
    std::memcpy(&generalBits, &general, 8);
    const bool same = ec != std::errc() ? end == nullptr : end == generalEnd && fastBits == generalBits;
    if (!same && ++differing <= 10) ADD_FAILURE() << "\"" << t << "\" read as " << fast << ", not " << general;
  }
  EXPECT_EQ(differing, 0);
}

// An attribute, vertex or sequence end that names no layer is on its main entity's layer.
TEST_F(DxfTest, SubEntitiesWithoutALayerAreOnTheirMainEntitysLayer) {
  std::wstring error;
  auto db =
      standin::ReadDxf(Dxf("0\nPOLYLINE\n8\nWALLS\n66\n1\n70\n0\n0\nVERTEX\n10\n0\n20\n0\n0\nVERTEX\n8\nB\n10\n1\n"
                           "20\n0\n0\nSEQEND\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n"),
                       L"subs", error);
  ASSERT_NE(db, nullptr) << standin::ToUtf8(error);
  standin::OpenDrawing(std::move(db));
  std::vector<std::wstring> layers;
  ads_name e, next;
  for (int rc = acdbEntNext(nullptr, e); rc == RTNORM; rc = acdbEntNext(e, next), e[0] = next[0], e[1] = next[1])
    layers.push_back(Find(EntityData(e), 8)->text);
  EXPECT_EQ(layers, (std::vector<std::wstring>{L"WALLS", L"WALLS", L"B", L"WALLS", L"0"}));
}

}  // namespace
