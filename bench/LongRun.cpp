// The main dialog over a long run of ticks against a crowd of windows that
// misbehave as real applications do: windows of another program, spread over
// several threads, that set captions of their own again and again, while
// their threads now and then stay busy for a moment or hang for seconds and
// come back, windows wait inside their caption handler on a thread that
// hangs, and windows move in the Z order or close and are replaced; and
// windows of two sluggish programs, whose threads take their messages only
// every 100 or 200 ms and set captions of their own too. Now and then
// "&Zuweisen" is pressed again, as a user would, so replacements are
// remembered too. Checks that memory, USER objects, remembered and pending
// entries and the process's threads stay flat, that the dialog always answers
// other programs quickly, and that every window gets its remembered caption
// back within one period of answering.
//   LongRun.exe [--ticks N] [--seed S]     (default 100000 ticks)
// Meant for a build with a short re-application period (tools/longrun.sh).
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "tests/kit/AnswerWatch.h"
#include "tests/kit/Bench.h"
#include "tests/kit/MainDialog.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Targets.h"
#include "tests/kit/UserObjects.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

namespace {

constexpr int kThreads = 4;
constexpr int kWindows = 40;
constexpr int kFlipping = 16;   // TargetApp's first windows set their own caption
// The sluggish programs: each thread takes its messages every so many ms.
constexpr DWORD kSluggishEvery[] = {100, 200};
constexpr int kSluggishWindows = 4;    // per program, on two threads
constexpr int kSluggishFlipping = 2;
constexpr int kRemembered = kWindows + 2 * kSluggishWindows;
const char kCaption[] = "Langlauf";
const char kSearch[] = "langlauf";
const char kNewCaption[] = "Ruhiges Fenster";
constexpr int kIcon = 42;

constexpr double kPeriodMs = CWimmelpultDlg::kRetitlePeriodMs;
// Each flipper changes its caption every ten periods, so a tick finds one or
// two to put back.
const UINT kFlipMs = static_cast<UINT>(kPeriodMs * 10);
// A sluggish program's flippers change their captions as often, but a
// timer of theirs fires only when their thread looks.
const UINT kSluggishFlipMs = kFlipMs;
constexpr double kSampleMs = 10;
constexpr double kChaosMs = 500;          // something goes wrong this often
constexpr int kReassignTicks = 250;       // "&Zuweisen" again this often
constexpr int kWarmUpTicks = 1000;
// A caption may stay foreign one period after its window answers, plus: the
// machine is shared and has two cores.
constexpr double kMarginMs = 1000;
constexpr double kCaptionBoundMs = kPeriodMs + kMarginMs;
// The dialog never waits for another program; a slice of a pass or a tick
// takes at most 15 ms, and a shared machine of two cores adds its delays.
constexpr double kAnswerBoundMs = 120;
constexpr long long kWorkingSetBoundKiB = 2048;
constexpr long long kHeapBoundKiB = 128;
// Every window, icon, cursor and menu of the process is counted, and at both
// calm moments the dialog holds the same ones: its windows, menus and own
// icons and the one cached icon. A leak of one per 100 ticks would show 60
// after 6000 ticks.
constexpr long kUserObjectsBound = 0;

using bench::NowMs;

struct Footprint {
    long long workingSetKiB;
    long long heapKiB;   // busy blocks of every heap of the process
    testutil::UserObjects user;
    size_t remembered;
    size_t pending;
    long threads;   // of the whole process
    size_t workers;
};

long ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    long n = 0;
    const DWORD me = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        n += entry.th32OwnerProcessID == me;
    CloseHandle(snapshot);
    return n;
}

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

Footprint Measure(const CWimmelpultDlg& dlg) {
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return {static_cast<long long>(pmc.WorkingSetSize / 1024), HeapInUse() / 1024, testutil::CountUserObjects(),
            dlg.m_retitled.size(), dlg.m_courier.PendingCount(), ThreadCount(), dlg.m_courier.WorkerCount()};
}

