// CNotifyIcon in the real notification area of the Wine desktop, clicked with
// the real mouse. XDriver.sh runs this program and answers every
// "CLICK <button> <repeat> <rrggbb>" line it prints by clicking the icon of
// that colour with xdotool.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tests/ModalScript.h"
#include "tests/NotifyIconTestUtil.h"
#include "tests/TestUtil.h"
#include "tests/ok.h"
#include "tray/CNotifyIcon.h"

using testutil::FlushMessages;
using testutil::WaitFor;
using traytest::CRecorderWnd;
using traytest::MenuWatch;
using traytest::kCallback;
using traytest::kId;

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
    // The grabbed pixels are DIB-ordered: blue in the low byte.
    const COLORREF wanted = RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
    int count = 0;
    for (COLORREF p : pixels) count += p == wanted;
    return count;
}

bool Shown(COLORREF colour) { return PixelsInTaskbar(colour) >= 128; }

bool WaitShown(COLORREF colour, bool shown) {
    return WaitFor([=] { return Shown(colour) == shown; }, kScreenWaitMs);
}

// Asks the driving script for a click on the icon of this colour.
void RequestClick(int button, int repeat, COLORREF colour) {
    std::printf("CLICK %d %d %02x%02x%02x\n", button, repeat, GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
    std::fflush(stdout);
}

void TestOwnWindow(CRecorderWnd& mainWnd) {
    ok_context("own window");
    CShellIcon icon;
    HICON magenta = traytest::SolidIcon(kMagenta);
    HICON cyan = traytest::SolidIcon(kCyan);
    BOOL created = icon.Create(nullptr, kCallback, "Wimmelpult", magenta, kId);
    ok(created, "expected NIM_ADD to succeed in the Wine desktop");
    ok(WaitShown(kMagenta, true), "expected the icon in the notification area");

    ok_context("own window, right click");
    {
        MenuWatch watch;
        RequestClick(3, 1, kMagenta);
        ok(WaitFor([&] { return Has(icon.m_notes, kId, WM_RBUTTONUP) && watch.Count() == 1; }, kClickWaitMs),
           "expected WM_RBUTTONUP at the own window and a menu, got %u notifications, %u menus",
           unsigned(icon.m_notes.size()), unsigned(watch.Count()));
        for (const CRecorderWnd::Message& m : icon.m_notes)
            ok(m.wParam == kId, "expected every notification with wParam %u, got %u", kId, unsigned(m.wParam));
        if (watch.Count() == 1) {
            ok(watch.Last().defaultItem == ID_TRAY_RESTORE, "expected default item %u, got %u", ID_TRAY_RESTORE,
               watch.Last().defaultItem);
            ok(watch.Last().ids.size() == 2, "expected the two items of menu 637");
        }
        ok(mainWnd.m_callbacks.empty(), "expected nothing at the main window");
    }

    ok_context("own window, double click");
    mainWnd.m_commands.clear();
    RequestClick(1, 2, kMagenta);
    ok(WaitFor([&] { return !mainWnd.m_commands.empty(); }, kClickWaitMs), "expected a command");
    ok(Has(icon.m_notes, kId, WM_LBUTTONDBLCLK), "expected WM_LBUTTONDBLCLK at the own window");
    ok(mainWnd.m_commands.size() == 1 && mainWnd.m_commands[0].wParam == ID_TRAY_RESTORE,
       "expected WM_COMMAND %u at the main window", ID_TRAY_RESTORE);

    ok_context("ChangeIcon");
    ok(icon.ChangeIcon(cyan), "expected NIM_MODIFY to succeed");
    ok(WaitShown(kCyan, true) && WaitShown(kMagenta, false), "expected the cyan image instead of the magenta");

    ok_context("TaskbarCreated");
    NOTIFYICONDATAA record = icon.m_iconData;
    ok(Shell_NotifyIconA(NIM_DELETE, &record), "expected the icon removed behind the component's back");
    ok(WaitShown(kCyan, false), "expected the icon gone");
    record.uFlags = NIF_ICON;
    ok(!Shell_NotifyIconA(NIM_MODIFY, &record), "expected the shell to know the icon no longer");
    // Explorer's announcement after a restart reaches every top-level window,
    // the hidden one of the component too.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &answer);
    ok(WaitShown(kCyan, true), "expected the icon back, with its last image");
    ok(Shell_NotifyIconA(NIM_MODIFY, &record), "expected the shell to know the icon again");
    icon.m_notes.clear();
    RequestClick(1, 1, kCyan);
    ok(WaitFor([&] { return Has(icon.m_notes, kId, WM_LBUTTONUP); }, kClickWaitMs),
       "expected the callback message to reach the own window again");

    ok_context("animation");
    HICON red = traytest::SolidIcon(kRed);
    HICON green = traytest::SolidIcon(kGreen);
    HICON blue = traytest::SolidIcon(kBlue);
    ok(icon.StartAnimation({red, green, blue}, 1, 50, magenta), "expected the animation to start");
    ok(WaitShown(kRed, true) || WaitShown(kGreen, true) || WaitShown(kBlue, true), "expected a frame shown");
    ok(WaitFor([&] { return icon.m_nTimerId == 0; }, 10000), "expected the animation to end by itself");
    ok(WaitShown(kMagenta, true), "expected the restore icon shown");

    ok_context("DeleteIcon");
    icon.DeleteIcon();
    ok(WaitShown(kMagenta, false), "expected the icon gone");
    ok(!Shell_NotifyIconA(NIM_MODIFY, &record), "expected the shell to know the icon no longer");

    DestroyIcon(magenta);
    DestroyIcon(cyan);
    DestroyIcon(red);
    DestroyIcon(green);
    DestroyIcon(blue);
}

void TestParentWindow(CRecorderWnd& mainWnd) {
    ok_context("parent window");
    HICON yellow = traytest::SolidIcon(kYellow);
    NOTIFYICONDATAA record = {};
    {
        CShellIcon icon;
        ok(icon.Create(&mainWnd, kCallback, "Wimmelpult", yellow, kId), "expected NIM_ADD to succeed");
        record = icon.m_iconData;
        ok(WaitShown(kYellow, true), "expected the icon in the notification area");
        mainWnd.m_callbacks.clear();
        RequestClick(3, 1, kYellow);
        ok(WaitFor([&] { return Has(mainWnd.m_callbacks, kId, WM_RBUTTONUP); }, kClickWaitMs),
           "expected WM_RBUTTONUP at the parent, got %u callbacks", unsigned(mainWnd.m_callbacks.size()));
        ok(icon.m_notes.empty(), "expected nothing at the own window, got %u", unsigned(icon.m_notes.size()));
    }
    ok_context("destruction");
    ok(WaitShown(kYellow, false), "expected the icon gone with the component");
    record.uFlags = NIF_ICON;
    ok(!Shell_NotifyIconA(NIM_MODIFY, &record), "expected the shell to know the icon no longer");
    DestroyIcon(yellow);
}

}  // namespace

int main() {
    CWinApp app;
    CRecorderWnd mainWnd;
    mainWnd.Create("NotifyIconShellTest main", true, 100, 100);
    app.m_pMainWnd = &mainWnd;
    FlushMessages();

    ok_context("desktop");
    if (!ok(WaitFor([] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, 10000),
            "expected a Wine desktop with a taskbar"))
        return ok_summary();

    TestOwnWindow(mainWnd);
    TestParentWindow(mainWnd);

    app.m_pMainWnd = nullptr;
    return ok_summary();
}
