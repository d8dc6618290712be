// How long the dialog leaves another program waiting while the windows it
// remembers misbehave: a thread of this process sends WM_NULL to the dialog
// every 10 ms while the real timer ticks, and every case reports the longest
// round trip and the share over 50 ms. The cases: 8 remembered windows of one
// hung thread; 8 hung threads of one window each; 8 windows of one thread
// that take 200 ms over every caption and set their own every 4 s; a window
// whose caption handler waits on a hung window of another thread; sluggish
// programs, whose threads take their messages only every 100 or 200 ms
// (how soon they are renamed, and put back after changing their captions),
// 4 windows on each of two threads, then 16 windows on each of two; a
// healthy program beside 40 hung threads, more than there are delivery
// workers (how soon it is renamed); and a crowd of 10,000 hidden windows on
// four threads of two programs (how soon all are renamed, and the answers
// during the pass and the ticks).
//   HangBench.exe [SECONDS]     (default 30 for each of the first four cases)
//   HangBench.exe crowd | sluggish | sluggish16 | hung40     (that case alone)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
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
constexpr double kSluggishRenameGoalMs = 1000;
// Two looks of the slower thread, and a margin.
constexpr double kSluggish16RenameGoalMs = 2 * 200 + 100;
constexpr double kHealthyRenameGoalMs = 1000;
constexpr int kHungThreads = 40;
constexpr double kPeriodMs = CWimmelpultDlg::kRetitlePeriodMs;
constexpr int kCrowdWindows = 10000;
constexpr int kCrowdPrograms = 2;      // each with half the windows on two threads
constexpr double kCrowdTickMs = 4 * kPeriodMs;
const char kRenamed[] = "Festgehalten";
using bench::Fail;
using bench::NowMs;

struct Case {
    const char* label;
    int windows;
    std::string options;   // for TargetApp.exe
    // After the assignment: makes the windows misbehave; says how many
    // should then keep captions of their own (-1: any number).
    std::function<int(const std::vector<HWND>&)> misbehave;
};

double Share(const testutil::AnswerWatch& watch) {
    return watch.Count() ? 100.0 * watch.Slow() / watch.Count() : 0;
}

void PrintAnswers(const char* during, double worst, double share) {
    printf("    worst answer%s %.1f ms (goal at most %.0f): %s; answers over 50 ms %.2f %% (goal at most %.0f %%): "
           "%s\n",
           during, worst, kGoalMs, bench::Verdict(worst, kGoalMs), share, kSlowShareGoal,
           bench::Verdict(share, kSlowShareGoal));
}

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
        testutil::Assign(dlg, "blockade", kRenamed, true, false);
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
        double share = Share(watch);
        int foreign = 0;
        long sent = 0, deepest = 0;
        for (HWND h : targets) {
            foreign += testutil::HeldCaption(h) != kRenamed;
            sent += static_cast<long>(GetWindowLongPtrA(h, GWLP_USERDATA));
            deepest = std::max(deepest, static_cast<long>(GetWindowLongPtrA(h, targetapp::kDeepestOffset)));
        }
        if (keepOwn >= 0 && foreign != keepOwn) Fail("the windows did not keep captions of their own while hung");
        if (ticks < static_cast<int>(seconds * 1000 / CWimmelpultDlg::kRetitlePeriodMs) - 1) Fail("too few ticks");
        printf("  %s: %ld round trips over %.0f s, %d ticks\n", c.label, trips, seconds, ticks);
        PrintAnswers("", worst, share);
        printf("    longest tick %.1f ms; %ld captions received, at most %ld at once; %u remembered, %u pending, "
               "%u workers\n",
               longestTick, sent, deepest, static_cast<unsigned>(dlg.m_retitled.size()),
               static_cast<unsigned>(dlg.m_courier.PendingCount()),
               static_cast<unsigned>(dlg.m_courier.WorkerCount()));
        dlg.m_retitled.clear();
    });
    app.Kill();
}

