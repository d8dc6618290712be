// Waiting for what a test stands for rather than for a length of time.
#pragma once

#include <windows.h>

namespace testutil {

// Handles the messages waiting for this thread, then posts a private marker
// to the thread and goes on until the marker has come through, so whatever
// the handled messages posted in turn has been handled too.
void FlushMessages();

// Handles messages as they come for ms milliseconds. Only for a span of time
// that no event marks; each caller says which in one line.
void PumpFor(DWORD ms);

// The same for another program's thread, through one of its edit controls:
// posts a marker behind what its queue holds (a text limit no one types
// against), waits until the marker has taken effect, and puts the old limit
// back. False when the thread does not get there within timeoutMs.
bool FlushOtherThread(HWND edit, DWORD timeoutMs);

// Whether the window's thread takes a WM_NULL within timeoutMs.
bool Answers(HWND hWnd, UINT timeoutMs);

// Waits until the thread of another program's window stops answering: a
// WM_NULL sent with a short bound goes unanswered (and is withdrawn).
bool WaitStalled(HWND hWnd, DWORD timeoutMs);

// Pumps messages until pred() holds or timeoutMs passes; returns pred().
template <class Pred>
bool WaitFor(Pred pred, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        FlushMessages();
    }
}

}  // namespace testutil
