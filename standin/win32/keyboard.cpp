// Just enough of the keyboard and the input method manager, behaving as user32 and imm32 do: the
// layout in use, its input method, and keystrokes a program synthesises.
#include "standin/win32/keyboard.h"

#include <imm.h>
#include <winuser.h>

#include <cwchar>
#include <mutex>
#include <string>

#include "standin/win32/observer.h"

namespace {

// US English; with an input method the layout the simplified Chinese ones have (chosen).
const uintptr_t kPlainLayout = 0x04090409, kImeLayout = 0xE0080804;

struct Keyboard {
  std::mutex mutex;
  std::wstring ime;
};

Keyboard& Kb() {
  static Keyboard* kb = new Keyboard;  // never destroyed: callable while the process exits
  return *kb;
}

}  // namespace

namespace standin {

void SetInputMethod(const wchar_t* fileName) {
  std::lock_guard<std::mutex> lock(Kb().mutex);
  Kb().ime = fileName ? fileName : L"";
}

}  // namespace standin

HKL GetKeyboardLayout(DWORD) {
  std::lock_guard<std::mutex> lock(Kb().mutex);
  return reinterpret_cast<HKL>(Kb().ime.empty() ? kPlainLayout : kImeLayout);
}

UINT ImmGetIMEFileNameW(HKL hKL, LPWSTR lpszFileName, UINT uBufLen) {
  std::wstring name;
  {
    std::lock_guard<std::mutex> lock(Kb().mutex);
    if (reinterpret_cast<uintptr_t>(hKL) == kImeLayout) name = Kb().ime;
  }
  if (uBufLen == 0) return static_cast<UINT>(name.size());
  if (!lpszFileName) return 0;
  const size_t n = name.size() < uBufLen - 1 ? name.size() : uBufLen - 1;
  std::wmemcpy(lpszFileName, name.c_str(), n);
  lpszFileName[n] = L'\0';
  return static_cast<UINT>(n);
}

UINT SendInput(UINT cInputs, LPINPUT pInputs, int cbSize) {
  if (cbSize != static_cast<int>(sizeof(INPUT)) || (cInputs && !pInputs)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  standin::Win32Observer* observer = standin::GetWin32Observer();
  for (UINT i = 0; i < cInputs; ++i)
    if (pInputs[i].type == INPUT_KEYBOARD && observer) observer->OnKeyInput(pInputs[i].ki.wVk, pInputs[i].ki.dwFlags);
  return cInputs;
}
