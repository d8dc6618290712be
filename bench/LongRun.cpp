// The main dialog over a long stretch of real time: 200 remembered windows of
// another program, half of which set a caption of their own every second, and
// every re-application sends the icon again. Checks that each caption comes
// back within one period, that memory and USER objects stay flat, that
// nothing died, and that the entries go once the program has ended.
//   LongRun.exe [--minutes N]        (default 10 minutes, after a warm-up)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "bench/BenchUtil.h"
#include "tests/ModalScript.h"
#include "tests/Process.h"
#include "tests/TestUtil.h"
#include "tests/ok.h"

namespace {

constexpr int kWindows = 200;
constexpr int kFlipping = 100;   // TargetApp's first windows, each once a second
const char kCaption[] = "Langlauf";
const char kSearch[] = "langlauf";
const char kNewCaption[] = "Ruhiges Fenster";
constexpr int kIcon = 42;

constexpr double kPeriodMs = CWimmelpultDlg::kRetitlePeriodMs;
constexpr double kSampleMs = 100;
constexpr double kWarmUpMs = 5 * kPeriodMs;
// A caption may stay foreign for one period, plus: the tick's own work up to
// the window's place in the list (every send waits for the other program to
// be scheduled; on a shared two-core machine a tick over 100 changed windows
// took 0.3 to 0.6 s as a rule and up to 1.9 s). The check takes a stretch's
// length measured short, so the sampler's own delays do not count. A missed
// tick or a skipped window would show as two periods.
constexpr double kMarginMs = 1000;
constexpr double kBoundMs = kPeriodMs + kMarginMs;
// Growth allowed from the end of the warm-up to the end of the run. A leak of
// one small block per re-application would come to about 1 MiB of heap and
// one icon per re-application to thousands of USER objects.
constexpr long long kWorkingSetBoundKiB = 2048;
constexpr long long kPagefileBoundKiB = 2048;
constexpr long long kHeapBoundKiB = 128;
constexpr long kWatermarkBound = 20;

using bench::NowMs;

const char* Arch() { return sizeof(void*) == 8 ? "x86_64" : "i686"; }

struct Footprint {
    long long workingSetKiB;
    // The commit charge; Windows reports it as PrivateUsage too, Wine only
    // here (its anonymous resident pages plus swap).
    long long pagefileKiB;
    long long heapKiB;   // busy blocks of every heap of the process
    long watermark;
};

long long HeapInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    DWORD n = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (n > heaps.size()) return -1;
    long long used = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return used;
}

Footprint Measure() {
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return {static_cast<long long>(pmc.WorkingSetSize / 1024), static_cast<long long>(pmc.PagefileUsage / 1024),
            HeapInUse() / 1024, testutil::UserObjectWatermark()};
}

// One window of the other program, as the samples saw it.
struct Watched {
    HWND hWnd = nullptr;
    std::string own;              // "Langlauf <n>", as the program made it
    bool flips = false;
    LONG_PTR setFromOutside = 0;  // the program's count of captions given to it
    double lastRead = 0;          // when the last reading of it began
    // The current foreign stretch: it began after foreignFrom (-1: none) and
    // before foreignSeen, and was still there at some moment after stillAt.
    double foreignFrom = -1;
    double foreignSeen = 0;
    double stillAt = 0;
    double longest = 0;           // the longest stretch, measured long
    double longestAtLeast = 0;    // the longest stretch, measured short
    double longestEnd = 0;        // when the stretch measured long ended
    long stretches = 0;
};

// What the pumping loop saw of the dialog's re-application timer.
struct Ticks {
    HWND dialog = nullptr;
    std::vector<double> at;
    std::vector<double> work;   // how long each took
};
Ticks g_ticks;

// Handles this thread's messages, the dialog's among them, until deadline.
void Pump(double deadline) {
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            bool tick = msg.hwnd == g_ticks.dialog && msg.message == WM_TIMER &&
                        msg.wParam == CWimmelpultDlg::kRetitleTimerId;
            double t0 = NowMs();
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (tick) {
                g_ticks.at.push_back(t0);
                g_ticks.work.push_back(NowMs() - t0);
            }
        }
        double now = NowMs();
        if (now >= deadline) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now) + 1, QS_ALLINPUT);
    }
}