// Handles this thread's messages until done() holds, looking every 5 ms, or
// until the deadline; counts the dialog's ticks and notes when the last came.
struct TickCount {
    int ticks = 0;
    double last = 0;
    double longest = 0;
};
bool PumpWatching(const CWimmelpultDlg& dlg, double deadline, const std::function<bool()>& done, TickCount& t) {
    while (!done()) {
        double now = NowMs();
        if (now >= deadline) return false;
        testutil::PumpUntil(std::min(deadline, now + 5), [&](const MSG& msg, double ms) {
            if (msg.hwnd == dlg.m_hWnd && msg.message == WM_TIMER && msg.wParam == CWimmelpultDlg::kRetitleTimerId) {
                ++t.ticks;
                t.last = NowMs() - ms;
                t.longest = std::max(t.longest, ms);
            }
        });
    }
    return true;
}

bool AllRenamed(const std::vector<HWND>& targets) {
    return std::all_of(targets.begin(), targets.end(), [](HWND h) { return testutil::HeldCaption(h) == kRenamed; });
}

// Programs that live but take their messages only now and then: a caption
// reaches such a window when its thread next looks, and the dialog must not
// wait for that, nor let one window hold up the others.
// Each program has windows on threads that look every 100 or 200 ms; a
// window's caption is due within renameGoalMs of the click, and back within
// the period plus backLooks of its own looks after it changed it.
// Clicks "&Zuweisen" for every "Blockade" window and handles messages until
// targets are all renamed: how long that took after the click, or a
// negative time when they were not within 10 s.
double RenameAll(CWimmelpultDlg& dlg, const std::vector<HWND>& targets, TickCount& t) {
    testutil::FillIn(dlg, "blockade", kRenamed, true, false);
    const double begin = NowMs();
    testutil::Press(dlg);
    return PumpWatching(dlg, begin + 10000, [&] { return AllRenamed(targets); }, t) ? NowMs() - begin : -1;
}

void RunSluggish(int windows, int threads, double renameGoalMs, int backLooks) {
    const DWORD every[] = {100, 200};
    testutil::ChildProcess apps[2];
    std::vector<HWND> targets;
    std::vector<double> backGoal;
    for (int i = 0; i < 2; ++i) {
        std::vector<HWND> some = testutil::StartTargets(
            apps[i], windows, "Blockade", "threads " + std::to_string(threads) + " every " + std::to_string(every[i]));
        targets.insert(targets.end(), some.begin(), some.end());
        backGoal.insert(backGoal.end(), some.size(), kPeriodMs + backLooks * every[i]);
    }
    if (targets.size() != static_cast<size_t>(2 * windows))
        return Fail("the sluggish programs did not make their windows");

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        TickCount t;
        testutil::AnswerWatch watch(dlg.m_hWnd);
        const double begin = NowMs();
        const double renameMs = RenameAll(dlg, targets, t);
        if (renameMs < 0) Fail("the sluggish windows were not all renamed within 10 s");

        // The windows change their captions at three points of the period:
        // shortly after a tick, in the middle, shortly before the next.
        const double phases[] = {0.1, 0.5, 0.9};
        double worstBack = 0, worstFromTick = 0, worstOver = -1e9;
        std::string each;
        for (double phase : phases) {
            int seen = t.ticks;
            PumpWatching(dlg, NowMs() + 2 * kPeriodMs, [&] { return t.ticks > seen; }, t);
            PumpWatching(dlg, t.last + phase * kPeriodMs, [] { return false; }, t);
            for (HWND h : targets) PostMessageA(h, targetapp::kSetOwn, 0, 0);
            std::vector<double> changed(targets.size(), -1), back(targets.size(), -1), fromTick(targets.size(), -1);
            auto allBack = [&] {
                double now = NowMs();
                bool all = true;
                for (size_t i = 0; i < targets.size(); ++i) {
                    bool ours = testutil::HeldCaption(targets[i]) == kRenamed;
                    if (changed[i] < 0 && !ours) changed[i] = now;
                    if (changed[i] >= 0 && back[i] < 0 && ours) {
                        back[i] = now;
                        fromTick[i] = now - t.last;   // the tick that saw the change
                    }
                    all = all && back[i] >= 0;
                }
                return all;
            };
            if (!PumpWatching(dlg, NowMs() + 3 * kPeriodMs, allBack, t)) {
                Fail("the sluggish windows did not all get their captions back within three periods");
                break;
            }
            double longest = 0;
            for (size_t i = 0; i < targets.size(); ++i) {
                longest = std::max(longest, back[i] - changed[i]);
                worstOver = std::max(worstOver, back[i] - changed[i] - backGoal[i]);
                worstFromTick = std::max(worstFromTick, fromTick[i]);
            }
            worstBack = std::max(worstBack, longest);
            char part[64];
            snprintf(part, sizeof part, "%s%.0f ms at %.0f %%", each.empty() ? "" : ", ", longest, phase * 100);
            each += part;
        }
        double seconds = (NowMs() - begin) / 1000;
        double worst = watch.Stop();
        printf("  sluggish programs, %d windows on %d thread%s taking their messages every 100 ms and %d every "
               "200 ms: %ld round trips over %.0f s, %d ticks\n",
               windows, threads, threads > 1 ? "s" : "", windows, watch.Count(), seconds, t.ticks);
        PrintAnswers("", worst, Share(watch));
        printf("    all renamed %.0f ms after the click (goal at most %.0f): %s\n", renameMs, renameGoalMs,
               bench::Verdict(renameMs, renameGoalMs));
        printf("    own captions put back at most %.0f ms after the change (goal within one period plus %d of the "
               "window's looks, %.0f and %.0f ms): %s; changed at a share of the period after a tick: %s\n",
               worstBack, backLooks, kPeriodMs + backLooks * every[0], kPeriodMs + backLooks * every[1],
               bench::Verdict(worstOver, 0), each.c_str());
        // A change is seen by the next tick, up to a period later.
        printf("    put back at most %.0f ms after the tick that saw the change\n", worstFromTick);
        printf("    longest tick %.1f ms; %u remembered, %u pending, %u workers\n", t.longest,
               static_cast<unsigned>(dlg.m_retitled.size()), static_cast<unsigned>(dlg.m_courier.PendingCount()),
               static_cast<unsigned>(dlg.m_courier.WorkerCount()));
        dlg.m_retitled.clear();
    });
    for (auto& app : apps) app.Kill();
}

