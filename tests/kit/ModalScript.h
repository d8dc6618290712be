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

// Readiness for When(): the dialog's window shows, or it is gone.
std::function<bool()> Shown(const CDialog& dlg);
std::function<bool()> Gone(const CDialog& dlg);

// The common controls the program's dialogs hold (tabs, list views); every
// program that makes them calls this first, as the program's start does.
void InitDialogControls();

}  // namespace testutil
