// Reading the captions of windows that may belong to another application,
// and finding the windows a pass visits. Nothing here waits for another
// application's thread; sending is the courier's business.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace TargetWindow {

// The caption; empty for a window that no longer exists. Reading never
// waits for the window's thread.
std::string ReadCaption(HWND hWnd);

// The top-level windows from first downward in Z order, taken at one moment:
// a window that moves or closes while the list is worked through cannot cut
// the walk short. Empty when first is not a top-level window.
std::vector<HWND> ZOrderFrom(HWND first);

// The ANSI text as UTF-16, for the courier, which sends Unicode.
std::wstring FromAnsi(const std::string& text);

// Lower-cases with the platform's ANSI rules (so "Ä" becomes "ä" in 1252).
std::string Lower(std::string text);

// Whether needle occurs in haystack, where a match may only start at a
// character boundary of the ANSI code page (double-byte characters are units).
bool Contains(const std::string& haystack, const std::string& needle);

}  // namespace TargetWindow
