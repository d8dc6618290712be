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
std::wstring ReadCaption(HWND hWnd);

// The top-level windows from first downward in Z order, taken at one moment:
// a window that moves or closes while the list is worked through cannot cut
// the walk short. Empty when first is not a top-level window.
std::vector<HWND> ZOrderFrom(HWND first);

// Lower-cases with the platform's Unicode rules, in every script.
std::wstring Lower(std::wstring text);

// Whether needle occurs in haystack as whole characters: a match neither
// starts nor ends inside a surrogate pair.
bool Contains(const std::wstring& haystack, const std::wstring& needle);

}  // namespace TargetWindow
