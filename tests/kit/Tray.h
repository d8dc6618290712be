// What the tray icon tests share: a window that records the commands and
// notifications it gets, and a watcher that notes and closes popup menus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "framework/CWnd.h"
#include "res/resource.h"
#include "tests/kit/Sequence.h"

namespace traytest {

// The callback message and id the program gives its tray icon.
constexpr UINT kCallback = CWimmelpultDlg::kTrayCallback;
constexpr UINT kId = IDR_TRAYMENU;

// A top-level window that notes every WM_COMMAND, WM_NULL and tray callback,
// and, in m_sequence, those and the menu loop's start and end in their order.
class CRecorderWnd : public CWnd {
public:
    using Message = testutil::RecordedMessage;
    std::vector<Message> m_commands;
    std::vector<Message> m_callbacks;
    testutil::MessageSequence m_sequence;
    UINT m_callbackMessage = kCallback;

    BOOL Create(const char* title, bool visible, int x = 100, int y = 100);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
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

// While alive, every popup menu this thread shows is noted and closed at
// once; TrackPopupMenu dispatches the timer from its own loop.
class MenuWatch {
public:
    MenuWatch();
    ~MenuWatch();
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    size_t Count() const;
    const ShownMenu& Last() const;

private:
    UINT_PTR m_timer = 0;
};

}  // namespace traytest
