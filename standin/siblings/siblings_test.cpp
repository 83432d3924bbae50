// The sibling stand-ins: dictionaries and the language switch, command definition, the
// command-line stream, the drawing utilities, the point tolerance and the base string.
#include <ZoCmdLine.h>
#include <ZoCommand.h>
#include <ZoDbUtil.h>
#include <ZoGePoint.h>
#include <ZoLanguage.h>
#include <ZoQueue.h>
#include <ZoString.h>
#include <accmd.h>
#include <acedads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbsymtb.h>
#include <gtest/gtest.h>

#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"
#include "standin/win32/utf8.h"
#include "testing/TempDir.h"

namespace {

TEST(Dictionary, ReadsGoodLinesAndSkipsMalformedOnes) {
  tovutest::TempDir dir;
  const auto file = dir.Write("MOD.tsv",
                              "\xEF\xBB\xBF# comment\r\n"
                              "\\n选择闪烁对象\t\\nSelect objects to flicker\r\n"
                              "\n"
                              "tab\\there\tTab\\\\slash\n"
                              "no tab on this line\n"
                              "a\tb\tc\n"
                              "bad\\q escape\tx\n"
                              "\xC0\xAF\tnot utf-8\n"
                              "\tempty source\n"
                              "\\n选择闪烁对象\tsecond wins?\n"
                              "是\tYes");
  auto dict = ZoDtDictionary::Load(file.string(), L"MOD");
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetKey(), L"MOD");
  EXPECT_EQ(dict->GetCount(), 3);
  EXPECT_STREQ(dict->Lookup(L"\n选择闪烁对象"), L"\nSelect objects to flicker");
  EXPECT_STREQ(dict->Lookup(L"tab\there"), L"Tab\\slash");
  EXPECT_STREQ(dict->Lookup(L"是"), L"Yes");  // last line without a newline
  EXPECT_EQ(dict->Lookup(L"no tab on this line"), nullptr);
  EXPECT_EQ(dict->Lookup(nullptr), nullptr);

  EXPECT_EQ(ZoDtDictionary::Load((dir / "none.tsv").string(), L"X"), nullptr);
  const auto empty = dir.Write("EMPTY.tsv", "");
  auto none = ZoDtDictionary::Load(empty.string(), L"EMPTY");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->GetCount(), 0);
}

class CountingSwitch : public TovuLanguageSwitch {
 public:
  using TovuLanguageSwitch::TovuLanguageSwitch;
  ZoDtDictionary* GetModuleDictionary(const wchar_t* key) override {
    ++m_nLookups;
    return TovuLanguageSwitch::GetModuleDictionary(key);
  }
  int m_nLookups = 0;
};

TEST(LanguageSwitch, DictionariesByModuleKeyAndTranslation) {
  tovutest::TempDir dir;
  dir.Write("MOD.tsv", "源\tsource\n");
  dir.Write("OTHER.tsv", "源\tother\n");
  dir.Write("secret.tsv", "x\ty\n");
  TovuLanguageSwitch sw(standin::FromUtf8(dir.path().string()).c_str());

  ZoDtDictionary* mod = sw.GetModuleDictionary(L"MOD");
  ASSERT_NE(mod, nullptr);
  EXPECT_EQ(sw.GetModuleDictionary(L"MOD"), mod);  // loaded once, kept
  EXPECT_EQ(sw.GetModuleDictionary(L"MISSING"), nullptr);
  EXPECT_EQ(sw.GetModuleDictionary(L"../secret"), nullptr);  // keys never name other folders
  EXPECT_EQ(sw.GetModuleDictionary(L""), nullptr);
  EXPECT_EQ(sw.GetModuleDictionary(nullptr), nullptr);

  // Translation uses the dictionary of the module whose resources are current.
  ZoDtDictionary* saved = g_pCurModuleLang;
  const wchar_t* source = L"源";
  g_pCurModuleLang = nullptr;
  EXPECT_EQ(sw.Translate(source), source);
  g_pCurModuleLang = mod;
  EXPECT_STREQ(sw.Translate(source), L"source");
  const wchar_t* unknown = L"未知";
  EXPECT_EQ(sw.Translate(unknown), unknown);
  g_pCurModuleLang = sw.GetModuleDictionary(L"OTHER");
  EXPECT_STREQ(sw.Translate(source), L"other");
  g_pCurModuleLang = saved;
}

