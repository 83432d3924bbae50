// Control of the keyboard stand-in, for tests: the input method of the keyboard layout in use.
#pragma once

namespace standin {

// Installs an input method (its file name, such as L"CHSIME.IME") for the current keyboard
// layout, which then becomes a layout of its own; NULL or "" goes back to the plain layout.
void SetInputMethod(const wchar_t* fileName);

}  // namespace standin
