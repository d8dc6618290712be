// The icon chooser inside the test process: what it shows when it opens, the
// icons of each tab, how its buttons and keys end it, how the main dialog
// takes its choice, the About box over it, and the catalogue it leaves behind.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "framework/CWinApp.h"
#include "icons/CIconChooserDlg.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Sequence.h"
#include "tests/kit/Texts.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

using testutil::Centre;
using testutil::CentredOn;
using testutil::FindThreadWindow;
using testutil::Gone;
using testutil::ItemText;
using testutil::PostButton;
using testutil::PostClick;
using testutil::PostKey;
using testutil::RunModal;
using testutil::Shown;
using testutil::When;
using testutil::WorkArea;
using testutil::kAboutTitle;
using testutil::kChooserTitle;

namespace {

// The main window decides who owns the chooser and the About box.
CWinApp g_app;

// The categories as the user sees them, tab by tab.
struct TabCase {
    const char* caption;
    int first1, last1;
    int first2, last2;   // no second range: last2 < first2
    int count;
};
const TabCase kTabs[] = {
    {"Standard", 0, 39, 0, -1, 40},      {"Cartoons", 158, 222, 0, -1, 65},
    {"Star Wars", 62, 89, 0, -1, 28},    {"Star Trek", 90, 157, 0, -1, 68},
    {"Nahrung", 358, 439, 0, -1, 82},    {"Gesichter", 223, 279, 0, -1, 57},
    {"Tiere", 280, 357, 0, -1, 78},      {"Sonstige", 40, 61, 440, 482, 65},
};

std::vector<int> Expected(const TabCase& tab) {
    std::vector<int> out;
    for (int i = tab.first1; i <= tab.last1; ++i) out.push_back(i);
    for (int i = tab.first2; i <= tab.last2; ++i) out.push_back(i);
    return out;
}

struct Item {
    int data;
    int image;
    std::string text;
};

std::vector<Item> ListItems(HWND list) {
    std::vector<Item> out;
    int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int p = 0; p < n; ++p) {
        char text[64] = "unread";
        LVITEMA item = {};
        item.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_TEXT;
        item.iItem = p;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        out.push_back({static_cast<int>(item.lParam), item.iImage, item.pszText ? item.pszText : "(null)"});
    }
    return out;
}

std::string TabText(HWND tab, int t) {
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!SendMessageA(tab, TCM_GETITEMA, t, reinterpret_cast<LPARAM>(&item))) return "(none)";
    return item.pszText;
}

HWND List(HWND dlg) { return GetDlgItem(dlg, IDC_ICON_LIST); }
HWND Tab(HWND dlg) { return GetDlgItem(dlg, IDC_CATEGORY_TAB); }

int Selected(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }
int SelectedCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

// TCM_SETCURSEL does not notify; the user's click does, so the notification
// is sent as the control would send it.
void SelectTabByMessage(HWND dlg, int t) {
    HWND tab = Tab(dlg);
    SendMessageA(tab, TCM_SETCURSEL, t, 0);
    NMHDR hdr = {tab, IDC_CATEGORY_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dlg, WM_NOTIFY, IDC_CATEGORY_TAB, reinterpret_cast<LPARAM>(&hdr));
}

// A click on tab t, as the mouse gives it.
void PostTabClick(HWND dlg, int t) {
    RECT rc = {};
    SendMessageA(Tab(dlg), TCM_GETITEMRECT, t, reinterpret_cast<LPARAM>(&rc));
    PostClick(Tab(dlg), Centre(rc));
}

RECT IconRect(HWND list, int p) {
    RECT rc = {};
    rc.left = LVIR_ICON;
    SendMessageA(list, LVM_GETITEMRECT, p, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

// Where the icon of item p shows, scrolled into view as the user would: an
// icon cell is taller than the list, so making the whole item visible is not
// enough.
RECT ItemIconRect(HWND list, int p) {
    SendMessageA(list, LVM_ENSUREVISIBLE, p, FALSE);
    RECT client = {};
    GetClientRect(list, &client);
    RECT rc = IconRect(list, p);
    if (rc.top < client.top || rc.bottom > client.bottom) {
        SendMessageA(list, LVM_SCROLL, 0, rc.top - 2);
        rc = IconRect(list, p);
    }
    return rc;
}

void PostItemClick(HWND list, int p) { PostClick(list, Centre(ItemIconRect(list, p))); }

void SelectItem(HWND list, int p) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, p, reinterpret_cast<LPARAM>(&item));
}

// A catalogue image as DrawIcon paints it on the dialog's face colour.
std::vector<COLORREF> CatalogueImage(HIMAGELIST catalogue, int index) {
    HICON icon = ImageList_GetIcon(catalogue, index, ILD_NORMAL);
    std::vector<COLORREF> pixels = testutil::RenderIcon(icon, GetSysColor(COLOR_BTNFACE));
    DestroyIcon(icon);
    return pixels;
}