int g_hits = 0;
void Hit() { ++g_hits; }

TEST(DefineCommand, DefinesEveryRowAndSkipsRefusedOnes) {
  const ZoCmdTable table[] = {
      {L"alpha", Hit, ACRX_CMD_USEPICKSET},
      {L"ALPHA", Hit, ACRX_CMD_MODAL},  // a duplicate within the group
      {nullptr, Hit, 0},
      {L"beta", Hit, ACRX_CMD_MODAL},
  };
  EXPECT_EQ(ZoDefineCommand(L"SIBTEST", table, 4, 0), 2);
  AcEdCommand* alpha = acedRegCmds->lookupCmd(L"alpha", true);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha->commandFlags(), ACRX_CMD_USEPICKSET);
  EXPECT_STREQ(alpha->localName(), L"alpha");
  EXPECT_NE(acedRegCmds->lookupCmd(L"beta", false), nullptr);
  EXPECT_EQ(ZoDefineCommand(L"SIBTEST", nullptr, 3, 0), 0);
  EXPECT_EQ(ZoDefineCommand(L"SIBTEST", table, -1, 0), 0);
  acedRegCmds->removeGroup(L"SIBTEST");
}

TEST(CommandLineStream, PrintsAsPercentSDoes) {
  standin::Session::Get().Reset();
  clout << L"\n100%s " << CString(L"宽") << 7L << L" " << 2.5 << static_cast<const wchar_t*>(nullptr);
  EXPECT_EQ(standin::Session::Get().Transcript(), L"\n100%s 宽7 2.5");
}

TEST(GeometryPoint, ToleranceDecidesEqualityAndOrder) {
  const ZoGePoint a(1, 2, 3);
  EXPECT_TRUE(a == ZoGePoint(1 + g_distZero / 2, 2, 3));
  EXPECT_TRUE(a != ZoGePoint(1 + g_distZero * 2, 2, 3));
  EXPECT_TRUE(ZoGePoint(2, 0) > ZoGePoint(1, 9));
  EXPECT_TRUE(ZoGePoint(1, 3) > ZoGePoint(1 + g_distZero / 2, 2));  // x within tolerance: y decides
  EXPECT_FALSE(a > a);
  EXPECT_EQ(ZoGePoint(3, 4).DistanceTo(ZoGePoint()), 5.0);
}

TEST(BaseString, AppendsAndCopies) {
  ZoStringW s(256);
  EXPECT_EQ(s.GetLength(), 0);
  s << L"选择" << static_cast<const wchar_t*>(nullptr) << L'[' << 12L << L"]";
  EXPECT_STREQ(s, L"选择[12]");
  ZoStringW copy(s);
  copy << L"!";
  EXPECT_STREQ(s, L"选择[12]");
  s = copy;
  EXPECT_STREQ(s.GetString(), L"选择[12]!");
  s = static_cast<const wchar_t*>(nullptr);
  EXPECT_EQ(s.GetLength(), 0);

  ZoQuene<long> q;
  q.AddTail(3);
  q.AddTail(1);
  long head = 0;
  EXPECT_EQ(q.GetCount(), 2);
  EXPECT_TRUE(q.RemoveHead(head));
  EXPECT_EQ(head, 3);
}

