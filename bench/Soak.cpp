// The real Wimmelpult.exe under a seeded stream of random input from
// outside, as a restless user, a shell that restarts and programs that send
// what they like would give it: clicks and keys through SendInput into its
// dialogs, presses of "&Zuweisen" on windows of TargetApp.exe that change
// their captions, stop answering and close, tray icon clicks, minimising and
// restoring, the taskbar created again and the icon taken away, changes of
// DPI, and stray private messages. Never what legitimately ends it: no close
// box, no Escape or Alt+F4 on the main dialog, no "Schliessen" in the tray
// menu, no closing message.
//   Soak.exe [--minutes N] [--seed S] [--log FILE] [--no-stray] [--no-dpi] [--no-untray] [--spare MSG]...
// Checks that the program runs throughout, answers another program within
// 1 s at all times, stays within reach (shown, or its icon there), and holds
// as many threads, windows and kernel handles, and about as much memory, at
// rest after the second half of the run as after the first. Every action
// goes to the log, one line each; the same seed gives the same actions.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/CCourier.h"
#include "app/CWimmelpultDlg.h"
#include "res/resource.h"
#include "tests/kit/AnswerWatch.h"
#include "tests/kit/Bench.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/Process.h"
#include "tests/kit/Targets.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

namespace {

using bench::NowMs;

constexpr int kWindows = 32;
constexpr int kThreads = 4;
constexpr int kFlipping = 8;
constexpr UINT kFlipMs = 1500;
const char kCaption[] = "Wimmelbude";
constexpr double kAnswerBoundMs = 1000;
// The program puts the icon back, or the dialog on the taskbar, at its next
// tick; a shared machine of two cores adds its delays.
constexpr double kReachBoundMs = CWimmelpultDlg::kRetitlePeriodMs + 2000;
// Longer than a delivery worker lives without work.
constexpr DWORD kRestMs = CCourier::kIdleMs + 2000;
constexpr long long kWorkingSetBoundKiB = 4096;
constexpr long long kPrivateBoundKiB = 2048;

const wchar_t* const kSearches[] = {L"wimmelbude", L"Wimmelbude 1", L"BUDE 2", L"melbu", L"wimmelbude 3"};
const wchar_t* const kNewCaptions[] = {L"Ruhiges Fenster", L"Einkaufsliste", L"Gr\u00FC\u00DFe aus K\u00F6ln",
                                       L"\u0421\u043F\u0438\u0441\u043E\u043A", L"\u8CB7\u3044\u7269", L""};
const wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 \u00E4\u00F6\u00FC\u00DF"
                           L"\u00C4\u0416\u044F\u3042";

std::string Narrow(const std::wstring& text) {
    char bytes[1024];
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes, sizeof bytes, nullptr,
                                nullptr);
    return std::string(bytes, n > 0 ? n : 0);
}

// One line per action, written through at once: a program that dies leaves
// the lines that led there. The last few are kept for the report.
class ActionLog {
public:
    bool Open(const std::string& path) {
        m_file = fopen(path.c_str(), "w");
        return m_file != nullptr;
    }
    ~ActionLog() {
        if (m_file) fclose(m_file);
    }
    void Line(const char* fmt, ...) __attribute__((format(printf, 2, 3))) {
        char text[512];
        va_list args;
        va_start(args, fmt);
        vsnprintf(text, sizeof text, fmt, args);
        va_end(args);
        char line[600];
        snprintf(line, sizeof line, "%6ld %8.0f %s", m_step, NowMs() - m_begin, text);
        if (m_file) {
            fprintf(m_file, "%s\n", line);
            fflush(m_file);
        }
        m_last.push_back(line);
        if (m_last.size() > 12) m_last.pop_front();
    }
    void PrintLast() const {
        for (const std::string& line : m_last) printf("    %s\n", line.c_str());
    }
    long m_step = 0;
    double m_begin = NowMs();

private:
    FILE* m_file = nullptr;
    std::deque<std::string> m_last;
};