void PrintFootprint(const char* label, const Footprint& f) {
    printf("  %-6s working set %lld KiB, heap in use %lld KiB, USER objects %ld (%s); %u remembered, %u pending; "
           "%ld threads, %u of them delivering\n",
           label, f.workingSetKiB, f.heapKiB, f.user.count, f.user.counted.c_str(), static_cast<unsigned>(f.remembered),
           static_cast<unsigned>(f.pending), f.threads, static_cast<unsigned>(f.workers));
}

void CheckGrowth(const char* what, long long before, long long after, long long bound) {
    printf("  %-16s %lld -> %lld (%+lld, bound +%lld)\n", what, before, after, after - before, bound);
    ok(after - before <= bound, "expected %s to grow by at most %lld, %lld -> %lld", what, bound, before, after);
}

std::string Clock(double ms) {
    long s = static_cast<long>(ms / 1000);
    char text[32];
    snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    return text;
}

// When each thread of the other program was told to stop answering, and
// until when: a caption cannot come back while its thread does not answer,
// nor while its window waits inside its caption handler on such a thread.
class BusyLog {
public:
    BusyLog() { InitializeCriticalSection(&m_lock); }
    ~BusyLog() { DeleteCriticalSection(&m_lock); }
    void Add(DWORD thread, double from, double to) { Add(thread, nullptr, from, to); }
    void Add(DWORD thread, HWND window, double from, double to) {
        EnterCriticalSection(&m_lock);
        m_spans[{thread, window}].push_back({from, to});
        LeaveCriticalSection(&m_lock);
    }
    // The latest end of a span of thread or window that began before at (0: none).
    double AnswersSince(DWORD thread, HWND window, double at) {
        EnterCriticalSection(&m_lock);
        double since = 0;
        for (const auto& key : {Key{thread, nullptr}, Key{0, window}})
            for (const auto& span : m_spans[key])
                if (span.first <= at) since = std::max(since, std::min(span.second, at));
        LeaveCriticalSection(&m_lock);
        return since;
    }

private:
    using Key = std::pair<DWORD, HWND>;
    CRITICAL_SECTION m_lock;
    std::map<Key, std::vector<std::pair<double, double>>> m_spans;
};

// Reads the remembered windows' captions on a thread of its own, so that
// samples go on while a tick runs. A foreign stretch begins at the first
// reading that shows another caption and ends at the first that shows ours or
// finds the window given a caption from outside since the last reading (its
// application may have set its own again in between). Only the part after its
// thread last answered again counts.
class Sampler {
public:
    struct Figures {
        double longest = 0;
        double longestEnd = 0;
        std::string worst;
        long stretches = 0;
        long overBound = 0;
        long samples = 0;
        double longestSample = 0;
    };

