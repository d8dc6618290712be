// What the tray icon tests share: a window that records the commands and
// notifications it gets, a watcher that notes and closes popup menus, and
// plain coloured icons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CWnd.h"
#include "res/resource.h"

namespace traytest {

// The callback message and id the program gives its tray icon.
constexpr UINT kCallback = WM_USER + 10;
constexpr UINT kId = IDR_TRAYMENU;

// A top-level window that notes every WM_COMMAND, WM_NULL and tray callback.
class CRecorderWnd : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> m_commands;
    std::vector<Message> m_callbacks;
    int m_nulls = 0;
    UINT m_callbackMessage = WM_USER + 10;

    BOOL Create(const char* title, bool visible, int x = 100, int y = 100) {
        static const char kClass[] = "NotifyIconTest.Recorder";
        WNDCLASSA wc = {};
        if (!GetClassInfoA(GetModuleHandleA(nullptr), kClass, &wc)) {
            wc.lpfnWndProc = &::DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = kClass;
            RegisterClassA(&wc);
        }
        DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
        return CreateEx(0, kClass, title, style, x, y, 200, 120, nullptr, nullptr);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) {
            m_commands.push_back({message, wParam, lParam});
            return 0;
        }
        if (message == m_callbackMessage) {
            m_callbacks.push_back({message, wParam, lParam});
            return 0;
        }
        if (message == WM_NULL) ++m_nulls;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A popup menu as it was on screen.
struct ShownMenu {
    HWND window;
    HMENU menu;
    RECT rect;
    UINT defaultItem;                // command id, or (UINT)-1
    std::vector<UINT> ids;
    std::vector<std::string> texts;
};

inline std::vector<ShownMenu>& ShownMenus() {
    static std::vector<ShownMenu> menus;
    return menus;
}

inline BOOL CALLBACK NoteMenuWindow(HWND hWnd, LPARAM) {
    char cls[32] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32768") != 0 || !IsWindowVisible(hWnd)) return TRUE;
    std::vector<ShownMenu>& menus = ShownMenus();
    // Closing takes the menu loop's next turn; don't note it twice.
    if (!menus.empty() && menus.back().window == hWnd) return TRUE;

    ShownMenu shown = {};
    shown.window = hWnd;
    shown.menu = reinterpret_cast<HMENU>(SendMessageA(hWnd, MN_GETHMENU, 0, 0));
    GetWindowRect(hWnd, &shown.rect);
    shown.defaultItem = GetMenuDefaultItem(shown.menu, FALSE, 0);
    for (int i = 0, n = GetMenuItemCount(shown.menu); i < n; ++i) {
        char text[64] = {};
        GetMenuStringA(shown.menu, i, text, sizeof text, MF_BYPOSITION);
        shown.ids.push_back(GetMenuItemID(shown.menu, i));
        shown.texts.push_back(text);
    }
    menus.push_back(shown);
    EndMenu();
    return FALSE;
}

inline void CALLBACK CloseShownMenus(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &NoteMenuWindow, 0);
}

// While alive, every popup menu this thread shows is noted and closed at
// once; TrackPopupMenu dispatches the timer from its own loop.
class MenuWatch {
public:
    MenuWatch() {
        ShownMenus().clear();
        m_timer = SetTimer(nullptr, 0, 20, &CloseShownMenus);
    }
    ~MenuWatch() { KillTimer(nullptr, m_timer); }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    size_t Count() const { return ShownMenus().size(); }
    const ShownMenu& Last() const { return ShownMenus().back(); }

private:
    UINT_PTR m_timer = 0;
};

// A 16 x 16 icon of one opaque colour, easy to find on screen.
inline HICON SolidIcon(COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, image);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ICONINFO info = {TRUE, 0, 0, mask, image};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(image);
    DeleteObject(mask);
    return icon;
}

}  // namespace traytest
