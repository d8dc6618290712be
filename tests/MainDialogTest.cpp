// The main dialog run inside the test process: its state after start, how it
// ends, its system menu, its preview and what repainting costs.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "framework/CWinApp.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/UserObjects.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

using testutil::ItemText;
using testutil::RunModal;

namespace {

void TestInitialState() {
    ok_context("initial state");
    CWimmelpultDlg dlg;
    ok(dlg.m_iconChooser.m_chosenIcon == 0, "expected chosen icon 0, got %d", dlg.m_iconChooser.m_chosenIcon);
    ok(ImageList_GetImageCount(dlg.m_iconChooser.m_imageList.GetSafeHandle()) == 483,
       "expected 483 catalogue images, got %d", ImageList_GetImageCount(dlg.m_iconChooser.m_imageList.GetSafeHandle()));
    ok(dlg.m_pTrayPopup != nullptr && GetMenuItemCount(dlg.m_pTrayPopup) == 2,
       "expected the tray popup loaded with 2 items, got %p with %d", dlg.m_pTrayPopup,
       dlg.m_pTrayPopup ? GetMenuItemCount(dlg.m_pTrayPopup) : -1);

    INT_PTR result = RunModal(dlg, [&] {
        HWND h = dlg.m_hWnd;
        char title[64] = {};
        GetWindowTextA(h, title, sizeof title);
        ok(strcmp(title, "Wimmelpult") == 0, "expected caption Wimmelpult, got %s", title);
        ok(ItemText(h, IDC_OLD_TITLE).empty() && ItemText(h, IDC_NEW_TITLE).empty(),
           "expected both edits empty, got \"%s\" and \"%s\"", ItemText(h, IDC_OLD_TITLE).c_str(),
           ItemText(h, IDC_NEW_TITLE).c_str());
        ok(IsDlgButtonChecked(h, IDC_UPDATE) == BST_CHECKED, "expected A&ktualisieren ticked, state %u",
           IsDlgButtonChecked(h, IDC_UPDATE));
        ok(IsDlgButtonChecked(h, IDC_NEW_ICON) == BST_UNCHECKED, "expected Neues S&ymbol not ticked, state %u",
           IsDlgButtonChecked(h, IDC_NEW_ICON));
        ok(dlg.m_bUpdate == 1 && dlg.m_bNewIcon == 0, "expected members 1/0, got %d/%d", dlg.m_bUpdate,
           dlg.m_bNewIcon);
        ok(GetFocus() == GetDlgItem(h, IDC_OLD_TITLE), "expected the focus in edit %d (%p), got %p", IDC_OLD_TITLE,
           GetDlgItem(h, IDC_OLD_TITLE), GetFocus());
        ok(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_APPWINDOW, "expected WS_EX_APPWINDOW, ex-style %#lx",
           GetWindowLongA(h, GWL_EXSTYLE));

        HICON big = reinterpret_cast<HICON>(SendMessageA(h, WM_GETICON, ICON_BIG, 0));
        HICON small = reinterpret_cast<HICON>(SendMessageA(h, WM_GETICON, ICON_SMALL, 0));
        ok(big == dlg.m_hIcon && small == dlg.m_hIcon, "expected icon %d (%p) big and small, got %p %p",
           IDR_MAINFRAME, dlg.m_hIcon, big, small);
        HICON drag = reinterpret_cast<HICON>(SendMessageA(h, WM_QUERYDRAGICON, 0, 0));
        ok(drag == dlg.m_hIcon, "expected the drag icon to be icon %d (%p), got %p", IDR_MAINFRAME, dlg.m_hIcon, drag);

        // The timer runs: killing it succeeds once; then it is put back.
        ok(KillTimer(h, CWimmelpultDlg::kRetitleTimerId), "expected timer %u to run, KillTimer failed",
           static_cast<unsigned>(CWimmelpultDlg::kRetitleTimerId));
        SetTimer(h, CWimmelpultDlg::kRetitleTimerId, CWimmelpultDlg::kRetitlePeriodMs, nullptr);

        // Opened over no owner: centred in the work area.
        RECT rc;
        GetWindowRect(h, &rc);
        int dx = 0, dy = 0;
        ok(testutil::CentredOn(rc, testutil::WorkArea(), &dx, &dy),
           "expected the dialog centred in the work area, off by %d,%d", dx, dy);
    });
    ok(result == IDCANCEL, "expected IDCANCEL, got %d", static_cast<int>(result));
}

void TestSystemMenu() {
    ok_context("system menu");
    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        HMENU menu = GetSystemMenu(dlg.m_hWnd, FALSE);
        int count = GetMenuItemCount(menu);
        auto has = [&](UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1); };
        // Restore, Size and Maximize stood at positions 0, 2 and 4.
        ok(!has(SC_RESTORE) && !has(SC_SIZE) && !has(SC_MAXIMIZE),
           "expected Restore, Size and Maximize gone, found %d %d %d", has(SC_RESTORE), has(SC_SIZE),
           has(SC_MAXIMIZE));
        ok(has(SC_MOVE) && has(SC_MINIMIZE) && has(SC_CLOSE), "expected Move, Minimize and Close kept, found %d %d %d",
           has(SC_MOVE), has(SC_MINIMIZE), has(SC_CLOSE));
        ok(GetMenuItemID(menu, 0) == SC_MOVE && GetMenuItemID(menu, 1) == SC_MINIMIZE,
           "expected Move and Minimize first, got 0x%x 0x%x", GetMenuItemID(menu, 0), GetMenuItemID(menu, 1));
        if (!ok(count >= 2, "expected items, got %d", count)) return;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, count - 2, TRUE, &info);
        ok(info.fType & MFT_SEPARATOR, "expected a separator before the last item, type %#x", info.fType);
        ok(GetMenuItemID(menu, count - 1) == IDM_ABOUTBOX, "expected command %#x last, got %#x", IDM_ABOUTBOX,
           GetMenuItemID(menu, count - 1));
        char text[64] = {};
        GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        ok(strcmp(text, "Inf&o \xFC" "ber WMPT...") == 0, "expected the About entry, got \"%s\"", text);
    });
}

