// The keyboard as a program sees it: the layout in use, its input method, and keystrokes it
// synthesises, which the session's journal records.
#include "standin/win32/keyboard.h"

#include <gtest/gtest.h>
#include <imm.h>
#include <windows.h>

#include <cwchar>

#include "standin/host/core/session.h"

namespace {

using standin::JournalKind;
using standin::Session;

TEST(Keyboard, TheLayoutsInputMethodIsNamedOnlyWhenInstalled) {
  const HKL plain = GetKeyboardLayout(0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(plain), 0x04090409u);
  wchar_t name[16];
  std::wmemset(name, L'#', 16);
  EXPECT_EQ(ImmGetIMEFileNameW(plain, name, 16), 0u);
  EXPECT_STREQ(name, L"");

  standin::SetInputMethod(L"CHSIME.IME");
  const HKL ime = GetKeyboardLayout(0);
  EXPECT_NE(ime, plain);
  EXPECT_EQ(ImmGetIMEFileNameW(ime, nullptr, 0), 10u);  // the length, terminator not counted
  EXPECT_EQ(ImmGetIMEFileNameW(ime, name, 16), 10u);
  EXPECT_STREQ(name, L"CHSIME.IME");
  std::wmemset(name, L'#', 16);
  EXPECT_EQ(ImmGetIMEFileNameW(ime, name, 5), 4u);  // cut to the buffer, terminated
  EXPECT_STREQ(name, L"CHSI");
  EXPECT_EQ(name[5], L'#');
  EXPECT_EQ(ImmGetIMEFileNameW(ime, nullptr, 5), 0u);
  EXPECT_EQ(ImmGetIMEFileNameW(plain, name, 16), 0u);  // the method belongs to its layout

  standin::SetInputMethod(nullptr);
  EXPECT_EQ(GetKeyboardLayout(0), plain);
  EXPECT_EQ(ImmGetIMEFileNameW(ime, name, 16), 0u);
}

TEST(Keyboard, SynthesisedKeystrokesReachTheJournal) {
  Session::Get().Reset();
  INPUT inputs[3] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = VK_ESCAPE;
  inputs[1].type = INPUT_MOUSE;
  inputs[2].type = INPUT_KEYBOARD;
  inputs[2].ki.wVk = VK_ESCAPE;
  inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
  EXPECT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
  const auto keys = Session::Get().Journal(JournalKind::KeyInput);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].values, (std::vector<double>{VK_ESCAPE, 0}));
  EXPECT_EQ(keys[1].values, (std::vector<double>{VK_ESCAPE, KEYEVENTF_KEYUP}));

  SetLastError(0);
  EXPECT_EQ(SendInput(3, inputs, sizeof(INPUT) - 1), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(SendInput(1, nullptr, sizeof(INPUT)), 0u);
  EXPECT_EQ(Session::Get().Journal(JournalKind::KeyInput).size(), 2u);
  Session::Get().Reset();
}

}  // namespace
