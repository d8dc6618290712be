// Starts the real Wimmelpult.exe and works it through its controls like a
// user: its state after start, a retitle with a real timer tick, and ending.
#include <windows.h>
#include <commctrl.h>

#include "icons/CIconChooserDlg.h"
#include "res/resource.h"
#include "tests/ModalScript.h"
#include "tests/Process.h"
#include "tests/TestUtil.h"
#include "tests/ok.h"

using testutil::ChildProcess;
using testutil::WindowText;

namespace {

HWND StartProgram(ChildProcess& program) {
    if (!ok(program.Start(testutil::BesideMe("Wimmelpult.exe")), "expected Wimmelpult.exe to start")) return nullptr;
    HWND dlg = program.WaitWindow("#32770", "Wimmelpult", 15000);
    if (!ok(dlg != nullptr, "expected the dialog \"Wimmelpult\"")) return nullptr;
    testutil::WaitFor([&] { return IsWindowVisible(dlg) != FALSE; }, 5000);
    ok(IsWindowVisible(dlg), "expected the dialog shown");
    return dlg;
}

std::vector<COLORREF> ScreenPixels(HWND hWnd, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(hWnd, &pt);
    return testutil::GrabClient(nullptr, pt.x, pt.y, 32, 32);
}

void TestStartAndRetitle() {
    ok_context("start");
    ChildProcess target;
    ok(target.Start(testutil::BesideMe("TargetApp.exe"), "1 \"Fenster einer Anwendung\""), "expected the target");
    HWND other = target.WaitWindow("WimmelpultTestTarget", "Fenster einer Anwendung", 10000);

    ChildProcess program;
    HWND dlg = StartProgram(program);
    if (!dlg || !other) return;
    HWND oldEdit = GetDlgItem(dlg, IDC_OLD_TITLE);
    HWND newEdit = GetDlgItem(dlg, IDC_NEW_TITLE);
    ok(WindowText(oldEdit).empty() && WindowText(newEdit).empty(), "expected both edits empty");
    ok(SendMessageA(GetDlgItem(dlg, IDC_UPDATE), BM_GETCHECK, 0, 0) == BST_CHECKED, "expected A&ktualisieren ticked");
    ok(SendMessageA(GetDlgItem(dlg, IDC_NEW_ICON), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
       "expected Neues S&ymbol not ticked");
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui);
    ok(gui.hwndFocus == oldEdit, "expected the focus in edit 1000, got %p", gui.hwndFocus);

    ok_context("preview");
    {
        CIconChooserDlg catalogue;
        HICON icon0 = ImageList_GetIcon(catalogue.m_imageList.GetSafeHandle(), 0, ILD_NORMAL);
        std::vector<COLORREF> want = testutil::RenderIcon(icon0, GetSysColor(COLOR_BTNFACE));
        DestroyIcon(icon0);
        int diff = testutil::CountDifferent(want, ScreenPixels(dlg, 325, 70));
        ok(diff == 0, "expected catalogue icon 0 at (325, 70), %d of 1024 pixels differ", diff);
    }

    ok_context("retitle and a real tick");
    SendMessageA(oldEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("EINER anwendung"));
    SendMessageA(newEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Umbenannt von au\xDF" "en"));
    PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    testutil::WaitFor([&] { return WindowText(other) == "Umbenannt von au\xDF" "en"; }, 5000);
    ok(WindowText(other) == "Umbenannt von au\xDF" "en", "expected the target renamed, got \"%s\"",
       WindowText(other).c_str());
    ok(IsWindowVisible(dlg), "expected the dialog to stay open after \"&Zuweisen\"");

    SetWindowTextA(other, "Die Anwendung setzt ihren Titel");
    DWORD t0 = GetTickCount();
    testutil::WaitFor([&] { return WindowText(other) == "Umbenannt von au\xDF" "en"; }, 8000);
    DWORD waited = GetTickCount() - t0;
    ok(WindowText(other) == "Umbenannt von au\xDF" "en", "expected the caption put back by the timer, got \"%s\"",
       WindowText(other).c_str());
    ok(waited <= 3000 + 1000, "expected it back within one period, took %lu ms", waited);

    ok_context("enter and escape");
    PostMessageA(oldEdit, WM_KEYDOWN, VK_RETURN, 0x1C0001);
    PostMessageA(oldEdit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    ok(!program.WaitExit(1000), "expected Enter to leave the program running");
    PostMessageA(oldEdit, WM_KEYDOWN, VK_ESCAPE, 0x10001);
    DWORD code = 1234;
    ok(program.WaitExit(10000, &code), "expected Escape to end the program");
    ok(code == 0, "expected exit code 0, got %lu", code);
    ok(program.Windows().empty(), "expected no window left");
}

void TestCloseCommand() {
    ok_context("close command");
    ChildProcess program;
    HWND dlg = StartProgram(program);
    if (!dlg) return;
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1234;
    ok(program.WaitExit(10000, &code), "expected the Close command to end the program");
    ok(code == 0, "expected exit code 0, got %lu", code);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    TestStartAndRetitle();
    TestCloseCommand();
    return ok_summary();
}
