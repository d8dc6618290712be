// Minimising to the notification area and the tray menu, with the main
// dialog in the test process and the real notification area of the desktop.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/CWimmelpultDlg.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/MainDialog.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Sequence.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

using testutil::ExpectedMessage;
using testutil::HiddenInTray;
using testutil::MessageRecorder;
using testutil::OnTaskbar;
using testutil::RunModal;
using testutil::ShownNormally;
using testutil::TrayState;
using testutil::When;
using testutil::kWParam;

namespace {

constexpr UINT kCallback = CWimmelpultDlg::kTrayCallback;


// What the dialog, the menu's owner, hears around a right click on the icon:
// the menu's loop, the command chosen in it, and the WM_NULL that lets the
// menu close on a click elsewhere, after the menu.
// The edits' notifications of their focus come as WM_COMMAND too; a
// command has no control.
std::unique_ptr<MessageRecorder> RecordMenu(HWND dlg) {
    auto notification = [](UINT message, WPARAM, LPARAM control) { return message == WM_COMMAND && control != 0; };
    return std::make_unique<MessageRecorder>(
        dlg, std::initializer_list<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_COMMAND, WM_NULL}, notification);
}

// What a tray menu looked like while it was open.
struct MenuSeen {
    bool open = false;
    UINT restoreState = 0;
    UINT closeState = 0;
    RECT rect = {};
    POINT cursor = {};
};
MenuSeen g_seen;
HMENU g_popup = nullptr;
const UINT* g_keys = nullptr;

HWND OpenMenuWindow() {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Runs inside the menu's own loop: looks at the open menu, then answers it
// with keys, as a user would.
void CALLBACK InspectMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = OpenMenuWindow();
    if (!menu) return;
    KillTimer(nullptr, timer);
    g_seen.open = true;
    g_seen.restoreState = GetMenuState(g_popup, ID_TRAY_RESTORE, MF_BYCOMMAND);
    g_seen.closeState = GetMenuState(g_popup, ID_TRAY_CLOSE, MF_BYCOMMAND);
    GetWindowRect(menu, &g_seen.rect);
    GetCursorPos(&g_seen.cursor);
    for (const UINT* key = g_keys; *key; ++key) testutil::PostKey(menu, *key);
}

// A right click on the tray icon; keys end with 0 (VK_ESCAPE closes).
void RightClick(CWimmelpultDlg& dlg, const UINT* keys) {
    g_seen = MenuSeen();
    g_popup = dlg.m_pTrayPopup;
    g_keys = keys;
    SetCursorPos(300, 200);
    SetTimer(nullptr, 0, 50, &InspectMenu);
    SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_RBUTTONUP);
}

// The tray icon is made once the dialog shows, after the first steps may run.
std::function<bool()> IconMade(const CWimmelpultDlg& dlg) {
    return [&dlg] { return dlg.m_tray.m_iconData.hIcon != nullptr; };
}

const UINT kEscape[] = {VK_ESCAPE, 0};
const UINT kFirstItem[] = {VK_DOWN, VK_RETURN, 0};
const UINT kLastItem[] = {VK_UP, VK_RETURN, 0};