// The space an entity was appended to.
AcDbObjectId SpaceOf(AcDbObjectId id) {
  AcDbEntity* ent = nullptr;
  if (acdbOpenAcDbEntity(ent, id, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  const AcDbObjectId space = ent->blockId();
  ent->close();
  return space;
}

TEST(DrawingUtilities, AddToSpaceAppendsAndClosesOnlyWhenAsked) {
  standin::Session::Get().Reset();
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbObjectId model, paper;
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(db->getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
  blocks->getAt(ACDB_MODEL_SPACE, model);
  blocks->getAt(ACDB_PAPER_SPACE, paper);
  blocks->close();

  const AcDbObjectId closed = AddToModelSpace(new AcDbLine({0, 0, 0}, {1, 0, 0}), 1);
  ASSERT_FALSE(closed.isNull());
  EXPECT_EQ(standin::OpenObjectCount(), 0);
  EXPECT_EQ(SpaceOf(closed), model);

  auto* line = new AcDbLine({0, 1, 0}, {1, 1, 0});
  const AcDbObjectId open = AddToModelSpace(line, 0);
  ASSERT_FALSE(open.isNull());
  EXPECT_TRUE(line->isWriteEnabled());
  EXPECT_EQ(standin::OpenObjectCount(), 1);
  // Already in the drawing: refused, and neither closed nor deleted.
  EXPECT_TRUE(AddToCurrentSpace(line, 1).isNull());
  EXPECT_TRUE(line->isWriteEnabled());
  EXPECT_EQ(line->close(), Acad::eOk);
  EXPECT_TRUE(AddToModelSpace(nullptr, 1).isNull());

  // On a layout the current space is paper space while it is current (CVPORT 1), and model
  // space in a floating viewport; model space stays model space.
  resbuf var = {};
  var.restype = RTSHORT;
  var.resval.rint = 0;
  ASSERT_EQ(acedSetVar(L"TILEMODE", &var), RTNORM);
  EXPECT_EQ(SpaceOf(AddToCurrentSpace(new AcDbPoint({5, 5, 0}), 1)), model);
  var.resval.rint = 1;
  ASSERT_EQ(acedSetVar(L"CVPORT", &var), RTNORM);
  EXPECT_EQ(SpaceOf(AddToCurrentSpace(new AcDbPoint({5, 5, 0}), 1)), paper);
  EXPECT_EQ(SpaceOf(AddToModelSpace(new AcDbPoint({5, 5, 0}), 1)), model);
  EXPECT_EQ(standin::OpenObjectCount(), 0);
  standin::Session::Get().Reset();
}

TEST(DrawingUtilities, InitLineTypeLoadsOnceAndLeavesUnknownNamesAlone) {
  standin::Session::Get().Reset();
  standin::OpenEmptyDrawing();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  EXPECT_EQ(InitLineType(L"Continuous", nullptr), db->continuousLinetype());
  EXPECT_EQ(InitLineType(L"CONTINUOUS", db), db->continuousLinetype());

  auto records = [db] {
    std::vector<std::wstring> names;
    AcDbLinetypeTable* table = nullptr;
    if (db->getLinetypeTable(table, AcDb::kForRead) != Acad::eOk) return names;
    AcDbLinetypeTableIterator* it = nullptr;
    table->newIterator(it);
    for (; !it->done(); it->step()) {
      AcDbLinetypeTableRecord* rec = nullptr;
      const ACHAR* name = nullptr;
      if (it->getRecord(rec, AcDb::kForRead) != Acad::eOk) continue;
      rec->getName(name);
      names.push_back(name);
      rec->close();
    }
    delete it;
    table->close();
    return names;
  };
  const auto standard = records();
  for (const wchar_t* unknown : {L"NOSUCH", L"*", L"~X", L"DASH*", L"", static_cast<const wchar_t*>(nullptr)})
    EXPECT_TRUE(InitLineType(unknown, db).isNull()) << (unknown ? unknown : L"NULL");
  EXPECT_EQ(records(), standard) << "an unknown name changes nothing";

  // The library's linetype, and the family's own dash, each made once.
  const AcDbObjectId hidden = InitLineType(L"hidden", db);
  const AcDbObjectId dash = InitLineType(L"DASH", nullptr);
  ASSERT_FALSE(hidden.isNull());
  ASSERT_FALSE(dash.isNull());
  EXPECT_NE(hidden, dash);
  EXPECT_EQ(InitLineType(L"HIDDEN", db), hidden);
  EXPECT_EQ(InitLineType(L"Dash", db), dash);
  auto expected = standard;
  expected.insert(expected.end(), {L"HIDDEN", L"DASH"});
  EXPECT_EQ(records(), expected);
  EXPECT_EQ(standin::OpenObjectCount(), 0);
  standin::Session::Get().Reset();
}

}  // namespace
