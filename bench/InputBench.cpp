// What the person at the keyboard feels: real keys and clicks (SendInput)
// from this process into the real Wimmelpult.exe beside it, each timed from
// the input until the screen's pixels show its effect.
//   keys     a letter typed into "Neuer Fenstertitel" until the field shows
//            it: at rest, during a pass over 10,000 matching windows, and
//            during the tick that puts their captions back
//   chooser  a click on a tab of the icon chooser until its icons are listed
//            and shown (run under tools/at-dpi.sh for other DPIs)
//   open     a click until the chooser, the About box and the tray menu are
//            shown, painted and answering
//   InputBench.exe [keys | chooser | open]     (all three by default)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "icons/IconCatalogue.h"
#include "res/resource.h"
#include "tests/TargetAppControl.h"
#include "tests/kit/Bench.h"
#include "tests/kit/Find.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Process.h"
#include "tests/kit/Targets.h"
#include "tests/kit/Texts.h"
#include "tests/kit/Wait.h"

namespace {

constexpr double kWorstGoalMs = 100;
constexpr double kP99GoalMs = 50;
constexpr double kGiveUpMs = 15000;
// A picture that stays this long after its window answered is the one it
// settled on.
constexpr double kStillMs = 300;
constexpr int kCrowdWindows = 10000;
constexpr int kCrowdPrograms = 2;
constexpr int kWanted = 20;
constexpr int kTypedBeforeReset = 10;   // the field holds them without scrolling
const wchar_t kLetters[] = L"WM";
const wchar_t* const kCaptions[2] = {L"Gewimmel A", L"Gewimmel B"};
using bench::Fail;
using bench::NowMs;

// --- Figures ---

double Percentile99(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(v.size())));
    return v[rank ? rank - 1 : 0];
}

void Report(const char* what, const std::vector<double>& ms) {
    if (ms.empty()) {
        printf("ERROR: no samples: %s\n", what);
        bench::FailedFlag() = true;
        return;
    }
    double p99 = Percentile99(ms), worst = bench::Max(ms);
    bool met = worst <= kWorstGoalMs && p99 <= kP99GoalMs;
    printf("  %-44s n=%3u  median %7.1f  99th %7.1f  worst %7.1f ms  %s\n", what, static_cast<unsigned>(ms.size()),
           bench::Median(ms), p99, worst, met ? "met" : "MISSED");
}

// --- Input ---

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Mouse(DWORD flags, POINT at = {}) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Normalised to 0..65535 over the screen, rounded to land on the pixel.
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dx = static_cast<LONG>((at.x * 65536LL + cx / 2) / cx);
        in.mi.dy = static_cast<LONG>((at.y * 65536LL + cy / 2) / cy);
    }
    return in;
}

void MoveTo(POINT at) { Send({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at)}); }

// Points at the spot first, as a hand does, and gives the move a moment to
// arrive; returns when the button went down, where a measurement starts.
double Click(POINT at, bool right = false) {
    // Under Wine a late pointer event from X can put the cursor back where
    // it was; the click waits until the cursor has stayed on the spot.
    double since = NowMs();
    for (double start = since; NowMs() - start < 2000;) {
        POINT now = {};
        GetCursorPos(&now);
        if (now.x != at.x || now.y != at.y) {
            MoveTo(at);
            since = NowMs();
        } else if (NowMs() - since >= 30) {
            break;
        }
        Sleep(1);
    }
    const double down = NowMs();
    Send({Mouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN), Mouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)});
    return down;
}

INPUT Key(WORD vk, wchar_t letter, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = letter;
    in.ki.dwFlags = flags;
    return in;
}

void Type(wchar_t letter) { Send({Key(0, letter, KEYEVENTF_UNICODE), Key(0, letter, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)}); }
void Press(WORD vk) { Send({Key(vk, 0, 0), Key(vk, 0, KEYEVENTF_KEYUP)}); }

// --- The screen ---

struct Shot {
    RECT rc = {};
    std::vector<COLORREF> px;
};

Shot Take(const RECT& rc) {
    return {rc, testutil::GrabClient(nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top)};
}

