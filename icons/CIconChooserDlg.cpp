#include "icons/CIconChooserDlg.h"

#include <algorithm>

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "framework/User32Function.h"
#include "holidays/CAboutDlg.h"
#include "icons/IconCatalogue.h"
#include "icons/IconStrip.h"

namespace {
constexpr int kIconSpacing = 40;   // pixels at 96 DPI, 32 for the icon and a margin
// The list view puts an icon this far below the top of its cell, and asks
// as much room below it.
constexpr int kIconMargin = 4;

// A cell of the list at dpi, for icons iconCy high.
int CellSize(int iconCy, UINT dpi) {
    return std::max(MulDiv(kIconSpacing, dpi, USER_DEFAULT_SCREEN_DPI), iconCy + 2 * kIconMargin);
}

}  // namespace

// The list view puts an icon at the top of its cell: a cell taller than an
// icon and its margins gets the icons centred in pictures this high (0: none).
int CIconChooserDlg::CellPictureHeight(int iconCy, UINT dpi) {
    const int cell = CellSize(iconCy, dpi);
    return cell > iconCy + 2 * kIconMargin ? cell - 2 * kIconMargin : 0;
}

namespace {

// The list's horizontal scroll bar. Where the platform keeps scroll bars at
// the system's size after a DPI change, the larger of the two keeps the
// rows whole.
int ScrollBarHeight(UINT dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    int bar = GetSystemMetrics(SM_CYHSCROLL);
    return forDpi ? std::max(bar, forDpi(SM_CYHSCROLL, dpi)) : bar;
}

// The catalogue's images, each at its own size in the middle of a picture
// cy high: no image is scaled, so none is blurred.
void CentreImages(HIMAGELIST catalogue, CImageList& out, int cy) {
    int cx = 0, iconCy = 0;
    ImageList_GetIconSize(catalogue, &cx, &iconCy);
    const int count = ImageList_GetImageCount(catalogue), top = (cy - iconCy) / 2;
    out.DeleteImageList();
    out.Create(cx, cy, ILC_COLOR24 | ILC_MASK, count, 0);
    HDC screen = GetDC(nullptr);
    HDC colourDc = CreateCompatibleDC(screen), maskDc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, cx * count, cy);
    HBITMAP mask = CreateBitmap(cx * count, cy, 1, 1, nullptr);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldColour = SelectObject(colourDc, colour), oldMask = SelectObject(maskDc, mask);
    // Picture and mask are copied as stored, so each draws as the
    // catalogue's does; around them, black under see-through.
    PatBlt(colourDc, 0, 0, cx * count, cy, BLACKNESS);
    PatBlt(maskDc, 0, 0, cx * count, cy, WHITENESS);
    for (int i = 0; i < count; ++i) {
        ImageList_Draw(catalogue, i, colourDc, i * cx, top, ILD_IMAGE);
        ImageList_Draw(catalogue, i, maskDc, i * cx, top, ILD_MASK);
    }
    SelectObject(colourDc, oldColour);
    SelectObject(maskDc, oldMask);
    ImageList_Add(out.GetSafeHandle(), colour, mask);
    DeleteObject(colour);
    DeleteObject(mask);
    DeleteDC(colourDc);
    DeleteDC(maskDc);
}

void FillCatalogue(HIMAGELIST list) {
    HINSTANCE inst = CWinApp::ResourceHandle();
    UINT ids[kCatalogueSize];
    for (int index = 0; index < kCatalogueSize; ++index) ids[index] = CatalogueResourceId(index);
    if (AppendIconResources(list, inst, ids, kCatalogueSize)) return;

    for (UINT id : ids) {
        // Icons from LoadIcon are shared and must not be destroyed; the image
        // list keeps its own copy.
        HICON icon = LoadIconW(inst, MAKEINTRESOURCEW(id));
        ImageList_ReplaceIcon(list, -1, icon);
    }
}

}  // namespace

const MessageEntry CIconChooserDlg::kEntries[] = {
    OnNotify<&CIconChooserDlg::OnSelchangeCategoryTab>(TCN_SELCHANGE, IDC_CATEGORY_TAB),
    OnCommand<&CIconChooserDlg::OnInfo>(IDC_INFO),
    OnMessage<&CIconChooserDlg::OnDpiChanged>(kDpiChanged),
};
const MessageTable CIconChooserDlg::kTable{CIconChooserDlg::kEntries, &CDialog::kTable};

CIconChooserDlg::CIconChooserDlg(CWnd* parent) : CDialog(IDD, parent) { BuildCatalogue(); }

CIconChooserDlg::~CIconChooserDlg() = default;

void CIconChooserDlg::BuildCatalogue() {
    m_imageList.Create(32, 32, ILC_MASK, 1000, 1000);
    // The pictures for cells at the system's DPI, at which the chooser will
    // most likely open, are made beside the catalogue, off the dialog's
    // thread: at 192 DPI they took the first opening 200 ms.
    const int cy = CellPictureHeight(32, GetSystemDpi());
    m_cellImagesCy = cy;
    m_imageList.FillLater([this, cy](HIMAGELIST list) {
        FillCatalogue(list);
        if (cy) CentreImages(list, m_cellImages, cy);
    });
}

