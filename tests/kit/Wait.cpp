#include "tests/kit/Wait.h"

namespace testutil {

namespace {
// Posted to the thread, not to a window, so no window procedure sees it.
const UINT kFlushMarker = RegisterWindowMessageA("Wimmelpult.Tests.FlushMarker");

void Dispatch(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}
}  // namespace

void FlushMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
    if (!PostThreadMessageA(GetCurrentThreadId(), kFlushMarker, 0, 0)) return;
    // Bounded, in case a handler keeps posting without end.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 5000) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.hwnd == nullptr && msg.message == kFlushMarker) return;
        Dispatch(msg);
    }
}

namespace {
DWORD_PTR TextLimit(HWND edit, DWORD timeoutMs) {
    DWORD_PTR limit = 0;
    SendMessageTimeoutA(edit, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &limit);
    return limit;
}
}  // namespace

bool FlushOtherThread(HWND edit, DWORD timeoutMs) {
    DWORD_PTR old = TextLimit(edit, timeoutMs);
    if (old < 2) return false;
    DWORD_PTR marker = old - 1;
    if (!PostMessageA(edit, EM_SETLIMITTEXT, marker, 0)) return false;
    bool reached = WaitFor([&] { return TextLimit(edit, timeoutMs) == marker; }, timeoutMs);
    PostMessageA(edit, EM_SETLIMITTEXT, old, 0);
    return WaitFor([&] { return TextLimit(edit, timeoutMs) == old; }, timeoutMs) && reached;
}

bool Answers(HWND hWnd, UINT timeoutMs) {
    DWORD_PTR ignored;
    return SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

bool WaitStalled(HWND hWnd, DWORD timeoutMs) {
    return WaitFor([&] { return !Answers(hWnd, 50) && IsWindow(hWnd); }, timeoutMs);
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    for (DWORD waited; (waited = GetTickCount() - start) < ms;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - waited, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
    }
}

}  // namespace testutil
