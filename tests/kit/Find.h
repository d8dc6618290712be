// Finding windows and reading what they show, in this process or another.
#pragma once

#include <windows.h>

#include <string>

namespace testutil {

// Window text read with WM_GETTEXT, which works across processes.
std::string WindowText(HWND hWnd);
// The text of a dialog's control.
std::string ItemText(HWND dlg, int id);
// The same with every letter, whatever this process's code page.
std::wstring WideItemText(HWND dlg, int id);

// A top-level window of this thread with this caption; a dialog being
// created is hidden until its modal loop shows it, so it counts only when
// visibleOnly is false.
HWND FindThreadWindow(const char* title, bool visibleOnly = true);

// The one visible dialog (#32770) of another process with this title, of
// process pid if that is not 0; count tells how many there were.
HWND FindOtherDialog(const char* title, DWORD pid, int* count = nullptr);

// The visible popup menu window of process pid, waiting up to timeoutMs.
HWND WaitMenuWindow(DWORD pid, DWORD timeoutMs);

POINT Centre(const RECT& rc);
// The centre of a dialog control, in screen coordinates.
POINT ControlCentre(HWND dlg, int id);
RECT WorkArea();
// Whether rc is centred on area to a pixel; dx and dy say by how much not.
bool CentredOn(const RECT& rc, const RECT& area, int* dx, int* dy);

// A dialog minimised into the notification area: no window left to see.
bool HiddenInTray(HWND dlg);
// A dialog shown as usual.
bool ShownNormally(HWND dlg);
// A dialog minimised as an ordinary window, with its taskbar button.
bool OnTaskbar(HWND dlg);
// Which of the three, for failure messages.
const char* TrayState(HWND dlg);
// The window is in the foreground and its thread's focus lies in it.
bool Focused(HWND dlg);

}  // namespace testutil
