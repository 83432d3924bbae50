// The DXF reader against files made by hand to break it (../shared/testdata/hostile), and what
// they taught: every one is read as it should be or refused with its line and a short message.
#include <dbapserv.h>
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/dxf.h"
#include "standin/win32/utf8.h"
#include "testing/EntityData.h"

namespace {

using tovutest::ByHandle;
using tovutest::EntityData;
using tovutest::Find;

const std::filesystem::path kHostile =
    std::filesystem::path(TOVU_SOURCE_DIR) / ".." / "shared" / "testdata" / "hostile";

class DxfHostileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kHostile / "README.md"))
      GTEST_SKIP() << "the hostile files (../shared/testdata/hostile) are not there";
    standin::Session::Get().Reset();
  }
  void TearDown() override { standin::Session::Get().Reset(); }

  // Reads the file; error holds the message when it is refused.
  static std::unique_ptr<AcDbDatabase> Read(const char* name, std::wstring& error) {
    std::ifstream in(kHostile / name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << name;
    return standin::ReadDxf(bytes, standin::FromUtf8(name), error);
  }
  // The file is refused at line with a message that says what.
  static void ExpectRefused(const char* name, int line, const wchar_t* what) {
    SCOPED_TRACE(name);
    std::wstring error;
    EXPECT_EQ(Read(name, error), nullptr);
    EXPECT_EQ(error.rfind(standin::FromUtf8(name) + L":" + std::to_wstring(line) + L": ", 0), 0u)
        << standin::ToUtf8(error);
    EXPECT_NE(error.find(what), std::wstring::npos) << standin::ToUtf8(error);
  }
};

