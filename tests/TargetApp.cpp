// Another application's windows, for the tests to retitle across processes.
//   TargetApp.exe COUNT CAPTION [hidden] [flip K [MS]] [threads T] [replace] [every MS]
// makes COUNT top-level windows captioned "CAPTION" (with " <n>" appended when
// COUNT > 1), spread round-robin over T threads (default 1), each thread with
// its own message loop. With "flip K" the first K windows set a caption of
// their own every MS ms (default 1000), "CAPTION <n> (<count>)", as an
// application that shows a changing document name does. With "replace" a
// window closed with WM_CLOSE is followed by a new one of the same caption on
// the same thread. Every window counts the captions set from outside in its
// GWLP_USERDATA, which other processes can read.
//
// Misbehaviour on demand, by posted messages to a window (its thread does it):
//   kBusy        wParam = ms: the thread stops answering that long (INFINITE:
//                for good), as a busy or hung application does.
//   kHangLater   wParam = delay ms, lParam = ms: the same, after the delay.
//   kOnRename    wParam = a Reaction: what the window does when a caption
//                arrives from outside (lParam = ms for kSlowly; for kWaitOn
//                the window it first sends WM_NULL to and waits for, taking
//                sent messages meanwhile, as a handler that calls another
//                thread does).
//   kMove        wParam = 0: to the bottom of the Z order, 1: to the top.
//   kSetOwn      the window sets a caption of its own, "CAPTION (eigen)".
// The program ends when its last window is closed.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/TargetAppControl.h"

