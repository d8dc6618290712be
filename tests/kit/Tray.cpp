#include "tests/kit/Tray.h"

#include <cstring>
#include <string>

namespace traytest {

BOOL CRecorderWnd::Create(const char* title, bool visible, int x, int y) {
    static const wchar_t kClass[] = L"NotifyIconTest.Recorder";
    WNDCLASSW wc = {};
    if (!GetClassInfoW(GetModuleHandleA(nullptr), kClass, &wc)) {
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);
    }
    DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    const std::wstring wide(title, title + strlen(title));   // ASCII
    return CreateEx(0, kClass, wide.c_str(), style, x, y, 200, 120, nullptr, nullptr);
}

LRESULT CRecorderWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == m_callbackMessage || message == WM_NULL || message == WM_ENTERMENULOOP ||
        message == WM_EXITMENULOOP)
        m_sequence.Add(message, wParam, lParam);
    if (message == WM_COMMAND) {
        m_commands.push_back({message, wParam, lParam});
        return 0;
    }
    if (message == m_callbackMessage) {
        m_callbacks.push_back({message, wParam, lParam});
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

namespace {
std::vector<ShownMenu> g_menus;

BOOL CALLBACK NoteMenuWindow(HWND hWnd, LPARAM) {
    char cls[32] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32768") != 0 || !IsWindowVisible(hWnd)) return TRUE;
    // Closing takes the menu loop's next turn; don't note it twice.
    if (!g_menus.empty() && g_menus.back().window == hWnd) return TRUE;

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
    g_menus.push_back(shown);
    EndMenu();
    return FALSE;
}

void CALLBACK CloseShownMenus(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &NoteMenuWindow, 0);
}
}  // namespace

MenuWatch::MenuWatch() {
    g_menus.clear();
    m_timer = SetTimer(nullptr, 0, 20, &CloseShownMenus);
}

MenuWatch::~MenuWatch() { KillTimer(nullptr, m_timer); }

size_t MenuWatch::Count() const { return g_menus.size(); }
const ShownMenu& MenuWatch::Last() const { return g_menus.back(); }

}  // namespace traytest
