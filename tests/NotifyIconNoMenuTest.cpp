// CNotifyIcon in a program that carries no menu 637 at all: its context menu,
// Shift+F10 and the icon's notifications show nothing and send only what
// needs no menu.
#include <windows.h>

#include "framework/CWinApp.h"
#include "tests/kit/Input.h"
#include "tests/kit/Tray.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"
#include "tray/CNotifyIcon.h"

using testutil::FlushMessages;
using traytest::CRecorderWnd;
using traytest::MenuWatch;
using traytest::kCallback;
using traytest::kId;

namespace {

BOOL WINAPI AcceptShell(DWORD, PNOTIFYICONDATAW) { return TRUE; }

}  // namespace

int main() {
    CWinApp app;
    CRecorderWnd mainWnd;
    mainWnd.Create("NotifyIconNoMenuTest main", true);
    app.m_pMainWnd = &mainWnd;
    CNotifyIcon::s_pfnShellNotifyIcon = &AcceptShell;

    ok_context("resources");
    HMENU carried = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kId));
    ok(carried == nullptr, "expected this program to carry no menu %u, found %p", kId, carried);

    CNotifyIcon icon;
    BOOL created = icon.Create(nullptr, kCallback, L"tip", LoadIconA(nullptr, IDI_APPLICATION), kId);
    ok(created, "expected Create to succeed, got %d", created);

    ok_context("WM_CONTEXTMENU without menu 637");
    {
        MenuWatch watch;
        SendMessageA(icon.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(icon.m_hWnd), MAKELPARAM(300, 200));
        FlushMessages();
        ok(watch.Count() == 0, "expected no menu, got %u", unsigned(watch.Count()));
    }

    ok_context("Shift+F10 without menu 637");
    {
        testutil::SetShiftState(0x80);
        MenuWatch watch;
        MSG msg = {icon.m_hWnd, WM_KEYDOWN, VK_F10, 0, 0, {0, 0}};
        BOOL taken = CWinApp::PreTranslateTree(&msg);
        testutil::SetShiftState(0);
        FlushMessages();
        ok(taken, "expected the shortcut taken all the same, got %d", taken);
        ok(watch.Count() == 0, "expected no menu, got %u", unsigned(watch.Count()));
    }

    ok_context("notifications without menu 637");
    {
        MenuWatch watch;
        LRESULT r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_RBUTTONUP);
        ok(r == 0, "right click: expected 0, got %Id", r);
        r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_LBUTTONDBLCLK);
        ok(r == 0, "double click by position: expected 0, got %Id", r);
        ok(mainWnd.m_commands.empty(), "double click by position: expected no command, got %u",
           unsigned(mainWnd.m_commands.size()));
        icon.m_bDefaultByPos = FALSE;
        icon.m_nDefaultItem = ID_TRAY_CLOSE;
        r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_LBUTTONDBLCLK);
        ok(r == 1, "double click by command: expected 1, got %Id", r);
        ok(mainWnd.m_commands.size() == 1 && mainWnd.m_commands[0].wParam == ID_TRAY_CLOSE,
           "double click by command: expected one WM_COMMAND %u, got %u, the first %u", ID_TRAY_CLOSE,
           unsigned(mainWnd.m_commands.size()),
           mainWnd.m_commands.empty() ? 0u : unsigned(mainWnd.m_commands[0].wParam));
        FlushMessages();
        ok(watch.Count() == 0, "expected no menu, got %u", unsigned(watch.Count()));
    }

    app.m_pMainWnd = nullptr;
    return ok_summary();
}
