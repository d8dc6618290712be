#include "tests/kit/UserObjects.h"

#include <windows.h>

namespace testutil {

namespace {

bool OnWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Wine gives a USER handle the low word 0x20 + 2 * slot and the slot's
// generation as the high word, and takes a low word alone for the slot's
// object of any generation. Its icons and menus are looked up in a table of
// the process's own, so GetIconInfo and IsMenu find no other process's;
// windows are told apart by their process.
UserObjects WalkWineTable() {
    const DWORD me = GetCurrentProcessId();
    long windows = 0, icons = 0, menus = 0;
    for (UINT_PTR low = 0x20; low <= 0xFFFE; low += 2) {
        HANDLE handle = reinterpret_cast<HANDLE>(low);
        HWND hWnd = static_cast<HWND>(handle);
        DWORD pid = 0;
        // The window procedure first: Wine refuses it for another process's
        // window without asking its server, so the walk takes milliseconds.
        if (GetWindowLongPtrA(hWnd, GWLP_WNDPROC) && GetWindowThreadProcessId(hWnd, &pid) && pid == me) {
            ++windows;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++menus;
        } else {
            ICONINFO info = {};
            if (!GetIconInfo(static_cast<HICON>(handle), &info)) continue;
            ++icons;
            if (info.hbmMask) DeleteObject(info.hbmMask);
            if (info.hbmColor) DeleteObject(info.hbmColor);
        }
    }
    UserObjects found;
    found.count = windows + icons + menus;
    found.counted = std::to_string(windows) + " windows, " + std::to_string(icons) + " icons and cursors, " +
                    std::to_string(menus) + " menus of this process in Wine's USER handle table";
    return found;
}

}  // namespace

UserObjects CountUserObjects() {
    if (OnWine()) return WalkWineTable();
    UserObjects counted;
    counted.count = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    counted.counted = "USER objects of this process (GetGuiResources)";
    return counted;
}

}  // namespace testutil
