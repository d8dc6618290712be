// The retitle pass and the re-application tick of the real dialog, in this
// process, over many windows of another process, each against a bare loop of
// the platform calls that the work needs at the least. Deliveries run on the
// courier's threads, so a pass or a tick is timed from the click (or the
// timer) until the dialog is idle and every window has its caption.
//   RetitleBench.exe [RUNS]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "framework/CWinApp.h"
#include "tests/kit/Bench.h"
#include "tests/kit/MainDialog.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Targets.h"

namespace {

constexpr int kPassWindows = 2000;
constexpr int kTickEntries = 1000;
constexpr int kScaleWindows = 5000;
constexpr int kScaleEntries[] = {100, 1000, 5000};
constexpr double kPassGoal = 1.1;
constexpr double kTickGoal = 1.2;
// Per-entry cost of the longest list against the shortest, allowing for noise.
constexpr double kLinearGoal = 1.5;
// Long enough for the heap to need its own block, as most real captions do.
const char kNewCaption[] = "Umbenanntes Fenster";

using bench::Fail;

int CountCaption(const std::vector<HWND>& targets, const std::string& caption) {
    int n = 0;
    char text[256];
    for (HWND hWnd : targets) n += GetWindowTextA(hWnd, text, sizeof text) >= 0 && caption == text;
    return n;
}

// The desktop and the target redraw after caption changes on their own
// time; that work should not fall into the next timed run. Both have taken
// a message sent after the changes, and the target waits for input again.
void Settle(HWND target) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
    SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        WaitForInputIdle(process, 60000);
        CloseHandle(process);
    }
}

void Report(const char* label, const std::vector<double>& ms) {
    printf("  %-34s %9.2f ms   (min %.2f, max %.2f)\n", label, bench::Median(ms), bench::Min(ms), bench::Max(ms));
}

// Until the dialog has worked through what it was given and the courier has
// delivered it all; the deliveries of a pass may finish before its last slice.
void Finish(CWimmelpultDlg& dlg) {
    auto done = [&] { return !dlg.Working() && dlg.m_courier.PendingCount() == 0; };
    testutil::PumpUntil(bench::NowMs() + 60000, nullptr, done);
    if (!done()) {
        printf("ERROR: still %s, %u deliveries pending after 60 s\n", dlg.Working() ? "working" : "idle",
               static_cast<unsigned>(dlg.m_courier.PendingCount()));
        fflush(stdout);
        bench::FailedFlag() = true;
    }
}

// "&Zuweisen", and the deliveries it queued: both are the pass.
void PressAndDeliver(CWimmelpultDlg& dlg) {
    testutil::Press(dlg);
    Finish(dlg);
}

// Every run gives every window a caption it has not had, so each run really
// renames; all of them still contain the search text.
std::string RunCaption(int run) { return "Bench umbenannt " + std::to_string(run); }

void BenchPass(CWimmelpultDlg& dlg, const std::vector<HWND>& targets, int runs) {
    int run = 0;
    auto product = [&] {
        std::string caption = RunCaption(++run);
        // From the second run on the windows are remembered already, and
        // each is forgotten and remembered anew, as at a second click. (The
        // list must not be emptied from outside: the dialog finds its
        // entries by window.)
        testutil::FillIn(dlg, "bench ", caption.c_str(), true, false);
        Settle(targets[0]);
        double t0 = bench::NowMs();
        PressAndDeliver(dlg);
        double ms = bench::NowMs() - t0;
        if (CountCaption(targets, caption) != kPassWindows || dlg.m_retitled.size() != kPassWindows)
            Fail("the pass did not rename and remember every window");
        return ms;
    };
    auto bare = [&] {
        std::string caption = RunCaption(++run);
        Settle(targets[0]);
        char text[256];
        double t0 = bench::NowMs();
        for (HWND hWnd : targets) {
            GetWindowTextA(hWnd, text, sizeof text);
            SetWindowTextA(hWnd, caption.c_str());
        }
        double ms = bench::NowMs() - t0;
        if (CountCaption(targets, caption) != kPassWindows) Fail("the bare loop did not rename every window");
        return ms;
    };

    std::vector<double> pass, loop;
    bench::Interleave(runs, product, bare, &pass, &loop);
    printf("retitle pass, %s: %d windows of another process, all renamed, median of %d after 1 warm-up\n",
           bench::Arch(), kPassWindows, runs);
    Report("click until all renamed (OnOK)", pass);
    Report("GetWindowTextA + SetWindowTextA", loop);
    printf("  per window: pass %.1f us, bare %.1f us\n", bench::Median(pass) * 1000 / kPassWindows,
           bench::Median(loop) * 1000 / kPassWindows);
    double ratio = bench::Median(pass) / bench::Median(loop);
    printf("  ratio %.3f (goal at most %.1f): %s\n", ratio, kPassGoal, bench::Verdict(ratio, kPassGoal));
}

// Keeps the first n entries in the list and parks the rest in spare.
void KeepEntries(CWimmelpultDlg& dlg, size_t n, std::list<std::unique_ptr<RetitleEntry>>& spare) {
    dlg.m_retitled.splice(dlg.m_retitled.end(), spare);
    if (dlg.m_retitled.size() > n)
        spare.splice(spare.end(), dlg.m_retitled, std::next(dlg.m_retitled.begin(), n), dlg.m_retitled.end());
}

