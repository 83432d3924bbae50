// The host's command prompt: commands typed by name, repeated by Enter, refused when unknown.
#include "standin/host/commands/command_line.h"

#include <accmd.h>
#include <acedads.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "standin/host/commands/applications.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/drawing/sysvars.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

AcDbDatabase* WorkingDb() { return acdbHostApplicationServices()->workingDatabase(); }

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { Session::Get().Reset(); }
  void TearDown() override {
    acedRegCmds->removeGroup(L"TEST");
    Session::Get().Reset();
  }
};

int g_runs = 0;
void Counted() { ++g_runs; }
void Throws() { throw std::runtime_error("boom"); }
void Prints() { acutPrintf(L"\n%s=%d", L"宽度", 42); }

TEST_F(CommandLineTest, CommandPromptRunsRepeatsAndRefuses) {
  Session& s = Session::Get();
  acedRegCmds->addCommand(L"TEST", L"Counted", L"Counted", ACRX_CMD_MODAL, Counted);
  acedRegCmds->addCommand(L"TEST", L"Throws", L"Throws", ACRX_CMD_MODAL, Throws);
  acedRegCmds->addCommand(L"TEST", L"Prints", L"Prints", ACRX_CMD_MODAL, Prints);
  g_runs = 0;
  s.Queue({InputEvent::Typed(L"counted"), InputEvent::Key(InputKind::Enter), InputEvent::Typed(L"  "),
           InputEvent::Typed(L"nosuch"), InputEvent::Key(InputKind::Esc), InputEvent::Typed(L"throws"),
           InputEvent::Typed(L"prints"), InputEvent::At(InputKind::Cursor, 1, 1)});
  standin::RunCommandLoop();
  EXPECT_EQ(g_runs, 3);  // typed, then repeated by Enter and by a blank line
  EXPECT_EQ(s.Transcript(),
            L"\nCommand: counted\nCommand: \nCommand:   \nCommand: nosuch"
            L"\nUnknown command \"NOSUCH\".  Press F1 for help.\nCommand: *Cancel*\nCommand: throws"
            L"\n; error: the command Throws ended with an exception\nCommand: prints\n宽度=42"
            L"\nCommand: \nCommand: ");
  const auto runs = s.Journal(standin::JournalKind::CommandRun);
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[4].text, L"Prints");
}

bool g_leaveOpen = false;
void OpensALine() {
  ads_name last;
  AcDbObjectId id;
  AcDbEntity* ent = nullptr;
  if (acdbEntLast(last) != RTNORM || acdbGetObjectId(id, last) != Acad::eOk) return;
  acdbOpenAcDbEntity(ent, id, AcDb::kForRead);
  if (ent && !g_leaveOpen) ent->close();
}

TEST_F(CommandLineTest, ACommandThatLeavesObjectsOpenIsReported) {
  const AcDbObjectId line = standin::AddEntity(WorkingDb(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  acedRegCmds->addCommand(L"REGIONS_TEST", L"OpensALine", L"OpensALine", ACRX_CMD_MODAL, OpensALine);
  standin::Session& s = standin::Session::Get();
  g_leaveOpen = false;
  ASSERT_TRUE(standin::RunCommand(L"OpensALine"));
  EXPECT_TRUE(s.Journal(standin::JournalKind::LeftOpen).empty());
  EXPECT_EQ(standin::OpenObjectsReport(), L"");

  g_leaveOpen = true;
  ASSERT_TRUE(standin::RunCommand(L"OpensALine"));
  const auto reports = s.Journal(standin::JournalKind::LeftOpen);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].text, L"OpensALine");
  EXPECT_EQ(reports[0].values, std::vector<double>{1});
  ACHAR handle[17];
  line.handle().getIntoAsciiBuffer(handle);
  EXPECT_EQ(standin::OpenObjectsReport(), std::wstring(L"AcDbLine ") + handle + L" (read)\n");
  EXPECT_EQ(standin::ReportObjectsLeftOpen(L"check"), 1);
  acedRegCmds->removeGroup(L"REGIONS_TEST");

  AcDbEntity* ent = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ent, line, AcDb::kForRead), Acad::eOk);
  ent->close();
  ent->close();
  EXPECT_EQ(standin::ReportObjectsLeftOpen(L"check"), 0);
}

}  // namespace

int UndoCtl() { return standin::SysVarInt(L"UNDOCTL", -1); }

// acedCommand answers the prompts of the commands it runs, as a user typing them would.
TEST_F(CommandLineTest, CommandsSentByModulesAnswerTheirPrompts) {
  Session& s = Session::Get();
  EXPECT_EQ(UndoCtl(), 53);
  EXPECT_EQ(acedCommand(RTSTR, L"_.undo", RTSTR, L"c", RTSTR, L"n", 0), RTNORM);
  EXPECT_EQ(UndoCtl(), 53 & ~1);
  // With undo off only the control options are offered; Enter takes All.
  EXPECT_EQ(acedCommand(RTSTR, L"UNDO", RTSTR, L"", 0), RTNORM);
  EXPECT_EQ(UndoCtl(), 53);
  EXPECT_NE(s.Transcript().find(L"Control = None, Combine = Yes, Layer = Yes\nEnter an UNDO control option "
                                L"[All/None/One/Combine/Layer] <All>: "),
            std::wstring::npos);
  // One-command undo offers no group: the values run out at the refused answer.
  EXPECT_EQ(acedCommand(RTSTR, L"undo", RTSTR, L"control", RTSTR, L"one", RTSTR, L"undo", RTSTR, L"begin", 0), RTCAN);
  EXPECT_EQ(UndoCtl(), 53 | 2);
  EXPECT_EQ(acedCommand(RTSTR, L"undo", RTSHORT, 3, 0), RTERROR);  // no history to step back in
  s.ClearTranscript();
  EXPECT_EQ(acedCommand(RTSTR, L"frobnicate", RTSTR, L"undo", 0), RTERROR);
  EXPECT_EQ(s.Transcript(), L"\nCommand: frobnicate\nUnknown command \"FROBNICATE\".  Press F1 for help.");
  const auto sent = s.Journal(standin::JournalKind::Command);
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(sent[1].text, L"UNDO \"\"");
  EXPECT_EQ(sent[3].text, L"undo 3");

  // Functions of other applications: called by name in any case, their failure gives no result.
  standin::RegisterExternalFunction(L"Twice", [](const resbuf* args, resbuf** result) {
    if (!args || args->restype != RTSHORT) return RTERROR;
    *result = acutBuildList(RTSHORT, 2 * args->resval.rint, 0);
    return RTNORM;
  });
  resbuf* args = acutBuildList(RTSTR, L"twice", RTSHORT, 21, 0);
  resbuf* result = nullptr;
  ASSERT_EQ(acedInvoke(args, &result), RTNORM);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->resval.rint, 42);
  acutRelRb(result);
  args->rbnext->restype = RTREAL;
  EXPECT_EQ(acedInvoke(args, &result), RTNORM);
  EXPECT_EQ(result, nullptr);
  args->resval.rstring[0] = L'x';
  EXPECT_EQ(acedInvoke(args, &result), RTERROR);
  EXPECT_EQ(acedInvoke(args->rbnext, &result), RTERROR);  // no name first
  acutRelRb(args);
}
