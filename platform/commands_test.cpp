// The module's commands from the host's command line: "ZoFlicker" blinks what the user selects
// until "ZoEndFlicker" or the unload, which also records the host's profile.
#include <gtest/gtest.h>

#include <string>

#include "platform/Host.h"
#include "platform/Win32.h"
#include "standin/host/commands/command_line.h"
#include "standin/host/core/session.h"
#include "standin/host/drawing/drawing.h"
#include "standin/host/view/display.h"
#include "standin/win32/timer.h"
#include "standin/win32/utf8.h"

namespace {

using standin::InputEvent;
using standin::InputKind;
using standin::Session;

const wchar_t* const kModule = L"TovuPlatform.arx";

// The module loaded into the host over a drawing of two lines, the timer on the virtual clock.
class FlickerCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    Session::Get().Reset();
    standin::SetVirtualTimerClock(true);
    standin::OpenEmptyDrawing();
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    m_a = standin::AddEntity(db, new AcDbLine({0, 0, 0}, {100, 0, 0}));
    m_b = standin::AddEntity(db, new AcDbLine({0, 50, 0}, {100, 50, 0}));
    ASSERT_TRUE(acrxDynamicLinker->loadModule(standin::FromUtf8(TOVU_MODULE_FILE).c_str(), true));
  }
  void TearDown() override {
    acrxDynamicLinker->unloadModule(kModule);
    standin::SetVirtualTimerClock(false);
    Session::Get().Reset();
  }
  static std::wstring HandleOf(AcDbObjectId id) {
    ACHAR buf[17] = {};
    id.handle().getIntoAsciiBuffer(buf);
    return buf;
  }
  // Runs "ZoFlicker" picking the entity (none: Esc at the prompt).
  void Flicker(AcDbObjectId id) {
    if (id.isNull()) {
      Session::Get().Queue(InputEvent::Key(InputKind::Esc));
    } else {
      InputEvent pick = InputEvent::At(InputKind::Pick, 50, id == m_a ? 0 : 50);
      pick.text = HandleOf(id);
      Session::Get().Queue({pick, InputEvent::Key(InputKind::Enter)});
    }
    ASSERT_TRUE(standin::RunCommand(L"ZoFlicker"));
  }
  static bool Visible(AcDbObjectId id) {
    ads_name name;
    acdbGetAdsName(name, id);
    return standin::DisplayOf(name).visible;
  }
  // Half a second: a blinking entity changes from shown to hidden or back.
  static void Tick() { ASSERT_GT(standin::AdvanceTimerClock(500), 0); }
  static std::wstring ProfilesDefault() {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(acrxProductKey()) + L"\\Profiles";
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"(no key)";
    wchar_t value[64] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
    const LONG rc = RegQueryValueExW(key, L"", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : L"(no value)";
  }

  AcDbObjectId m_a, m_b;
};

TEST_F(FlickerCommands, FlickerBlinksReplacesAndEndsWhatTheUserSelected) {
  // Before any "ZoFlicker" the end command leaves an application's flicker alone.
  HMODULE app = LoadLibraryW(standin::FromUtf8(TOVU_FLICKER_APP).c_str());
  ASSERT_NE(app, nullptr);
  using Start = int (*)(const AcDbObjectId*);
  auto start = reinterpret_cast<Start>(reinterpret_cast<void (*)()>(GetProcAddress(app, "TovuTestStartFlicker")));
  ASSERT_NE(start, nullptr);
  ASSERT_EQ(start(&m_b), 1);
  ASSERT_TRUE(standin::RunCommand(L"ZoEndFlicker"));
  EXPECT_EQ(standin::TimerCount(), 1);

  Flicker(m_a);
  EXPECT_TRUE(Visible(m_b));  // the new selection replaced the application's
  FreeLibrary(app);
  Tick();
  EXPECT_FALSE(Visible(m_a));
  Flicker(AcDbObjectId::kNull);  // nothing selected: the flicker goes on
  Tick();
  EXPECT_TRUE(Visible(m_a));
  Tick();
  EXPECT_FALSE(Visible(m_a));
  EXPECT_EQ(standin::TimerCount(), 1);

  Flicker(m_b);
  EXPECT_TRUE(Visible(m_a));
  Tick();
  EXPECT_FALSE(Visible(m_b));
  ASSERT_TRUE(standin::RunCommand(L"ZoEndFlicker"));
  EXPECT_TRUE(Visible(m_b));
  EXPECT_EQ(standin::TimerCount(), 0);
  EXPECT_NE(Session::Get().Transcript().find(L"选择闪烁对象"), std::wstring::npos);
}

TEST_F(FlickerCommands, UnloadEndsTheFlickerRecordsTheProfileAndTakesTheCommands) {
  Flicker(m_a);
  Tick();
  ASSERT_FALSE(Visible(m_a));
  ASSERT_TRUE(acrxDynamicLinker->unloadModule(kModule));
  EXPECT_TRUE(Visible(m_a));
  EXPECT_EQ(standin::TimerCount(), 0);
  for (const wchar_t* command : {L"sample", L"ZoFlicker", L"ZoEndFlicker"})
    EXPECT_EQ(acedRegCmds->lookupCmd(command, true), nullptr) << standin::ToUtf8(command);
  // No profile of the translated unnamed name: the host's English default is recorded.
  EXPECT_EQ(ProfilesDefault(), L"<<Unnamed Profile>>");

  // With that profile present, its name is recorded.
  HKEY key = nullptr;
  const std::wstring profile = std::wstring(acrxProductKey()) + L"\\Profiles\\<<未命名配置>>";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, profile.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_TRUE(acrxDynamicLinker->loadModule(standin::FromUtf8(TOVU_MODULE_FILE).c_str(), true));
  ASSERT_TRUE(acrxDynamicLinker->unloadModule(kModule));
  EXPECT_EQ(ProfilesDefault(), L"<<未命名配置>>");
  RegDeleteKeyW(HKEY_CURRENT_USER, profile.c_str());
}

}  // namespace
