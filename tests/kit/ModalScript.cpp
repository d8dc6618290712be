#include "tests/kit/ModalScript.h"

#include <commctrl.h>

#include <vector>

#include "tests/kit/ok.h"

namespace testutil {

namespace {
struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    bool busy = false;
    bool stalled = false;
    CDialog* dialog = nullptr;
    DWORD since = 0;
};
Script g_script;

// Only the innermost dialog is enabled; those under it are disabled by their
// modal runs.
BOOL CALLBACK CancelEnabled(HWND hWnd, LPARAM) {
    if (IsWindowVisible(hWnd) && IsWindowEnabled(hWnd)) PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    Script& s = g_script;
    if (s.busy || !s.dialog->m_hWnd) return;
    // Steps start once the dialog has shown itself; later ones may find it hidden.
    if (s.next == 0 && !IsWindowVisible(s.dialog->m_hWnd)) return;
    if (s.next < s.steps.size() && !s.stalled && GetTickCount() - s.since > 10000) {
        s.stalled = true;
        ok(false, "expected step %d ready within 10 s, it was not", static_cast<int>(s.next) + 1);
    }
    if (s.next >= s.steps.size() || s.stalled) {
        EnumThreadWindows(GetCurrentThreadId(), &CancelEnabled, 0);
        // A dialog hidden in the notification area is cancelled all the same.
        if (IsWindowEnabled(s.dialog->m_hWnd)) PostMessageA(s.dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    Step& step = s.steps[s.next];
    if (step.ready && !step.ready()) return;
    // A step may open a modal loop of its own; the ticks inside it wait.
    s.busy = true;
    ++s.next;
    step.act();
    s.busy = false;
    s.since = GetTickCount();
}

}  // namespace

INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps) {
    g_script = Script{};
    g_script.steps = std::move(steps);
    g_script.dialog = &dlg;
    g_script.since = GetTickCount();
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &RunStep);
    INT_PTR result = dlg.DoModal();
    KillTimer(nullptr, timer);
    g_script.steps.clear();
    return result;
}

std::function<bool()> Shown(const CDialog& dlg) {
    return [&dlg] { return dlg.m_hWnd && IsWindowVisible(dlg.m_hWnd); };
}

std::function<bool()> Gone(const CDialog& dlg) {
    return [&dlg] { return dlg.m_hWnd == nullptr; };
}

void InitDialogControls() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
}

}  // namespace testutil
