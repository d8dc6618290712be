// How long the dialog leaves another program waiting while the windows it
// remembers misbehave: a thread of this process sends WM_NULL to the dialog
// every 10 ms for 30 s while the real timer ticks, with 8 remembered windows
// of one hung thread; 8 hung threads of one window each; 8 windows of one
// thread that take 200 ms over every caption and set their own every 4 s;
// and a window whose caption handler waits on a hung window of another
// thread, and so answers pings but never finishes a caption.
//   HangBench.exe [SECONDS]     (default 30 per case)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "tests/kit/AnswerWatch.h"
#include "tests/kit/Bench.h"
#include "tests/kit/MainDialog.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Targets.h"

namespace {

constexpr double kGoalMs = 120;
constexpr double kSlowShareGoal = 5;   // per cent of answers over 50 ms
using bench::Fail;

struct Case {
    const char* label;
    int windows;
    std::string options;   // for TargetApp.exe
    // After the assignment: makes the windows misbehave; says how many
    // should then keep captions of their own (-1: any number).
    std::function<int(const std::vector<HWND>&)> misbehave;
};

int HangAll(const std::vector<HWND>& targets) {
    for (HWND h : targets) PostMessageA(h, targetapp::kSetOwn, 0, 0);
    for (HWND h : targets) PostMessageA(h, targetapp::kBusy, INFINITE, 0);
    return static_cast<int>(targets.size());
}

void RunCase(const Case& c, double seconds) {
    testutil::ChildProcess app;
    std::vector<HWND> targets = testutil::StartTargets(app, c.windows, "Blockade", c.options);
    if (targets.size() != static_cast<size_t>(c.windows)) return Fail("TargetApp.exe did not make its windows");

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        testutil::Assign(dlg, "blockade", "Festgehalten", true, false);
        if (dlg.m_retitled.size() != static_cast<size_t>(c.windows)) return Fail("not every window remembered");
        // The watch starts before the windows misbehave, so the first tick
        // after that counts too.
        testutil::AnswerWatch watch(dlg.m_hWnd);
        int keepOwn = c.misbehave(targets);
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
        double share = trips ? 100.0 * watch.Slow() / trips : 0;
        int foreign = 0;
        long sent = 0, deepest = 0;
        for (HWND h : targets) {
            foreign += testutil::HeldCaption(h) != "Festgehalten";
            sent += static_cast<long>(GetWindowLongPtrA(h, GWLP_USERDATA));
            deepest = std::max(deepest, static_cast<long>(GetWindowLongPtrA(h, targetapp::kDeepestOffset)));
        }
        if (keepOwn >= 0 && foreign != keepOwn) Fail("the windows did not keep captions of their own while hung");
        if (ticks < static_cast<int>(seconds * 1000 / CWimmelpultDlg::kRetitlePeriodMs) - 1) Fail("too few ticks");
        printf("  %s: %ld round trips over %.0f s, %d ticks\n", c.label, trips, seconds, ticks);
        printf("    worst answer %.1f ms (goal at most %.0f): %s; answers over 50 ms %.2f %% (goal at most %.0f %%): "
               "%s\n",
               worst, kGoalMs, worst <= kGoalMs ? "met" : "MISSED", share, kSlowShareGoal,
               share <= kSlowShareGoal ? "met" : "MISSED");
        printf("    longest tick %.1f ms; %ld captions received, at most %ld at once; %u remembered, %u pending, "
               "%u workers\n",
               longestTick, sent, deepest, static_cast<unsigned>(dlg.m_retitled.size()),
               static_cast<unsigned>(dlg.m_courier.PendingCount()),
               static_cast<unsigned>(dlg.m_courier.WorkerCount()));
        dlg.m_retitled.clear();
    });
    app.Kill();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? atof(argv[1]) : 30;
    if (seconds <= 0) seconds = 30;
    testutil::InitDialogControls();
    printf("answering while remembered windows misbehave, %s: WM_NULL to the dialog every 10 ms, re-application "
           "every %u ms\n",
           bench::Arch(), CWimmelpultDlg::kRetitlePeriodMs);
    const Case cases[] = {
        {"8 hung windows on one thread", 8, "threads 1", HangAll},
        {"8 hung threads of one window each", 8, "threads 8", HangAll},
        {"8 windows of one thread, 200 ms over each caption", 8, "flip 8 4000",
         [](const std::vector<HWND>& targets) {
             for (HWND h : targets) PostMessageA(h, targetapp::kOnRename, targetapp::kSlowly, 200);
             return -1;
         }},
        {"a window that waits inside WM_SETTEXT on a hung thread", 2, "threads 2",
         [](const std::vector<HWND>& targets) {
             PostMessageA(targets[0], targetapp::kOnRename, targetapp::kWaitOn, reinterpret_cast<LPARAM>(targets[1]));
             PostMessageA(targets[0], targetapp::kSetOwn, 0, 0);
             PostMessageA(targets[1], targetapp::kBusy, INFINITE, 0);
             return 1;
         }},
    };
    for (const Case& c : cases) RunCase(c, seconds);
    fflush(stdout);
    return bench::Failed();
}