namespace {
using namespace targetapp;

const wchar_t kClassNameW[] = L"WimmelpultTestTarget";   // targetapp::kClassName
constexpr UINT_PTR kFlipTimerId = 1;
constexpr UINT_PTR kHangTimerId = 2;

struct Window {
    std::string caption;   // as made, without the flip count
    bool flips = false;
    int flipCount = 0;
    Reaction reaction = kNothing;
    LPARAM reactionArg = 0;
    int depth = 0;   // WM_SETTEXT from outside being handled
    DWORD hangMs = 0;
};

struct Options {
    bool hidden = false;
    int flipping = 0;
    UINT flipMs = 1000;
    bool replace = false;
    DWORD everyMs = 0;
};
Options g_options;
std::atomic<int> g_windows{0};
std::mutex g_lock;
std::vector<DWORD> g_threads;   // every thread with a loop, to end them all

void EndAllLoops() {
    std::lock_guard<std::mutex> hold(g_lock);
    for (DWORD id : g_threads) PostThreadMessageA(id, WM_QUIT, 0, 0);
}

// Each window's state lives on the thread that owns the window.
thread_local std::map<HWND, Window> t_windows;

HWND Make(const std::string& caption, bool flips, int place);

LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = t_windows.find(hWnd);
    Window* w = found == t_windows.end() ? nullptr : &found->second;
    switch (message) {
    case kBusy:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case kHangLater:
        if (w) w->hangMs = static_cast<DWORD>(lParam);
        SetTimer(hWnd, kHangTimerId, static_cast<UINT>(wParam), nullptr);
        return 0;
    case kOnRename:
        if (w) {
            w->reaction = static_cast<Reaction>(wParam);
            w->reactionArg = lParam;
        }
        return 0;
    case kMove:
        SetWindowPos(hWnd, wParam ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    case kSetOwn:
        if (w) SetWindowTextA(hWnd, (w->caption + " (eigen)").c_str());
        return 0;
    case WM_SETTEXT:
        // Our own SetWindowTextA calls the procedure directly; a caption from
        // another program arrives as a sent message.
        if (InSendMessage() && w) {
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, GetWindowLongPtrA(hWnd, GWLP_USERDATA) + 1);
            if (++w->depth > GetWindowLongPtrA(hWnd, kDeepestOffset)) SetWindowLongPtrA(hWnd, kDeepestOffset, w->depth);
            if (w->reaction == kWaitOn) SendMessageA(reinterpret_cast<HWND>(w->reactionArg), WM_NULL, 0, 0);
            LRESULT result = DefWindowProcW(hWnd, message, wParam, lParam);
            --w->depth;
            switch (w->reaction) {
            case kNothing: case kWaitOn: break;
            case kToBottom:
                SetWindowPos(hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            case kClose: DestroyWindow(hWnd); break;
            case kSlowly: Sleep(static_cast<DWORD>(w->reactionArg)); break;
            }
            return result;
        }
        break;
    case WM_TIMER:
        if (wParam == kHangTimerId) {
            KillTimer(hWnd, kHangTimerId);
            Sleep(w ? w->hangMs : 0);
            return 0;
        }
        if (wParam == kFlipTimerId && w) {
            std::string text = w->caption + " (" + std::to_string(++w->flipCount) + ")";
            SetWindowTextA(hWnd, text.c_str());
            return 0;
        }
        break;
    case WM_CLOSE:
        if (g_options.replace && w) {
            Make(w->caption, w->flips, 0);
            DestroyWindow(hWnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        t_windows.erase(hWnd);
        if (--g_windows == 0) EndAllLoops();
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND Make(const std::string& caption, bool flips, int place) {
    // Unicode windows, so that captions in any script arrive whole.
    HWND hWnd = CreateWindowExW(0, kClassNameW, std::wstring(caption.begin(), caption.end()).c_str(),
                                WS_OVERLAPPEDWINDOW, 20 + (place % 50) * 4, 20 + (place % 50) * 4, 200, 80, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hWnd) return nullptr;
    ++g_windows;
    Window& w = t_windows[hWnd];
    w.caption = caption;
    w.flips = flips;
    if (flips) SetTimer(hWnd, kFlipTimerId, g_options.flipMs, nullptr);
    if (!g_options.hidden) ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    return hWnd;
}

// Makes this thread's windows, then runs its loop until the program ends.
void RunThread(const std::vector<std::string>& captions, const std::vector<bool>& flips,
               std::vector<int> places, std::atomic<bool>* failed) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the queue, for EndAllLoops
    {
        // One thread at a time makes its windows: 32-bit Wine corrupted its
        // heap when 40 threads made their first windows at once.
        std::lock_guard<std::mutex> hold(g_lock);
        g_threads.push_back(GetCurrentThreadId());
        for (size_t i = 0; i < captions.size(); ++i)
            if (!Make(captions[i], flips[i], places[i])) *failed = true;
    }
    if (!g_options.everyMs) {
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return;
    }
    for (;;) {
        Sleep(g_options.everyMs);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            DispatchMessageW(&msg);
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    int count = atoi(argv[1]);
    std::string caption = argv[2];
    int threads = 1;
    for (int i = 3; i < argc; ++i) {
        if (strcmp(argv[i], "hidden") == 0) g_options.hidden = true;
        else if (strcmp(argv[i], "replace") == 0) g_options.replace = true;
        else if (strcmp(argv[i], "threads") == 0 && i + 1 < argc) threads = atoi(argv[++i]);
        else if (strcmp(argv[i], "every") == 0 && i + 1 < argc) g_options.everyMs = static_cast<DWORD>(atoi(argv[++i]));
        else if (strcmp(argv[i], "flip") == 0 && i + 1 < argc) {
            g_options.flipping = atoi(argv[++i]);
            if (i + 1 < argc && isdigit(static_cast<unsigned char>(argv[i + 1][0])))
                g_options.flipMs = static_cast<UINT>(atoi(argv[++i]));
        } else return 2;
    }
    if (count < 1 || threads < 1) return 2;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassNameW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.cbWndExtra = sizeof(LONG_PTR);
    RegisterClassW(&wc);

    std::vector<std::vector<std::string>> captions(threads);
    std::vector<std::vector<bool>> flips(threads);
    std::vector<std::vector<int>> places(threads);
    for (int i = 0; i < count; ++i) {
        captions[i % threads].push_back(count > 1 ? caption + " " + std::to_string(i) : caption);
        flips[i % threads].push_back(i < g_options.flipping);
        places[i % threads].push_back(i);
    }
    // The first thread's windows are made on this thread, so a program of
    // one thread stays what it was.
    std::atomic<bool> failed{false};
    std::vector<std::thread> others;
    for (int t = 1; t < threads; ++t) others.emplace_back(RunThread, captions[t], flips[t], places[t], &failed);
    RunThread(captions[0], flips[0], places[0], &failed);
    for (std::thread& t : others) t.join();
    return failed ? 3 : 0;
}
