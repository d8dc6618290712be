// Helpers shared by the Win32 tests.
#pragma once

#include <windows.h>

#include <string>

namespace testutil {
// Full path of a file that lies beside the running test program
// (Wimmelpult.exe and every test are built into one folder).
std::string BesideMe(const char* fileName);

// Handles the messages waiting for this thread, then those that a posted
// marker message sends after them, so nothing queued is left behind.
void FlushMessages();

// A number that grows with the USER objects (icons, windows, menus) this
// process holds: GetGuiResources where the platform counts them, else the
// slot of a freshly made handle, since freed slots are handed out again.
long UserObjectWatermark();

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