    explicit Sampler(BusyLog& busy) : m_busy(busy) {
        InitializeCriticalSection(&m_lock);
        m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~Sampler() {
        Stop();
        CloseHandle(m_stop);
        DeleteCriticalSection(&m_lock);
    }
    bool Start() {
        m_thread = CreateThread(nullptr, 0, &Thread, this, 0, nullptr);
        return m_thread != nullptr;
    }
    void Stop() {
        SetEvent(m_stop);
        if (m_thread) {
            WaitForSingleObject(m_thread, INFINITE);
            CloseHandle(m_thread);
            m_thread = nullptr;
        }
    }
    // Watches the windows that the dialog remembers now, from now on.
    void Watch(const std::vector<HWND>& remembered) {
        EnterCriticalSection(&m_lock);
        for (HWND hWnd : remembered) {
            if (m_windows.count(hWnd)) continue;
            Watched& w = m_windows[hWnd];
            w.thread = GetWindowThreadProcessId(hWnd, nullptr);
            w.outside = GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        }
        LeaveCriticalSection(&m_lock);
    }
    // From now on stretches count (after the warm-up).
    void Reset() {
        EnterCriticalSection(&m_lock);
        m_figures = Figures();
        LeaveCriticalSection(&m_lock);
    }
    Figures Read() {
        EnterCriticalSection(&m_lock);
        Figures f = m_figures;
        LeaveCriticalSection(&m_lock);
        return f;
    }
    size_t Watching() {
        EnterCriticalSection(&m_lock);
        size_t n = m_windows.size();
        LeaveCriticalSection(&m_lock);
        return n;
    }

private:
    struct Watched {
        DWORD thread = 0;
        LONG_PTR outside = 0;    // the program's count of captions given to it
        double foreignFrom = -1;
    };

    static DWORD WINAPI Thread(void* self) {
        static_cast<Sampler*>(self)->Run();
        return 0;
    }
    void Run() {
        while (WaitForSingleObject(m_stop, static_cast<DWORD>(kSampleMs)) == WAIT_TIMEOUT) {
            EnterCriticalSection(&m_lock);
            Sample();
            LeaveCriticalSection(&m_lock);
        }
    }
    void Sample() {
        char text[256];
        double begin = NowMs();
        for (auto it = m_windows.begin(); it != m_windows.end();) {
            Watched& w = it->second;
            // The count first: a caption put back after it is seen as ours.
            LONG_PTR outside = GetWindowLongPtrA(it->first, GWLP_USERDATA);
            int n = GetWindowTextA(it->first, text, sizeof text);
            double now = NowMs();
            if (n <= 0 && !IsWindow(it->first)) {   // closed: its stretch ends with it
                it = m_windows.erase(it);
                continue;
            }
            bool ours = strcmp(text, kNewCaption) == 0;
            bool putBack = outside != w.outside;
            w.outside = outside;
            if (w.foreignFrom >= 0 && (ours || putBack)) {
                double from = std::max(w.foreignFrom, m_busy.AnswersSince(w.thread, it->first, now));
                double length = now - from;
                ++m_figures.stretches;
                m_figures.overBound += length > kCaptionBoundMs;
                if (length > m_figures.longest) {
                    m_figures.longest = length;
                    m_figures.longestEnd = now;
                    m_figures.worst = std::string(text) + " (thread " + std::to_string(w.thread) + ")";
                }
                w.foreignFrom = -1;
            }
            if (!ours && w.foreignFrom < 0) w.foreignFrom = now;
            ++it;
        }
        m_figures.longestSample = std::max(m_figures.longestSample, NowMs() - begin);
        ++m_figures.samples;
    }

    BusyLog& m_busy;
    std::map<HWND, Watched> m_windows;
    Figures m_figures;
    CRITICAL_SECTION m_lock;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
};

long g_ticks = 0;
double g_longestTick = 0;
// What kept the dialog's thread from answering longest, and when.
struct Busiest {
    double ms = 0;
    double at = 0;
    long count = 0;
    void Note(double t0, double t1) {
        ++count;
        if (t1 - t0 > ms) {
            ms = t1 - t0;
            at = t0;
        }
    }
};
Busiest g_reports;
Busiest g_passes;

// Handles this thread's messages, the dialog's among them, until deadline or
// until the dialog has ticked ticksUntil times in all.
void Pump(HWND dialog, double deadline, long ticksUntil = -1) {
    testutil::PumpUntil(
        deadline,
        [&](const MSG& msg, double ms) {
            if (msg.hwnd != dialog) return;
            if (msg.message == WM_TIMER && msg.wParam == CWimmelpultDlg::kRetitleTimerId) {
                ++g_ticks;
                g_longestTick = std::max(g_longestTick, ms);
            } else if (msg.message == CWimmelpultDlg::kDeliveryReports) {
                g_reports.Note(NowMs() - ms, NowMs());
            }
        },
        [&] { return ticksUntil >= 0 && g_ticks >= ticksUntil; });
}

void Assign(CWimmelpultDlg& dlg) {
    double t0 = NowMs();
    testutil::FillIn(dlg, kSearch, kNewCaption, true, true);
    testutil::Press(dlg);
    g_passes.Note(t0, NowMs());
}

std::vector<HWND> Remembered(const CWimmelpultDlg& dlg) {
    std::vector<HWND> windows;
    for (const auto& e : dlg.m_retitled) windows.push_back(e->m_hTarget);
    return windows;
}

// Makes something go wrong, as applications do; never waits on the program.
class Chaos {
public:
    Chaos(const testutil::ChildProcess& app, BusyLog& busy, unsigned seed) : m_app(app), m_busy(busy), m_random(seed) {}

