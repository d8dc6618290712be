#include "tests/kit/MainDialog.h"

#include "framework/CWinApp.h"

#include "tests/kit/Bench.h"
#include "tests/kit/Wait.h"

namespace testutil {

void FillIn(CWimmelpultDlg& dlg, const char* search, const char* caption, bool update, bool newIcon) {
    SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetDlgItemTextA(dlg.m_hWnd, IDC_OLD_TITLE, search);
    SetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, caption);
    CheckDlgButton(dlg.m_hWnd, IDC_UPDATE, update ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg.m_hWnd, IDC_NEW_ICON, newIcon ? BST_CHECKED : BST_UNCHECKED);
}

void FillIn(CWimmelpultDlg& dlg, const wchar_t* search, const wchar_t* caption, bool update, bool newIcon) {
    FillIn(dlg, "", "", update, newIcon);
    SetDlgItemTextW(dlg.m_hWnd, IDC_OLD_TITLE, search);
    SetDlgItemTextW(dlg.m_hWnd, IDC_NEW_TITLE, caption);
}

void Press(CWimmelpultDlg& dlg) {
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDOK)));
}

bool Settle(CWimmelpultDlg& dlg, DWORD timeoutMs) {
    auto settled = [&] { return !dlg.Working() && dlg.m_courier.PendingCount() == 0; };
    PumpUntil(bench::NowMs() + timeoutMs, nullptr, settled);
    FlushMessages();   // the reports posted on the way
    return settled();
}

void Tick(CWimmelpultDlg& dlg, bool settle) {
    SendMessageA(dlg.m_hWnd, WM_TIMER, CWimmelpultDlg::kRetitleTimerId, 0);
    if (settle) Settle(dlg);
}

void PumpUntil(double deadlineMs, const std::function<void(const MSG&, double)>& dispatched,
               const std::function<bool()>& done) {
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            double t0 = bench::NowMs();
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (dispatched) dispatched(msg, bench::NowMs() - t0);
            // With ticks that take longer than a period there is always one more.
            if (bench::NowMs() >= deadlineMs || (done && done())) return;
        }
        double now = bench::NowMs();
        if (now >= deadlineMs || (done && done())) return;
        if (CWinApp::IdleWork()) continue;   // as the program's own loops do
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadlineMs - now) + 1, QS_ALLINPUT);
    }
}

}  // namespace testutil
