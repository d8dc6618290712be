// Asking tests/XDriver.sh, which runs the test program, for real mouse and
// keyboard input on the X screen, and waiting until it has been given.
#pragma once

#include <windows.h>

namespace testutil {

// Clicks at a screen position (button 1 left, 3 right; repeat 2 = double click).
bool ClickAt(int button, int repeat, POINT at);
// Presses a key given by its X keysym name ("Escape").
bool PressKey(const char* keysym);

}  // namespace testutil
