// How long the dialog leaves another program waiting while the windows it
// remembers stop answering: a thread of this process sends WM_NULL to the
// dialog every 10 ms for 30 s while the real timer ticks, with 8 remembered
// windows of one hung thread, then with 8 hung threads of one window each.
// Every window has set a caption of its own before it hung, so each tick
// finds it changed and wants to put the remembered one back.
//   HangBench.exe [SECONDS]     (default 30 per case)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "tests/AnswerWatch.h"
#include "tests/TargetAppControl.h"
#include "tests/kit/Bench.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"

namespace {

constexpr int kWindows = 8;
constexpr double kGoalMs = 300;
bool g_failed = false;

void Fail(const char* what) {
    printf("ERROR: %s\n", what);
    g_failed = true;
}

bool Answers(HWND hWnd, UINT timeoutMs) {
    DWORD_PTR ignored;
    return SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

std::vector<HWND> StartTargets(testutil::ChildProcess& app, int threads) {
    std::string args = std::to_string(kWindows) + " \"Blockade\" threads " + std::to_string(threads);
    if (!app.Start(testutil::BesideMe("TargetApp.exe"), args)) return {};
    std::vector<HWND> found;
    testutil::WaitFor(
        [&] {
            found.clear();
            for (HWND hWnd : app.Windows()) {
                char cls[64] = {};
                GetClassNameA(hWnd, cls, sizeof cls);
                if (strcmp(cls, targetapp::kClassName) == 0) found.push_back(hWnd);
            }
            return found.size() >= static_cast<size_t>(kWindows);
        },
        30000);
    for (HWND hWnd : found)
        if (!Answers(hWnd, 30000)) return {};
    return found;
}

void Assign(CWimmelpultDlg& dlg) {
    SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetDlgItemTextA(dlg.m_hWnd, IDC_OLD_TITLE, "blockade");
    SetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, "Festgehalten");
    CheckDlgButton(dlg.m_hWnd, IDC_UPDATE, BST_CHECKED);
    CheckDlgButton(dlg.m_hWnd, IDC_NEW_ICON, BST_UNCHECKED);
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDOK)));
}

// Handles this thread's messages, the dialog's timer among them, until
// deadline; returns how long the longest tick took.
double Pump(HWND dialog, double deadline, int* ticks) {
    double longest = 0;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            bool tick = msg.hwnd == dialog && msg.message == WM_TIMER &&
                        msg.wParam == CWimmelpultDlg::kRetitleTimerId;
            double t0 = bench::NowMs();
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (tick) {
                ++*ticks;
                longest = std::max(longest, bench::NowMs() - t0);
            }
            if (bench::NowMs() >= deadline) return longest;
        }
        double now = bench::NowMs();
        if (now >= deadline) return longest;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now) + 1, QS_ALLINPUT);
    }
}

void RunCase(int threads, double seconds) {
    testutil::ChildProcess app;
    std::vector<HWND> targets = StartTargets(app, threads);
    if (targets.size() != static_cast<size_t>(kWindows)) return Fail("TargetApp.exe did not make its windows");

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        Assign(dlg);
        if (dlg.m_retitled.size() != static_cast<size_t>(kWindows)) return Fail("not every window remembered");
        // The watch starts before the windows stop answering, so the first
        // tick after that counts too.
        testutil::AnswerWatch watch(dlg.m_hWnd);
        for (HWND h : targets) PostMessageA(h, targetapp::kSetOwn, 0, 0);
        for (HWND h : targets) PostMessageA(h, targetapp::kBusy, INFINITE, 0);
        int ticks = 0;
        double longestTick = Pump(dlg.m_hWnd, bench::NowMs() + seconds * 1000, &ticks);
        long trips = watch.Count();
        double worst = watch.Stop();
        int foreign = 0;
        char text[256];
        for (HWND h : targets) foreign += GetWindowTextA(h, text, sizeof text) > 0 && strcmp(text, "Festgehalten");
        if (foreign != kWindows) Fail("the windows did not keep captions of their own while hung");
        if (ticks < static_cast<int>(seconds * 1000 / CWimmelpultDlg::kRetitlePeriodMs) - 1) Fail("too few ticks");
        printf("  %d hung window%s on each of %d thread%s: %ld round trips over %.0f s, %d ticks\n",
               kWindows / threads, kWindows / threads == 1 ? "" : "s", threads, threads == 1 ? "" : "s", trips,
               seconds, ticks);
        printf("    worst answer %.1f ms (goal at most %.0f): %s; longest tick %.1f ms; %u remembered, %u pending, "
               "%u threads waited for\n",
               worst, kGoalMs, worst <= kGoalMs ? "met" : "MISSED", longestTick,
               static_cast<unsigned>(dlg.m_retitled.size()), static_cast<unsigned>(dlg.m_courier.PendingCount()),
               static_cast<unsigned>(dlg.m_courier.StalledThreadCount()));
        dlg.m_retitled.clear();
    });
    app.Kill();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? atof(argv[1]) : 30;
    if (seconds <= 0) seconds = 30;
    testutil::InitDialogControls();
    printf("answering while remembered windows hang, %s: WM_NULL to the dialog every 10 ms, re-application every "
           "%u ms\n",
           bench::Arch(), CWimmelpultDlg::kRetitlePeriodMs);
    RunCase(1, seconds);
    RunCase(kWindows, seconds);
    fflush(stdout);
    return g_failed ? 1 : 0;
}