// More hung threads than the courier has workers, each with a matching
// window, and a healthy program whose windows come last in the pass: the
// hung ones must not hold up its captions, nor the dialog. Hidden, as in
// RetitleTest.
void RunHungCrowd() {
    testutil::ChildProcess healthyApp, hungApp;
    std::vector<HWND> healthy = testutil::StartTargets(healthyApp, 4, "Blockade");
    std::vector<HWND> hung =
        testutil::StartTargets(hungApp, kHungThreads, "Blockade", "hidden threads " + std::to_string(kHungThreads));
    if (healthy.size() != 4 || hung.size() != static_cast<size_t>(kHungThreads))
        return Fail("TargetApp.exe did not make its windows");
    for (HWND h : hung)
        if (!testutil::MakeBusy(h, INFINITE)) return Fail("a hung thread went on answering");

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        TickCount t;
        testutil::AnswerWatch watch(dlg.m_hWnd);
        const double begin = NowMs();
        const double renameMs = RenameAll(dlg, healthy, t);
        if (renameMs < 0) Fail("the healthy windows were not renamed within 10 s");
        // Two ticks more, which find the hung windows still waiting.
        PumpWatching(dlg, NowMs() + 2 * kPeriodMs, [] { return false; }, t);
        double worst = watch.Stop();
        printf("  %d hung threads of one window each and a healthy program of 4 windows: %ld round trips over "
               "%.0f s, %d ticks\n",
               kHungThreads, watch.Count(), (NowMs() - begin) / 1000, t.ticks);
        PrintAnswers("", worst, Share(watch));
        printf("    healthy windows renamed %.0f ms after the click (goal at most %.0f): %s\n", renameMs,
               kHealthyRenameGoalMs, bench::Verdict(renameMs, kHealthyRenameGoalMs));
        printf("    longest tick %.1f ms; %u remembered, %u pending, %u workers\n", t.longest,
               static_cast<unsigned>(dlg.m_retitled.size()), static_cast<unsigned>(dlg.m_courier.PendingCount()),
               static_cast<unsigned>(dlg.m_courier.WorkerCount()));
        dlg.m_retitled.clear();
    });
    hungApp.Kill();
    healthyApp.Kill();
}