unsigned long long Hash(const std::vector<COLORREF>& px) {
    unsigned long long h = 1469598103934665603ULL;
    for (COLORREF c : px) h = (h ^ c) * 1099511628211ULL;
    return h;
}

RECT ClientOnScreen(HWND hWnd) {
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT WindowOnScreen(HWND hWnd) {
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return rc;
}

// Screen columns [left, right) that a comparison leaves out.
struct Columns {
    LONG left = 0, right = 0;
};

// The caret blinks by itself, so what a key did counts only outside its
// columns (a pixel wider on each side).
Columns CaretColumns(HWND field) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(field, nullptr), &gui) || !gui.hwndCaret) return {};
    RECT c = gui.rcCaret;
    MapWindowPoints(gui.hwndCaret, nullptr, reinterpret_cast<POINT*>(&c), 2);
    return {c.left - 1, c.right + 1};
}

bool DiffersOutside(const Shot& a, const Shot& b, Columns skip) {
    if (a.px.size() != b.px.size()) return true;
    const int w = a.rc.right - a.rc.left;
    for (size_t i = 0; i < a.px.size(); ++i) {
        LONG x = a.rc.left + static_cast<LONG>(i % w);
        if (a.px[i] != b.px[i] && (x < skip.left || x >= skip.right)) return true;
    }
    return false;
}

// --- Answers from the program, without waiting for them ---

struct Answer {
    bool waiting = false;
    double at = 0;
    LRESULT result = 0;
};

void CALLBACK Answered(HWND, UINT, ULONG_PTR data, LRESULT result) {
    auto* a = reinterpret_cast<Answer*>(data);
    a->waiting = false;
    a->at = NowMs();
    a->result = result;
}

void Ask(HWND hWnd, UINT message, Answer& a) {
    a.waiting = true;
    if (!SendMessageCallbackW(hWnd, message, 0, 0, &Answered, reinterpret_cast<ULONG_PTR>(&a))) a.waiting = false;
}

// The callbacks run from this thread's message retrieval.
void TakeAnswers() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Watches a part of the screen until it has stayed the same for kStillMs
// after ready() first held; returns when the picture it settled on was first
// shown (each time is taken after the grab that saw it), or -1 at deadline.
double SettledPicture(const RECT& rc, const std::function<bool()>& ready, double deadline,
                      std::vector<COLORREF>* last = nullptr) {
    struct Change {
        double at;
        unsigned long long hash;
    };
    std::vector<Change> changes;
    std::vector<COLORREF> px;
    double readyAt = 0, changedAt = 0;
    for (;;) {
        TakeAnswers();
        px = Take(rc).px;
        const double now = NowMs();
        const unsigned long long h = Hash(px);
        if (changes.empty() || changes.back().hash != h) {
            changes.push_back({now, h});
            changedAt = now;
        }
        if (!readyAt && ready()) readyAt = now;
        if (readyAt && now - std::max(readyAt, changedAt) >= kStillMs) break;
        if (now > deadline) return -1;
        Sleep(1);
    }
    if (last) *last = px;
    for (const Change& c : changes)
        if (c.hash == changes.back().hash) return c.at;
    return -1;
}

// A shown top-level window of the process, found without asking its thread.
HWND ShownWindow(DWORD pid, const char* cls, const char* title, HWND except = nullptr) {
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, cls, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != pid || h == except || !IsWindowVisible(h)) continue;
        if (title && testutil::Cp1252(testutil::HeldCaptionW(h)) != title) continue;
        return h;
    }
    return nullptr;
}

// --- The program ---

struct Session {
    testutil::ChildProcess process;
    HWND dlg = nullptr;

    bool Start() {
        if (!process.Start(testutil::BesideMe("Wimmelpult.exe"))) return false;
        dlg = process.WaitWindow("#32770", "Wimmelpult", 15000);
        if (!dlg || !testutil::WaitFor([&] { return IsWindowVisible(dlg) != FALSE; }, 5000)) return false;
        WaitForInputIdle(process.Handle(), 10000);
        // A person reads the dialog before the first key or click; by then
        // what the program does behind it at start (the tray icon, the
        // icon catalogue) is done. A click at once met it still under way.
        Sleep(1000);
        return true;
    }
    HWND Item(int id) const { return GetDlgItem(dlg, id); }
    DWORD Thread() const { return GetWindowThreadProcessId(dlg, nullptr); }
    ~Session() {
        if (dlg) PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!process.WaitExit(10000)) process.Kill();
    }
};