void TestPreview() {
    ok_context("preview");
    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HICON icon0 = ImageList_GetIcon(dlg.m_iconChooser.m_imageList.GetSafeHandle(), 0, ILD_NORMAL);
        std::vector<COLORREF> want = testutil::RenderIcon(icon0, GetSysColor(COLOR_BTNFACE));
        DestroyIcon(icon0);
        std::vector<COLORREF> got = testutil::GrabClient(dlg.m_hWnd, 325, 70, 32, 32);
        int diff = testutil::CountDifferent(want, got);
        ok(diff == 0, "expected catalogue icon 0 at (325, 70), %d of 1024 pixels differ", diff);

        // Another index is painted at once after a repaint.
        dlg.m_iconChooser.m_chosenIcon = 300;
        RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HICON icon300 = ImageList_GetIcon(dlg.m_iconChooser.m_imageList.GetSafeHandle(), 300, ILD_NORMAL);
        want = testutil::RenderIcon(icon300, GetSysColor(COLOR_BTNFACE));
        DestroyIcon(icon300);
        got = testutil::GrabClient(dlg.m_hWnd, 325, 70, 32, 32);
        diff = testutil::CountDifferent(want, got);
        ok(diff == 0, "expected catalogue icon 300 after repaint, %d pixels differ", diff);
    });
}

void TestRepaintCostsNoHandles() {
    ok_context("repaint");
    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        testutil::UserObjects before = testutil::CountUserObjects();
        for (int i = 0; i < 10000; ++i) RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        testutil::UserObjects after = testutil::CountUserObjects();
        ok(after.count <= before.count, "expected no USER object per repaint, %s, then %s", before.counted.c_str(),
           after.counted.c_str());
    });
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

void TestEnding() {
    {
        ok_context("enter keeps the dialog, escape ends it");
        CWimmelpultDlg dlg;
        HWND edit = nullptr;
        INT_PTR result = RunModal(dlg, {
            [&] {
                edit = GetDlgItem(dlg.m_hWnd, IDC_OLD_TITLE);
                testutil::PostKey(edit, VK_RETURN);
            },
            [&] {
                ok(IsWindowVisible(dlg.m_hWnd), "expected the dialog open after Enter, found it hidden");
                testutil::PostKey(edit, VK_ESCAPE);
            },
            [&] { ok(false, "expected Escape to have ended the dialog, found it open"); },
        });
        ok(result == IDCANCEL, "expected IDCANCEL from Escape, got %d", static_cast<int>(result));
    }
    {
        ok_context("close command");
        CWimmelpultDlg dlg;
        INT_PTR result = RunModal(dlg, {
            [&] { PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
            [&] { ok(false, "expected the Close command to have ended the dialog, found it open"); },
        });
        ok(result == IDCANCEL, "expected IDCANCEL from Close, got %d", static_cast<int>(result));
    }
    {
        ok_context("F1 without a help file");
        CWimmelpultDlg dlg;
        int before = 0;
        auto countWindows = [] {
            int n = 0;
            EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&n));
            return n;
        };
        RunModal(dlg, {
            // The tray icon's window comes once the dialog shows.
            testutil::When([&] { return dlg.m_tray.m_hWnd != nullptr; }, [&] {
                ok(GetFileAttributesW(CWinApp::HelpFilePath().c_str()) == INVALID_FILE_ATTRIBUTES,
                   "expected no help file beside the program, found %ls", CWinApp::HelpFilePath().c_str());
                before = countWindows();
                testutil::PostKey(GetDlgItem(dlg.m_hWnd, IDC_OLD_TITLE), VK_F1);
            }),
            [&] {
                // F1 and all it posted in turn have been handled once the marker is through.
                testutil::FlushMessages();
                ok(IsWindowVisible(dlg.m_hWnd) && IsWindowEnabled(dlg.m_hWnd),
                   "expected the dialog still open and enabled, visible %d, enabled %d",
                   IsWindowVisible(dlg.m_hWnd), IsWindowEnabled(dlg.m_hWnd));
                ok(countWindows() == before, "expected no new window, had %d, now %d", before, countWindows());
            },
        });
    }
}

}  // namespace

int main() {
    testutil::InitDialogControls();
    TestInitialState();
    TestSystemMenu();
    TestPreview();
    TestRepaintCostsNoHandles();
    TestEnding();
    return ok_summary();
}