void CIconChooserDlg::StartCatalogue() { m_imageList.StartFill(); }

void CIconChooserDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ICON_LIST, m_iconList);
    DDX_Control(dx, IDC_CATEGORY_TAB, m_categoryTab);
}

BOOL CIconChooserDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int t = 0; t < kCategoryCount; ++t) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kIconCategories[t].caption);
        SendMessageW(m_categoryTab.m_hWnd, TCM_INSERTITEMW, t, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(m_iconList.m_hWnd, LVM_SETIMAGELIST, LVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(m_imageList.GetSafeHandle()));
    GetWindowRect(m_iconList.m_hWnd, &m_listBox);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&m_listBox), 2);
    FillCategory(0);
    return TRUE;
}

void CIconChooserDlg::FillCategory(int t) {
    SendMessageW(m_iconList.m_hWnd, LVM_DELETEALLITEMS, 0, 0);
    if (t < 0 || t >= kCategoryCount) return;
    // Laid out before the items come, which the list view then places in
    // these cells and scrolls over.
    FitIconList();

    // A list view that draws lays itself out and paints at every item, 10 ms
    // each under Wine: it is filled without drawing, then drawn once.
    HWND list = m_iconList.m_hWnd;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const IconCategory& cat = kIconCategories[t];
    for (const auto& range : {std::make_pair(cat.first1, cat.last1), std::make_pair(cat.first2, cat.last2)}) {
        for (int i = range.first; i <= range.second; ++i) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = i;
            item.iImage = i;
            item.lParam = i;
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CIconChooserDlg::FitIconList() {
    HWND list = m_iconList.m_hWnd;
    const UINT dpi = LayoutDpi();
    HIMAGELIST catalogue = m_imageList.GetSafeHandle();
    int iconCx = 0, iconCy = 0;
    ImageList_GetIconSize(catalogue, &iconCx, &iconCy);
    const int cell = CellSize(iconCy, dpi);

    // The template's place at this DPI, and the border round the list's inside.
    RECT box = m_listBox, frame = {};
    for (LONG* edge : {&box.left, &box.top, &box.right, &box.bottom}) *edge = ScaledFromInit(*edge);
    AdjustWindowRectEx(&frame, GetWindowLongW(list, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL), FALSE,
                       GetWindowLongW(list, GWL_EXSTYLE));
    const int width = box.right - box.left, height = box.bottom - box.top, bar = ScrollBarHeight(dpi);
    const int insideCx = width - (frame.right - frame.left), frameCy = frame.bottom - frame.top;
    const int rows = std::max(1, (height - frameCy - bar) / cell), columns = std::max(1, insideCx / cell);
    // Spare width goes to the cells, so the first view shows no column in part.
    const int cx = std::max(cell, insideCx / columns), cy = rows * cell + bar + frameCy;
    SetWindowPos(list, nullptr, box.left, box.top + (height - cy) / 2, width, cy, SWP_NOZORDER | SWP_NOACTIVATE);

    HIMAGELIST images = catalogue;
    bool remade = false;
    if (const int pictureCy = CellPictureHeight(iconCy, dpi)) {
        remade = m_cellImagesCy != pictureCy;
        if (remade) CentreImages(catalogue, m_cellImages, pictureCy);
        m_cellImagesCy = pictureCy;
        images = m_cellImages.GetSafeHandle();
    }
    // Pictures made again can come back under the old handle, while the list
    // view still holds the old size.
    if (remade || reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)) != images)
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(cx, cell));
}

void CIconChooserDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    CDialog::OnDpiChanged(dpi, suggested);
    HWND list = m_iconList.m_hWnd;
    const int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    FillCategory(static_cast<int>(SendMessageW(m_categoryTab.m_hWnd, TCM_GETCURSEL, 0, 0)));
    if (selected >= 0) {
        LVITEMW state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&state));
        SendMessageW(list, LVM_ENSUREVISIBLE, selected, FALSE);
    }
}

void CIconChooserDlg::OnSelchangeCategoryTab(NMHDR*, LRESULT* result) {
    FillCategory(static_cast<int>(SendMessageW(m_categoryTab.m_hWnd, TCM_GETCURSEL, 0, 0)));
    *result = 0;
}

void CIconChooserDlg::OnOK() {
    m_chosenIcon = -1;
    for (int p = 0; p < SendMessageW(m_iconList.m_hWnd, LVM_GETITEMCOUNT, 0, 0); ++p) {
        if (!SendMessageW(m_iconList.m_hWnd, LVM_GETITEMSTATE, p, LVIS_SELECTED)) continue;
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = p;
        SendMessageW(m_iconList.m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        m_chosenIcon = static_cast<int>(item.lParam);
    }
    CDialog::OnOK();
}

void CIconChooserDlg::OnInfo() {
    CAboutDlg about;
    about.DoModal();
}
