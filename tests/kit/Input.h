// Keys and clicks: posted to a window as the platform would deliver them,
// or, for the real mouse and keyboard, asked of tests/XDriver.sh, which runs
// the test program and waits until each request has been carried out.
#pragma once

#include <windows.h>

namespace testutil {

// A key pressed and released at the window, with its scan code.
void PostKey(HWND hWnd, UINT vk);
// A left click at a client position of the window.
void PostClick(HWND hWnd, POINT at);
// A click on a dialog's button.
void PostButton(HWND dlg, int id);
// Shift as GetKeyState sees it in this thread: 0x80 down, 0x01 toggled.
void SetShiftState(BYTE state);

// Through XDriver.sh; false when not run by it or not answered in 10 s.
// Clicks at a screen position (button 1 left, 3 right; repeat 2 = double click).
bool ClickAt(int button, int repeat, POINT at);
// Clicks the 16 x 16 icon of this colour wherever the screen shows it.
bool ClickIcon(int button, int repeat, COLORREF colour);
// Presses a key given by its X keysym name ("Escape").
bool PressKey(const char* keysym);

}  // namespace testutil