bool FocusIn(const Session& s, HWND field) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(s.Thread(), &gui) && gui.hwndFocus == field && GetForegroundWindow() == s.dlg;
}

// A real click on the field, then the wait until it has the focus.
bool ClickInto(const Session& s, HWND field) {
    if (FocusIn(s, field)) return true;
    Click(testutil::Centre(WindowOnScreen(field)));
    return testutil::WaitFor([&] { return FocusIn(s, field); }, static_cast<DWORD>(kGiveUpMs));
}

// --- Keys ---

// The field holding one of the captions, caret at the end, as the screen
// shows it once painted.
struct Base {
    Shot shot;
    Columns caret;
};

void SetField(HWND field, const wchar_t* text) {
    DWORD_PTR ignored;
    SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000, &ignored);
    const WPARAM end = wcslen(text);
    SendMessageTimeoutW(field, EM_SETSEL, end, end, SMTO_NORMAL, 30000, &ignored);
}

// Puts the text in and waits until the screen shows it; learns the picture
// when there is none yet (at rest only).
bool ShowBase(HWND field, const wchar_t* text, Base& base) {
    SetField(field, text);
    const RECT rc = ClientOnScreen(field);
    if (base.shot.px.empty()) {
        std::vector<COLORREF> px;
        if (SettledPicture(rc, [&] { return testutil::Answers(field, 5000); }, NowMs() + kGiveUpMs, &px) < 0)
            return false;
        base.shot = {rc, px};
        base.caret = CaretColumns(field);
        return true;
    }
    return testutil::WaitFor([&] { return !DiffersOutside(Take(rc), base.shot, base.caret); },
                             static_cast<DWORD>(kGiveUpMs));
}

struct KeySample {
    double sentAt = 0, shownAt = 0;
    double Ms() const { return shownAt - sentAt; }
};

// One letter, from SendInput until the field's pixels change outside the
// caret; shownAt stays 0 when they do not within kGiveUpMs.
KeySample TypeAndWatch(HWND field, wchar_t letter) {
    const RECT rc = ClientOnScreen(field);
    const Columns caret = CaretColumns(field);
    const Shot before = Take(rc);
    KeySample k;
    k.sentAt = NowMs();
    Type(letter);
    for (;;) {
        Shot now = Take(rc);
        double t = NowMs();
        if (DiffersOutside(now, before, caret)) {
            k.shownAt = t;
            return k;
        }
        if (t - k.sentAt > kGiveUpMs) return k;
        Sleep(1);
    }
}

int g_focusLost = 0;

// Says once where the foreground went, and counts how often.
void NoteLostFocus(const Session& s) {
    if (g_focusLost++) return;
    HWND fg = GetForegroundWindow();
    char cls[64] = {};
    DWORD pid = 0;
    if (fg) {
        GetClassNameA(fg, cls, sizeof cls);
        GetWindowThreadProcessId(fg, &pid);
    }
    printf("    (the field lost the focus; foreground %p of class \"%s\", %s)\n", static_cast<void*>(fg), cls,
           !fg ? "none" : pid == s.process.Id() ? "the program's" : "another program's");
}

// Types into the field until done(checkedAt) holds after a key; every key
// goes to keep(sample). Starts again from the caption when the field is full.
bool TypeUntil(const Session& s, HWND field, const wchar_t* caption, Base& base, const std::function<bool(double)>& done,
               const std::function<void(const KeySample&)>& keep, double deadline) {
    int typed = 0;
    for (;;) {
        if (typed == kTypedBeforeReset) {
            if (!ShowBase(field, caption, base)) {
                Fail("the new-caption field did not show its caption again");
                return false;
            }
            typed = 0;
        }
        // A key goes to the foreground window: one typed elsewhere would
        // never show in the field.
        if (!FocusIn(s, field)) {
            NoteLostFocus(s);
            if (!ClickInto(s, field)) {
                Fail("a click on the new-caption field did not give it the focus back");
                return false;
            }
        }
        KeySample k = TypeAndWatch(field, kLetters[typed % 2]);
        ++typed;
        if (!k.shownAt) {
            Fail("a key did not show in the new-caption field within 15 s");
            return false;
        }
        keep(k);
        if (done(NowMs())) return true;
        if (NowMs() > deadline) {
            Fail("the windows did not all get their captions within 2 minutes");
            return false;
        }
    }
}