// Reads every caption on a thread of its own, so that samples go on while a
// tick of the dialog runs on the main thread. A stretch ends at the first
// sample that shows our caption or finds the window given a caption from
// outside since the last sample (the program may have set its own again in
// between). Its length is known between two bounds: measured long, from the
// start of the reading before the one that first showed it to the end of the
// reading that ended it; measured short, from the end of the first reading
// that showed it to the start of the last one that still did.
class Sampler {
public:
    struct Figures {
        double longest;           // measured long
        double longestEnd;
        std::string worst;        // the window of that stretch
        double longestAtLeast;    // measured short
        std::string worstAtLeast;
        long long putBack;        // captions given from outside, flipping windows
        long long untouched;      // the same for the others
        long flipStretches;
        long otherStretches;
        long overPeriod;          // stretches longer than one period
        long overBound;
        long unexpected;          // neither our caption nor the program's
        std::string unexpectedExample;
        long samples;
        double longestGap;        // between two readings of one window
        double longestSample;     // one reading of every window
    };

    Sampler(std::vector<Watched>& windows, double start) : m_windows(windows), m_start(start) {
        for (Watched& w : m_windows) w.lastRead = start;
        InitializeCriticalSection(&m_lock);
    }
    ~Sampler() {
        Stop();
        DeleteCriticalSection(&m_lock);
    }
    Sampler(const Sampler&) = delete;
    Sampler& operator=(const Sampler&) = delete;

    bool Start() {
        m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &ThreadMain, this, 0, nullptr);
        return m_stop && m_thread;
    }

    // Ends the samples; open stretches count as if they ended now.
    void Stop() {
        if (!m_thread) return;
        SetEvent(m_stop);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_stop);
        m_thread = m_stop = nullptr;
        double now = NowMs();
        for (Watched& w : m_windows)
            if (w.foreignFrom >= 0) Close(w, now, w.stillAt);
    }

    Figures Read() {
        EnterCriticalSection(&m_lock);
        Figures f = {};
        const Watched* worst = &m_windows[0];
        const Watched* worstAtLeast = &m_windows[0];
        for (const Watched& w : m_windows) {
            if (w.longest > worst->longest) worst = &w;
            if (w.longestAtLeast > worstAtLeast->longestAtLeast) worstAtLeast = &w;
            (w.flips ? f.putBack : f.untouched) += w.setFromOutside;
            (w.flips ? f.flipStretches : f.otherStretches) += w.stretches;
        }
        f.longest = worst->longest;
        f.longestEnd = worst->longestEnd;
        f.longestAtLeast = worstAtLeast->longestAtLeast;
        f.worstAtLeast = worstAtLeast->own;
        f.worst = worst->own;
        f.unexpected = m_unexpected;
        f.unexpectedExample = m_unexpectedExample;
        f.samples = m_samples;
        f.longestGap = m_longestGap;
        f.longestSample = m_longestSample;
        f.overPeriod = m_overPeriod;
        f.overBound = m_overBound;
        LeaveCriticalSection(&m_lock);
        return f;
    }

