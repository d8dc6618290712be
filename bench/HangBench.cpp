// How long the dialog leaves another program waiting while the windows it
// remembers stop answering: a thread of this process sends WM_NULL to the
// dialog every 10 ms for 30 s while the real timer ticks, with 8 remembered
// windows of one hung thread, then with 8 hung threads of one window each.
// Every window has set a caption of its own before it hung, so each tick
// finds it changed and wants to put the remembered one back.
//   HangBench.exe [SECONDS]     (default 30 per case)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "tests/kit/AnswerWatch.h"
#include "tests/kit/Bench.h"
#include "tests/kit/MainDialog.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Targets.h"

namespace {

constexpr int kWindows = 8;
constexpr double kGoalMs = 300;
using bench::Fail;

void RunCase(int threads, double seconds) {
    testutil::ChildProcess app;
    std::vector<HWND> targets =
        testutil::StartTargets(app, kWindows, "Blockade", "threads " + std::to_string(threads));
    if (targets.size() != static_cast<size_t>(kWindows)) return Fail("TargetApp.exe did not make its windows");

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        testutil::Assign(dlg, "blockade", "Festgehalten", true, false);
        if (dlg.m_retitled.size() != static_cast<size_t>(kWindows)) return Fail("not every window remembered");
        // The watch starts before the windows stop answering, so the first
        // tick after that counts too.
        testutil::AnswerWatch watch(dlg.m_hWnd);
        for (HWND h : targets) PostMessageA(h, targetapp::kSetOwn, 0, 0);
        for (HWND h : targets) PostMessageA(h, targetapp::kBusy, INFINITE, 0);
        int ticks = 0;
        double longestTick = 0;
        testutil::PumpUntil(bench::NowMs() + seconds * 1000, [&](const MSG& msg, double ms) {
            if (msg.hwnd == dlg.m_hWnd && msg.message == WM_TIMER && msg.wParam == CWimmelpultDlg::kRetitleTimerId) {
                ++ticks;
                longestTick = std::max(longestTick, ms);
            }
        });
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
    return bench::Failed();
}
