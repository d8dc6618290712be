// Drives a modal dialog from inside its own modal loop: once the dialog is
// shown, each step runs from its own timer tick, so the real modal loops
// (the dialog's, or one a step opened) handle what a step posted before the
// next step looks. After the last step the dialog is cancelled if still open.
#pragma once

#include <functional>
#include <vector>

#include "framework/CDialog.h"

namespace testutil {

using Step = std::function<void()>;
INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps);
inline INT_PTR RunModal(CDialog& dlg, Step step) { return RunModal(dlg, std::vector<Step>{std::move(step)}); }

// Pixels of a window's client area, read back from the screen.
std::vector<COLORREF> GrabClient(HWND hWnd, int x, int y, int cx, int cy);
// An icon drawn with DrawIcon on a plain background, as the same pixels.
std::vector<COLORREF> RenderIcon(HICON icon, COLORREF background, int cx = 32, int cy = 32);
// How many of two equally long pixel lists differ.
int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b);

}  // namespace testutil