private:
    static DWORD WINAPI ThreadMain(void* self) {
        static_cast<Sampler*>(self)->Run();
        return 0;
    }

    void Run() {
        double next = m_start;
        for (;;) {
            next += kSampleMs;
            double now = NowMs();
            if (next < now) next = now;   // late: go on from here, not in a burst
            if (WaitForSingleObject(m_stop, static_cast<DWORD>(next - now)) != WAIT_TIMEOUT) return;
            EnterCriticalSection(&m_lock);
            Sample();
            LeaveCriticalSection(&m_lock);
        }
    }

    // atMost: the end of the reading that found the stretch over; stillAt
    // bounds its end from below.
    void Close(Watched& w, double atMost, double stillAt) {
        double length = atMost - w.foreignFrom;
        double atLeast = std::max(0.0, stillAt - w.foreignSeen);
        if (length > w.longest) {
            w.longest = length;
            w.longestEnd = atMost;
        }
        w.longestAtLeast = std::max(w.longestAtLeast, atLeast);
        m_overPeriod += atLeast > kPeriodMs;
        m_overBound += atLeast > kBoundMs;
        w.foreignFrom = -1;
    }

    void Sample() {
        char text[256];
        double begin = NowMs();
        for (Watched& w : m_windows) {
            double before = NowMs();
            // The count first: a caption put back after it is seen as ours.
            LONG_PTR outside = GetWindowLongPtrA(w.hWnd, GWLP_USERDATA);
            if (GetWindowTextA(w.hWnd, text, sizeof text) <= 0) text[0] = '\0';
            double after = NowMs();
            bool ours = strcmp(text, kNewCaption) == 0;
            bool putBack = outside != w.setFromOutside;
            w.setFromOutside = outside;
            m_longestGap = std::max(m_longestGap, after - w.lastRead);
            if (w.foreignFrom >= 0 && (ours || putBack)) Close(w, after, w.stillAt);
            if (!ours) {
                bool theirs = strncmp(text, w.own.c_str(), w.own.size()) == 0 &&
                              strncmp(text + w.own.size(), " (", 2) == 0;
                if (!theirs && m_unexpected++ == 0) m_unexpectedExample = w.own + " showed \"" + text + "\"";
                if (w.foreignFrom < 0) {
                    w.foreignFrom = w.lastRead;
                    w.foreignSeen = after;
                    ++w.stretches;
                }
                w.stillAt = before;
            }
            w.lastRead = before;
        }
        m_longestSample = std::max(m_longestSample, NowMs() - begin);
        ++m_samples;
    }

    std::vector<Watched>& m_windows;
    double m_start;
    long m_unexpected = 0;
    std::string m_unexpectedExample;
    long m_samples = 0;
    double m_longestGap = 0;
    double m_longestSample = 0;
    long m_overPeriod = 0;
    long m_overBound = 0;
    CRITICAL_SECTION m_lock;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
};

// The program's windows once they all exist and it answers; own caption and
// role from the number in the caption, since the flippers may have started.
std::vector<Watched> StartTargets(testutil::ChildProcess& app) {
    std::vector<Watched> windows;
    std::string args = std::to_string(kWindows) + " \"" + kCaption + "\" flip " + std::to_string(kFlipping);
    if (!app.Start(testutil::BesideMe("TargetApp.exe"), args)) return windows;
    std::vector<HWND> found;
    testutil::WaitFor(
        [&] {
            found.clear();
            for (HWND hWnd : app.Windows()) {
                char cls[64] = {};
                GetClassNameA(hWnd, cls, sizeof cls);
                if (strcmp(cls, "WimmelpultTestTarget") == 0) found.push_back(hWnd);
            }
            return found.size() >= static_cast<size_t>(kWindows);
        },
        60000);
    DWORD_PTR ignored;
    if (found.size() != static_cast<size_t>(kWindows) ||
        !SendMessageTimeoutA(found[0], WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored))
        return windows;

    std::vector<bool> seen(kWindows, false);
    const size_t prefix = strlen(kCaption) + 1;
    for (HWND hWnd : found) {
        char text[256] = {};
        GetWindowTextA(hWnd, text, sizeof text);
        int index = strncmp(text, kCaption, prefix - 1) == 0 ? atoi(text + prefix) : -1;
        if (index < 0 || index >= kWindows || seen[index]) return {};
        seen[index] = true;
        Watched w;
        w.hWnd = hWnd;
        w.own = std::string(kCaption) + " " + std::to_string(index);
        w.flips = index < kFlipping;
        windows.push_back(w);
    }
    return windows;
}