// The preview at client (325, 70) of the main dialog.
std::vector<COLORREF> Preview(HWND main) { return testutil::GrabClient(main, 325, 70, 32, 32); }

const COLORREF kMarker = RGB(255, 0, 255);

// Paints over the preview behind the dialog's back: only a repaint of the
// dialog removes it again.
void PaintMarker(HWND main) {
    HDC dc = GetDC(main);
    HBRUSH brush = CreateSolidBrush(kMarker);
    RECT rc = {325, 70, 325 + 32, 70 + 32};
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    ReleaseDC(main, dc);
}

bool MarkerIntact(HWND main) {
    std::vector<COLORREF> marker(32 * 32, kMarker);
    return testutil::CountDifferent(Preview(main), marker) == 0;
}

// ---------------------------------------------------------------------------

void TestOpening() {
    ok_context("opening");
    g_app.m_pMainWnd = nullptr;
    CIconChooserDlg dlg;
    dlg.m_chosenIcon = 17;
    INT_PTR result = RunModal(dlg, [&] {
        HWND h = dlg.m_hWnd;
        char title[64] = {};
        GetWindowTextA(h, title, sizeof title);
        ok(strcmp(title, kChooserTitle) == 0, "expected caption \"%s\", got \"%s\"", kChooserTitle, title);

        HWND tab = Tab(h);
        int tabs = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        ok(tabs == 8, "expected 8 tabs, got %d", tabs);
        for (int t = 0; t < 8; ++t) {
            std::string text = TabText(tab, t);
            ok(text == kTabs[t].caption, "expected tab %d \"%s\", got \"%s\"", t, kTabs[t].caption, text.c_str());
        }
        int cur = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
        ok(cur == 0, "expected tab 0 selected, got %d", cur);

        HWND list = List(h);
        LONG style = GetWindowLongA(list, GWL_STYLE);
        ok((style & LVS_TYPEMASK) == LVS_ICON, "expected large-icon mode, style 0x%lx", style);
        HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
        ok(normal == dlg.m_imageList.GetSafeHandle(), "expected the catalogue %p as the normal image list, got %p",
           dlg.m_imageList.GetSafeHandle(), normal);

        std::vector<Item> items = ListItems(list);
        ok(items.size() == 40, "expected 40 icons of \"Standard\", got %d", static_cast<int>(items.size()));
        for (size_t p = 0; p < items.size(); ++p)
            ok(items[p].text.empty(), "expected item %d without text, got \"%s\"", static_cast<int>(p),
               items[p].text.c_str());
        ok(SelectedCount(list) == 0, "expected no icon selected, got %d", SelectedCount(list));
        ok(GetFocus() == GetDlgItem(h, IDOK), "expected the focus on &OK, got %p", GetFocus());

        int dx = 0, dy = 0;
        RECT rc;
        GetWindowRect(h, &rc);
        ok(GetWindow(h, GW_OWNER) == nullptr, "expected no owner without a main window, got %p",
           GetWindow(h, GW_OWNER));
        ok(CentredOn(rc, WorkArea(), &dx, &dy), "expected the chooser centred in the work area, off by %d,%d", dx,
           dy);
    });
    ok(result == IDCANCEL, "expected IDCANCEL at the end, got %d", static_cast<int>(result));
    ok(dlg.m_chosenIcon == 17, "expected the chosen icon kept at 17, got %d", dlg.m_chosenIcon);
}

