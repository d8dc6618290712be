// Pixels read back from the screen or painted offscreen, for comparing what
// a window shows with what it must show.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testutil {

// Pixels of a window's client area (of the screen for nullptr), read back
// from the screen, in DIB order (blue in the low byte).
std::vector<COLORREF> GrabClient(HWND hWnd, int x, int y, int cx, int cy);
// What draw() paints on a cx x cy bitmap filled with background, as the
// same pixels.
std::vector<COLORREF> Paint(int cx, int cy, COLORREF background, const std::function<void(HDC)>& draw);
// An icon drawn with DrawIcon on a plain background, as the same pixels.
std::vector<COLORREF> RenderIcon(HICON icon, COLORREF background, int cx = 32, int cy = 32);
// How many of two equally long pixel lists differ.
int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b);
// A COLORREF as a pixel in DIB order, and back: the two order red and blue
// the other way round.
COLORREF SwapRedBlue(COLORREF colour);

// A 16 x 16 icon of one opaque colour, easy to find on screen.
HICON SolidIcon(COLORREF colour);

}  // namespace testutil
