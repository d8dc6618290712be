// What TargetApp.exe's windows can be told to do, for the programs that drive
// them: the window class and the messages to post to a window.
#pragma once

#include <windows.h>

namespace targetapp {

constexpr char kClassName[] = "WimmelpultTestTarget";

// Post these to a window of TargetApp.exe (see TargetApp.cpp).
constexpr UINT kBusy = WM_APP;            // wParam = ms, INFINITE for good
constexpr UINT kHangLater = WM_APP + 1;   // wParam = delay ms, lParam = ms
constexpr UINT kOnRename = WM_APP + 2;    // wParam = Reaction, lParam = ms or window
constexpr UINT kMove = WM_APP + 3;        // wParam = 0 bottom, 1 top
constexpr UINT kSetOwn = WM_APP + 4;      // the window sets "<its caption> (eigen)"

enum Reaction { kNothing, kToBottom, kClose, kSlowly, kWaitOn };

// The most WM_SETTEXT a window has been inside at once, at this offset of
// its extra bytes (GetWindowLongPtr works from other programs).
constexpr int kDeepestOffset = 0;

}  // namespace targetapp
