#include "tests/kit/Input.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"

namespace testutil {

void PostKey(HWND hWnd, UINT vk) {
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(hWnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(hWnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void PostClick(HWND hWnd, POINT pt) {
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hWnd, WM_LBUTTONUP, 0, at);
}

void PostButton(HWND dlg, int id) { PostMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

void SetShiftState(BYTE state) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = state;
    keys[VK_LSHIFT] = state;
    SetKeyboardState(keys);
}

namespace {
int g_requests = 0;

int Acknowledged() {
    const char* path = getenv("XDRIVER_ACK");
    if (!path) return -1;
    FILE* f = fopen(WindowsPath(path).c_str(), "r");
    if (!f) return 0;
    int n = 0;
    if (fscanf(f, "%d", &n) != 1) n = 0;
    fclose(f);
    return n;
}

bool Request(const char* line) {
    if (!getenv("XDRIVER_ACK")) return false;   // not run by the driver
    printf("%s\n", line);
    fflush(stdout);
    int want = ++g_requests;
    return WaitFor([&] { return Acknowledged() >= want; }, 10000);
}
}  // namespace

bool ClickAt(int button, int repeat, POINT at) {
    char line[64];
    snprintf(line, sizeof line, "CLICKAT %d %d %ld %ld", button, repeat, at.x, at.y);
    return Request(line);
}

bool ClickIcon(int button, int repeat, COLORREF colour) {
    char line[64];
    snprintf(line, sizeof line, "CLICK %d %d %02x%02x%02x", button, repeat, GetRValue(colour), GetGValue(colour),
             GetBValue(colour));
    return Request(line);
}

bool PressKey(const char* keysym) {
    char line[64];
    snprintf(line, sizeof line, "KEY %s", keysym);
    return Request(line);
}

}  // namespace testutil