void TestCategories() {
    ok_context("categories");
    g_app.m_pMainWnd = nullptr;
    CIconChooserDlg dlg;
    std::vector<int> seen(483, 0);
    // Out of order, alternating a click on the tab and the notification.
    const int order[] = {7, 1, 4, 0, 2, 5, 3, 6};
    std::vector<testutil::Step> steps;
    for (size_t k = 0; k < 8; ++k) {
        int t = order[k];
        bool byClick = k % 2 == 0;
        steps.push_back([&dlg, t, byClick] {
            if (byClick) PostTabClick(dlg.m_hWnd, t);
            else SelectTabByMessage(dlg.m_hWnd, t);
        });
        steps.push_back([&dlg, &seen, t, byClick] {
            char label[64];
            snprintf(label, sizeof label, "tab %d \"%s\" by %s", t, kTabs[t].caption,
                     byClick ? "click" : "notification");
            ok_context(label);
            int cur = static_cast<int>(SendMessageA(Tab(dlg.m_hWnd), TCM_GETCURSEL, 0, 0));
            ok(cur == t, "expected tab %d current, got %d", t, cur);
            std::vector<Item> items = ListItems(List(dlg.m_hWnd));
            std::vector<int> want = Expected(kTabs[t]);
            if (!ok(static_cast<int>(items.size()) == kTabs[t].count && items.size() == want.size(),
                    "expected %d icons (%u in the table), got %u", kTabs[t].count,
                    static_cast<unsigned>(want.size()), static_cast<unsigned>(items.size())))
                return;
            int wrong = 0;
            for (size_t p = 0; p < items.size(); ++p) {
                if (items[p].data != want[p] || items[p].image != want[p] || !items[p].text.empty()) {
                    if (++wrong <= 3)
                        ok(false, "item %d: expected data and image %d, no text; got %d, %d, \"%s\"",
                           static_cast<int>(p), want[p], items[p].data, items[p].image, items[p].text.c_str());
                }
                if (items[p].data >= 0 && items[p].data < 483) ++seen[items[p].data];
            }
            ok(wrong == 0, "expected every item in place, %d wrong", wrong);
            ok(SelectedCount(List(dlg.m_hWnd)) == 0, "expected no selection after the tab change, got %d selected",
               SelectedCount(List(dlg.m_hWnd)));
        });
    }
    RunModal(dlg, steps);

    ok_context("categories together");
    int missing = 0, twice = 0;
    for (int i = 0; i < 483; ++i) {
        missing += seen[i] == 0;
        twice += seen[i] > 1;
    }
    ok(missing == 0 && twice == 0, "expected all 483 icons once, %d missing, %d more than once", missing, twice);
}