    void Strike() {
        std::vector<HWND> windows = testutil::TargetWindows(m_app);
        if (windows.empty()) return;
        HWND victim = windows[Pick(windows.size())];
        DWORD thread = GetWindowThreadProcessId(victim, nullptr);
        double now = NowMs();
        for (auto it = m_waiting.begin(); it != m_waiting.end();) {   // waits that are over
            if (it->second > now) {
                ++it;
                continue;
            }
            PostMessageA(it->first, targetapp::kOnRename, targetapp::kNothing, 0);
            it = m_waiting.erase(it);
        }
        switch (Pick(11)) {
        case 0: case 1: case 2: case 3: {   // busy for a moment, or hung for seconds
            if (m_busyUntil[thread] > now || Waits(thread)) return;   // keeps the log exact
            DWORD ms = Pick(4) ? static_cast<DWORD>(20 + Pick(300)) : static_cast<DWORD>(1000 + Pick(4000));
            Stop(victim, thread, ms, now);
            ++(ms > 1000 ? m_hangs : m_busies);
            return;
        }
        case 10: {   // waits inside its caption handler on a window of a thread that hangs
            HWND other = windows[Pick(windows.size())];
            DWORD otherThread = GetWindowThreadProcessId(other, nullptr);
            if (otherThread == thread || m_busyUntil[otherThread] > now || m_busyUntil[thread] > now ||
                Waits(otherThread) || m_waiting.count(victim))
                return;
            DWORD ms = static_cast<DWORD>(500 + Pick(3000));
            PostMessageA(victim, targetapp::kOnRename, targetapp::kWaitOn, reinterpret_cast<LPARAM>(other));
            Stop(other, otherThread, ms, now);
            m_busy.Add(0, victim, now, now + ms + 20);
            m_waiting[victim] = now + ms + 20;
            ++m_waits;
            return;
        }
        case 4: case 5: case 6: case 7: case 8:
            PostMessageA(victim, targetapp::kMove, Pick(2), 0);
            ++m_moves;
            return;
        default:
            PostMessageA(victim, WM_CLOSE, 0, 0);   // TargetApp makes a new one
            ++m_closes;
            return;
        }
    }
    // Whether a window of thread waits inside its caption handler: the thread
    // would take a stop only once that is over, later than logged.
    bool Waits(DWORD thread) const {
        for (const auto& w : m_waiting)
            if (GetWindowThreadProcessId(w.first, nullptr) == thread) return true;
        return false;
    }
    void Stop(HWND victim, DWORD thread, DWORD ms, double now) {
        PostMessageA(victim, targetapp::kBusy, ms, 0);
        // It begins when the thread takes the message: at once, as it is idle.
        m_busy.Add(thread, now, now + ms + 20);
        m_busyUntil[thread] = now + ms + 20;
    }
    // Whether every thread answers by now, as far as we made them stop.
    bool AllAnswer() const {
        double now = NowMs();
        for (const auto& t : m_busyUntil)
            if (t.second > now) return false;
        return true;
    }
    void Print() const {
        printf("  misbehaviour     %ld short stops, %ld hangs of 1-5 s, %ld waits inside the caption handler, %ld "
               "moves, %ld windows closed and replaced\n",
               m_busies, m_hangs, m_waits, m_moves, m_closes);
    }

private:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    const testutil::ChildProcess& m_app;
    BusyLog& m_busy;
    std::mt19937 m_random;
    std::map<DWORD, double> m_busyUntil;
    std::map<HWND, double> m_waiting;   // windows told to wait, until when
    long m_busies = 0, m_hangs = 0, m_waits = 0, m_moves = 0, m_closes = 0;
};

// The answer watch, held off while this thread measures the footprint: the
// walks of the heaps and of the handle table keep the dialog's thread from
// its messages, as no work of the dialog does.
class Answers {
public:
    explicit Answers(HWND hWnd) : m_hWnd(hWnd) { Resume(); }
    void Pause() {
        if (!m_watch) return;
        m_watch->Stop();
        if (m_watch->Worst() > m_worst) {
            m_worst = m_watch->Worst();
            m_worstAt = m_watch->WorstAt();
        }
        m_count += m_watch->Count();
        m_watch.reset();
    }
    void Resume() {
        if (!m_watch) m_watch = std::make_unique<testutil::AnswerWatch>(m_hWnd);
    }
    double Worst() const { return std::max(m_worst, m_watch ? m_watch->Worst() : 0.0); }
    double WorstAt() const { return m_watch && m_watch->Worst() > m_worst ? m_watch->WorstAt() : m_worstAt; }
    long Count() const { return m_count + (m_watch ? m_watch->Count() : 0); }

private:
    HWND m_hWnd;
    std::unique_ptr<testutil::AnswerWatch> m_watch;
    double m_worst = 0;
    double m_worstAt = 0;
    long m_count = 0;
};

// Lets every thread answer again and the dialog catch up, then measures; the
// flippers go on. Longer than a delivery thread lives without work, so the
// threads that hung windows held have ended by then.
Footprint Calm(CWimmelpultDlg& dlg, Chaos& chaos, Sampler& sampler, Answers& answers) {
    while (!chaos.AllAnswer()) Pump(dlg.m_hWnd, NowMs() + 100);
    Assign(dlg);
    sampler.Watch(Remembered(dlg));
    Pump(dlg.m_hWnd, NowMs() + CCourier::kIdleMs + 2000);
    answers.Pause();
    Footprint f = Measure(dlg);
    answers.Resume();
    return f;
}

void Soak(CWimmelpultDlg& dlg, testutil::ChildProcess& app, testutil::ChildProcess (&sluggish)[2], long ticks,
          unsigned seed) {
    dlg.m_iconChooser.m_chosenIcon = kIcon;
    BusyLog busy;
    Sampler sampler(busy);
    Chaos chaos(app, busy, seed);
    Answers watch(dlg.m_hWnd);

    ok_context("assignment");
    const double begin = NowMs();
    Assign(dlg);
    testutil::PumpUntil(NowMs() + 10000, nullptr, [&] { return !dlg.Working(); });
    ok(dlg.m_retitled.size() == static_cast<size_t>(kRemembered), "expected %d entries, got %u", kRemembered,
       static_cast<unsigned>(dlg.m_retitled.size()));
    sampler.Watch(Remembered(dlg));
    if (!ok(sampler.Start(), "expected the sampling thread to start, it did not")) return;

    auto run = [&](long until) {
        long nextAssign = g_ticks + kReassignTicks;
        long report = g_ticks + 10000;
        while (g_ticks < until) {
            Pump(dlg.m_hWnd, NowMs() + kChaosMs, until);
            chaos.Strike();
            if (g_ticks >= nextAssign) {
                Assign(dlg);
                sampler.Watch(Remembered(dlg));
                nextAssign = g_ticks + kReassignTicks;
            }
            if (g_ticks >= report) {
                Sampler::Figures f = sampler.Read();
                printf("  %s  ticks %ld; %u remembered, %u pending; worst answer %.0f ms; longest foreign caption "
                       "%.0f ms\n",
                       Clock(NowMs() - begin).c_str(), g_ticks, static_cast<unsigned>(dlg.m_retitled.size()),
                       static_cast<unsigned>(dlg.m_courier.PendingCount()), watch.Worst(), f.longest);
                fflush(stdout);
                report += 10000;
            }
        }
    };

    run(kWarmUpTicks);
    Footprint first = Calm(dlg, chaos, sampler, watch);
    sampler.Reset();
    double worstBefore = watch.Worst();
    long firstTick = g_ticks;
    printf("  %s  warm-up over after %ld ticks (worst answer so far %.0f ms)\n", Clock(NowMs() - begin).c_str(),
           g_ticks, worstBefore);
    PrintFootprint("start", first);
    fflush(stdout);
    double runStart = NowMs();
    run(firstTick + ticks);
    double runMs = NowMs() - runStart;
    Footprint last = Calm(dlg, chaos, sampler, watch);
    Sampler::Figures result = sampler.Read();
    sampler.Stop();
    watch.Pause();
    double worst = watch.Worst();
    PrintFootprint("end", last);

    printf("\nresults, %s, %ld ticks of %.0f ms in %s:\n", bench::Arch(), g_ticks - firstTick, kPeriodMs,
           Clock(runMs).c_str());
    chaos.Print();
    printf("  ticks            the longest took %.0f ms\n", g_longestTick);
    printf("  passes           %ld over all windows; the longest took %.0f ms, at %s\n", g_passes.count,
           g_passes.ms, Clock(g_passes.at - begin).c_str());
    printf("  delivery reports %ld handled; the longest took %.0f ms, at %s\n", g_reports.count, g_reports.ms,
           Clock(g_reports.at - begin).c_str());
    printf("  answering        %ld round trips from another thread; the longest took %.0f ms (bound %.0f), at %s\n",
           watch.Count(), worst, kAnswerBoundMs, Clock(watch.WorstAt() - begin).c_str());
    printf("  captions         %ld foreign stretches on remembered windows; the longest, counted from when its "
           "thread answered, %.0f ms (%s, ended at %s); %ld over the bound of %.0f ms\n",
           result.stretches, result.longest, result.worst.c_str(), Clock(result.longestEnd - begin).c_str(),
           result.overBound, kCaptionBoundMs);
    printf("  samples          %ld; one took at most %.0f ms\n", result.samples, result.longestSample);

    ok_context("long run");
    ok(g_ticks - firstTick >= ticks, "expected %ld ticks, got %ld", ticks, g_ticks - firstTick);
    ok(worst <= kAnswerBoundMs, "expected the dialog to answer within %.0f ms at all times, worst %.0f ms",
       kAnswerBoundMs, worst);
    ok(result.stretches > 0 && result.longest <= kCaptionBoundMs,
       "expected every caption back within %.0f ms of its window answering, %ld stretches, longest %.0f ms (%s)",
       kCaptionBoundMs, result.stretches, result.longest, result.worst.c_str());

    ok_context("footprint");
    CheckGrowth("working set KiB", first.workingSetKiB, last.workingSetKiB, kWorkingSetBoundKiB);
    CheckGrowth("heap in use KiB", first.heapKiB, last.heapKiB, kHeapBoundKiB);
    CheckGrowth("USER objects", first.user.count, last.user.count, kUserObjectsBound);
    ok(first.workingSetKiB > 0 && first.heapKiB > 0, "expected the memory figures read, got %lld and %lld KiB",
       first.workingSetKiB, first.heapKiB);
    ok(first.remembered == kRemembered && last.remembered == kRemembered,
       "expected %d remembered windows at start and end, got %u and %u", kRemembered,
       static_cast<unsigned>(first.remembered), static_cast<unsigned>(last.remembered));
    // The flippers keep a few deliveries under way; a window the dialog
    // has forgotten must have nothing waiting.
    ok(last.pending <= last.remembered, "expected at most one pending delivery per remembered window, %u for %u",
       static_cast<unsigned>(last.pending), static_cast<unsigned>(last.remembered));
    // The flippers keep the delivery workers busy, and how many are alive at
    // a moment follows the sends in flight: they are held to their bound,
    // every other thread to none more.
    const long otherFirst = first.threads - static_cast<long>(first.workers);
    const long otherLast = last.threads - static_cast<long>(last.workers);
    printf("  %-16s %ld -> %ld (%+ld, bound +0) besides %u -> %u delivering (bound %u)\n", "threads", otherFirst,
           otherLast, otherLast - otherFirst, static_cast<unsigned>(first.workers),
           static_cast<unsigned>(last.workers), static_cast<unsigned>(CCourier::kMaxThreads));
    ok(first.threads > 0 && otherLast <= otherFirst && last.workers <= CCourier::kMaxThreads,
       "expected no more threads at the end than at the start besides the delivery workers, and those within their "
       "bound, %ld -> %ld (%u -> %u delivering)", first.threads, last.threads,
       static_cast<unsigned>(first.workers), static_cast<unsigned>(last.workers));
    ok(dlg.m_sentIcons.Count() == 1, "expected one icon handle for one catalogue index, got %d",
       dlg.m_sentIcons.Count());

    // The programs end; the next tick drops every entry, and what was on
    // its way to them is given up.
    ok_context("program ended");
    app.Kill();
    for (auto& program : sluggish) program.Kill();
    testutil::PumpUntil(NowMs() + 5000, nullptr,
                        [&] { return dlg.m_retitled.empty() && dlg.m_courier.PendingCount() == 0; });
    ok(dlg.m_retitled.empty() && dlg.m_courier.PendingCount() == 0,
       "expected every entry dropped, %u remembered and %u pending left", static_cast<unsigned>(dlg.m_retitled.size()),
       static_cast<unsigned>(dlg.m_courier.PendingCount()));
}

int Usage() {
    printf("usage: LongRun.exe [--ticks N] [--seed S]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    long ticks = 100000;
    unsigned seed = 1;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) ticks = atol(argv[++i]);
        else if (strcmp(argv[i], "--seed") == 0 && i + 1 < argc) seed = static_cast<unsigned>(atol(argv[++i]));
        else return Usage();
    }
    if (ticks <= 0) return Usage();
    testutil::InitDialogControls();