void TestIconAndMinimise() {
    HWND remembered = CreateWindowExA(0, "STATIC", "Versteckt weiter", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50, nullptr,
                                      nullptr, nullptr, nullptr);
    CWimmelpultDlg dlg;
    RunModal(dlg, {
        When(IconMade(dlg), [&] {
            ok_context("tray icon");
            const NOTIFYICONDATAW& d = dlg.m_tray.m_iconData;
            ok(dlg.m_tray.m_bIconPresent, "expected the icon in the notification area, found it absent");
            ok(d.hWnd == dlg.m_hWnd && d.uID == IDR_TRAYMENU && d.uCallbackMessage == kCallback,
               "expected the dialog %p, id %u and callback %#x, got %p %u %#x", dlg.m_hWnd, IDR_TRAYMENU, kCallback,
               d.hWnd, d.uID, d.uCallbackMessage);
            ok(wcscmp(d.szTip, L"Wimmelpult") == 0, "expected the tooltip Wimmelpult, got %ls", d.szTip);

            ok_context("button");
            SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_MINIMIZE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDC_MINIMIZE)));
        }),
        [&] {
            ok(HiddenInTray(dlg.m_hWnd),
               "expected the dialog minimised and hidden, found it %s", TrayState(dlg.m_hWnd));
            ok(dlg.m_tray.m_bIconPresent, "expected the tray icon to stay, found it absent");

            ok_context("other icon id and single clicks");
            LRESULT answer = SendMessageA(dlg.m_hWnd, kCallback, 999, WM_LBUTTONDBLCLK);
            ok(answer == 0, "expected 0 for another icon, got %d", static_cast<int>(answer));
            SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONDOWN);
            SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONUP);
            SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_MOUSEMOVE);
            ok(HiddenInTray(dlg.m_hWnd), "expected the dialog still hidden, found it %s", TrayState(dlg.m_hWnd));

            ok_context("re-application while hidden");
            SetDlgItemTextA(dlg.m_hWnd, IDC_OLD_TITLE, "versteckt weiter");
            SetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, "Bleibt so");
            CheckDlgButton(dlg.m_hWnd, IDC_UPDATE, BST_CHECKED);
            SendMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
            SetWindowTextA(remembered, "Von der Anwendung");
            // The real timer, not a sent tick.
            testutil::WaitFor([&] { return testutil::WindowText(remembered) == "Bleibt so"; }, 5000);
            ok(testutil::WindowText(remembered) == "Bleibt so", "expected the caption back while hidden, got %s",
               testutil::WindowText(remembered).c_str());

            ok_context("double click");
            SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
            ok(ShownNormally(dlg.m_hWnd), "expected the dialog restored, found it %s", TrayState(dlg.m_hWnd));
            HWND focus = GetFocus();
            ok(focus == dlg.m_hWnd || IsChild(dlg.m_hWnd, focus), "expected the focus in the dialog, got %p", focus);
            SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
            ok(ShownNormally(dlg.m_hWnd),
               "expected a second double click to change nothing, found it %s", TrayState(dlg.m_hWnd));

            ok_context("window menu");
            PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        },
        [&] {
            ok(HiddenInTray(dlg.m_hWnd),
               "expected the dialog hidden after SC_MINIMIZE, found it %s", TrayState(dlg.m_hWnd));
            SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
            ok(ShownNormally(dlg.m_hWnd), "expected the dialog back, found it %s", TrayState(dlg.m_hWnd));
        },
    });
    DestroyWindow(remembered);
}

void TestMenu() {
    {
        ok_context("menu while shown");
        CWimmelpultDlg dlg;
        RunModal(dlg, [&] {
            auto recorder = RecordMenu(dlg.m_hWnd);
            RightClick(dlg, kEscape);
            testutil::FlushMessages();
            ok_sequence(recorder->Sequence(), {{WM_ENTERMENULOOP}, {WM_EXITMENULOOP}, {WM_NULL}},
                        "right click, Escape");
            ok(g_seen.open, "expected the menu to open, found none");
            ok(g_seen.restoreState & MF_GRAYED, "expected Wiederherstellen greyed, state 0x%x", g_seen.restoreState);
            ok(!(g_seen.closeState & (MF_GRAYED | MF_DISABLED)), "expected Schlie\xDF" "en enabled, state 0x%x",
               g_seen.closeState);
            ok(g_seen.rect.left == g_seen.cursor.x && g_seen.rect.top == g_seen.cursor.y,
               "expected the menu's corner at the cursor (%ld,%ld), got (%ld,%ld)", g_seen.cursor.x, g_seen.cursor.y,
               g_seen.rect.left, g_seen.rect.top);
            ok(ShownNormally(dlg.m_hWnd),
               "expected the dialog unchanged after Escape, found it %s", TrayState(dlg.m_hWnd));
        });
    }
    {
        ok_context("menu while hidden, Wiederherstellen");
        CWimmelpultDlg dlg;
        std::unique_ptr<MessageRecorder> recorder;
        RunModal(dlg, {
            When(IconMade(dlg), [&] { SendMessageA(dlg.m_hWnd, WM_COMMAND, IDC_MINIMIZE, 0); }),
            [&] {
                ok(HiddenInTray(dlg.m_hWnd), "expected the dialog hidden, found it %s", TrayState(dlg.m_hWnd));
                recorder = RecordMenu(dlg.m_hWnd);
                RightClick(dlg, kFirstItem);
                ok(g_seen.open, "expected the menu to open, found none");
                ok(!(g_seen.restoreState & (MF_GRAYED | MF_DISABLED)), "expected Wiederherstellen enabled, state %#x",
                   g_seen.restoreState);
                ok(!(g_seen.closeState & (MF_GRAYED | MF_DISABLED)), "expected Schlie\xDF" "en enabled, state %#x",
                   g_seen.closeState);
            },
            [&] {
                ok(ShownNormally(dlg.m_hWnd),
                   "expected Wiederherstellen to restore the dialog, found it %s", TrayState(dlg.m_hWnd));
                const std::vector<ExpectedMessage> chosen = {
                    {WM_ENTERMENULOOP}, {WM_EXITMENULOOP}, {WM_COMMAND, kWParam, ID_TRAY_RESTORE}, {WM_NULL}};
                ok_sequence(recorder->Sequence(), chosen, "right click, Wiederherstellen");
                recorder.reset();
            },
        });
    }
    for (bool hidden : {false, true}) {
        ok_context(hidden ? "Schliessen while hidden" : "Schliessen while shown");
        CWimmelpultDlg dlg;
        INT_PTR result = RunModal(dlg, {
            When(IconMade(dlg), [&] {
                if (hidden) SendMessageA(dlg.m_hWnd, WM_COMMAND, IDC_MINIMIZE, 0);
            }),
            [&] { RightClick(dlg, kLastItem); },
            [&] { ok(false, "expected Schlie\xDF" "en to have ended the dialog, found it open"); },
        });
        ok(result == IDCANCEL, "expected IDCANCEL, got %d", static_cast<int>(result));
        ok(!dlg.m_tray.m_bIconPresent || dlg.m_tray.m_hWnd,
           "expected the icon until the object goes, found it present without its window");
    }
}