void TestChoosing() {
    g_app.m_pMainWnd = nullptr;
    {
        ok_context("third icon of Cartoons");
        CIconChooserDlg dlg;
        dlg.m_chosenIcon = 0;
        INT_PTR result = RunModal(dlg, {
            [&] { PostTabClick(dlg.m_hWnd, 1); },
            [&] { PostItemClick(List(dlg.m_hWnd), 2); },
            [&] {
                int sel = Selected(List(dlg.m_hWnd));
                ok(sel == 2, "expected the third icon selected by the click, got %d", sel);
                PostButton(dlg.m_hWnd, IDOK);
            },
            [&] { ok(false, "expected &OK to have ended the chooser, it is still open"); },
        });
        ok(result == IDOK, "expected IDOK, got %d", static_cast<int>(result));
        ok(dlg.m_chosenIcon == 160, "expected icon 160, got %d", dlg.m_chosenIcon);
    }
    {
        ok_context("OK with nothing selected");
        CIconChooserDlg dlg;
        dlg.m_chosenIcon = 33;
        INT_PTR result = RunModal(dlg, {
            [&] { PostButton(dlg.m_hWnd, IDOK); },
            [&] { ok(false, "expected &OK to have ended the chooser, it is still open"); },
        });
        ok(result == IDOK, "expected IDOK, got %d", static_cast<int>(result));
        ok(dlg.m_chosenIcon == -1, "expected -1, got %d", dlg.m_chosenIcon);
    }

    // Each way of cancelling, after an earlier OK chose icon 160 and with a
    // different icon selected now.
    struct Cancel {
        const char* label;
        void (*act)(HWND dlg);
    };
    const Cancel cancels[] = {
        {"&Abbrechen", [](HWND h) { PostButton(h, IDCANCEL); }},
        {"Escape", [](HWND h) { PostKey(List(h), VK_ESCAPE); }},
        {"close box", [](HWND h) { PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Cancel& cancel : cancels) {
        ok_context(std::string("cancel by ") + cancel.label);
        CIconChooserDlg dlg;
        dlg.m_chosenIcon = 0;
        RunModal(dlg, {
            [&] { SelectTabByMessage(dlg.m_hWnd, 1); },
            [&] { SelectItem(List(dlg.m_hWnd), 2); PostButton(dlg.m_hWnd, IDOK); },
        });
        ok(dlg.m_chosenIcon == 160, "expected icon 160 from the first opening, got %d", dlg.m_chosenIcon);
        INT_PTR result = RunModal(dlg, {
            [&] { PostItemClick(List(dlg.m_hWnd), 7); },
            [&] {
                ok(Selected(List(dlg.m_hWnd)) == 7, "expected icon 7 selected before cancelling, got %d",
                   Selected(List(dlg.m_hWnd)));
                cancel.act(dlg.m_hWnd);
            },
            [&] { ok(false, "expected the chooser to have ended, it is still open"); },
        });
        ok(result == IDCANCEL, "expected IDCANCEL, got %d", static_cast<int>(result));
        ok(dlg.m_chosenIcon == 160, "expected icon 160 kept, got %d", dlg.m_chosenIcon);
    }
    {
        ok_context("tab change clears the selection");
        CIconChooserDlg dlg;
        INT_PTR result = RunModal(dlg, {
            [&] { PostItemClick(List(dlg.m_hWnd), 4); },
            [&] {
                ok(Selected(List(dlg.m_hWnd)) == 4, "expected icon 4 selected, got %d", Selected(List(dlg.m_hWnd)));
                PostTabClick(dlg.m_hWnd, 2);
            },
            [&] {
                ok(SelectedCount(List(dlg.m_hWnd)) == 0, "expected nothing selected on \"Star Wars\", got %d",
                   SelectedCount(List(dlg.m_hWnd)));
                PostTabClick(dlg.m_hWnd, 0);
            },
            [&] {
                ok(SelectedCount(List(dlg.m_hWnd)) == 0, "expected nothing selected back on \"Standard\", got %d",
                   SelectedCount(List(dlg.m_hWnd)));
                PostButton(dlg.m_hWnd, IDOK);
            },
        });
        ok(result == IDOK, "expected IDOK, got %d", static_cast<int>(result));
        ok(dlg.m_chosenIcon == -1, "expected -1 after the tab change, got %d", dlg.m_chosenIcon);
    }
    {
        ok_context("double click only selects; Enter acts as OK");
        CIconChooserDlg dlg;
        INT_PTR result = RunModal(dlg, {
            [&] { PostTabClick(dlg.m_hWnd, 6); },
            [&] {
                HWND list = List(dlg.m_hWnd);
                LPARAM at = MAKELPARAM(Centre(ItemIconRect(list, 9)).x, Centre(ItemIconRect(list, 9)).y);
                PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
                PostMessageA(list, WM_LBUTTONUP, 0, at);
                PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                PostMessageA(list, WM_LBUTTONUP, 0, at);
            },
            [&] {
                HWND list = List(dlg.m_hWnd);
                ok(IsWindowVisible(dlg.m_hWnd), "expected the chooser open after the double click, it is hidden");
                ok(Selected(list) == 9 && SelectedCount(list) == 1, "expected icon 9 alone selected, got %d of %d",
                   Selected(list), SelectedCount(list));
                ok(GetFocus() == list, "expected the focus in the list %p after the click, got %p", list, GetFocus());
                PostKey(list, VK_RETURN);
            },
            [&] { ok(false, "expected Enter to have ended the chooser, it is still open"); },
        });
        ok(result == IDOK, "expected IDOK from Enter, got %d", static_cast<int>(result));
        ok(dlg.m_chosenIcon == 289, "expected icon 289 (tenth of \"Tiere\"), got %d", dlg.m_chosenIcon);
    }
    {
        ok_context("tab number outside 0-7");
        CIconChooserDlg dlg;
        RunModal(dlg, [&] {
            HWND list = List(dlg.m_hWnd);
            const int bad[] = {8, -1, 100, -2147483647 - 1, 2147483647};
            for (int t : bad) {
                dlg.FillCategory(7);
                dlg.FillCategory(t);
                int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
                ok(n == 0, "expected an empty list for tab %d, got %d items", t, n);
            }
            dlg.FillCategory(7);
            int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            ok(n == 65, "expected 65 items for tab 7 afterwards, got %d", n);
        });
    }
}

// ---------------------------------------------------------------------------
// Through the main dialog.

void TestFromMainDialogConfirm() {
    ok_context("main dialog: confirm with an icon");
    CWimmelpultDlg dlg;
    g_app.m_pMainWnd = &dlg;
    HWND chooser = nullptr;
    HIMAGELIST catalogue = dlg.m_iconChooser.m_imageList.GetSafeHandle();
    RunModal(dlg, {
        [&] {
            HWND h = dlg.m_hWnd;
            SetDlgItemTextA(h, IDC_OLD_TITLE, "alter titel");
            SetDlgItemTextA(h, IDC_NEW_TITLE, "Neuer Titel");
            // Ticked and cleared again by the user.
            SendMessageA(GetDlgItem(h, IDC_NEW_ICON), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(h, IDC_NEW_ICON), BM_CLICK, 0, 0);
            ok(IsDlgButtonChecked(h, IDC_NEW_ICON) == BST_UNCHECKED, "expected Neues S&ymbol cleared, got state %u",
               IsDlgButtonChecked(h, IDC_NEW_ICON));
            // Off the middle of the work area, so that centring over the
            // owner is told apart from centring in the work area.
            SetWindowPos(h, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            PaintMarker(h);
            ok(MarkerIntact(h), "expected the marker painted, %d of 1024 pixels differ",
               testutil::CountDifferent(Preview(h), std::vector<COLORREF>(32 * 32, kMarker)));
            PostButton(h, IDC_CHANGE_ICON);
        },
        When(Shown(dlg.m_iconChooser), [&] {
            chooser = FindThreadWindow(kChooserTitle);
            ok(chooser != nullptr && chooser == dlg.m_iconChooser.m_hWnd, "expected the chooser %p open, found %p",
               dlg.m_iconChooser.m_hWnd, chooser);
            chooser = dlg.m_iconChooser.m_hWnd;
            ok(IsWindowEnabled(chooser), "expected the chooser enabled, it is disabled");
            ok(!IsWindowEnabled(dlg.m_hWnd), "expected the main dialog disabled under the chooser, it is enabled");
            ok(GetWindow(chooser, GW_OWNER) == dlg.m_hWnd, "expected the main dialog %p to own the chooser, got %p",
               dlg.m_hWnd, GetWindow(chooser, GW_OWNER));
            RECT main, rc;
            GetWindowRect(dlg.m_hWnd, &main);
            GetWindowRect(chooser, &rc);
            int dx = 0, dy = 0;
            ok(CentredOn(rc, main, &dx, &dy), "expected the chooser centred on the main dialog, off by %d,%d", dx, dy);
            PostTabClick(chooser, 1);
        }),
        [&] { PostItemClick(List(chooser), 2); },
        [&] {
            ok(Selected(List(chooser)) == 2, "expected the third icon selected, got %d", Selected(List(chooser)));
            PostButton(chooser, IDOK);
        },
        When(Gone(dlg.m_iconChooser), [&] {
            HWND h = dlg.m_hWnd;
            ok(!IsWindow(chooser), "expected the chooser window destroyed, it still exists");
            ok(IsWindowEnabled(h) && GetActiveWindow() == h,
               "expected the main dialog %p enabled and active, got enabled %d, active %p", h, IsWindowEnabled(h),
               GetActiveWindow());
            ok(dlg.m_iconChooser.m_chosenIcon == 160, "expected icon 160, got %d", dlg.m_iconChooser.m_chosenIcon);
            ok(IsDlgButtonChecked(h, IDC_NEW_ICON) == BST_CHECKED && dlg.m_bNewIcon == 1,
               "expected Neues S&ymbol ticked, got state %u, m_bNewIcon %d", IsDlgButtonChecked(h, IDC_NEW_ICON),
               dlg.m_bNewIcon);
            ok(ItemText(h, IDC_OLD_TITLE) == "alter titel" && ItemText(h, IDC_NEW_TITLE) == "Neuer Titel",
               "expected the edits kept, got \"%s\", \"%s\"", ItemText(h, IDC_OLD_TITLE).c_str(),
               ItemText(h, IDC_NEW_TITLE).c_str());
            // Only the paint the dialog asked for; nothing is invalidated here.
            UpdateWindow(h);
            int diff = testutil::CountDifferent(Preview(h), CatalogueImage(catalogue, 160));
            ok(diff == 0, "expected icon 160 in the preview at once, %d of 1024 pixels differ", diff);
        }),
    });
    g_app.m_pMainWnd = nullptr;
}

void TestFromMainDialogNothingSelected() {
    ok_context("main dialog: confirm with nothing selected");
    CWimmelpultDlg dlg;
    g_app.m_pMainWnd = &dlg;
    dlg.m_iconChooser.m_chosenIcon = 300;   // an earlier choice
    HIMAGELIST catalogue = dlg.m_iconChooser.m_imageList.GetSafeHandle();
    RunModal(dlg, {
        [&] {
            HWND h = dlg.m_hWnd;
            SetDlgItemTextA(h, IDC_OLD_TITLE, "suche");
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            PaintMarker(h);
            PostButton(h, IDC_CHANGE_ICON);
        },
        When(Shown(dlg.m_iconChooser), [&] { PostButton(dlg.m_iconChooser.m_hWnd, IDOK); }),
        When(Gone(dlg.m_iconChooser), [&] {
            HWND h = dlg.m_hWnd;
            ok(dlg.m_iconChooser.m_chosenIcon == 300, "expected icon 300 kept, got %d",
               dlg.m_iconChooser.m_chosenIcon);
            ok(IsDlgButtonChecked(h, IDC_NEW_ICON) == BST_CHECKED && dlg.m_bNewIcon == 1,
               "expected Neues S&ymbol ticked, got state %u, m_bNewIcon %d", IsDlgButtonChecked(h, IDC_NEW_ICON),
               dlg.m_bNewIcon);
            ok(ItemText(h, IDC_OLD_TITLE) == "suche", "expected the search text kept, got \"%s\"",
               ItemText(h, IDC_OLD_TITLE).c_str());
            UpdateWindow(h);
            ok(!MarkerIntact(h), "expected the preview repainted, it still shows the marker");
            int diff = testutil::CountDifferent(Preview(h), CatalogueImage(catalogue, 300));
            ok(diff == 0, "expected icon 300 in the preview, %d of 1024 pixels differ", diff);
        }),
    });
    g_app.m_pMainWnd = nullptr;
}

void TestFromMainDialogCancel() {
    ok_context("main dialog: cancel");
    CWimmelpultDlg dlg;
    g_app.m_pMainWnd = &dlg;
    dlg.m_iconChooser.m_chosenIcon = 77;
    RunModal(dlg, {
        [&] {
            HWND h = dlg.m_hWnd;
            SetDlgItemTextA(h, IDC_OLD_TITLE, "eins");
            SetDlgItemTextA(h, IDC_NEW_TITLE, "zwei");
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            PaintMarker(h);
            PostButton(h, IDC_CHANGE_ICON);
        },
        When(Shown(dlg.m_iconChooser), [&] { PostItemClick(List(dlg.m_iconChooser.m_hWnd), 3); }),
        [&] {
            ok(Selected(List(dlg.m_iconChooser.m_hWnd)) == 3, "expected icon 3 selected before cancelling, got %d",
               Selected(List(dlg.m_iconChooser.m_hWnd)));
            PostButton(dlg.m_iconChooser.m_hWnd, IDCANCEL);
        },
        When(Gone(dlg.m_iconChooser), [&] {
            HWND h = dlg.m_hWnd;
            testutil::FlushMessages();
            UpdateWindow(h);
            ok(dlg.m_iconChooser.m_chosenIcon == 77, "expected icon 77 kept, got %d", dlg.m_iconChooser.m_chosenIcon);
            ok(IsDlgButtonChecked(h, IDC_NEW_ICON) == BST_UNCHECKED && dlg.m_bNewIcon == 0,
               "expected Neues S&ymbol still cleared, got state %u, m_bNewIcon %d",
               IsDlgButtonChecked(h, IDC_NEW_ICON), dlg.m_bNewIcon);
            ok(ItemText(h, IDC_OLD_TITLE) == "eins" && ItemText(h, IDC_NEW_TITLE) == "zwei",
               "expected the edits kept, got \"%s\", \"%s\"", ItemText(h, IDC_OLD_TITLE).c_str(),
               ItemText(h, IDC_NEW_TITLE).c_str());
            ok(MarkerIntact(h), "expected nothing repainted after cancelling, %d of 1024 marker pixels painted over",
               testutil::CountDifferent(Preview(h), std::vector<COLORREF>(32 * 32, kMarker)));
            ok(IsWindowEnabled(h) && GetActiveWindow() == h,
               "expected the main dialog %p enabled and active, got enabled %d, active %p", h, IsWindowEnabled(h),
               GetActiveWindow());
        }),
    });
    g_app.m_pMainWnd = nullptr;
}

void TestChooserKeptInWorkArea() {
    ok_context("main dialog: chooser kept inside the work area");
    CWimmelpultDlg dlg;
    g_app.m_pMainWnd = &dlg;
    RunModal(dlg, {
        [&] {
            RECT work = WorkArea();
            SetWindowPos(dlg.m_hWnd, nullptr, work.right - 120, work.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            PostButton(dlg.m_hWnd, IDC_CHANGE_ICON);
        },
        When(Shown(dlg.m_iconChooser), [&] {
            RECT work = WorkArea(), rc;
            HWND chooser = dlg.m_iconChooser.m_hWnd;
            GetWindowRect(chooser, &rc);
            ok(rc.left >= work.left && rc.top >= work.top && rc.right <= work.right && rc.bottom <= work.bottom,
               "expected (%ld,%ld)-(%ld,%ld) inside the work area (%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right,
               rc.bottom, work.left, work.top, work.right, work.bottom);
            // Moved no further than needed.
            ok(rc.right == work.right && rc.bottom == work.bottom,
               "expected its bottom right against the corner %ld,%ld, got %ld,%ld", work.right, work.bottom,
               rc.right, rc.bottom);
            PostButton(chooser, IDCANCEL);
        }),
    });
    g_app.m_pMainWnd = nullptr;
}

// A window of another "application" that records the icons it is given.
HICON g_small = nullptr;
HICON g_big = nullptr;
int g_setIcons = 0;
testutil::MessageSequence g_iconMessages;

LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETICON) {
        ++g_setIcons;
        g_iconMessages.Add(message, wParam, lParam);
        (wParam == ICON_SMALL ? g_small : g_big) = reinterpret_cast<HICON>(lParam);
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

void TestChosenIconIsAssigned() {
    ok_context("main dialog: the chosen icon at the next Zuweisen");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ChooserTestTarget";
    RegisterClassA(&wc);
    // Made before the main dialog, so it lies below it in the Z order.
    HWND target = CreateWindowExA(0, wc.lpszClassName, "Zielfenster 4711", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    g_small = g_big = nullptr;
    g_setIcons = 0;
    g_iconMessages.Clear();

    CWimmelpultDlg dlg;
    g_app.m_pMainWnd = &dlg;
    HIMAGELIST catalogue = dlg.m_iconChooser.m_imageList.GetSafeHandle();
    RunModal(dlg, {
        [&] { PostButton(dlg.m_hWnd, IDC_CHANGE_ICON); },
        When(Shown(dlg.m_iconChooser), [&] { PostTabClick(dlg.m_iconChooser.m_hWnd, 6); }),
        [&] {
            SelectItem(List(dlg.m_iconChooser.m_hWnd), 10);
            PostButton(dlg.m_iconChooser.m_hWnd, IDOK);
        },
        When(Gone(dlg.m_iconChooser), [&] {
            ok(g_setIcons == 0, "expected no icon given before Zuweisen, got %d", g_setIcons);
            ok(dlg.m_iconChooser.m_chosenIcon == 290, "expected icon 290, got %d", dlg.m_iconChooser.m_chosenIcon);
            SetDlgItemTextA(dlg.m_hWnd, IDC_OLD_TITLE, "zielfenster 4711");
            SetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, "Umbenannt 4711");
            PostButton(dlg.m_hWnd, IDOK);
        }),
        [&] {
            char title[64] = {};
            GetWindowTextA(target, title, sizeof title);
            ok(strcmp(title, "Umbenannt 4711") == 0, "expected the target renamed, got \"%s\"", title);
            // The small icon first: the title bar shows it at once.
            ok_sequence(g_iconMessages,
                        {{WM_SETICON, testutil::kWParam, ICON_SMALL}, {WM_SETICON, testutil::kWParam, ICON_BIG}},
                        "icons given at Zuweisen");
            if (!ok(g_small && g_big, "expected a small and a big icon, got %p %p", g_small, g_big)) return;
            std::vector<COLORREF> want = CatalogueImage(catalogue, 290);
            COLORREF face = GetSysColor(COLOR_BTNFACE);
            int small = testutil::CountDifferent(testutil::RenderIcon(g_small, face), want);
            int big = testutil::CountDifferent(testutil::RenderIcon(g_big, face), want);
            ok(small == 0 && big == 0, "expected catalogue image 290 given, %d and %d pixels differ", small, big);
        },
    });
    g_app.m_pMainWnd = nullptr;
    DestroyWindow(target);
}

bool AboutShown() { return FindThreadWindow(kAboutTitle) != nullptr; }
bool AboutGone() { return FindThreadWindow(kAboutTitle) == nullptr; }

void TestInfoOverChooser() {
    struct Closing {
        const char* label;
        void (*act)(HWND about);
    };
    const Closing closings[] = {
        {"About closed by &OK", [](HWND about) { PostButton(about, IDOK); }},
        {"About closed by Escape", [](HWND about) { PostKey(GetDlgItem(about, IDOK), VK_ESCAPE); }},
    };
    for (const Closing& closing : closings) {
        ok_context(std::string("info over the chooser, ") + closing.label);
        CWimmelpultDlg dlg;
        g_app.m_pMainWnd = &dlg;
        HWND chooser = nullptr;
        HWND about = nullptr;
        RunModal(dlg, {
            [&] { PostButton(dlg.m_hWnd, IDC_CHANGE_ICON); },
            When(Shown(dlg.m_iconChooser), [&] {
                chooser = dlg.m_iconChooser.m_hWnd;
                SelectTabByMessage(chooser, 3);
                PostItemClick(List(chooser), 5);
            }),
            [&] { PostButton(chooser, IDC_INFO); },
            When(AboutShown, [&] {
                about = FindThreadWindow(kAboutTitle);
                ok(GetWindow(about, GW_OWNER) == chooser, "expected the chooser %p to own the About box, got %p",
                   chooser, GetWindow(about, GW_OWNER));
                ok(!IsWindowEnabled(chooser), "expected the chooser disabled under the About box, it is enabled");
                ok(!IsWindowEnabled(dlg.m_hWnd), "expected the main dialog disabled too, it is enabled");
                ok(IsWindowEnabled(about) && GetActiveWindow() == about,
                   "expected the About box %p enabled and active, got enabled %d, active %p", about,
                   IsWindowEnabled(about), GetActiveWindow());
                closing.act(about);
            }),
            When(AboutGone, [&] {
                ok(!IsWindow(about), "expected the About box destroyed, it still exists");
                ok(IsWindowVisible(chooser) && IsWindowEnabled(chooser),
                   "expected the chooser open and enabled, got visible %d, enabled %d", IsWindowVisible(chooser),
                   IsWindowEnabled(chooser));
                ok(GetActiveWindow() == chooser, "expected the chooser active, got %p", GetActiveWindow());
                int cur = static_cast<int>(SendMessageA(Tab(chooser), TCM_GETCURSEL, 0, 0));
                ok(cur == 3, "expected tab 3 still current, got %d", cur);
                ok(Selected(List(chooser)) == 5 && SelectedCount(List(chooser)) == 1,
                   "expected icon 5 alone still selected, got %d of %d selected", Selected(List(chooser)),
                   SelectedCount(List(chooser)));
                int n = static_cast<int>(SendMessageA(List(chooser), LVM_GETITEMCOUNT, 0, 0));
                ok(n == 68, "expected the 68 icons of \"Star Trek\", got %d", n);
                PostButton(chooser, IDOK);
            }),
            When(Gone(dlg.m_iconChooser), [&] {
                ok(dlg.m_iconChooser.m_chosenIcon == 95, "expected icon 95, got %d", dlg.m_iconChooser.m_chosenIcon);
                ok(IsWindowEnabled(dlg.m_hWnd) && GetActiveWindow() == dlg.m_hWnd,
                   "expected the main dialog %p enabled and active, got enabled %d, active %p", dlg.m_hWnd,
                   IsWindowEnabled(dlg.m_hWnd), GetActiveWindow());
            }),
        });
        g_app.m_pMainWnd = nullptr;
    }
}

// ---------------------------------------------------------------------------

// Every image of the catalogue as ImageList_Draw paints it, all in one
// bitmap: far quicker than an icon per image.
std::vector<std::vector<COLORREF>> AllImages(HIMAGELIST catalogue) {
    const int n = ImageList_GetImageCount(catalogue);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -32 * (n > 0 ? n : 1);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    DWORD* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT rc = {0, 0, 32, 32 * n};
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < n; ++i) ImageList_Draw(catalogue, i, dc, 0, 32 * i, ILD_NORMAL);
    GdiFlush();
    std::vector<std::vector<COLORREF>> images;
    for (int i = 0; i < n && bits; ++i) images.emplace_back(bits + 32 * 32 * i, bits + 32 * 32 * (i + 1));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return images;
}

void TestCatalogueSurvivesOpenings() {
    ok_context("catalogue after 50 openings");
    g_app.m_pMainWnd = nullptr;
    CIconChooserDlg dlg;
    HIMAGELIST before = dlg.m_imageList.GetSafeHandle();
    std::vector<std::vector<COLORREF>> images = AllImages(before);
    int blank = 0;
    for (const std::vector<COLORREF>& image : images)
        blank += testutil::CountDifferent(image, std::vector<COLORREF>(32 * 32, image[0])) == 0;
    ok(images.size() == 483 && blank == 0, "expected 483 pictures to compare, got %d, %d of them blank",
       static_cast<int>(images.size()), blank);

    int notOk = 0;
    int want = dlg.m_chosenIcon;
    for (int n = 0; n < 50; ++n) {
        int t = n % 8;
        INT_PTR result = RunModal(dlg, [&] {
            SelectTabByMessage(dlg.m_hWnd, t);
            SelectItem(List(dlg.m_hWnd), 1);
            PostButton(dlg.m_hWnd, n % 2 ? IDOK : IDCANCEL);
        });
        if (n % 2) want = Expected(kTabs[t])[1];
        if (result != (n % 2 ? IDOK : IDCANCEL) || dlg.m_chosenIcon != want) ++notOk;
    }
    ok(notOk == 0, "expected every opening to end as asked, %d did not", notOk);

    HIMAGELIST after = dlg.m_imageList.GetSafeHandle();
    ok(after == before, "expected the same catalogue handle, %p then %p", before, after);
    int count = ImageList_GetImageCount(after);
    ok(count == 483, "expected 483 images, got %d", count);
    std::vector<std::vector<COLORREF>> now = AllImages(after);
    int changed = 0;
    for (size_t i = 0; i < images.size() && i < now.size(); ++i)
        changed += testutil::CountDifferent(images[i], now[i]) != 0;
    ok(changed == 0, "expected every image unchanged, %d changed", changed);

    // The next opening shows the same icons again.
    RunModal(dlg, [&] {
        HWND list = List(dlg.m_hWnd);
        HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
        ok(normal == before, "expected the catalogue %p in the list again, got %p", before, normal);
        std::vector<Item> items = ListItems(list);
        ok(items.size() == 40 && items[39].data == 39,
           "expected the 40 icons of \"Standard\" again, got %u, the 40th with data %d",
           static_cast<unsigned>(items.size()), items.size() >= 40 ? items[39].data : -1);
    });
}

}  // namespace

int main() {
    testutil::InitDialogControls();
    TestOpening();
    TestCategories();
    TestChoosing();
    TestFromMainDialogConfirm();
    TestFromMainDialogNothingSelected();
    TestFromMainDialogCancel();
    TestChooserKeptInWorkArea();
    TestChosenIconIsAssigned();
    TestInfoOverChooser();
    TestCatalogueSurvivesOpenings();
    return ok_summary();
}
