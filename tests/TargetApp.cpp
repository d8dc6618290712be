// Another application's windows, for the tests to retitle across processes.
//   TargetApp.exe COUNT CAPTION [hidden] [flip K]
// makes COUNT top-level windows captioned "CAPTION" (with " <n>" appended when
// COUNT > 1). With "flip K" the first K windows set a caption of their own
// every second, "CAPTION <n> (<count>)", as an application that shows a
// changing document name does. Every window counts the captions set from
// outside in its GWLP_USERDATA, which other processes can read.
// A posted WM_APP with wParam = milliseconds blocks the thread that long, as
// a hung application does. The program ends when its last window is closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {
constexpr UINT_PTR kFlipTimerId = 1;
constexpr UINT kFlipPeriodMs = 1000;

struct Flipper {
    std::string caption;
    int flips = 0;
};

int g_windows = 0;
std::map<HWND, Flipper> g_flippers;

LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_SETTEXT:
        // Our own SetWindowTextA calls the procedure directly; a caption from
        // another program arrives as a sent message.
        if (InSendMessage()) SetWindowLongPtrA(hWnd, GWLP_USERDATA, GetWindowLongPtrA(hWnd, GWLP_USERDATA) + 1);
        break;
    case WM_TIMER:
        if (wParam == kFlipTimerId) {
            auto flipper = g_flippers.find(hWnd);
            if (flipper != g_flippers.end()) {
                Flipper& f = flipper->second;
                std::string text = f.caption + " (" + std::to_string(++f.flips) + ")";
                SetWindowTextA(hWnd, text.c_str());
            }
            return 0;
        }
        break;
    case WM_DESTROY:
        if (--g_windows == 0) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    int count = atoi(argv[1]);
    std::string caption = argv[2];
    bool hidden = false;
    int flipping = 0;
    for (int i = 3; i < argc; ++i) {
        if (strcmp(argv[i], "hidden") == 0) hidden = true;
        else if (strcmp(argv[i], "flip") == 0 && i + 1 < argc) flipping = atoi(argv[++i]);
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WimmelpultTestTarget";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);

    for (int i = 0; i < count; ++i) {
        std::string title = count > 1 ? caption + " " + std::to_string(i) : caption;
        HWND hWnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 20 + (i % 50) * 4,
                                    20 + (i % 50) * 4, 200, 80, nullptr, nullptr, wc.hInstance, nullptr);
        if (!hWnd) return 3;
        ++g_windows;
        if (i < flipping) {
            g_flippers[hWnd].caption = title;
            SetTimer(hWnd, kFlipTimerId, kFlipPeriodMs, nullptr);
        }
        if (!hidden) ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