// A shell that refuses icons while busy, and may add one all the same (a
// time-out); it would show a second icon for a second add.
struct { bool busy, addsAnyway; int icons; } g_shell;
BOOL WINAPI ModelShell(DWORD message, PNOTIFYICONDATAW) {
    if (message == NIM_ADD && (!g_shell.busy || g_shell.addsAnyway)) ++g_shell.icons;
    return !g_shell.busy && (message == NIM_ADD || g_shell.icons > 0);
}

void TestShellRefuses() {
    auto real = CNotifyIcon::s_pfnShellNotifyIcon;
    CNotifyIcon::s_pfnShellNotifyIcon = &ModelShell;
    g_shell = {true, false, 0};
    CWimmelpultDlg dlg;
    auto shellRestarts = [&](bool busy, bool addsAnyway) {
        g_shell = {busy, addsAnyway, 0};
        SendMessageA(dlg.m_tray.m_hWnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    };
    ok_context("refused at start");
    INT_PTR result = RunModal(dlg, {When(IconMade(dlg), [&] {
        SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ok(OnTaskbar(dlg.m_hWnd), "expected it minimised on the taskbar, found it %s", TrayState(dlg.m_hWnd));
        g_shell.busy = false;
        testutil::Tick(dlg);
        SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ok(g_shell.icons == 1 && HiddenInTray(dlg.m_hWnd), "expected the icon added at a tick and the dialog hidden, "
           "%d icons, found it %s", g_shell.icons, TrayState(dlg.m_hWnd));

        ok_context("refused while hidden");
        shellRestarts(true, false);
        testutil::Tick(dlg);
        ok(OnTaskbar(dlg.m_hWnd), "expected it minimised on the taskbar, found it %s", TrayState(dlg.m_hWnd));
        ok_context("TaskbarCreated");
        shellRestarts(false, false);
        ok(g_shell.icons == 1, "expected the icon added at once, %d icons", g_shell.icons);
        ok_context("a time-out that added the icon");
        shellRestarts(true, true);
        g_shell.busy = false;
        testutil::Tick(dlg);
        ok(g_shell.icons == 1 && dlg.m_tray.m_bIconPresent, "expected one icon, found %d, present %d", g_shell.icons,
           dlg.m_tray.m_bIconPresent);

        ok_context("lost without a word while hidden");
        SendMessageA(dlg.m_hWnd, kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        g_shell = {true, false, 0};
        testutil::Tick(dlg);
        ok(OnTaskbar(dlg.m_hWnd), "expected it back on the taskbar, found it %s", TrayState(dlg.m_hWnd));
    })});
    ok(result == IDCANCEL, "expected the dialog to run until cancelled, the run gave %d", static_cast<int>(result));
    CNotifyIcon::s_pfnShellNotifyIcon = real;
}

}  // namespace

int main() {
    testutil::InitDialogControls();
    TestIconAndMinimise();
    TestMenu();
    TestShellRefuses();
    return ok_summary();
}
