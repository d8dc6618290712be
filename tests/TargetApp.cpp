// Another application's windows, for the tests to retitle across processes.
//   TargetApp.exe COUNT CAPTION [hidden]
// makes COUNT top-level windows captioned "CAPTION" (with " <n>" appended when
// COUNT > 1). A posted WM_APP with wParam = milliseconds blocks the thread
// that long, as a hung application does. The program ends when its last
// window is closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
int g_windows = 0;

LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
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
    bool hidden = argc > 3 && strcmp(argv[3], "hidden") == 0;

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
        if (!hidden) ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