void BenchTick(CWimmelpultDlg& dlg, const std::vector<HWND>& targets, int runs,
               std::list<std::unique_ptr<RetitleEntry>>& spare) {
    testutil::FillIn(dlg, "bench ", kNewCaption, true, false);
    PressAndDeliver(dlg);
    KeepEntries(dlg, kTickEntries, spare);
    std::vector<HWND> remembered;
    for (const auto& e : dlg.m_retitled) remembered.push_back(e->m_hTarget);
    if (remembered.size() != static_cast<size_t>(kTickEntries)) return Fail("too few remembered windows");
    Settle(targets[0]);

    auto product = [&] {
        double t0 = bench::NowMs();
        testutil::Tick(dlg, false);
        Finish(dlg);
        return bench::NowMs() - t0;
    };
    auto bare = [&] {
        char text[256];
        double t0 = bench::NowMs();
        for (HWND hWnd : remembered) GetWindowTextA(hWnd, text, sizeof text);
        return bench::NowMs() - t0;
    };
    std::vector<double> tick, loop;
    bench::Interleave(runs, product, bare, &tick, &loop);
    if (dlg.m_retitled.size() != static_cast<size_t>(kTickEntries) ||
        CountCaption(targets, kNewCaption) != kPassWindows)
        Fail("the ticks changed the entries or the captions");
    printf("re-application tick, %s: %d remembered windows, none changed, median of %d after 1 warm-up\n",
           bench::Arch(), kTickEntries, runs);
    Report("tick (WM_TIMER 7)", tick);
    Report("GetWindowTextA", loop);
    double ratio = bench::Median(tick) / bench::Median(loop);
    printf("  ratio %.3f (goal at most %.1f): %s\n", ratio, kTickGoal, bench::Verdict(ratio, kTickGoal));
}

void BenchTickScale(CWimmelpultDlg& dlg, const std::vector<HWND>& targets, int runs,
                    std::list<std::unique_ptr<RetitleEntry>>& spare) {
    testutil::FillIn(dlg, "menge ", kNewCaption, true, false);
    PressAndDeliver(dlg);
    if (dlg.m_retitled.size() != static_cast<size_t>(kScaleWindows)) return Fail("too few remembered windows");
    const int sizes = static_cast<int>(std::size(kScaleEntries));
    std::vector<std::vector<double>> ms(sizes);
    for (int r = -1; r < runs; ++r) {
        for (int k = 0; k < sizes; ++k) {
            int i = (k + (r < 0 ? 0 : r)) % sizes;
            KeepEntries(dlg, kScaleEntries[i], spare);
            double t0 = bench::NowMs();
            testutil::Tick(dlg, false);
            Finish(dlg);
            double elapsed = bench::NowMs() - t0;
            if (r >= 0) ms[i].push_back(elapsed);
        }
    }
    KeepEntries(dlg, kScaleWindows, spare);
    if (dlg.m_retitled.size() != static_cast<size_t>(kScaleWindows) ||
        CountCaption(targets, kNewCaption) != kScaleWindows)
        Fail("the ticks changed the entries or the captions");
    printf("re-application tick by list length, %s: hidden windows of another process, none changed, median of %d "
           "after 1 warm-up\n",
           bench::Arch(), runs);
    std::vector<double> perEntry;
    for (int i = 0; i < sizes; ++i) {
        perEntry.push_back(bench::Median(ms[i]) * 1000 / kScaleEntries[i]);
        printf("  %5d entries %9.2f ms   %6.2f us per entry\n", kScaleEntries[i], bench::Median(ms[i]), perEntry[i]);
    }
    double growth = perEntry.back() / perEntry.front();
    printf("  per-entry cost at %d is x%.2f of that at %d (linear: at most x%.1f): %s\n", kScaleEntries[sizes - 1],
           growth, kScaleEntries[0], kLinearGoal, bench::Verdict(growth, kLinearGoal));
}

}  // namespace

int main(int argc, char** argv) {
    // Unbuffered, so that a run cut short still shows how far it came.
    setvbuf(stdout, nullptr, _IONBF, 0);
    int runs = argc > 1 ? atoi(argv[1]) : 9;
    if (runs < 1) runs = 1;
    testutil::InitDialogControls();

    testutil::ChildProcess passApp;
    std::vector<HWND> passTargets = testutil::StartTargets(passApp, kPassWindows, "Bench", "", 300000);
    if (passTargets.size() != static_cast<size_t>(kPassWindows)) {
        printf("ERROR: TargetApp.exe did not make %d windows\n", kPassWindows);
        return 1;
    }

    // The dialog is the main window, whose idle work our loops do.
    CWinApp app;
    CWimmelpultDlg dlg;
    app.m_pMainWnd = &dlg;
    testutil::RunModal(dlg, [&] {
        // Ticks come from this benchmark alone.
        KillTimer(dlg.m_hWnd, CWimmelpultDlg::kRetitleTimerId);
        // Entries set aside, alive, while the ticks go over the others.
        std::list<std::unique_ptr<RetitleEntry>> spare;
        BenchPass(dlg, passTargets, runs);
        BenchTick(dlg, passTargets, runs * 2 + 1, spare);
        spare.splice(spare.end(), dlg.m_retitled);

        // Started only now: the pass above walks every window below the dialog.
        testutil::ChildProcess scaleApp;
        std::vector<HWND> scaleTargets = testutil::StartTargets(scaleApp, kScaleWindows, "Menge", "hidden", 300000);
        if (scaleTargets.size() != static_cast<size_t>(kScaleWindows)) return Fail("the 5000 windows did not come");
        std::list<std::unique_ptr<RetitleEntry>> scaleSpare;
        BenchTickScale(dlg, scaleTargets, runs * 2 + 1, scaleSpare);
        dlg.m_retitled.splice(dlg.m_retitled.end(), spare);
    });
    fflush(stdout);
    return bench::Failed();
}