// Fills in the dialog as the user does, with the dialog above the other
// windows, and clicks "&Zuweisen".
void Assign(CWimmelpultDlg& dlg) {
    SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetDlgItemTextA(dlg.m_hWnd, IDC_OLD_TITLE, kSearch);
    SetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, kNewCaption);
    CheckDlgButton(dlg.m_hWnd, IDC_UPDATE, BST_CHECKED);
    CheckDlgButton(dlg.m_hWnd, IDC_NEW_ICON, BST_CHECKED);
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDOK)));
}

std::string Clock(double ms) {
    long s = static_cast<long>(ms / 1000);
    char text[32];
    snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

void PrintFootprint(const char* label, const Footprint& f) {
    printf("  %-8s working set %lld KiB, pagefile usage %lld KiB, heap in use %lld KiB, USER watermark %ld\n", label,
           f.workingSetKiB, f.pagefileKiB, f.heapKiB, f.watermark);
}

void CheckGrowth(const char* what, long long before, long long after, long long bound, const char* unit) {
    printf("  %-16s %lld -> %lld %s (%+lld, bound +%lld)\n", what, before, after, unit, after - before, bound);
    ok(after - before <= bound, "expected %s to grow by at most %lld %s, %lld -> %lld", what, bound, unit, before,
       after);
}

void Soak(CWimmelpultDlg& dlg, testutil::ChildProcess& app, std::vector<Watched>& windows, double runMs) {
    g_ticks.dialog = dlg.m_hWnd;
    // Room for every tick now, so the list does not grow into the heap figures.
    size_t room = static_cast<size_t>((kWarmUpMs + runMs) / kPeriodMs) + 64;
    g_ticks.at.reserve(room);
    g_ticks.work.reserve(room);
    dlg.m_iconChooser.m_chosenIcon = kIcon;

    ok_context("assignment");
    double start = NowMs();
    Assign(dlg);
    double assigned = NowMs();
    printf("  0:00  pass over %d windows took %.0f ms\n", kWindows, assigned - start);
    ok(dlg.m_retitled.size() == static_cast<size_t>(kWindows), "expected %d entries, got %u", kWindows,
       static_cast<unsigned>(dlg.m_retitled.size()));
    int wrongEntries = 0;
    for (const auto& e : dlg.m_retitled) {
        bool known =
            std::any_of(windows.begin(), windows.end(), [&](const Watched& w) { return w.hWnd == e->m_hTarget; });
        wrongEntries += !known || e->m_strTitle != kNewCaption || e->m_nIcon != kIcon;
    }
    ok(wrongEntries == 0, "expected every entry to name a target, the new caption and icon %d; %d do not", kIcon,
       wrongEntries);
    int notRenamed = 0;
    for (Watched& w : windows) {
        w.setFromOutside = GetWindowLongPtrA(w.hWnd, GWLP_USERDATA);
        notRenamed += w.setFromOutside != 1;
    }
    ok(notRenamed == 0, "expected every window given one caption by the pass; %d were not", notRenamed);

    ok_context("long run");
    Sampler sampler(windows, start);
    if (!ok(sampler.Start(), "expected the sampling thread to start")) return;
    const double warmEnd = assigned + kWarmUpMs;
    const double end = warmEnd + runMs;
    Pump(warmEnd);
    Footprint first = Measure();
    size_t firstTick = g_ticks.at.size();
    Sampler::Figures warm = sampler.Read();
    printf("  %s  warm-up over after %u ticks; longest foreign caption so far %.0f..%.0f ms\n",
           Clock(NowMs() - assigned).c_str(), static_cast<unsigned>(firstTick), warm.longestAtLeast, warm.longest);
    PrintFootprint("start", first);
    fflush(stdout);
    for (double report = warmEnd + 60000; report < end; report += 60000) {
        Pump(report);
        Footprint f = Measure();
        Sampler::Figures now = sampler.Read();
        printf("  %s  ticks %u, longest foreign caption %.0f..%.0f ms, working set %lld KiB, pagefile %lld KiB, "
               "heap %lld KiB, watermark %ld\n",
               Clock(NowMs() - assigned).c_str(), static_cast<unsigned>(g_ticks.at.size()), now.longestAtLeast,
               now.longest, f.workingSetKiB, f.pagefileKiB, f.heapKiB, f.watermark);
        fflush(stdout);
    }
    Pump(end);
    Footprint last = Measure();
    sampler.Stop();
    Sampler::Figures result = sampler.Read();
    size_t ticks = g_ticks.at.size() - firstTick;
    PrintFootprint("end", last);
    printf("\nresults, %s, %.1f minutes after the warm-up:\n", Arch(), runMs / 60000);

    // The timer kept coming, once a period.
    double longestGap = 0, shortestGap = 1e9;
    for (size_t i = 1; i < g_ticks.at.size(); ++i) {
        longestGap = std::max(longestGap, g_ticks.at[i] - g_ticks.at[i - 1]);
        shortestGap = std::min(shortestGap, g_ticks.at[i] - g_ticks.at[i - 1]);
    }
    std::vector<double> work = g_ticks.work;
    std::sort(work.begin(), work.end());
    printf("  ticks            %u in all, %u after the warm-up; %.0f..%.0f ms apart; each took %.0f ms "
           "(median), %.0f ms at most\n",
           static_cast<unsigned>(g_ticks.at.size()), static_cast<unsigned>(ticks), shortestGap, longestGap,
           work.empty() ? 0.0 : work[work.size() / 2], work.empty() ? 0.0 : work.back());
    size_t expectedTicks = static_cast<size_t>(runMs / kPeriodMs);
    ok(ticks + 1 >= expectedTicks, "expected about %u ticks after the warm-up, got %u",
       static_cast<unsigned>(expectedTicks), static_cast<unsigned>(ticks));

    // Every caption came back within one period.
    printf("  captions         longest foreign: at least %.0f ms (%s), at most %.0f ms (%s, ended at %s)\n",
           result.longestAtLeast, result.worstAtLeast.c_str(), result.longest, result.worst.c_str(),
           Clock(result.longestEnd - assigned).c_str());
    printf("                   bound %.0f ms = period + %.0f ms; %ld foreign stretches, at least %ld longer than "
           "one period, %ld than the bound\n",
           kBoundMs, kMarginMs, result.flipStretches, result.overPeriod, result.overBound);
    printf("  samples          %ld, every %.0f ms; one took at most %.0f ms; one window's readings at most "
           "%.0f ms apart\n",
           result.samples, kSampleMs, result.longestSample, result.longestGap);
    // The sampler's own delays widen the bounds; only a stretch that was
    // certainly longer than the bound fails.
    ok(result.longestAtLeast <= kBoundMs, "expected every caption back within %.0f ms, %s took at least %.0f ms",
       kBoundMs, result.worstAtLeast.c_str(), result.longestAtLeast);
    ok(result.flipStretches > 0 && result.otherStretches == 0,
       "expected foreign captions on the flipping windows alone, %ld and %ld stretches", result.flipStretches,
       result.otherStretches);
    ok(result.unexpected == 0, "expected only our caption or the program's own, %ld other: %s", result.unexpected,
       result.unexpectedExample.c_str());
    // Each flipping window sets its caption at least twice between two ticks,
    // so each tick puts every one of them back once, and only them.
    long long putBack = result.putBack - warm.putBack;
    long long lowest = static_cast<long long>(kFlipping) * (static_cast<long long>(ticks) - 1);
    long long highest = static_cast<long long>(kFlipping) * (static_cast<long long>(ticks) + 1);
    printf("  put back         %lld captions after the warm-up (%d windows x %u ticks = %lld)\n", putBack, kFlipping,
           static_cast<unsigned>(ticks), static_cast<long long>(kFlipping) * static_cast<long long>(ticks));
    ok(putBack >= lowest && putBack <= highest, "expected %lld..%lld captions put back, got %lld", lowest, highest,
       putBack);
    ok(result.untouched == warm.untouched, "expected the unchanged windows left alone, %lld -> %lld captions given",
       warm.untouched, result.untouched);

    // Memory and USER objects stayed flat.
    ok_context("footprint");
    CheckGrowth("working set", first.workingSetKiB, last.workingSetKiB, kWorkingSetBoundKiB, "KiB");
    CheckGrowth("pagefile usage", first.pagefileKiB, last.pagefileKiB, kPagefileBoundKiB, "KiB");
    CheckGrowth("heap in use", first.heapKiB, last.heapKiB, kHeapBoundKiB, "KiB");
    CheckGrowth("USER watermark", first.watermark, last.watermark, kWatermarkBound, "slots");
    ok(first.workingSetKiB > 0 && first.pagefileKiB > 0 && first.heapKiB > 0, "expected the memory figures read");
    ok(dlg.m_sentIcons.Count() == 1, "expected one icon handle for one catalogue index, got %d",
       dlg.m_sentIcons.Count());

    // Nothing died.
    ok_context("still alive");
    char typed[64] = {};
    GetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, typed, sizeof typed);
    ok(IsWindowVisible(dlg.m_hWnd) && strcmp(typed, kNewCaption) == 0,
       "expected the dialog still there with the typed caption, got \"%s\"", typed);
    ok(dlg.m_retitled.size() == static_cast<size_t>(kWindows), "expected %d entries still, got %u", kWindows,
       static_cast<unsigned>(dlg.m_retitled.size()));
    int gone = 0;
    for (const Watched& w : windows) gone += !IsWindow(w.hWnd);
    DWORD_PTR ignored;
    bool answers = SendMessageTimeoutA(windows[0].hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0;
    ok(gone == 0 && answers && WaitForSingleObject(app.Handle(), 0) == WAIT_TIMEOUT,
       "expected the other program running with all its windows; %d gone, answers %d", gone, answers);

    // The program ends; the next tick drops every entry.
    ok_context("program ended");
    size_t before = dlg.m_retitled.size();
    for (const Watched& w : windows) PostMessageA(w.hWnd, WM_CLOSE, 0, 0);
    double closing = NowMs();
    while (WaitForSingleObject(app.Handle(), 0) == WAIT_TIMEOUT && NowMs() - closing < 30000)
        Pump(NowMs() + kSampleMs);
    DWORD code = 1234;
    bool ended = app.WaitExit(0, &code);
    ok(ended && code == 0, "expected the program to end by itself, ended %d, code %lu", ended, code);
    double exited = NowMs();
    size_t tickBefore = g_ticks.at.size();
    while (g_ticks.at.size() == tickBefore && NowMs() - exited < kPeriodMs + 2000) Pump(NowMs() + kSampleMs);
    bool ticked = g_ticks.at.size() > tickBefore;
    printf("  entries          %u before the program ended, %u after the next tick (%.0f ms later)\n",
           static_cast<unsigned>(before), static_cast<unsigned>(dlg.m_retitled.size()),
           ticked ? g_ticks.at[tickBefore] - exited : -1.0);
    ok(ticked, "expected a tick within %.0f ms of the end", kPeriodMs + 2000);
    ok(dlg.m_retitled.empty(), "expected every entry dropped, %u left", static_cast<unsigned>(dlg.m_retitled.size()));
}

int Usage() {
    printf("usage: LongRun.exe [--minutes N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    double minutes = 10;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) minutes = atof(argv[++i]);
        else return Usage();
    }
    if (minutes <= 0) return Usage();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    printf("long run, %s: %d windows of another program, %d of them setting their own caption every 1000 ms; "
           "re-application every %.0f ms with a new icon; %.0f s warm-up, then %.1f minutes\n",
           Arch(), kWindows, kFlipping, kPeriodMs, kWarmUpMs / 1000, minutes);
    fflush(stdout);

    testutil::ChildProcess app;
    std::vector<Watched> windows = StartTargets(app);
    if (!ok(windows.size() == static_cast<size_t>(kWindows), "expected %d windows of TargetApp.exe, got %u",
            kWindows, static_cast<unsigned>(windows.size())))
        return ok_summary();

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] { Soak(dlg, app, windows, minutes * 60000); });
    return ok_summary();
}
