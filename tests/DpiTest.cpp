// The main dialog at a DPI (tools/at-dpi.sh) or moved to another: the preview
// lies whole, midway, in the free space below "&Minimieren" and above "Anderes &Symbol...",
// the tray icon has the small-icon size, the move follows the suggested rectangle,
// and moves one after another scale the controls from where they were made.
// The icon chooser there: every tab shows whole icons and scrolls one way only.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "icons/CIconChooserDlg.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/ok.h"

namespace {

// The box around the pixels in which two pictures cx wide differ.
RECT Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b, int cx) {
    RECT box = {cx, 1 << 20, -1, -1};
    for (int i = 0; i < static_cast<int>(a.size()); ++i) {
        RECT pixel = {i % cx, i / cx, i % cx + 1, i / cx + 1};
        if (a[i] != b[i]) UnionRect(&box, &box, &pixel);
    }
    return box;
}

// A control's place in the dialog's client area.
RECT Place(HWND dlg, HWND control) {
    RECT rc = {};
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void TestPreview(CWimmelpultDlg& dlg) {
    ok_context("preview");
    HWND h = dlg.m_hWnd;
    RECT client, inside;
    GetClientRect(h, &client);
    auto grab = [&](int icon) {   // -1: no preview
        dlg.m_iconChooser.m_chosenIcon = icon;
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return testutil::GrabClient(h, 0, 0, client.right, client.bottom);
    };
    std::vector<COLORREF> without = grab(-1);
    RECT painted = Differing(grab(0), without, client.right);
    auto item = [&](int id) { return Place(h, GetDlgItem(h, id)); };
    RECT free = {item(IDC_OLD_TITLE).right, item(IDC_MINIMIZE).bottom, client.right, item(IDC_CHANGE_ICON).top};
    ok(IntersectRect(&inside, &painted, &free) && EqualRect(&inside, &painted),
       "expected the preview's pixels in the free space (%ld,%ld)-(%ld,%ld), got (%ld,%ld)-(%ld,%ld)", free.left,
       free.top, free.right, free.bottom, painted.left, painted.top, painted.right, painted.bottom);

    // Whole: the 32 x 32 image.
    COLORREF back = testutil::SwapRedBlue(without[0]);
    HICON icon = ImageList_GetIcon(dlg.m_iconChooser.m_imageList.GetSafeHandle(), 0, ILD_NORMAL);
    auto want = testutil::Paint(32, 32, back, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL); });
    DestroyIcon(icon);
    RECT opaque = Differing(want, testutil::Paint(32, 32, back, [](HDC) {}), 32);   // where it is not see-through
    int x = painted.left - opaque.left, y = painted.top - opaque.top;
    int diff = testutil::CountDifferent(want, testutil::GrabClient(h, x, y, 32, 32));
    ok(diff == 0, "expected catalogue icon 0 whole at (%d, %d), %d of 1024 pixels differ", x, y, diff);
    ok(labs(2 * (y + 16) - free.top - free.bottom) <= 4,
       "expected its middle midway down the free space, %ld, to 2 pixels, got %d", (free.top + free.bottom) / 2, y + 16);
}

void MoveToDpi(CDialog& dlg, int control, UINT from, UINT to) {
    ok_context("moved to another DPI");
    HWND edit = GetDlgItem(dlg.m_hWnd, control);
    LOGFONTA before = {}, after = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof before, &before);
    RECT suggested = {}, now = {}, client = {}, was = {};
    GetClientRect(dlg.m_hWnd, &was);
    GetWindowRect(dlg.m_hWnd, &suggested);
    suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, to, from);
    suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, to, from);
    SendMessageA(dlg.m_hWnd, CDialog::kDpiChanged, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(dlg.m_hWnd, &now);
    GetClientRect(dlg.m_hWnd, &client);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof after, &after);
    // The frame keeps its size under Wine: the window holds the scaled client area.
    const long cx = MulDiv(was.right, to, from), cy = MulDiv(was.bottom, to, from);
    ok(now.left == suggested.left && now.top == suggested.top && labs(client.right - cx) <= 1 &&
           labs(client.bottom - cy) <= 1,
       "expected the window at (%ld,%ld) with a client area of %ldx%ld, got (%ld,%ld) and %ldx%ld", suggested.left,
       suggested.top, cx, cy, now.left, now.top, client.right, client.bottom);
    ok(labs(after.lfHeight) == MulDiv(labs(before.lfHeight), to, from), "expected the font %d high, got %ld",
       MulDiv(labs(before.lfHeight), to, from), labs(after.lfHeight));
}

