// Starts the real Wimmelpult.exe and works it through its controls like a
// user: its state after start, a retitle with a real timer tick, and ending.
#include <windows.h>
#include <commctrl.h>

#include "app/CWimmelpultDlg.h"
#include "icons/CIconChooserDlg.h"
#include "res/resource.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Process.h"
#include "tests/kit/Targets.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

using testutil::ChildProcess;
using testutil::StartProgram;
using testutil::WindowText;

namespace {

std::vector<COLORREF> ScreenPixels(HWND hWnd, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(hWnd, &pt);
    return testutil::GrabClient(nullptr, pt.x, pt.y, 32, 32);
}

void TestStartAndRetitle() {
    ok_context("start");
    ChildProcess target;
    ok(target.Start(testutil::BesideMe("TargetApp.exe"), "1 \"Fenster einer Anwendung\""),
       "expected the target to start, error %lu", GetLastError());
    HWND other = target.WaitWindow("WimmelpultTestTarget", "Fenster einer Anwendung", 10000);

    ChildProcess program;
    HWND dlg = StartProgram(program);
    if (!dlg || !other) return;
    HWND oldEdit = GetDlgItem(dlg, IDC_OLD_TITLE);
    HWND newEdit = GetDlgItem(dlg, IDC_NEW_TITLE);
    ok(WindowText(oldEdit).empty() && WindowText(newEdit).empty(), "expected both edits empty, got \"%s\" and \"%s\"",
       WindowText(oldEdit).c_str(), WindowText(newEdit).c_str());
    LRESULT update = SendMessageA(GetDlgItem(dlg, IDC_UPDATE), BM_GETCHECK, 0, 0);
    ok(update == BST_CHECKED, "expected A&ktualisieren ticked, state %d", static_cast<int>(update));
    LRESULT newIcon = SendMessageA(GetDlgItem(dlg, IDC_NEW_ICON), BM_GETCHECK, 0, 0);
    ok(newIcon == BST_UNCHECKED, "expected Neues S&ymbol not ticked, state %d", static_cast<int>(newIcon));
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui);
    ok(gui.hwndFocus == oldEdit, "expected the focus in edit %d (%p), got %p", IDC_OLD_TITLE, oldEdit, gui.hwndFocus);

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
    ok(IsWindowVisible(dlg), "expected the dialog to stay open after \"&Zuweisen\", found it hidden");

    SetWindowTextA(other, "Die Anwendung setzt ihren Titel");
    DWORD t0 = GetTickCount();
    testutil::WaitFor([&] { return WindowText(other) == "Umbenannt von au\xDF" "en"; }, 8000);
    DWORD waited = GetTickCount() - t0;
    ok(WindowText(other) == "Umbenannt von au\xDF" "en", "expected the caption put back by the timer, got \"%s\"",
       WindowText(other).c_str());
    ok(waited <= CWimmelpultDlg::kRetitlePeriodMs + 1000, "expected it back within one period (%u ms), took %lu ms",
       CWimmelpultDlg::kRetitlePeriodMs, waited);

    ok_context("enter and escape");
    testutil::PostKey(oldEdit, VK_RETURN);
    ok(!program.WaitExit(1000), "expected Enter to leave the program running, it ended");
    testutil::PostKey(oldEdit, VK_ESCAPE);
    DWORD code = 1234;
    ok(program.WaitExit(10000, &code), "expected Escape to end the program within 10 s, it runs on");
    ok(code == 0, "expected exit code 0, got %lu", code);
    ok(program.Windows().empty(), "expected no window left, found %u", static_cast<unsigned>(program.Windows().size()));
}

void TestCloseCommand() {
    ok_context("close command");
    ChildProcess program;
    HWND dlg = StartProgram(program);
    if (!dlg) return;
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1234;
    ok(program.WaitExit(10000, &code), "expected the Close command to end the program within 10 s, it runs on");
    ok(code == 0, "expected exit code 0, got %lu", code);
}

// A worker waits on a window of a program that hangs for good: ending the
// program must not wait for it.
void TestEndWhileWaiting() {
    ok_context("ending while a window hangs");
    ChildProcess target;
    std::vector<HWND> hung = testutil::StartTargets(target, 1, "Haengt fuer immer");
    ChildProcess program;
    HWND dlg = StartProgram(program);
    if (!dlg || !ok(hung.size() == 1 && testutil::MakeBusy(hung[0], INFINITE), "expected a hung target window"))
        return;
    HWND oldEdit = GetDlgItem(dlg, IDC_OLD_TITLE);
    SetWindowTextA(oldEdit, "haengt fuer immer");
    PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    ok(testutil::FlushOtherThread(oldEdit, 5000), "expected the dialog to take the click");
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD t0 = GetTickCount(), code = 1234;
    bool ended = program.WaitExit(1000, &code);
    ok(ended && code == 0, "expected the program to end within 1 s with code 0, %s after %lu ms (code %lu)",
       ended ? "ended" : "runs on", GetTickCount() - t0, code);
    target.Kill();
}

}  // namespace

int main() {
    testutil::InitDialogControls();
    TestStartAndRetitle();
    TestCloseCommand();
    TestEndWhileWaiting();
    return ok_summary();
}