struct Crowd {
    testutil::ChildProcess apps[kCrowdPrograms];
    std::vector<HWND> windows;
    std::vector<HWND> samples;   // a few spread over all, looked at after every key

    bool Start() {
        for (auto& app : apps) {
            std::vector<HWND> some = testutil::StartTargets(app, kCrowdWindows / kCrowdPrograms, "Gewimmel",
                                                            "hidden threads 2", 300000);
            if (some.size() != static_cast<size_t>(kCrowdWindows / kCrowdPrograms)) return false;
            windows.insert(windows.end(), some.begin(), some.end());
        }
        for (size_t i = 0; i < windows.size(); i += windows.size() / 32) samples.push_back(windows[i]);
        samples.push_back(windows.back());
        return true;
    }
    static int Holding(const std::vector<HWND>& some, const wchar_t* caption) {
        return static_cast<int>(std::count_if(some.begin(), some.end(),
                                              [&](HWND h) { return testutil::HeldCaptionW(h) == caption; }));
    }
    bool AllHold(const wchar_t* caption) const {
        return Holding(samples, caption) == static_cast<int>(samples.size()) &&
               Holding(windows, caption) == static_cast<int>(windows.size());
    }
};

void RunKeys() {
    // The windows come first, so that the dialog lies above them in Z order,
    // where a pass looks.
    Crowd crowd;
    if (!crowd.Start()) return Fail("TargetApp.exe did not make the crowd's windows");
    Session s;
    if (!s.Start()) return Fail("Wimmelpult.exe did not show its dialog");
    HWND field = s.Item(IDC_NEW_TITLE), search = s.Item(IDC_OLD_TITLE);
    if (!ClickInto(s, field)) return Fail("a click on the new-caption field did not give it the focus");
    Base bases[2];
    for (int i = 0; i < 2; ++i)
        if (!ShowBase(field, kCaptions[i], bases[i])) return Fail("the new-caption field did not settle");

    std::vector<double> rest, pass, tick;
    int n = 0;
    TypeUntil(s, field, kCaptions[0], bases[0], [&](double) { return ++n >= 2 * kWanted; },
              [&](const KeySample& k) { rest.push_back(k.Ms()); }, NowMs() + 120000);

    // Passes, each over the whole crowd with a caption it does not yet hold.
    const double started = NowMs();
    int passes = 0, current = 0;
    SetField(search, L"gewimmel");
    for (; passes < 6 && (passes < 2 || pass.size() < static_cast<size_t>(kWanted)) && NowMs() - started < 240000;
         ++passes) {
        current = passes % 2;
        const wchar_t* caption = kCaptions[current];
        if (!ShowBase(field, caption, bases[current])) return Fail("the new-caption field did not settle");
        const double clickAt = Click(testutil::Centre(WindowOnScreen(s.Item(IDOK))));
        // The button takes the focus when the dialog takes the click.
        HWND button = s.Item(IDOK);
        if (!testutil::WaitFor([&] { return FocusIn(s, button); }, static_cast<DWORD>(kGiveUpMs)))
            return Fail("the click on \"Zuweisen\" did not reach the button");
        if (!ClickInto(s, field)) return Fail("a click on the new-caption field during the pass did not focus it");
        double endAt = 0;
        std::vector<KeySample> keys;
        if (!TypeUntil(s, field, caption, bases[current],
                       [&](double) {
                           if (crowd.AllHold(caption)) endAt = NowMs();
                           return endAt > 0;
                       },
                       [&](const KeySample& k) { keys.push_back(k); }, clickAt + 120000))
            return;
        for (const KeySample& k : keys)
            if (k.sentAt < endAt) pass.push_back(k.Ms());
        printf("    pass %d: all %d windows renamed %.0f ms after the click on \"Zuweisen\"\n", passes + 1,
               kCrowdWindows, endAt - clickAt);
    }

    // Ticks: the programs change every caption, the next tick puts them back.
    const wchar_t* caption = kCaptions[current];
    int rounds = 0;
    for (int tries = 0; tries < 8 && (rounds < 3 || tick.size() < static_cast<size_t>(kWanted)); ++tries) {
        if (!ShowBase(field, caption, bases[current])) return Fail("the new-caption field did not settle");
        if (!ClickInto(s, field)) return Fail("the new-caption field lost the focus");
        for (HWND h : crowd.windows) PostMessageW(h, targetapp::kSetOwn, 0, 0);
        const double postedAt = NowMs();
        // Ticks that take longer than their period follow each other at once:
        // typing starts when any window shows its own caption.
        if (!testutil::WaitFor([&] { return Crowd::Holding(crowd.samples, caption) < static_cast<int>(crowd.samples.size()); }, 3000)) continue;
        double noneBackAt = NowMs(), allBackAt = 0;
        std::vector<char> changed(crowd.samples.size());
        std::vector<KeySample> keys;
        if (!TypeUntil(s, field, caption, bases[current],
                       [&](double checkedAt) {
                           bool anyBack = false, allOurs = true;
                           for (size_t i = 0; i < crowd.samples.size(); ++i) {
                               const bool ours = testutil::HeldCaptionW(crowd.samples[i]) == caption;
                               if (!ours) changed[i] = 1;
                               anyBack = anyBack || (ours && changed[i]);
                               allOurs = allOurs && ours;
                           }
                           if (!anyBack) noneBackAt = checkedAt;
                           if (allOurs && crowd.AllHold(caption)) allBackAt = NowMs();
                           return allBackAt > 0;
                       },
                       [&](const KeySample& k) { keys.push_back(k); }, postedAt + 120000))
            return;
        // Keys shown before any caption came back were typed before the tick.
        for (const KeySample& k : keys)
            if (k.shownAt > noneBackAt && k.sentAt < allBackAt) tick.push_back(k.Ms());
        printf("    tick %d: all put back %.0f ms after the first was seen back\n", ++rounds, allBackAt - noneBackAt);
    }
    if (rounds == 0) Fail("every tick came before the windows had changed their captions");

    printf("  key (KEYEVENTF_UNICODE) until the new-caption field shows its letter, %d windows on 4 threads of %d "
           "programs:\n",
           kCrowdWindows, kCrowdPrograms);
    Report("at rest", rest);
    Report("during a pass over 10,000 windows", pass);
    Report("during the tick that puts them back", tick);
    if (g_focusLost) printf("  the field lost the focus %d times and was clicked again\n", g_focusLost);
}