// Every move scales the layout the dialog was made with, so rounding does
// not add up from one move to the next.
void TestDpiMoves(CDialog& dlg) {
    ok_context("DPI moves");
    const int base = static_cast<int>(dlg.LayoutDpi());
    std::vector<HWND> controls;
    std::vector<RECT> made;
    for (HWND child = GetWindow(dlg.m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
        made.push_back(Place(dlg.m_hWnd, child));
    }
    for (int dpi : {120, 144, 168, 96, 192, 120, base}) {
        RECT suggested = {};
        GetWindowRect(dlg.m_hWnd, &suggested);
        SendMessageW(dlg.m_hWnd, CDialog::kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        int off = 0;
        for (size_t i = 0; i < made.size(); ++i) {
            const RECT& m = made[i];
            const int x = MulDiv(m.left, dpi, base), y = MulDiv(m.top, dpi, base);
            RECT want = {x, y, x + MulDiv(m.right - m.left, dpi, base), y + MulDiv(m.bottom - m.top, dpi, base)},
                 now = Place(dlg.m_hWnd, controls[i]);
            off += !EqualRect(&want, &now);
        }
        ok(off == 0, "at %d DPI: expected %u controls scaled from %d DPI, %d are not", dpi, unsigned(made.size()),
           base, off);
    }
}

void TestChooser(CIconChooserDlg& dlg) {
    HWND list = GetDlgItem(dlg.m_hWnd, IDC_ICON_LIST), tab = GetDlgItem(dlg.m_hWnd, IDC_CATEGORY_TAB);
    for (int t = 0; t < 8; ++t) {
        ok_context("icon chooser, tab " + std::to_string(t));
        SendMessageA(tab, TCM_SETCURSEL, t, 0);
        NMHDR hdr = {tab, IDC_CATEGORY_TAB, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_CATEGORY_TAB, reinterpret_cast<LPARAM>(&hdr));
        RECT client, in;
        GetClientRect(list, &client);
        int seen = 0, cut = 0;
        for (int p = 0; p < SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++p) {
            RECT icon = {LVIR_ICON, 0, 0, 0};
            SendMessageA(list, LVM_GETITEMRECT, p, reinterpret_cast<LPARAM>(&icon));
            if (!IntersectRect(&in, &icon, &client)) continue;
            ++seen;
            cut += !EqualRect(&in, &icon);
        }
        ok(seen > 0 && cut == 0, "expected whole icons in view, %d of %d cut off", cut, seen);
        ok(!(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL), "expected no vertical scroll bar");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const UINT dpi = argc > 1 ? atoi(argv[1]) : 144, to = argc > 2 ? atoi(argv[2]) : dpi;
    if (!ok(CWnd::GetSystemDpi() == dpi, "expected a run at %u DPI, it is at %u", dpi, CWnd::GetSystemDpi()))
        return ok_summary();
    testutil::InitDialogControls();
    CWimmelpultDlg dlg;
    // The tray icon comes once the dialog shows.
    testutil::RunModal(dlg, {testutil::When([&] { return dlg.m_tray.m_iconData.hIcon != nullptr; }, [&] {
        SetFocus(GetDlgItem(dlg.m_hWnd, IDOK));   // no caret blinking in the grabs
        if (to != dpi) MoveToDpi(dlg, IDC_OLD_TITLE, dpi, to);
        TestPreview(dlg);
        ICONINFO info = {};
        BITMAP bm = {};
        GetIconInfo(dlg.m_tray.m_iconData.hIcon, &info);
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
        ok(bm.bmWidth == cx && bm.bmHeight == cy, "expected the tray icon %dx%d, got %ldx%ld", cx, cy, bm.bmWidth, bm.bmHeight);
        if (to == dpi) TestDpiMoves(dlg);
    })});
    CIconChooserDlg chooser;
    testutil::RunModal(chooser, [&] {
        if (to != dpi) MoveToDpi(chooser, IDC_CATEGORY_TAB, dpi, to);
        TestChooser(chooser);
    });
    return ok_summary();
}
