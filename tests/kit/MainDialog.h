// Driving the main dialog's retitling as the user does, for the tests, the
// benchmarks and the long run that run the dialog inside their own process.
#pragma once

#include <windows.h>

#include <functional>

#include "app/CWimmelpultDlg.h"

namespace testutil {

// Fills in the dialog with the dialog on top of the normal windows, as it is
// when the user clicks; Press then clicks "&Zuweisen".
void FillIn(CWimmelpultDlg& dlg, const char* search, const char* caption, bool update, bool newIcon);
void Press(CWimmelpultDlg& dlg);

// Handles messages until the dialog has worked through its passes and ticks
// and nothing waits for delivery; false when that takes over timeoutMs.
bool Settle(CWimmelpultDlg& dlg, DWORD timeoutMs = 10000);

// Press, then Settle.
inline void Assign(CWimmelpultDlg& dlg, const char* search, const char* caption, bool update, bool newIcon) {
    FillIn(dlg, search, caption, update, newIcon);
    Press(dlg);
    Settle(dlg);
}

// One re-application tick, as the timer gives it, then Settle unless told not to.
void Tick(CWimmelpultDlg& dlg, bool settle = true);

// Handles this thread's messages, the dialog's real timer among them, until
// deadlineMs (on bench::NowMs) or until done() holds; dispatched(msg, ms)
// learns what each message took.
void PumpUntil(double deadlineMs, const std::function<void(const MSG&, double)>& dispatched,
               const std::function<bool()>& done = nullptr);

}  // namespace testutil