    printf("long run, %s: %d windows of another program on %d threads, %d of them setting their own caption every "
           "%u ms, and %d windows each of two programs whose threads look every %lu and %lu ms, %d of them setting "
           "their own; re-application every %.0f ms with a new icon; %d ticks of warm-up, then %ld\n",
           bench::Arch(), kWindows, kThreads, kFlipping, kFlipMs, kSluggishWindows,
           static_cast<unsigned long>(kSluggishEvery[0]), static_cast<unsigned long>(kSluggishEvery[1]),
           kSluggishFlipping, kPeriodMs, kWarmUpTicks, ticks);
    fflush(stdout);

    testutil::ChildProcess app;
    std::string args = std::to_string(kWindows) + " \"" + kCaption + "\" threads " + std::to_string(kThreads) +
                       " flip " + std::to_string(kFlipping) + " " + std::to_string(kFlipMs) + " replace";
    bool started = app.Start(testutil::BesideMe("TargetApp.exe"), args);
    bool all = started && testutil::WaitFor([&] { return testutil::TargetWindows(app).size() >= kWindows; }, 60000);
    if (!ok(all, "expected %d windows of TargetApp.exe, got %u", kWindows,
            static_cast<unsigned>(started ? testutil::TargetWindows(app).size() : 0)))
        return ok_summary();

    testutil::ChildProcess sluggish[2];
    for (int i = 0; i < 2; ++i) {
        std::string options = "threads 2 every " + std::to_string(kSluggishEvery[i]) + " flip " +
                              std::to_string(kSluggishFlipping) + " " + std::to_string(kSluggishFlipMs);
        if (!ok(testutil::StartTargets(sluggish[i], kSluggishWindows, kCaption, options, 60000).size() ==
                    static_cast<size_t>(kSluggishWindows),
                "expected %d windows of the sluggish TargetApp.exe", kSluggishWindows))
            return ok_summary();
    }

    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] { Soak(dlg, app, sluggish, ticks, seed); });
    return ok_summary();
}