// Many windows at once: the pass and every tick work through them in slices,
// and the deliveries go on meanwhile. Hidden, so that Wine makes no X11
// windows for them.
void RunCrowd() {
    constexpr int kEach = kCrowdWindows / kCrowdPrograms;
    testutil::ChildProcess apps[kCrowdPrograms];
    std::vector<HWND> targets;
    for (auto& app : apps) {
        std::vector<HWND> some = testutil::StartTargets(app, kEach, "Gewimmel", "hidden threads 2", 300000);
        if (some.size() != static_cast<size_t>(kEach)) return Fail("TargetApp.exe did not make the crowd's windows");
        targets.insert(targets.end(), some.begin(), some.end());
    }

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        TickCount t;
        testutil::FillIn(dlg, "gewimmel", kRenamed, true, false);
        auto watch = std::make_unique<testutil::AnswerWatch>(dlg.m_hWnd);
        const double begin = NowMs();
        testutil::Press(dlg);
        const double clickMs = NowMs() - begin;
        // The last window is remembered once its caption is queued.
        bool delivered = PumpWatching(
            dlg, begin + 300000,
            [&] {
                return dlg.m_retitled.size() >= static_cast<size_t>(kCrowdWindows) &&
                       dlg.m_courier.PendingCount() == 0;
            },
            t);
        double renameMs = NowMs() - begin;
        double passWorst = watch->Stop();
        double passWorstAt = watch->WorstAt() - begin;
        double passShare = Share(*watch);
        long passTrips = watch->Count();
        int passTicks = t.ticks;
        long renamed = std::count_if(targets.begin(), targets.end(),
                                     [](HWND h) { return testutil::HeldCaption(h) == kRenamed; });
        if (!delivered || renamed != kCrowdWindows) Fail("the crowd was not renamed");

        watch = std::make_unique<testutil::AnswerWatch>(dlg.m_hWnd);
        t = TickCount();
        PumpWatching(dlg, NowMs() + kCrowdTickMs, [] { return false; }, t);
        double tickWorst = watch->Stop();

        printf("  a crowd of %d hidden windows on 4 threads of %d programs\n", kCrowdWindows, kCrowdPrograms);
        printf("    pass: all %ld renamed %.0f ms after the click (%d ticks meanwhile); %ld round trips\n", renamed,
               renameMs, passTicks, passTrips);
        PrintAnswers(" during the pass", passWorst, passShare);
        printf("    (the longest began %.0f ms after the click; the click's own message took %.0f ms)\n", passWorstAt,
               clickMs);
        printf("    ticks: %d over %.0f s, the longest %.1f ms; %ld round trips\n", t.ticks, kCrowdTickMs / 1000,
               t.longest, watch->Count());
        PrintAnswers(" during the ticks", tickWorst, Share(*watch));
        printf("    %u remembered, %u pending, %u workers\n", static_cast<unsigned>(dlg.m_retitled.size()),
               static_cast<unsigned>(dlg.m_courier.PendingCount()),
               static_cast<unsigned>(dlg.m_courier.WorkerCount()));
        if (t.ticks < static_cast<int>(kCrowdTickMs / kPeriodMs) - 1) Fail("too few ticks");
        dlg.m_retitled.clear();
    });
    for (auto& app : apps) app.Kill();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string alone = argc > 1 ? argv[1] : "";
    const struct {
        const char* name;
        std::function<void()> run;
    } named[] = {
        {"sluggish", [] { RunSluggish(4, 2, kSluggishRenameGoalMs, 0); }},
        {"sluggish16", [] { RunSluggish(16, 1, kSluggish16RenameGoalMs, 2); }},
        {"hung40", RunHungCrowd},
        {"crowd", RunCrowd},
    };
    for (const auto& n : named)
        if (alone == n.name) {   // that case alone
            testutil::InitDialogControls();
            n.run();
            return bench::Failed();
        }
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
    for (const auto& n : named) n.run();
    fflush(stdout);
    return bench::Failed();
}
