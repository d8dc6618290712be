#include "tests/kit/Find.h"

#include <cstdlib>

#include "tests/kit/Wait.h"

namespace testutil {

std::string WindowText(HWND hWnd) {
    char text[1024] = {};
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &n))
        return GetWindowTextA(hWnd, text, sizeof text) > 0 ? text : "";
    return text;
}

std::string ItemText(HWND dlg, int id) { return WindowText(GetDlgItem(dlg, id)); }

std::wstring WideItemText(HWND dlg, int id) {
    wchar_t text[1024] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(GetDlgItem(dlg, id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &n);
    return text;
}

namespace {
struct Search {
    const char* title;
    bool visibleOnly;
    DWORD pid;   // FindOtherDialog: 0 for any process but ours
    int count;
    HWND found;
};

BOOL CALLBACK FindTitled(HWND hWnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (search->visibleOnly && !IsWindowVisible(hWnd)) return TRUE;
    if (WindowText(hWnd) != search->title) return TRUE;
    search->found = hWnd;
    return FALSE;
}

BOOL CALLBACK FindOther(HWND hWnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == GetCurrentProcessId() || (search->pid && pid != search->pid) || !IsWindowVisible(hWnd)) return TRUE;
    char cls[64] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || WindowText(hWnd) != search->title) return TRUE;
    ++search->count;
    search->found = hWnd;
    return TRUE;
}
}  // namespace

HWND FindThreadWindow(const char* title, bool visibleOnly) {
    Search search = {title, visibleOnly, 0, 0, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOtherDialog(const char* title, DWORD pid, int* count) {
    Search search = {title, true, pid, 0, nullptr};
    EnumWindows(&FindOther, reinterpret_cast<LPARAM>(&search));
    if (count) *count = search.count;
    return search.count == 1 ? search.found : nullptr;
}

HWND WaitMenuWindow(DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            HWND menu = FindWindowA("#32768", nullptr);
            DWORD owner = 0;
            if (menu) GetWindowThreadProcessId(menu, &owner);
            found = menu && owner == pid && IsWindowVisible(menu) ? menu : nullptr;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

POINT Centre(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

POINT ControlCentre(HWND dlg, int id) {
    RECT rc = {};
    GetWindowRect(GetDlgItem(dlg, id), &rc);
    return Centre(rc);
}

RECT WorkArea() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool CentredOn(const RECT& rc, const RECT& area, int* dx, int* dy) {
    *dx = (rc.left + rc.right) / 2 - (area.left + area.right) / 2;
    *dy = (rc.top + rc.bottom) / 2 - (area.top + area.bottom) / 2;
    return abs(*dx) <= 1 && abs(*dy) <= 1;
}

bool HiddenInTray(HWND dlg) { return !IsWindowVisible(dlg) && IsIconic(dlg); }
bool ShownNormally(HWND dlg) { return IsWindowVisible(dlg) && !IsIconic(dlg); }
bool OnTaskbar(HWND dlg) { return IsWindowVisible(dlg) && IsIconic(dlg); }

const char* TrayState(HWND dlg) {
    return HiddenInTray(dlg) ? "hidden" : ShownNormally(dlg) ? "shown"
           : OnTaskbar(dlg) ? "minimised on the taskbar" : "hidden, not minimised";
}

bool Focused(HWND dlg) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui);
    return GetForegroundWindow() == dlg && (gui.hwndFocus == dlg || IsChild(dlg, gui.hwndFocus));
}

}  // namespace testutil
