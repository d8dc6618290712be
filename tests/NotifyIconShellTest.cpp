// CNotifyIcon in the real notification area of the Wine desktop, clicked with
// the real mouse: XDriver.sh runs this program and clicks the icon of the
// colour each request names.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tests/kit/Input.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Tray.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"
#include "tray/CNotifyIcon.h"

using namespace traytest;
using testutil::ClickIcon;
using testutil::SolidIcon;
using testutil::WaitFor;

namespace {

constexpr DWORD kClickWaitMs = 20000;
constexpr DWORD kScreenWaitMs = 5000;

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Notes every notification that reaches the component's own window.
class CShellIcon : public CNotifyIcon {
public:
    std::vector<CRecorderWnd::Message> m_notes;
    LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam) override {
        m_notes.push_back({m_iconData.uCallbackMessage, wParam, lParam});
        return CNotifyIcon::OnIconNotify(wParam, lParam);
    }
};

bool Has(const std::vector<CRecorderWnd::Message>& notes, WPARAM wParam, UINT mouse) {
    for (const CRecorderWnd::Message& m : notes)
        if (m.wParam == wParam && LOWORD(m.lParam) == mouse) return true;
    return false;
}

// Pixels of the colour in the taskbar; a shown 16 x 16 icon gives 256.
int PixelsInTaskbar(COLORREF colour) {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    RECT rc = {};
    if (!tray || !GetWindowRect(tray, &rc) || rc.right <= rc.left || rc.bottom <= rc.top) return 0;
    std::vector<COLORREF> pixels =
        testutil::GrabClient(nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    const COLORREF wanted = testutil::SwapRedBlue(colour);
    int count = 0;
    for (COLORREF p : pixels) count += p == wanted;
    return count;
}

bool Shown(COLORREF colour) { return PixelsInTaskbar(colour) >= 128; }

bool WaitShown(COLORREF colour, bool shown) {
    return WaitFor([=] { return Shown(colour) == shown; }, kScreenWaitMs);
}

void TestOwnWindow(CRecorderWnd& mainWnd) {
    ok_context("own window");
    CShellIcon icon;
    HICON magenta = SolidIcon(kMagenta);
    HICON cyan = SolidIcon(kCyan);
    BOOL created = icon.Create(nullptr, kCallback, L"Wimmelpult", magenta, kId);
    ok(created, "expected NIM_ADD to succeed in the Wine desktop, got %d", created);
    ok(WaitShown(kMagenta, true), "expected the icon in the notification area, found %d of its pixels",
       PixelsInTaskbar(kMagenta));

    ok_context("own window, right click");
    {
        MenuWatch watch;
        ClickIcon(3, 1, kMagenta);
        ok(WaitFor([&] { return Has(icon.m_notes, kId, WM_RBUTTONUP) && watch.Count() == 1; }, kClickWaitMs),
           "expected WM_RBUTTONUP at the own window and a menu, got %u notifications, %u menus",
           unsigned(icon.m_notes.size()), unsigned(watch.Count()));
        for (const CRecorderWnd::Message& m : icon.m_notes)
            ok(m.wParam == kId, "expected every notification with wParam %u, got %u", kId, unsigned(m.wParam));
        if (watch.Count() == 1) {
            ok(watch.Last().defaultItem == ID_TRAY_RESTORE, "expected default item %u, got %u", ID_TRAY_RESTORE,
               watch.Last().defaultItem);
            ok(watch.Last().ids.size() == 2, "expected the two items of menu %u, got %u", kId,
               unsigned(watch.Last().ids.size()));
        }
        ok(mainWnd.m_callbacks.empty(), "expected nothing at the main window, got %u callbacks",
           unsigned(mainWnd.m_callbacks.size()));
    }

    ok_context("own window, double click");
    mainWnd.m_commands.clear();
    ClickIcon(1, 2, kMagenta);
    ok(WaitFor([&] { return !mainWnd.m_commands.empty(); }, kClickWaitMs), "expected a command within %lu ms, got none",
       kClickWaitMs);
    ok(Has(icon.m_notes, kId, WM_LBUTTONDBLCLK), "expected WM_LBUTTONDBLCLK at the own window among %u notifications",
       unsigned(icon.m_notes.size()));
    ok(mainWnd.m_commands.size() == 1 && mainWnd.m_commands[0].wParam == ID_TRAY_RESTORE,
       "expected one WM_COMMAND %u at the main window, got %u, the first %u", ID_TRAY_RESTORE,
       unsigned(mainWnd.m_commands.size()), mainWnd.m_commands.empty() ? 0u : unsigned(mainWnd.m_commands[0].wParam));

    ok_context("ChangeIcon");
    ok(icon.ChangeIcon(cyan), "expected NIM_MODIFY to succeed, it failed");
    ok(WaitShown(kCyan, true) && WaitShown(kMagenta, false),
       "expected the cyan image instead of the magenta, found %d cyan and %d magenta pixels", PixelsInTaskbar(kCyan),
       PixelsInTaskbar(kMagenta));

    ok_context("TaskbarCreated");
    NOTIFYICONDATAW record = icon.m_iconData;
    ok(Shell_NotifyIconW(NIM_DELETE, &record),
       "expected the icon removed behind the component's back, NIM_DELETE failed");
    ok(WaitShown(kCyan, false), "expected the icon gone, found %d of its pixels", PixelsInTaskbar(kCyan));
    record.uFlags = NIF_ICON;
    ok(!Shell_NotifyIconW(NIM_MODIFY, &record), "expected the shell to know the icon no longer, NIM_MODIFY succeeded");
    // Explorer's announcement after a restart reaches every top-level window,
    // the hidden one of the component too.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &answer);
    ok(WaitShown(kCyan, true), "expected the icon back, with its last image; found %d of its pixels",
       PixelsInTaskbar(kCyan));
    ok(Shell_NotifyIconW(NIM_MODIFY, &record), "expected the shell to know the icon again, NIM_MODIFY failed");
    icon.m_notes.clear();
    ClickIcon(1, 1, kCyan);
    ok(WaitFor([&] { return Has(icon.m_notes, kId, WM_LBUTTONUP); }, kClickWaitMs),
       "expected the callback message with WM_LBUTTONUP to reach the own window again, got %u notifications",
       unsigned(icon.m_notes.size()));

    ok_context("animation");
    HICON red = SolidIcon(kRed);
    HICON green = SolidIcon(kGreen);
    HICON blue = SolidIcon(kBlue);
    ok(icon.StartAnimation({red, green, blue}, 1, 50, magenta), "expected the animation to start, it did not");
    ok(WaitShown(kRed, true) || WaitShown(kGreen, true) || WaitShown(kBlue, true),
       "expected a frame shown, found none of the three colours");
    ok(WaitFor([&] { return icon.m_nTimerId == 0; }, 10000),
       "expected the animation to end by itself within 10 s, timer %u still runs", icon.m_nTimerId);
    ok(WaitShown(kMagenta, true), "expected the restore icon shown, found %d of its pixels", PixelsInTaskbar(kMagenta));

    ok_context("DeleteIcon");
    icon.DeleteIcon();
    ok(WaitShown(kMagenta, false), "expected the icon gone, found %d of its pixels", PixelsInTaskbar(kMagenta));
    ok(!Shell_NotifyIconW(NIM_MODIFY, &record), "expected the shell to know the icon no longer, NIM_MODIFY succeeded");

    DestroyIcon(magenta);
    DestroyIcon(cyan);
    DestroyIcon(red);
    DestroyIcon(green);
    DestroyIcon(blue);
}

void TestParentWindow(CRecorderWnd& mainWnd) {
    ok_context("parent window");
    HICON yellow = SolidIcon(kYellow);
    NOTIFYICONDATAW record = {};
    {
        CShellIcon icon;
        ok(icon.Create(&mainWnd, kCallback, L"Wimmelpult", yellow, kId), "expected NIM_ADD to succeed, it failed");
        record = icon.m_iconData;
        ok(WaitShown(kYellow, true), "expected the icon in the notification area, found %d of its pixels",
           PixelsInTaskbar(kYellow));
        mainWnd.m_callbacks.clear();
        ClickIcon(3, 1, kYellow);
        ok(WaitFor([&] { return Has(mainWnd.m_callbacks, kId, WM_RBUTTONUP); }, kClickWaitMs),
           "expected WM_RBUTTONUP at the parent, got %u callbacks", unsigned(mainWnd.m_callbacks.size()));
        ok(icon.m_notes.empty(), "expected nothing at the own window, got %u", unsigned(icon.m_notes.size()));
    }
    ok_context("destruction");
    ok(WaitShown(kYellow, false), "expected the icon gone with the component, found %d of its pixels",
       PixelsInTaskbar(kYellow));
    record.uFlags = NIF_ICON;
    ok(!Shell_NotifyIconW(NIM_MODIFY, &record), "expected the shell to know the icon no longer, NIM_MODIFY succeeded");
    DestroyIcon(yellow);
}

}  // namespace

int main() {
    CWinApp app;
    CRecorderWnd mainWnd;
    mainWnd.Create("NotifyIconShellTest main", true, 100, 100);
    app.m_pMainWnd = &mainWnd;
    testutil::FlushMessages();

    ok_context("desktop");
    if (!ok(WaitFor([] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, 10000),
            "expected a Wine desktop with a taskbar within 10 s, found no Shell_TrayWnd"))
        return ok_summary();

    TestOwnWindow(mainWnd);
    TestParentWindow(mainWnd);

    app.m_pMainWnd = nullptr;
    return ok_summary();
}