// A file of these entities alone.
std::string Entities(const std::string& entities, const std::string& header = "") {
  return header + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

// Opens the drawing read in the session; fails with the reader's message when it was refused.
::testing::AssertionResult Opened(std::unique_ptr<AcDbDatabase> db, const std::wstring& error) {
  if (!db) return ::testing::AssertionFailure() << standin::ToUtf8(error).substr(0, 300);
  standin::OpenDrawing(std::move(db));
  return ::testing::AssertionSuccess();
}

bool HasLayer(const wchar_t* name) {
  AcDbLayerTable* table = nullptr;
  if (acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return false;
  const bool has = table->has(name);
  table->close();
  return has;
}

TEST_F(DxfHostileTest, GroupCodeLinesAreCheckedAsValueLinesAre) {
  ExpectRefused("dxf_nul_in_group_code_accepted.dxf", 5, L"NUL");
  std::wstring error;
  EXPECT_EQ(standin::ReadDxf("0\nSECTION\n2\nENTITIES\n0\nLINE\n10 garbage\n0\n", L"tail", error), nullptr);
  EXPECT_NE(error.find(L"tail:7: expected a group code"), std::wstring::npos) << standin::ToUtf8(error);
}

TEST_F(DxfHostileTest, CarriageReturnsAloneEndLines) {
  std::wstring error;
  EXPECT_TRUE(Opened(Read("dxf_cr_only_whole_file_in_message.dxf", error), error));
  // A file of CR line ends that is malformed anywhere names the line as the same file with LF would.
  EXPECT_EQ(standin::ReadDxf("0\rSECTION\r2\rENTITIES\r0\rCIRCLE\r40\rwide\r0\rENDSEC\r0\rEOF\r", L"cr", error),
            nullptr);
  EXPECT_EQ(error.rfind(L"cr:8: ", 0), 0u) << standin::ToUtf8(error);
}

TEST_F(DxfHostileTest, BlanksSignsAndLineEndsAroundNumbersReadAsWithoutThem) {
  std::wstring error;
  const std::string circle =
      "  0\r\nCIRCLE\r\n  5\r\n30\r\n 8\t\r\nA\r\n 10 \r\n\t+1.5 \r\n20\r\n -2\t\r\n+40\r\n3e0\r\n0062\r\n +5 \r\n";
  ASSERT_TRUE(Opened(standin::ReadDxf(Entities(circle), L"dressed", error), error));
  const auto data = EntityData(ByHandle(L"30"));
  EXPECT_EQ(Find(data, 10)->point[0], 1.5);
  EXPECT_EQ(Find(data, 10)->point[1], -2);
  EXPECT_EQ(Find(data, 40)->real, 3);
  EXPECT_EQ(Find(data, 62)->integer, 5);
  // A number followed by more than blanks, or one that is no finite number, is named whole.
  for (const char* radius : {"1.5e", "inf", "1 2", "+-1", "10000000000000000000000e-400x"}) {
    EXPECT_EQ(standin::ReadDxf(Entities("0\nCIRCLE\n40\n" + std::string(radius) + "\n"), L"bad", error), nullptr);
    EXPECT_NE(error.find(L"bad:8: group code 40 needs a finite number, found \"" + standin::FromUtf8(radius)),
              std::wstring::npos)
        << standin::ToUtf8(error);
  }
  EXPECT_EQ(standin::ReadDxf(Entities("0\nCIRCLE\n62\n5.0\n"), L"bad", error), nullptr);
  EXPECT_NE(error.find(L"bad:8: group code 62 needs a whole number"), std::wstring::npos) << standin::ToUtf8(error);
}

TEST_F(DxfHostileTest, EscapesOfCharactersOutsideTheBasicPlaneAreReadWhole) {
  std::wstring error;
  ASSERT_TRUE(Opened(Read("dxf_ezdxf_emoji_layer_refused.dxf", error), error));
  EXPECT_TRUE(HasLayer(L"Smile\U0001F642"));

  // The host's own form, a surrogate pair of escapes, names the same character; an escape of half
  // a pair, or one followed by digits that make no character, stays text.
  const std::string text = "0\nTEXT\n5\n30\n8\nA\n10\n0\n20\n0\n40\n1\n1\n\\U+D83D\\U+DE42 \\U+D83D \\U+0000DC00\n";
  ASSERT_TRUE(Opened(standin::ReadDxf(Entities(text), L"pair", error), error));
  EXPECT_EQ(Find(EntityData(ByHandle(L"30")), 1)->text, L"\U0001F642 \\U+D83D \\U+0000DC00");
}

TEST_F(DxfHostileTest, AnUnclosedGroupOf102IsNamed) {
  ExpectRefused("dxf_unclosed_102_brace_misleading_radius_msg.dxf", 9, L"102 \"{ACAD_XDICTIONARY\" of the CIRCLE");
}

TEST_F(DxfHostileTest, EntitiesOnLayersTheHostRefusesAreLeftOut) {
  std::wstring error;
  std::vector<std::wstring> notes;
  std::ifstream in(kHostile / "dxf_entity_bad_layer_name_silently_layer0.dxf", std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(Opened(standin::ReadDxf(file, L"layer", error, nullptr, &notes), error));
  EXPECT_EQ(notes,
            std::vector<std::wstring>{L"layer:5: the LINE is left out: \"a*b\" at line 7 is not a valid layer name"});
  ads_name last;
  EXPECT_NE(acdbEntLast(last), RTNORM);
  EXPECT_FALSE(HasLayer(L"a*b"));
  const std::string entities = "0\nLINE\n8\nA\n6\nDASH|ED\n10\n0\n20\n0\n11\n1\n21\n1\n";
  notes.clear();
  ASSERT_TRUE(Opened(standin::ReadDxf(Entities(entities), L"lt", error, nullptr, &notes), error));
  EXPECT_EQ(notes, std::vector<std::wstring>{
                       L"lt:5: the LINE is left out: \"DASH|ED\" at line 9 is not a valid linetype name"});
}

TEST_F(DxfHostileTest, TextWithoutHeightTakesTheDrawingsTextSize) {
  std::wstring error;
  ASSERT_TRUE(Opened(Read("dxf_text_without_height_unselectable.dxf", error), error));
  ads_name text;
  ASSERT_EQ(acdbEntLast(text), RTNORM);
  EXPECT_EQ(Find(EntityData(text), 40)->real, 2.5);

  const std::string header = "0\nSECTION\n2\nHEADER\n9\n$TEXTSIZE\n40\n7\n0\nENDSEC\n";
  const std::string entities = "0\nTEXT\n5\n30\n10\n0\n20\n0\n40\n-1\n1\nx\n0\nATTDEF\n5\n31\n10\n0\n20\n0\n2\nT\n";
  ASSERT_TRUE(Opened(standin::ReadDxf(Entities(entities, header), L"size", error), error));
  EXPECT_EQ(Find(EntityData(ByHandle(L"30")), 40)->real, 7);
  EXPECT_EQ(Find(EntityData(ByHandle(L"31")), 40)->real, 7);
}

TEST_F(DxfHostileTest, HandlesNeverWrapRound) {
  ExpectRefused("dxf_handle_max_wraps.dxf", 7, L"FFFFFFFFFFFFFFFF leaves no handles");
  // A drawing whose next handle is the last one takes one more object, then no more.
  std::wstring error;
  const std::string header = "0\nSECTION\n2\nHEADER\n9\n$HANDSEED\n5\nFFFFFFFFFFFFFFFF\n0\nENDSEC\n";
  ASSERT_TRUE(Opened(standin::ReadDxf(Entities("", header), L"seed", error), error));
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  const AcDbObjectId last = standin::AddEntity(drawing, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  ASSERT_FALSE(last.isNull());
  EXPECT_EQ(last.handle().value(), ~Adesk::UInt64{0});
  EXPECT_TRUE(standin::AddEntity(drawing, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))).isNull());
}

TEST_F(DxfHostileTest, MessagesQuoteAReadablePrefixOfTheFile) {
  const std::string longText(40000, 'x');
  const std::string cases[] = {
      "0\nSECTION\n2\nENTITIES\n" + longText + "\n",
      Entities("0\nCIRCLE\n40\n" + longText + "\n"),
      Entities("0\nLINE\n8\n*" + longText + "\n"),
      Entities("0\n" + longText + "\n210\n0\n220\n0\n230\n0\n"),
      "0\nSECTION\n2\n" + longText + "\n0\nENDSEC\n0\nSECTION\n2\n" + longText + "\n0\nENDSEC\n0\nEOF\n",
      Entities("0\nLINE\n8\nA\x01"
               "B\n"),
  };
  // What a refusal says, or the note of an entity left out.
  auto message = [](const std::string& bytes) {
    std::wstring error;
    std::vector<std::wstring> notes;
    const bool read = standin::ReadDxf(bytes, L"long", error, nullptr, &notes) != nullptr;
    EXPECT_EQ(read, !notes.empty());
    return read && !notes.empty() ? notes[0] : error;
  };
  for (const std::string& bytes : cases) {
    const std::wstring said = message(bytes);
    EXPECT_LT(said.size(), 200u) << standin::ToUtf8(said).substr(0, 300);
    for (wchar_t c : said) EXPECT_GE(c, 0x20) << standin::ToUtf8(said);
  }
  std::wstring error = message(cases[0]);
  EXPECT_NE(error.find(std::wstring(80, L'x') + L"...\""), std::wstring::npos) << standin::ToUtf8(error);
  error = message(cases[5]);
  EXPECT_NE(error.find(L"\"A\\U+0001B\""), std::wstring::npos) << standin::ToUtf8(error);
  // So are the types of entities left out.
  std::vector<std::wstring> skipped;
  ASSERT_NE(standin::ReadDxf(Entities("0\n" + longText + "\n"), L"long", error, &skipped), nullptr);
  ASSERT_EQ(skipped.size(), 1u);
  EXPECT_EQ(skipped[0], L"1 " + std::wstring(80, L'x') + L"...");
}

}  // namespace