// Real input, as the mouse and keyboard give it to the foreground window.
void MouseInput(POINT at, DWORD down, DWORD up, int clicks) {
    std::vector<INPUT> in;
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    move.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.push_back(move);
    for (int i = 0; i < clicks; ++i) {
        INPUT press = {};
        press.type = INPUT_MOUSE;
        press.mi.dwFlags = down;
        in.push_back(press);
        press.mi.dwFlags = up;
        in.push_back(press);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
void LeftClick(POINT at, int clicks = 1) { MouseInput(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, clicks); }
void RightClick(POINT at) { MouseInput(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1); }

void KeyInput(WORD vk, bool shift) {
    std::vector<INPUT> in;
    auto key = [&](WORD k, DWORD flags) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    if (shift) key(VK_SHIFT, 0);
    key(vk, 0);
    key(vk, KEYEVENTF_KEYUP);
    if (shift) key(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void CharInput(wchar_t c) {
    INPUT in[2] = {};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wScan = c;
        i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

std::string ClassOf(HWND hWnd) {
    char cls[64] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    return cls;
}

// The shown popup menu of the program, if any.
HWND MenuOf(DWORD pid) {
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        if (owner == pid && IsWindowVisible(menu)) return menu;
    }
    return nullptr;
}

POINT ItemCentre(HWND menu, int item, int items) {
    RECT rc = {};
    GetWindowRect(menu, &rc);
    int h = rc.bottom - rc.top - 6;
    return {(rc.left + rc.right) / 2, rc.top + 3 + item * h / items + h / (2 * items)};
}

// Whether the shell holds the program's icon: a change of nothing to it
// succeeds only then.
NOTIFYICONDATAW IconRecord(HWND dlg) {
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = dlg;
    data.uID = IDR_TRAYMENU;
    return data;
}
bool IconPresent(HWND dlg) {
    NOTIFYICONDATAW data = IconRecord(dlg);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// The notification area of Wine's taskbar lies right of its last button and
// holds only the program's icon here.
bool FindTrayIcon(POINT* centre) {
    HWND bar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT rc = {};
    if (!bar || !GetWindowRect(bar, &rc)) return false;
    LONG buttons = rc.left;
    for (HWND c = GetWindow(bar, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT b = {};
        if (IsWindowVisible(c) && GetWindowRect(c, &b)) buttons = std::max(buttons, b.right);
    }
    if (rc.right - buttons < GetSystemMetrics(SM_CXSMICON)) return false;
    *centre = {(buttons + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return true;
}

// A RECT in the program's memory for WM_DPICHANGED, which carries a pointer.
// The same page is taken in this process too, so the rectangle is there
// whether the platform passes the pointer on as it is or reads it here.
class RemoteRect {
public:
    explicit RemoteRect(HANDLE process) : m_process(process) {
        m_remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (m_remote) m_local = VirtualAlloc(m_remote, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteRect() {
        if (m_local) VirtualFree(m_local, 0, MEM_RELEASE);
    }
    // The address to send, or nullptr when the rectangle could not be put there.
    void* Put(const RECT& rc) {
        if (!m_remote || !WriteProcessMemory(m_process, m_remote, &rc, sizeof rc, nullptr)) return nullptr;
        if (m_local) *static_cast<RECT*>(m_local) = rc;
        return m_remote;
    }
    bool Mirrored() const { return m_local == m_remote && m_local; }

private:
    HANDLE m_process;
    void* m_remote = nullptr;
    void* m_local = nullptr;
};

// What the program holds, read from outside.
struct Footprint {
    long threads = -1;
    long windows = -1;           // USER objects, see CountWindows
    long userObjects = -1;       // GetGuiResources: 0 under Wine
    long kernelHandles = -1;
    long long workingSetKiB = -1;
    long long privateKiB = -1;
};

long CountThreads(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    long n = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        n += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    return n;
}

// Wine gives a USER handle the low word 0x20 + 2 * slot and takes the low
// word alone for the slot's object; windows say whose they are from another
// process, icons and menus do not (Wine keeps them per process), so from
// outside only the windows, top-level and child, can be counted.
long CountWindows(DWORD pid) {
    long n = 0;
    for (UINT_PTR low = 0x20; low <= 0xFFFE; low += 2) {
        DWORD owner = 0;
        if (GetWindowThreadProcessId(reinterpret_cast<HWND>(low), &owner) && owner == pid) ++n;
    }
    return n;
}

// The committed private pages of the process, found by walking its address
// space: Wine reports no private bytes of another process.
long long PrivateKiB(HANDLE process) {
    long long bytes = 0;
    MEMORY_BASIC_INFORMATION info = {};
    for (char* at = nullptr; VirtualQueryEx(process, at, &info, sizeof info) == sizeof info;) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) bytes += static_cast<long long>(info.RegionSize);
        char* next = static_cast<char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return bytes / 1024;
}

// The kernel handles of the process, from the system's list of every
// handle, where GetProcessHandleCount gives nothing (Wine).
long CountKernelHandles(HANDLE process, DWORD pid) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count > 0) return static_cast<long>(count);
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    static const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                                       "NtQuerySystemInformation")));
    if (!query) return -1;
    const int kSystemHandleInformation = 16;
    std::vector<char> buffer(1 << 20);
    for (int tries = 0; tries < 6; ++tries) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<LONG>(0xC0000004)) {   // STATUS_INFO_LENGTH_MISMATCH
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) return -1;
        ULONG n = *reinterpret_cast<ULONG*>(buffer.data());
        const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
        long mine = 0;
        for (ULONG i = 0; i < n; ++i) mine += entries[i].ownerPid == pid;
        return mine;
    }
    return -1;
}

Footprint Measure(HANDLE process, DWORD pid) {
    Footprint f;
    f.threads = CountThreads(pid);
    f.windows = CountWindows(pid);
    f.userObjects = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    f.kernelHandles = CountKernelHandles(process, pid);
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        f.workingSetKiB = static_cast<long long>(pmc.WorkingSetSize / 1024);
        f.privateKiB = static_cast<long long>(pmc.PrivateUsage / 1024);
    }
    if (f.privateKiB <= 0) f.privateKiB = PrivateKiB(process);
    return f;
}

void PrintFootprint(const char* label, const Footprint& f) {
    printf("  %-12s threads %ld, windows %ld (GetGuiResources %ld), kernel handles %ld, working set %lld KiB, "
           "private %lld KiB\n",
           label, f.threads, f.windows, f.userObjects, f.kernelHandles, f.workingSetKiB, f.privateKiB);
}

bool Verdict(bool passed, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
bool Verdict(bool passed, const char* fmt, ...) {
    char text[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    printf("  %-100s %s\n", text, passed ? "passed" : "FAILED");
    fflush(stdout);
    return ok(passed, "%s", text);
}

// TargetApp.exe with its windows there and answering; nullptr when they do
// not come.
std::unique_ptr<testutil::ChildProcess> StartTargetApp() {
    auto app = std::make_unique<testutil::ChildProcess>();
    std::string args = std::string("threads ") + std::to_string(kThreads) + " flip " + std::to_string(kFlipping) +
                       " " + std::to_string(kFlipMs) + " replace";
    if (testutil::StartTargets(*app, kWindows, kCaption, args, 60000).size() != kWindows) return nullptr;
    return app;
}

struct Options {
    double minutes = 3;
    unsigned seed = 1;
    std::string log;
    bool stray = true;
    bool dpi = true;
    bool untray = true;
    std::set<UINT> spared;   // stray messages left out
};

// Makes TargetApp's windows misbehave now and then, as applications do; a
// generator of its own, so the program's actions do not depend on it.
class Chaos {
public:
    Chaos(ActionLog& log, unsigned seed) : m_log(log), m_random(seed) {}

    void Strike(const testutil::ChildProcess& app) {
        unsigned kind = m_random() % 16, which = m_random(), length = m_random();
        if (kind >= 8) return;   // half of the steps leave the windows alone
        std::vector<HWND> windows = testutil::TargetWindows(app);
        if (windows.empty()) return;
        HWND victim = windows[which % windows.size()];
        DWORD thread = GetWindowThreadProcessId(victim, nullptr);
        double now = NowMs();
        switch (kind) {
        case 0: case 1: case 2: {   // busy for a moment, or hung for seconds
            if (m_busyUntil[thread] > now) return;
            DWORD ms = length % 4 ? 20 + length % 300 : 1000 + length % 4000;
            PostMessageA(victim, targetapp::kBusy, ms, 0);
            m_busyUntil[thread] = now + ms + 50;
            m_log.Line("target %p busy %lu ms", static_cast<void*>(victim), ms);
            return;
        }
        case 3: case 4:
            PostMessageA(victim, targetapp::kMove, length % 2, 0);
            return;
        case 5:
            PostMessageA(victim, targetapp::kSetOwn, 0, 0);
            return;
        default:
            PostMessageA(victim, WM_CLOSE, 0, 0);   // TargetApp makes a new one
            m_log.Line("target %p closed", static_cast<void*>(victim));
            return;
        }
    }
    // Waits until every thread answers again, as far as it was made to stop.
    void Calm() {
        for (const auto& t : m_busyUntil)
            while (t.second > NowMs()) Sleep(50);
        m_busyUntil.clear();
    }

private:
    ActionLog& m_log;
    std::mt19937 m_random;
    std::map<DWORD, double> m_busyUntil;
};

class Soak {
public:
    Soak(const Options& options, testutil::ChildProcess& program, HWND dlg,
         std::unique_ptr<testutil::ChildProcess> targets, ActionLog& log)
        : m_options(options), m_program(program), m_dlg(dlg), m_chaos(log, options.seed ^ 0x5eed),
          m_targets(std::move(targets)), m_log(log), m_random(options.seed), m_rect(program.Handle()),
          m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {}

    // Acts until the time is up or the program is lost; false when lost.
    bool Run(double ms) {
        const double end = NowMs() + ms;
        while (NowMs() < end) {
            ++m_log.m_step;
            ++m_steps;
            Step();
            if (m_targets) m_chaos.Strike(*m_targets);
            if (!Alive()) return false;
            double t0 = NowMs();
            bool answered = testutil::Answers(m_dlg, 5000);
            if (NowMs() - t0 > m_ownWorst) {
                m_ownWorst = NowMs() - t0;
                m_ownWorstStep = m_log.m_step;
            }
            if (!answered) {
                m_log.Line("program does not answer for 5 s");
                m_hung = true;
                return false;
            }
            WatchReach();
        }
        return true;
    }

    // Puts the program in the same state after either half, lets it rest
    // longer than a delivery worker lives without work, and measures.
    Footprint Rest() {
        m_log.Line("rest");
        m_chaos.Calm();
        // A fresh TargetApp after either half, so that the program remembers
        // the same windows at rest: the old ones close, and its next tick
        // forgets them.
        m_targets.reset();
        m_targets = StartTargetApp();
        m_log.Line("rest: TargetApp started again%s", m_targets ? "" : ", but its windows did not come");
        Sleep(CWimmelpultDlg::kRetitlePeriodMs + 1000);
        CloseMenu(0);
        for (int i = 0; i < 3; ++i) {
            if (HWND nested = Nested()) PostMessageW(nested, WM_COMMAND, IDCANCEL, 0);
            Flush();
        }
        PostMessageW(m_dlg, CWimmelpultDlg::kTrayCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK);   // as a double click
        Flush();
        if (m_dpi[m_dlg] != USER_DEFAULT_SCREEN_DPI) ChangeDpi(m_dlg, USER_DEFAULT_SCREEN_DPI);
        if (!IconPresent(m_dlg)) PostMessageW(HWND_BROADCAST, m_taskbarCreated, 0, 0);
        SendMessageTimeoutW(GetDlgItem(m_dlg, IDC_OLD_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"wimmelbude"),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        SendMessageTimeoutW(GetDlgItem(m_dlg, IDC_NEW_TITLE), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"Ruhiges Fenster"), SMTO_ABORTIFHUNG, 2000, nullptr);
        SendMessageTimeoutW(GetDlgItem(m_dlg, IDC_UPDATE), BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG, 2000,
                            nullptr);
        SendMessageTimeoutW(GetDlgItem(m_dlg, IDC_NEW_ICON), BM_SETCHECK, BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, 2000,
                            nullptr);
        // A pass takes the windows below the dialog, and the new ones came
        // above it without taking the foreground.
        SetWindowPos(m_dlg, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Front(m_dlg);
        testutil::PostButton(m_dlg, IDOK);
        Flush();
        for (double until = NowMs() + kRestMs; NowMs() < until && Alive();) Sleep(100);
        Footprint f = Measure(m_program.Handle(), m_program.Id());
        if (Alive() && !testutil::Answers(m_dlg, 5000)) {
            m_log.Line("program does not answer for 5 s at rest");
            m_hung = true;
        }
        for (HWND hWnd : m_targets ? testutil::TargetWindows(*m_targets) : std::vector<HWND>())
            m_restCaptions += testutil::HeldCaptionW(hWnd) == L"Ruhiges Fenster";
        m_log.Line("rest over: %ld of the targets carry the caption given at rest, %s", m_restCaptions,
                   testutil::ShownNormally(m_dlg) ? "the dialog shown" : testutil::TrayState(m_dlg));
        return f;
    }
    long m_restCaptions = 0;

    bool Alive() {
        if (WaitForSingleObject(m_program.Handle(), 0) == WAIT_TIMEOUT) return true;
        if (!m_lost) {
            DWORD code = 0;
            GetExitCodeProcess(m_program.Handle(), &code);
            m_log.Line("program ended, exit code 0x%lx", code);
            m_lost = true;
            m_exitCode = code;
        }
        return false;
    }

    void Print(double ms) const {
        printf("  actions      %ld in %.1f min, %.0f a minute:", m_steps, ms / 60000, m_steps / (ms / 60000));
        for (const auto& kind : m_counts) printf(" %s %ld,", kind.first.c_str(), kind.second);
        printf("\n  DPI changes  %ld to another DPI, %ld of them resized the dialog (%s)\n", m_dpiSent, m_dpiResized,
               m_rect.Mirrored() ? "rectangle in the program's memory, at the same address here"
                                 : "rectangle in the program's memory only");
    }

    long m_unreachable = 0;
    double m_ownWorst = 0;   // the round trips between actions, from this thread
    long m_ownWorstStep = 0;
    bool m_hung = false;
    bool m_lost = false;
    DWORD m_exitCode = 0;

private:
    unsigned Draw() { return static_cast<unsigned>(m_random()); }
    void Count(const char* kind) { ++m_counts[kind]; }

    // Every step draws the same number of values, whatever the program's
    // state makes of them, so a seed gives the same stream.
    void Step() {
        unsigned d[6];
        for (unsigned& v : d) v = Draw();
        if (MenuOf(m_program.Id())) {   // a menu open by a stray callback: nothing else while it is
            CloseMenu(d[1]);
            return;
        }
        unsigned kind = d[0] % 100;
        if (kind < 28) Click(d[1], d[2]);
        else if (kind < 52) Key(d[1], d[2]);
        else if (kind < 60) Assign(d[1], d[2], d[3]);
        else if (kind < 64) Tick(d[1]);
        else if (kind < 67) ChooseIcon();
        else if (kind < 75) Tray(d[1], d[2]);
        else if (kind < 79) MinimiseOrRestore(d[1]);
        else if (kind < 81) TaskbarCreated();
        else if (kind < 82 && m_options.untray) TakeIconAway();
        else if (kind < 85 && m_options.dpi) Dpi(d[1]);
        else if (kind >= 85 && m_options.stray) Stray(d[1], d[2], d[3], d[4]);
        else Count("pauses");
        Sleep(20 + d[5] % 60);
        Flush();
    }

    // Lets the program take what was sent: input, then what it posted.
    void Flush() {
        Sleep(60);
        if (!testutil::FlushOtherThread(GetDlgItem(m_dlg, IDC_OLD_TITLE), 3000))
            m_log.Line("the program took no posted message within 3 s");
    }

    // The program's dialog that takes input now: a nested one when shown,
    // else the main dialog when shown as usual.
    HWND Nested() const {
        for (HWND hWnd : m_program.Windows(true))
            if (hWnd != m_dlg && ClassOf(hWnd) == "#32770" && IsWindowEnabled(hWnd)) return hWnd;
        return nullptr;
    }
    // For the log: "main", or the nested dialog's caption.
    std::string Name(HWND dialog) const {
        return dialog == m_dlg ? "main" : Narrow(testutil::HeldCaptionW(dialog));
    }
    HWND Active() const {
        if (HWND nested = Nested()) return nested;
        return testutil::ShownNormally(m_dlg) && IsWindowEnabled(m_dlg) ? m_dlg : nullptr;
    }
    // Brings the window to the front, so that input goes there.
    bool Front(HWND hWnd) {
        if (GetForegroundWindow() != hWnd) {
            SetForegroundWindow(hWnd);
            testutil::WaitFor([&] { return GetForegroundWindow() == hWnd; }, 500);
        }
        return GetForegroundWindow() == hWnd;
    }

    void Click(unsigned x, unsigned y) {
        HWND active = Active();
        if (!active) return Unhide(x);
        if (!Front(active)) return Skip("click, not in front");
        RECT rc = {};
        GetWindowRect(active, &rc);
        POINT at = {rc.left + static_cast<LONG>(x % std::max(1L, rc.right - rc.left)),
                    rc.top + static_cast<LONG>(y % std::max(1L, rc.bottom - rc.top))};
        if (GetAncestor(WindowFromPoint(at), GA_ROOT) != active) return Skip("click, covered");
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutW(active, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 2000, &hit);
        // Never the close box or the system menu of the main dialog; a
        // nested dialog may close by its box, as by Escape.
        bool nested = active != m_dlg;
        bool safe = hit == HTCLIENT || hit == HTCAPTION || hit == HTBORDER || (hit == HTMINBUTTON && !nested);
        if (!safe) return Skip("click, not there");
        // Should the nested dialog close before the click is read, the click
        // falls on what lies below: never the main dialog's close box.
        if (nested && !SafeOnMain(at)) return Skip("click, above the main dialog's caption buttons");
        m_log.Line("click %s at %ld,%ld (hit %ld, control %d)", Name(active).c_str(), at.x, at.y,
                   static_cast<long>(hit), GetDlgCtrlID(WindowFromPoint(at)));
        LeftClick(at);
        Count("clicks");
    }

    bool SafeOnMain(POINT at) {
        RECT rc = {};
        GetWindowRect(m_dlg, &rc);
        if (!PtInRect(&rc, at)) return true;
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutW(m_dlg, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 2000, &hit);
        return hit == HTCLIENT || hit == HTCAPTION || hit == HTBORDER || hit == HTMINBUTTON;
    }

    void Key(unsigned which, unsigned letter) {
        HWND active = Active();
        if (!active) return Unhide(which);
        if (!Front(active)) return Skip("key, not in front");
        bool nested = active != m_dlg;
        static const WORD kKeys[] = {VK_TAB, VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, VK_SPACE,
                                     VK_HOME, VK_END, VK_BACK, VK_DELETE};
        const unsigned keys = sizeof kKeys / sizeof kKeys[0];
        unsigned k = which % (2 * keys + 2);
        if (k >= 2 * keys) {   // Escape closes a nested dialog; on the main one it would end the program
            if (!nested) return Skip("escape on the main dialog");
            // Posted to the nested dialog's focus: real Escape could reach
            // the main dialog should the nested one close before it is read.
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(GetWindowThreadProcessId(active, nullptr), &gui);
            HWND focus = gui.hwndFocus && IsChild(active, gui.hwndFocus) ? gui.hwndFocus : active;
            m_log.Line("key Escape posted (%s)", Name(active).c_str());
            PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1 | (MapVirtualKeyW(VK_ESCAPE, 0) << 16));
            PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 1 | (MapVirtualKeyW(VK_ESCAPE, 0) << 16) | 0xC0000000u);
        } else if (k >= keys) {
            wchar_t c = kLetters[letter % (sizeof kLetters / sizeof kLetters[0] - 1)];
            m_log.Line("char U+%04X (%s)", static_cast<unsigned>(c), Name(active).c_str());
            CharInput(c);
        } else {
            bool shift = kKeys[k] == VK_TAB && letter % 2;
            m_log.Line("key %s0x%02X (%s)", shift ? "shift+" : "", kKeys[k], Name(active).c_str());
            KeyInput(kKeys[k], shift);
        }
        Count("keys");
    }

    void Assign(unsigned search, unsigned caption, unsigned how) {
        if (Active() != m_dlg || !Front(m_dlg)) return Skip("assign");
        const wchar_t* s = kSearches[search % (sizeof kSearches / sizeof kSearches[0])];
        const wchar_t* c = kNewCaptions[caption % (sizeof kNewCaptions / sizeof kNewCaptions[0])];
        SendMessageTimeoutW(GetDlgItem(m_dlg, IDC_OLD_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        SendMessageTimeoutW(GetDlgItem(m_dlg, IDC_NEW_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        m_log.Line("assign \"%s\" -> \"%s\" by %s", Narrow(s).c_str(), Narrow(c).c_str(), how % 3 ? "click" : "Enter");
        // Enter presses the default button wherever the focus is but in a
        // push button, which takes it as its own click.
        if (how % 3) LeftClick(testutil::ControlCentre(m_dlg, IDOK));
        else KeyInput(VK_RETURN, false);
        Count("assignments");
    }

    void Tick(unsigned which) {
        if (Active() != m_dlg || !Front(m_dlg)) return Skip("tick");
        int id = which % 2 ? IDC_UPDATE : IDC_NEW_ICON;
        m_log.Line("tick %s", id == IDC_UPDATE ? "Aktualisieren" : "Neues Symbol");
        LeftClick(testutil::ControlCentre(m_dlg, id));
        Count("ticks");
    }

    void ChooseIcon() {
        if (Active() != m_dlg || !Front(m_dlg)) return Skip("chooser");
        m_log.Line("click Anderes Symbol");
        LeftClick(testutil::ControlCentre(m_dlg, IDC_CHANGE_ICON));
        Count("choosers");
    }

    // With nothing shown, the user brings the dialog back: a double click on
    // the icon, or "Wiederherstellen" in its menu, or from the taskbar.
    void Unhide(unsigned how) {
        if (IsWindowVisible(m_dlg) && !IsIconic(m_dlg)) return Skip("nothing to take input");
        if (IconPresent(m_dlg)) return Tray(how % 2 ? 1 : 2, 1);
        RestoreFromTaskbar();
    }

    void Tray(unsigned how, unsigned choice) {
        POINT icon = {-1, -1};
        if (IconPresent(m_dlg)) FindTrayIcon(&icon);
        if (icon.x < 0) return Skip("tray, no icon");
        switch (how % 3) {
        case 0:
            m_log.Line("tray left click at %ld,%ld", icon.x, icon.y);
            LeftClick(icon);
            break;
        case 1:
            m_log.Line("tray double click at %ld,%ld", icon.x, icon.y);
            LeftClick(icon, 2);
            break;
        default:
            m_log.Line("tray right click at %ld,%ld", icon.x, icon.y);
            RightClick(icon);
            testutil::WaitFor([&] { return MenuOf(m_program.Id()) != nullptr; }, 2000);
            CloseMenu(choice);
            break;
        }
        Count("tray clicks");
    }

    // "Wiederherstellen", or a click beside the menu; never "Schliessen".
    // Under Wine the menu takes the mouse only while its program is in the
    // foreground, which a modal dialog of its own may have taken from it.
    void CloseMenu(unsigned choice) {
        HWND menu = MenuOf(m_program.Id());
        if (!menu) return;
        SetForegroundWindow(m_dlg);
        bool restore = choice % 2 && !testutil::ShownNormally(m_dlg);   // greyed while shown
        if (restore) {
            m_log.Line("menu: Wiederherstellen");
            LeftClick(ItemCentre(menu, 0, 2));
        } else {
            // The desktop's own corner, where no window lies.
            POINT beside = {GetSystemMetrics(SM_CXSCREEN) - 3, 2};
            m_log.Line("menu: click beside at %ld,%ld", beside.x, beside.y);
            LeftClick(beside);
        }
        Count("menus");
        auto gone = [&] { return MenuOf(m_program.Id()) == nullptr; };
        if (testutil::WaitFor(gone, 700)) return;
        // Escape to the menu's own window: should the menu close meanwhile,
        // it cannot reach the main dialog, where it would end the program.
        m_log.Line("menu still open: Escape posted to the menu");
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!testutil::WaitFor(gone, 2000)) m_log.Line("menu still open");
    }

    void MinimiseOrRestore(unsigned how) {
        if (Active() == m_dlg && Front(m_dlg)) {
            if (how % 2) {
                m_log.Line("click Minimieren");
                LeftClick(testutil::ControlCentre(m_dlg, IDC_MINIMIZE));
            } else {
                POINT box = MinimiseBox();
                if (box.x < 0) return Skip("minimise box");
                m_log.Line("click minimise box at %ld,%ld", box.x, box.y);
                LeftClick(box);
            }
            Count("minimise");
        } else if (!testutil::ShownNormally(m_dlg)) {
            RestoreFromTaskbar();
        } else {
            Skip("minimise, nested dialog open");
        }
    }

    // As a click on its taskbar button would; hidden, it has none, and the
    // user can reach it only through the icon.
    void RestoreFromTaskbar() {
        if (!IsWindowVisible(m_dlg)) return Skip("restore, hidden without a taskbar button");
        m_log.Line("restore (SC_RESTORE)");
        PostMessageW(m_dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
        Count("restore");
    }

    // The caption's minimise box, found by asking the window what each point is.
    POINT MinimiseBox() {
        RECT rc = {};
        GetWindowRect(m_dlg, &rc);
        int y = rc.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
        int first = -1, last = -1;
        for (int x = rc.right - 1; x > rc.right - 120; --x) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(m_dlg, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &hit);
            if (hit == HTMINBUTTON) {
                if (last < 0) last = x;
                first = x;
            }
        }
        return {last < 0 ? -1 : (first + last) / 2, y};
    }

    void TaskbarCreated() {
        m_log.Line("broadcast TaskbarCreated");
        PostMessageW(HWND_BROADCAST, m_taskbarCreated, 0, 0);
        Count("taskbar created");
    }

    void TakeIconAway() {
        NOTIFYICONDATAW data = IconRecord(m_dlg);
        BOOL done = Shell_NotifyIconW(NIM_DELETE, &data);
        if (done) m_removedAtStep = m_log.m_step;
        m_log.Line("icon taken away (%s)", done ? "was there" : "was not there");
        Count("icon removals");
    }

    void Dpi(unsigned which) {
        static const UINT kDpis[] = {96, 120, 144, 192};
        HWND target = Active();
        if (!target) return Skip("dpi");
        ChangeDpi(target, kDpis[which % 4]);
        Count("dpi");
    }

    void ChangeDpi(HWND target, UINT dpi) {
        UINT& now = m_dpi[target];
        if (!now) now = USER_DEFAULT_SCREEN_DPI;
        RECT rc = {};
        GetWindowRect(target, &rc);
        RECT suggested = {rc.left, rc.top, rc.left + MulDiv(rc.right - rc.left, dpi, now),
                          rc.top + MulDiv(rc.bottom - rc.top, dpi, now)};
        void* remote = m_rect.Put(suggested);
        if (!remote) {
            m_log.Line("dpi %u: no rectangle in the program's memory", dpi);
            return;
        }
        DWORD_PTR result = 0;
        BOOL sent = SendMessageTimeoutW(target, CDialog::kDpiChanged, MAKEWPARAM(dpi, dpi),
                                        reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 3000, &result);
        RECT after = {};
        GetWindowRect(target, &after);
        bool resized = after.right - after.left != rc.right - rc.left || after.bottom - after.top != rc.bottom - rc.top;
        m_log.Line("dpi %u -> %u to %s (%s, %s)", now, dpi, Name(target).c_str(),
                   sent ? "sent" : "not answered", resized ? "resized" : "same size");
        if (dpi != now) {
            ++m_dpiSent;
            m_dpiResized += resized;
        }
        now = dpi;
    }

    void Stray(unsigned range, unsigned number, unsigned wParam, unsigned how) {
        // Half of them near the start of the range, where programs put
        // their own messages.
        UINT offset = (number >> 16) % 2 ? number % 8 : number % 0x41;
        UINT message = range % 3 == 0 ? WM_APP + offset
                       : range % 3 == 1 ? WM_USER + offset
                                        : 0xC000 + number % 0x4000;
        if (m_options.spared.count(message)) return Skip("stray, spared");
        static const WPARAM kWParams[] = {0, 1, IDR_TRAYMENU, 0xFFFFFFFF};
        static const UINT kMouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK};
        WPARAM w = wParam % 5 < 4 ? kWParams[wParam % 5] : wParam;
        unsigned l = (how >> 8) % 6;
        LPARAM lp = l == 0 ? 0 : l == 1 ? 1 : l == 2 ? static_cast<LPARAM>(kMouse[(how >> 12) % 5])
                    : l == 3 ? static_cast<LPARAM>(0x10000 + (how >> 4) % 0x100000)
                             : static_cast<LPARAM>((static_cast<unsigned long long>(wParam) << 32) ^ how);
        std::vector<HWND> to;
        if (how % 4 == 3) {
            to = m_program.Windows(false);   // to each of its top-level windows, as a broadcast would
        } else {
            std::vector<HWND> all = m_program.Windows(false);
            to.push_back(how % 4 == 0 || all.empty() ? m_dlg : all[(how >> 2) % all.size()]);
        }
        bool post = how % 2;
        m_log.Line("stray %s 0x%04X w=0x%llx l=0x%llx to %s%s", post ? "post" : "send", message,
                   static_cast<unsigned long long>(w), static_cast<unsigned long long>(lp),
                   to.size() > 1 ? "each top-level window" : ClassOf(to[0]).c_str(),
                   to.size() == 1 && to[0] == m_dlg ? " (main)" : "");
        for (HWND hWnd : to) {
            if (post) PostMessageW(hWnd, message, w, lp);
            else SendMessageTimeoutW(hWnd, message, w, lp, SMTO_ABORTIFHUNG, 1000, nullptr);
        }
        Count("strays");
    }

    // Shown, on the taskbar or with its icon there: a hidden dialog without
    // its icon is out of the user's reach.
    void WatchReach() {
        bool reachable = IsWindowVisible(m_dlg) || IconPresent(m_dlg);
        if (reachable) {
            m_outOfReachSince = -1;
            return;
        }
        double now = NowMs();
        if (m_outOfReachSince < 0) {
            m_outOfReachSince = now;
            m_outOfReachStep = m_log.m_step;
        }
        if (now - m_outOfReachSince <= kReachBoundMs) return;
        ++m_unreachable;
        m_log.Line("out of reach for %.0f ms since step %ld (icon last taken away at step %ld): hidden, and no icon; "
                   "TaskbarCreated to bring it back",
                   now - m_outOfReachSince, m_outOfReachStep, m_removedAtStep);
        if (m_unreachable == 1)
            printf("  out of reach: hidden without its icon for %.0f ms from step %ld; the icon was last taken away at "
                   "step %ld\n",
                   now - m_outOfReachSince, m_outOfReachStep, m_removedAtStep);
        PostMessageW(HWND_BROADCAST, m_taskbarCreated, 0, 0);
        m_outOfReachSince = -1;
    }

    void Skip(const char* what) {
        m_log.Line("skip %s", what);
        Count("skipped");
    }

    const Options& m_options;
    testutil::ChildProcess& m_program;
    HWND m_dlg;
    Chaos m_chaos;
    std::unique_ptr<testutil::ChildProcess> m_targets;
    ActionLog& m_log;
    std::mt19937 m_random;
    RemoteRect m_rect;
    UINT m_taskbarCreated;
    std::map<HWND, UINT> m_dpi;   // what each dialog was last told
    std::map<std::string, long> m_counts;
    long m_steps = 0;
    long m_dpiSent = 0, m_dpiResized = 0;
    double m_outOfReachSince = -1;
    long m_outOfReachStep = 0;
    long m_removedAtStep = 0;
};

void CompareFootprints(const Footprint& first, const Footprint& second) {
    Verdict(first.threads > 0 && second.threads <= first.threads, "threads at rest %ld -> %ld (bound +0)",
            first.threads, second.threads);
    Verdict(first.windows > 0 && second.windows <= first.windows,
            "USER objects at rest: windows %ld -> %ld (bound +0; icons and menus cannot be counted from outside "
            "under Wine)",
            first.windows, second.windows);
    if (first.userObjects > 0)
        Verdict(second.userObjects <= first.userObjects, "USER objects (GetGuiResources) %ld -> %ld (bound +0)",
                first.userObjects, second.userObjects);
    if (first.kernelHandles > 0)
        Verdict(second.kernelHandles <= first.kernelHandles, "kernel handles at rest %ld -> %ld (bound +0)",
                first.kernelHandles, second.kernelHandles);
    else
        printf("  kernel handles: not obtainable (%ld)\n", first.kernelHandles);
    Verdict(first.workingSetKiB > 0 && second.workingSetKiB - first.workingSetKiB <= kWorkingSetBoundKiB,
            "working set at rest %lld -> %lld KiB (%+lld, bound +%lld)", first.workingSetKiB, second.workingSetKiB,
            second.workingSetKiB - first.workingSetKiB, kWorkingSetBoundKiB);
    Verdict(first.privateKiB > 0 && second.privateKiB - first.privateKiB <= kPrivateBoundKiB,
            "private memory at rest %lld -> %lld KiB (%+lld, bound +%lld)", first.privateKiB, second.privateKiB,
            second.privateKiB - first.privateKiB, kPrivateBoundKiB);
}

std::string Hex(DWORD v) {
    char text[16];
    snprintf(text, sizeof text, "%lx", v);
    return text;
}

// Wine's debugger shows a dialog of its own for a program that crashed and
// holds the program until it is closed: a dialog of another process than
// ours and the program's, if one is shown.
HWND OtherDialog(DWORD programPid) {
    HWND found = nullptr;
    for (HWND hWnd = FindWindowExA(nullptr, nullptr, "#32770", nullptr); hWnd;
         hWnd = FindWindowExA(nullptr, hWnd, "#32770", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        if (pid != programPid && pid != GetCurrentProcessId() && IsWindowVisible(hWnd)) found = hWnd;
    }
    return found;
}

int Usage() {
    printf("usage: Soak.exe [--minutes N] [--seed S] [--log FILE] [--no-stray] [--no-dpi] [--no-untray] "
           "[--spare MSG]...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--minutes" && i + 1 < argc) options.minutes = atof(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) options.seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 0));
        else if (a == "--log" && i + 1 < argc) options.log = testutil::WindowsPath(argv[++i]);
        else if (a == "--spare" && i + 1 < argc)
            options.spared.insert(static_cast<UINT>(strtoul(argv[++i], nullptr, 0)));
        else if (a == "--no-stray") options.stray = false;
        else if (a == "--no-dpi") options.dpi = false;
        else if (a == "--no-untray") options.untray = false;
        else return Usage();
    }
    if (options.minutes <= 0) return Usage();
    if (options.log.empty()) options.log = "soak-" + std::to_string(options.seed) + ".log";

    printf("soak, %s: seed %u, %.1f minutes; %d windows of TargetApp.exe on %d threads, %d of them setting their own "
           "caption every %u ms;%s%s%s log %s\n",
           bench::Arch(), options.seed, options.minutes, kWindows, kThreads, kFlipping, kFlipMs,
           options.stray ? "" : " no stray messages;", options.dpi ? "" : " no DPI changes;",
           options.untray ? "" : " the icon never taken away;", options.log.c_str());
    for (UINT m : options.spared) printf("  stray message 0x%04X left out\n", m);
    fflush(stdout);

    ActionLog log;
    if (!ok(log.Open(options.log), "expected to write the log %s", options.log.c_str())) return ok_summary();
    log.Line("seed %u", options.seed);

    std::unique_ptr<testutil::ChildProcess> targets = StartTargetApp();
    if (!ok(targets != nullptr, "expected %d windows of TargetApp.exe", kWindows)) return ok_summary();

    testutil::ChildProcess program;
    HWND dlg = testutil::StartProgram(program);
    if (!dlg) return ok_summary();
    POINT icon = {};
    bool found = testutil::WaitFor([&] { return FindTrayIcon(&icon); }, 5000);
    printf("  tray icon: %s, at %ld,%ld; the shell %s it\n", found ? "found" : "not found", icon.x, icon.y,
           IconPresent(dlg) ? "holds" : "does not hold");

    testutil::AnswerWatch answers(dlg);
    Soak soak(options, program, dlg, std::move(targets), log);
    const double half = options.minutes * 60000 / 2;
    const double begin = NowMs();
    bool alive = soak.Run(half);
    Footprint first, second;
    if (alive) {
        first = soak.Rest();
        PrintFootprint("first half", first);
        printf("  %ld of %d targets carry the caption given at rest\n", soak.m_restCaptions, kWindows);
        fflush(stdout);
        soak.m_restCaptions = 0;
        alive = soak.Alive() && !soak.m_hung && soak.Run(half);
    }
    if (alive) {
        second = soak.Rest();
        PrintFootprint("second half", second);
        printf("  %ld of %d targets carry the caption given at rest\n", soak.m_restCaptions, kWindows);
    }
    alive = alive && soak.Alive() && !soak.m_hung;
    const double ran = NowMs() - begin;
    // Wine's debugger holds a program that crashed while it shows its
    // dialog; closed, it lets the program end, and the exit code tells.
    std::string hung;
    DWORD crashCode = 0;
    if (soak.m_hung) {
        HWND other = OtherDialog(program.Id());
        std::string title = other ? testutil::WindowText(other) : "";
        if (title == "Program Error") {
            PostMessageW(other, WM_COMMAND, IDCANCEL, 0);
            program.WaitExit(15000, &crashCode);
        }
        hung = crashCode ? "it crashed (Wine's \"Program Error\", then exit code 0x" + Hex(crashCode) + ")"
               : title.empty() ? "it stopped answering"
                               : "it stopped answering (\"" + title + "\" of another process shown)";
        program.Kill();   // a hung program holds the watch's round trip until it ends
    }
    double worst = answers.Stop();

    printf("\nresults, %s, seed %u:\n", bench::Arch(), options.seed);
    soak.Print(ran);
    printf("  answering    %ld round trips; the longest took %.0f ms (at %.1f s), %ld over 50 ms; between actions, "
           "from the soak's own thread, the longest took %.0f ms (step %ld)\n",
           answers.Count(), worst, (answers.WorstAt() - begin) / 1000, answers.Slow(), soak.m_ownWorst,
           soak.m_ownWorstStep);
    if (soak.m_lost || soak.m_hung) {
        printf("  %s after:\n", soak.m_lost ? ("the program ended, exit code 0x" + Hex(soak.m_exitCode)).c_str()
                                            : hung.c_str());
        log.PrintLast();
    }
    Verdict(!soak.m_lost && !crashCode, "the program ran throughout");
    Verdict(worst <= kAnswerBoundMs && !soak.m_hung,
            "it answered another program within %.0f ms at all times (worst %.0f ms)", kAnswerBoundMs, worst);
    Verdict(soak.m_unreachable == 0, "it stayed within reach, shown or with its icon (%ld times out of reach over "
            "%.0f ms)", soak.m_unreachable, kReachBoundMs);
    if (alive) CompareFootprints(first, second);
    else printf("  resources at rest: not compared, the soak stopped early\n");
    printf("  seed %u; actions in %s\n", options.seed, options.log.c_str());
    return ok_summary();
}
