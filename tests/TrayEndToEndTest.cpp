// The real Wimmelpult.exe in the Wine desktop, worked with the real mouse
// and keyboard through tests/XDriver.sh: minimising to the notification
// area, the tray icon's double click and its menu, and closing from there.
#include <windows.h>

#include <vector>

#include "app/CWimmelpultDlg.h"
#include "res/resource.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

using testutil::ChildProcess;
using testutil::ClickAt;
using testutil::ControlCentre;
using testutil::Focused;
using testutil::StartProgram;
using testutil::TrayState;
using testutil::WaitFor;

namespace {

constexpr int kStripWidth = 200;   // the right end of the taskbar: the notification area

struct Strip {
    RECT rc = {};
    std::vector<COLORREF> pixels;
};

Strip GrabNotificationArea() {
    Strip s;
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT bar = {};
    if (!taskbar || !GetWindowRect(taskbar, &bar)) return s;
    s.rc = {bar.right - kStripWidth, bar.top, bar.right, bar.bottom};
    s.pixels = testutil::GrabClient(nullptr, s.rc.left, s.rc.top, kStripWidth, bar.bottom - bar.top);
    return s;
}

// The program's icon is what differs from the notification area before it ran.
bool FindTrayIcon(const Strip& before, POINT* centre) {
    // The same place, whichever window poses as the taskbar meanwhile.
    std::vector<COLORREF> now = testutil::GrabClient(nullptr, before.rc.left, before.rc.top, kStripWidth,
                                                     before.rc.bottom - before.rc.top);
    if (now.size() != before.pixels.size() || now.empty()) return false;
    int w = kStripWidth, h = static_cast<int>(now.size()) / w;
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (now[y * w + x] != before.pixels[y * w + x]) {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
    if (right < 0 || right - left > 40 || bottom - top > 40) return false;
    centre->x = before.rc.left + (left + right) / 2;
    centre->y = before.rc.top + (top + bottom) / 2;
    return true;
}

// The caption's minimise box, found by asking the window what each point is.
POINT MinimiseBox(HWND dlg) {
    RECT rc = {};
    GetWindowRect(dlg, &rc);
    int y = rc.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    int first = -1, last = -1;
    for (int x = rc.right - 1; x > rc.right - 120; --x) {
        LRESULT hit = SendMessageA(dlg, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == HTMINBUTTON) {
            if (last < 0) last = x;
            first = x;
        }
    }
    return {(first + last) / 2, y};
}

HWND OpenMenu(DWORD pid) { return testutil::WaitMenuWindow(pid, 5000); }

// The shell passes a click on the icon to the program as a posted message:
// once the shell has answered and the program's queue is flushed behind
// it, the program has handled the click.
bool ClickHandled(HWND dlg) {
    SendMessageTimeoutA(FindWindowA("Shell_TrayWnd", nullptr), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    return testutil::FlushOtherThread(GetDlgItem(dlg, IDC_OLD_TITLE), 5000);
}

// How an item of the open menu is drawn: greyed text has no text-coloured
// pixels right of the bitmap column.
struct ItemLook {
    int textPixels = 0;   // in the menu text colour
    int inkPixels = 0;    // anything but the menu background
};

ItemLook LookAtItem(HWND menu, int item) {
    RECT rc = {};
    GetWindowRect(menu, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    std::vector<COLORREF> px = testutil::GrabClient(nullptr, rc.left, rc.top, w, h);
    ItemLook look;
    COLORREF text = GetSysColor(COLOR_MENUTEXT) & 0xFFFFFF;
    COLORREF background = GetSysColor(COLOR_MENU) & 0xFFFFFF;
    int y0 = 3 + item * (h - 6) / 2, y1 = 3 + (item + 1) * (h - 6) / 2;
    for (int y = y0; y < y1; ++y)
        for (int x = 24; x < w - 4; ++x) {
            COLORREF rgb = testutil::SwapRedBlue(px[y * w + x] & 0xFFFFFF);
            look.textPixels += rgb == text;
            look.inkPixels += rgb != background;
        }
    return look;
}

POINT ItemCentre(HWND menu, int item) {
    RECT rc = {};
    GetWindowRect(menu, &rc);
    int h = rc.bottom - rc.top;
    return {(rc.left + rc.right) / 2, rc.top + 3 + item * (h - 6) / 2 + (h - 6) / 4};
}

// The dialog shown again after what brought it back, and with the focus.
void ExpectBack(HWND dlg, const char* how) {
    ok(WaitFor([&] { return testutil::ShownNormally(dlg); }, 5000), "expected %s to bring the dialog back, found it %s",
       how, TrayState(dlg));
    ok(WaitFor([&] { return Focused(dlg); }, 3000), "expected the dialog to have the focus, foreground is %p",
       GetForegroundWindow());
}

void TestMinimiseAndMenu(const Strip& empty) {
    ok_context("start");
    ChildProcess target;
    target.Start(testutil::BesideMe("TargetApp.exe"), "1 \"Hintergrund Anwendung\"");
    HWND other = target.WaitWindow("WimmelpultTestTarget", "Hintergrund Anwendung", 10000);
    ChildProcess program;
    HWND dlg = StartProgram(program);
    if (!dlg || !ok(other != nullptr, "expected the target window within 10 s, found none")) return;
    POINT icon = {};
    if (!ok(WaitFor([&] { return FindTrayIcon(empty, &icon); }, 5000),
            "expected the icon in the notification area within 5 s, found no change there"))
        return;

    SendMessageA(GetDlgItem(dlg, IDC_OLD_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hintergrund"));
    SendMessageA(GetDlgItem(dlg, IDC_NEW_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Vordergrund"));
    testutil::PostButton(dlg, IDOK);
    ok(WaitFor([&] { return testutil::WindowText(other) == "Vordergrund"; }, 5000),
       "expected the target renamed \"Vordergrund\", got \"%s\"", testutil::WindowText(other).c_str());

    ok_context("Minimieren");
    ClickAt(1, 1, ControlCentre(dlg, IDC_MINIMIZE));
    ok(WaitFor([&] { return testutil::HiddenInTray(dlg); }, 5000),
       "expected the dialog hidden, no window left to see; found it %s", TrayState(dlg));
    ok(FindTrayIcon(empty, &icon), "expected the tray icon to stay, found it gone");

    ok_context("single clicks and other ids while hidden");
    ClickAt(1, 1, icon);
    ok(ClickHandled(dlg), "expected the program to take the click within 5 s, it did not");
    ok(testutil::HiddenInTray(dlg), "expected a single click to do nothing, found the dialog %s", TrayState(dlg));
    LRESULT answer = SendMessageA(dlg, CWimmelpultDlg::kTrayCallback, 999, WM_LBUTTONDBLCLK);
    ok(answer == 0 && testutil::HiddenInTray(dlg),
       "expected a callback for another icon ignored, got %d with the dialog %s", static_cast<int>(answer),
       TrayState(dlg));

    ok_context("re-application while hidden");
    SetWindowTextA(other, "Die Anwendung will ihren Titel");
    ok(WaitFor([&] { return testutil::WindowText(other) == "Vordergrund"; }, 5000),
       "expected the caption back while hidden, got \"%s\"", testutil::WindowText(other).c_str());

    ok_context("menu while hidden");
    ClickAt(3, 1, icon);
    HWND menu = OpenMenu(program.Id());
    if (ok(menu != nullptr, "expected the tray menu within 5 s, found none")) {
        POINT cursor = {};
        GetCursorPos(&cursor);
        RECT rc = {};
        GetWindowRect(menu, &rc);
        // At the screen's corner the platform moves the menu just far
        // enough to fit: it still touches the cursor's neighbourhood.
        long dx = cursor.x < rc.left ? rc.left - cursor.x : cursor.x > rc.right ? cursor.x - rc.right : 0;
        long dy = cursor.y < rc.top ? rc.top - cursor.y : cursor.y > rc.bottom ? cursor.y - rc.bottom : 0;
        ok(dx <= 12 && dy <= 24, "expected the menu at the cursor (%ld,%ld), menu at %ld,%ld-%ld,%ld", cursor.x,
           cursor.y, rc.left, rc.top, rc.right, rc.bottom);
        ItemLook restore = LookAtItem(menu, 0), close = LookAtItem(menu, 1);
        ok(restore.textPixels > 20 && close.textPixels > 20,
           "expected both items enabled (over 20 text pixels), text pixels %d and %d", restore.textPixels,
           close.textPixels);
        ClickAt(1, 1, ItemCentre(menu, 0));
        ExpectBack(dlg, "Wiederherstellen");
    }

    ok_context("clicks while shown");
    ClickAt(1, 1, icon);
    ok(ClickHandled(dlg), "expected the program to take the click within 5 s, it did not");
    ok(testutil::ShownNormally(dlg), "expected a single click to change nothing, found the dialog %s", TrayState(dlg));
    ClickAt(1, 2, icon);
    ok(ClickHandled(dlg), "expected the program to take the double click within 5 s, it did not");
    ok(testutil::ShownNormally(dlg) && Focused(dlg),
       "expected a double click to leave it shown and focused, found it %s, focused %d", TrayState(dlg), Focused(dlg));

    ok_context("menu while shown");
    ClickAt(3, 1, icon);
    menu = OpenMenu(program.Id());
    if (ok(menu != nullptr, "expected the tray menu within 5 s, found none")) {
        ItemLook restore = LookAtItem(menu, 0), close = LookAtItem(menu, 1);
        ok(restore.textPixels == 0 && restore.inkPixels > 20,
           "expected Wiederherstellen greyed (no text pixels, over 20 ink), text %d ink %d", restore.textPixels,
           restore.inkPixels);
        ok(close.textPixels > 20, "expected Schlie\xDF" "en enabled (over 20 text pixels), text pixels %d",
           close.textPixels);
        testutil::PressKey("Escape");
        ok(WaitFor([&] { return !IsWindowVisible(menu); }, 3000), "expected Escape to close the menu, it stays");
        ok(testutil::ShownNormally(dlg), "expected the dialog unchanged, found it %s", TrayState(dlg));
    }

    ok_context("minimise box, then a double click");
    ClickAt(1, 1, MinimiseBox(dlg));
    ok(WaitFor([&] { return testutil::HiddenInTray(dlg); }, 5000),
       "expected the minimise box to hide the dialog, found it %s", TrayState(dlg));
    ClickAt(1, 2, icon);
    ExpectBack(dlg, "a double click");

    ok_context("Schliessen while shown");
    ClickAt(3, 1, icon);
    menu = OpenMenu(program.Id());
    if (ok(menu != nullptr, "expected the tray menu within 5 s, found none")) ClickAt(1, 1, ItemCentre(menu, 1));
    DWORD code = 1234;
    ok(program.WaitExit(10000, &code) && code == 0, "expected the program to end with 0, exit code %lu", code);
    ok(WaitFor([&] { return !FindTrayIcon(empty, &icon); }, 5000), "expected the tray icon gone, found it at %ld,%ld",
       icon.x, icon.y);
}

// Started while the shell refuses icons, as before its taskbar exists: the
// icon comes at a tick once the shell takes it, and all goes on as usual.
void TestStartRefusedThenCloseWhileHidden(const Strip& empty) {
    ok_context("started while the shell refuses icons");
    // Programs take the first taskbar window they find for the shell; this
    // one, in front of the real one, answers every icon with FALSE.
    WNDCLASSA wc = {0, &DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Shell_TrayWnd"};
    RegisterClassA(&wc);
    HWND refusing = CreateWindowExA(WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    nullptr, nullptr);
    ChildProcess program;
    HWND dlg = StartProgram(program);
    POINT icon = {};
    if (!dlg) return;
    ClickAt(1, 1, MinimiseBox(dlg));
    ok(WaitFor([&] { return testutil::OnTaskbar(dlg); }, 5000), "expected it minimised on the taskbar, found it %s",
       TrayState(dlg));
    ok(!FindTrayIcon(empty, &icon), "expected no icon while refused, found one at %ld,%ld", icon.x, icon.y);
    PostMessageA(dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
    DestroyWindow(refusing);

    ok_context("Schliessen while hidden");
    if (!ok(WaitFor([&] { return FindTrayIcon(empty, &icon); }, 5000),
            "expected the tray icon within 5 s, found no change in the notification area"))
        return;
    ClickAt(1, 1, ControlCentre(dlg, IDC_MINIMIZE));
    ok(WaitFor([&] { return testutil::HiddenInTray(dlg); }, 5000), "expected the dialog hidden, found it %s",
       TrayState(dlg));
    ClickAt(3, 1, icon);
    HWND menu = OpenMenu(program.Id());
    if (ok(menu != nullptr, "expected the tray menu within 5 s, found none")) ClickAt(1, 1, ItemCentre(menu, 1));
    DWORD code = 1234;
    ok(program.WaitExit(10000, &code) && code == 0, "expected the program to end with 0, exit code %lu", code);
    ok(WaitFor([&] { return !FindTrayIcon(empty, &icon); }, 5000), "expected the tray icon gone, found it at %ld,%ld",
       icon.x, icon.y);
}

}  // namespace

int main() {
    if (!ok(getenv("XDRIVER_ACK") != nullptr, "expected to be run by tests/XDriver.sh, XDRIVER_ACK is not set"))
        return ok_summary();
    // Wait for the taskbar, then remember the notification area without us.
    WaitFor([] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, 10000);
    Strip empty = GrabNotificationArea();
    if (!ok(!empty.pixels.empty(), "expected a taskbar with a notification area, found no Shell_TrayWnd"))
        return ok_summary();
    TestMinimiseAndMenu(empty);
    TestStartRefusedThenCloseWhileHidden(empty);
    return ok_summary();
}
