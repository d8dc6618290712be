// The main dialog at the DPI given as argument, in a prefix set to it by
// tools/at-dpi.sh: the preview lies whole in the free space below
// "&Minimieren" and above "Anderes &Symbol...", and nowhere else; the tray
// icon has the small-icon size of that DPI.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "app/CWimmelpultDlg.h"
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

void TestPreview(CWimmelpultDlg& dlg) {
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
    auto item = [&](int id) {
        RECT rc = {};
        GetWindowRect(GetDlgItem(h, id), &rc);
        MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
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
}

}  // namespace

int main(int argc, char** argv) {
    const UINT dpi = argc > 1 ? atoi(argv[1]) : 144;
    if (!ok(CWnd::GetSystemDpi() == dpi, "expected a run at %u DPI, it is at %u", dpi, CWnd::GetSystemDpi()))
        return ok_summary();
    testutil::InitDialogControls();
    CWimmelpultDlg dlg;
    testutil::RunModal(dlg, [&] {
        SetFocus(GetDlgItem(dlg.m_hWnd, IDOK));   // no caret blinking in the grabs
        TestPreview(dlg);
        ICONINFO info = {};
        BITMAP bm = {};
        GetIconInfo(dlg.m_tray.m_iconData.hIcon, &info);
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
        ok(bm.bmWidth == cx && bm.bmHeight == cy, "expected the tray icon %dx%d, got %ldx%ld", cx, cy, bm.bmWidth, bm.bmHeight);
    });
    return ok_summary();
}
