// Just enough of the input method manager, behaving as imm32 does, for the module to ask whether
// the keyboard layout in use types through an input method.
#pragma once

#include <windef.h>

// The file name of the layout's input method: the number of characters copied (at most
// uBufLen - 1, then a terminator: chosen, the documentation leaves a short buffer open), or with
// uBufLen 0 the number the name needs; the terminator is never counted. 0, and an empty buffer,
// for a layout without an input method.
UINT ImmGetIMEFileNameW(HKL hKL, LPWSTR lpszFileName, UINT uBufLen);
