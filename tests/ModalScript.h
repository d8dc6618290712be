// Drives a modal dialog, and the dialogs it opens, from inside the modal
// loops: once the dialog has shown itself, each step runs from its own timer
// tick, so the real modal loops handle what a step posted before the next
// step looks. A step that opens a nested dialog posts the command; the next
// steps then run while that dialog is open.
//
// A nested dialog shows only once its own loop has nothing left to do, and a
// tick can come first; a step that needs it waits: When(ready, act) runs act
// at the first tick at which ready() holds. A step left waiting for 10 s
// counts as a failure. After the last step, or after such a failure, every
// dialog still open is cancelled, innermost first, so a run never hangs.
#pragma once

#include <windows.h>

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/CDialog.h"

namespace testutil {

struct Step {
    std::function<bool()> ready;   // empty: ready at once
    std::function<void()> act;

    // A plain lambda is a step that is ready at once.
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Step>>>
    Step(F f) : act(std::move(f)) {}
    Step(std::function<bool()> r, std::function<void()> a) : ready(std::move(r)), act(std::move(a)) {}
};

inline Step When(std::function<bool()> ready, std::function<void()> act) {
    return Step(std::move(ready), std::move(act));
}

INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps);
inline INT_PTR RunModal(CDialog& dlg, std::function<void()> step) {
    return RunModal(dlg, std::vector<Step>{Step(std::move(step))});
}

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

}  // namespace testutil
