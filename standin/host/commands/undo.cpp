// The host's UNDO command over the bits of "UNDOCTL" (1 on, 2 one command only, 4 auto, 8 group
// open, 16 and 32 combining).
#include <adscodes.h>

#include <cstdio>
#include <cwctype>
#include <string>

#include "standin/host/commands/command_input.h"
#include "standin/host/drawing/sysvars.h"

namespace standin {

namespace {

enum : int { kOn = 1, kOne = 2, kAuto = 4, kGroup = 8, kCombineZoom = 16, kCombineLayer = 32 };

int UndoControl() { return SysVarInt(L"UNDOCTL", 0); }
void SetUndoControl(int bits) { SetSysVarInt(L"UNDOCTL", bits); }

bool YesNo(CommandInput& input, const wchar_t* prompt, int bit) {
  std::wstring answer;
  if (!input.Choose(prompt, L"Yes No", L"Yes", answer)) return false;
  SetUndoControl(answer == L"Yes" ? UndoControl() | bit : UndoControl() & ~bit);
  return true;
}

// Control None turns undo off and forgets its data, the open group with it; One keeps one step.
bool Control(CommandInput& input) {
  std::wstring option;
  if (!input.Choose(L"\nEnter an UNDO control option [All/None/One/Combine/Layer] <All>: ",
                    L"All None One Combine Layer", L"All", option))
    return false;
  const int bits = UndoControl();
  if (option == L"All") SetUndoControl((bits | kOn) & ~kOne);
  if (option == L"None") SetUndoControl(bits & ~(kOn | kOne | kGroup));
  if (option == L"One") SetUndoControl((bits | kOn | kOne) & ~kGroup);
  if (option == L"Combine") return YesNo(input, L"\nCombine zoom and pan operations? [Yes/No] <Yes>: ", kCombineZoom);
  if (option == L"Layer") return YesNo(input, L"\nCombine layer property operations? [Yes/No] <Yes>: ", kCombineLayer);
  return true;
}

}  // namespace

// With undo off only the control options are offered; with one-command undo, no auto, group or
// mark. The stand-in keeps no undo history, so it cannot step back (a number, Back).
int UndoCommand(CommandInput& input) {
  const int bits = UndoControl();
  input.Echo(std::wstring(L"\nCurrent settings: Auto = ") + (bits & kAuto ? L"On" : L"Off") + L", Control = " +
             (!(bits & kOn) ? L"None"
              : bits & kOne ? L"One"
                            : L"All") +
             L", Combine = " + (bits & kCombineZoom ? L"Yes" : L"No") + L", Layer = " +
             (bits & kCombineLayer ? L"Yes" : L"No"));
  if (!(bits & kOn)) return Control(input) ? RTNORM : RTCAN;
  std::wstring option;
  const bool one = bits & kOne;
  if (!input.Choose(one ? L"\nEnter the number of operations to undo or [Control/Back] <1>: "
                        : L"\nEnter the number of operations to undo or [Auto/Control/BEgin/End/Mark/Back] <1>: ",
                    one ? L"Control Back" : L"Auto Control BEgin End Mark Back", L"1", option, true))
    return RTCAN;
  if (option == L"Control") return Control(input) ? RTNORM : RTCAN;
  if (option == L"BEgin") SetUndoControl(bits | kGroup);
  if (option == L"End") SetUndoControl(bits & ~kGroup);
  if (option == L"Mark") return RTNORM;
  if (option == L"Auto") {
    std::wstring mode;
    if (!input.Choose(L"\nEnter UNDO Auto mode [ON/OFF] <On>: ", L"ON OFF", L"ON", mode)) return RTCAN;
    SetUndoControl(mode == L"ON" ? bits | kAuto : bits & ~kAuto);
  }
  if (option == L"Back" || std::iswdigit(option[0])) {
    std::fputs("stand-in host: it keeps no undo history; UNDO cannot step back\n", stderr);
    return RTERROR;
  }
  return RTNORM;
}

}  // namespace standin