// --- The chooser ---

// A tab's rectangle on screen; the rectangle lives in the program's memory.
RECT TabOnScreen(const Session& s, HWND tab, int index) {
    RECT rc = {};
    void* remote = VirtualAllocEx(s.process.Handle(), nullptr, sizeof rc, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return rc;
    DWORD_PTR got = 0;
    if (SendMessageTimeoutW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000, &got) &&
        got)
        ReadProcessMemory(s.process.Handle(), remote, &rc, sizeof rc, nullptr);
    VirtualFreeEx(s.process.Handle(), remote, 0, MEM_RELEASE);
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int IconsIn(int tab) {
    const IconCategory& c = kIconCategories[tab];
    return (c.last1 - c.first1 + 1) + std::max(0, c.last2 - c.first2 + 1);
}

// From a click until the window find() names is shown, answers a message
// and its picture has settled: what the user waits for. -1 when it does
// not come.
double ClickToOpen(POINT at, bool right, const std::function<HWND()>& find, HWND* opened) {
    const double t0 = Click(at, right);
    HWND w = nullptr;
    double shownAt = 0;
    while (!(w = find())) {
        if (NowMs() - t0 > kGiveUpMs) return -1;
        Sleep(1);
    }
    shownAt = NowMs();
    Answer answer;
    Ask(w, WM_NULL, answer);
    double paintedAt = SettledPicture(WindowOnScreen(w), [&] { return answer.at > 0; }, t0 + kGiveUpMs);
    *opened = w;
    if (paintedAt < 0) return -1;
    return std::max({shownAt, answer.at, paintedAt}) - t0;
}

bool CloseAndWait(const Session& s, HWND w, WPARAM command) {
    PostMessageW(w, WM_COMMAND, command, 0);
    return testutil::WaitFor([&] { return !IsWindow(w) || !IsWindowVisible(w); }, 10000) &&
           testutil::Answers(s.dlg, 10000);
}

HWND OpenChooser(const Session& s, std::vector<double>* ms) {
    HWND chooser = nullptr;
    double t = ClickToOpen(
        testutil::Centre(WindowOnScreen(s.Item(IDC_CHANGE_ICON))), false,
        [&] { return ShownWindow(s.process.Id(), "#32770", testutil::kChooserTitle); }, &chooser);
    if (t < 0) return nullptr;
    if (ms) ms->push_back(t);
    return chooser;
}

void RunChooser() {
    Session s;
    if (!s.Start()) return Fail("Wimmelpult.exe did not show its dialog");
    constexpr int kRounds = 3;
    std::vector<double> tabs, opens;
    unsigned seed = 12345;
    int current = 0;   // the chooser opens on the first tab
    for (int round = 0; round < kRounds; ++round) {
        HWND chooser = OpenChooser(s, &opens);
        if (!chooser) return Fail("the icon chooser did not open");
        HWND tab = GetDlgItem(chooser, IDC_CATEGORY_TAB), list = GetDlgItem(chooser, IDC_ICON_LIST);
        current = 0;
        // Every tab once a round, in an order of its own, never the one shown.
        std::vector<int> order;
        for (int i = 0; i < kCategoryCount; ++i) order.push_back(i);
        do {
            for (int i = kCategoryCount - 1; i > 0; --i) {
                seed = seed * 1103515245u + 12345u;
                std::swap(order[i], order[(seed >> 16) % (i + 1)]);
            }
        } while (order[0] == current);
        for (int index : order) {
            const POINT at = testutil::Centre(TabOnScreen(s, tab, index));
            const RECT where = WindowOnScreen(list);
            const std::vector<COLORREF> before = Take(where).px;
            // The fill runs inside the tab's notification, so the tab
            // answers with the new selection only once the list is filled.
            Answer selected;
            const double t0 = Click(at);
            double shown = SettledPicture(
                where,
                [&] {
                    if (selected.at && selected.result == index) return true;
                    if (!selected.waiting) Ask(tab, TCM_GETCURSEL, selected);
                    return false;
                },
                t0 + kGiveUpMs);
            if (shown < 0) return Fail("a tab's icons did not settle within 15 s");
            DWORD_PTR count = 0;
            SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &count);
            if (static_cast<int>(count) != IconsIn(index)) return Fail("a tab listed the wrong number of icons");
            if (Take(where).px == before) return Fail("a tab's icons looked like the tab's before");
            tabs.push_back(shown - t0);
            current = index;
        }
        if (!CloseAndWait(s, chooser, IDCANCEL)) return Fail("the icon chooser did not close");
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    printf("  icon chooser at %d DPI, %d tabs %d times each in varying order:\n", dpi, kCategoryCount, kRounds);
    Report("tab click until its icons are listed and shown", tabs);
    Report("(opening the chooser)", opens);
}

// --- Opening windows ---

constexpr int kStripWidth = 200;   // the right end of the taskbar: the notification area

Shot NotificationArea() {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT bar = {};
    if (!taskbar || !GetWindowRect(taskbar, &bar)) return {};
    return Take({bar.right - kStripWidth, bar.top, bar.right, bar.bottom});
}

// The program's icon is what differs from the notification area before it ran.
bool FindTrayIcon(const Shot& before, POINT* centre) {
    const Shot now = Take(before.rc);
    if (before.px.empty() || now.px.size() != before.px.size()) return false;
    const int w = before.rc.right - before.rc.left, h = before.rc.bottom - before.rc.top;
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (now.px[y * w + x] != before.px[y * w + x]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0 || right - left > 40 || bottom - top > 40) return false;
    *centre = {before.rc.left + (left + right) / 2, before.rc.top + (top + bottom) / 2};
    return true;
}

void RunOpen() {
    testutil::WaitFor([] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, 10000);
    // An icon that another program just took away may still be drawn.
    Shot empty = NotificationArea();
    for (double until = NowMs() + 10000; NowMs() < until;) {
        Sleep(500);
        Shot again = NotificationArea();
        if (again.px == empty.px) break;
        empty = again;
    }
    Session s;
    if (!s.Start()) return Fail("Wimmelpult.exe did not show its dialog");
    const DWORD pid = s.process.Id();
    std::vector<double> chooserMs, aboutMs, menuMs;

    for (int i = 0; i < kWanted; ++i) {
        HWND chooser = OpenChooser(s, &chooserMs);
        if (!chooser) return Fail("the icon chooser did not open");
        if (!CloseAndWait(s, chooser, IDCANCEL)) return Fail("the icon chooser did not close");
    }

    HWND chooser = OpenChooser(s, nullptr);
    if (!chooser) return Fail("the icon chooser did not open");
    for (int i = 0; i < kWanted; ++i) {
        HWND about = nullptr;
        double t = ClickToOpen(testutil::Centre(WindowOnScreen(GetDlgItem(chooser, IDC_INFO))), false,
                               [&] { return ShownWindow(pid, "#32770", testutil::kAboutTitle); }, &about);
        if (t < 0) return Fail("the About box did not open from the chooser's Info button");
        aboutMs.push_back(t);
        if (!CloseAndWait(s, about, IDOK)) return Fail("the About box did not close");
    }
    if (!CloseAndWait(s, chooser, IDCANCEL)) return Fail("the icon chooser did not close");

    POINT icon = {};
    if (empty.px.empty() || !testutil::WaitFor([&] { return FindTrayIcon(empty, &icon); }, 5000)) {
        Fail("no tray icon found in the taskbar's notification area");
    } else {
        for (int i = 0; i < kWanted; ++i) {
            HWND menu = nullptr;
            double t = ClickToOpen(icon, true, [&] { return ShownWindow(pid, "#32768", nullptr); }, &menu);
            if (t < 0) return Fail("the tray menu did not open");
            menuMs.push_back(t);
            // Away from the icon, so that its tooltip does not come up.
            MoveTo({2, 2});
            Press(VK_ESCAPE);
            if (!testutil::WaitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 10000) ||
                !testutil::Answers(s.dlg, 10000))
                return Fail("the tray menu did not close");
        }
    }

    printf("  from the click until the window is visible, painted and answering:\n");
    Report("icon chooser (\"Anderes Symbol...\")", chooserMs);
    Report("About box (the chooser's \"Info...\")", aboutMs);
    Report("tray menu (right click on the icon)", menuMs);
}

}  // namespace

int main(int argc, char** argv) {
    // Coordinates and pixels as the screen has them, at any DPI.
    SetProcessDPIAware();
    const char* part = argc > 1 ? argv[1] : "";
    const bool all = !*part;
    if (!all && strcmp(part, "keys") != 0 && strcmp(part, "chooser") != 0 && strcmp(part, "open") != 0) {
        printf("usage: InputBench.exe [keys | chooser | open]\n");
        return 2;
    }
    printf("input until the screen shows it, %s: SendInput into Wimmelpult.exe; goals: worst at most %.0f ms, 99th "
           "percentile at most %.0f ms\n",
           bench::Arch(), kWorstGoalMs, kP99GoalMs);
    fflush(stdout);
    // The tray icon is found against the notification area without the
    // program, best before any other run of it; the crowd of the keys last.
    if (all || strcmp(part, "open") == 0) RunOpen();
    fflush(stdout);
    if (all || strcmp(part, "chooser") == 0) RunChooser();
    fflush(stdout);
    if (all || strcmp(part, "keys") == 0) RunKeys();
    fflush(stdout);
    return bench::Failed();
}
