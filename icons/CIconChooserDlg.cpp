#include "icons/CIconChooserDlg.h"

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "holidays/CAboutDlg.h"
#include "icons/IconCatalogue.h"
#include "icons/IconStrip.h"

namespace {
constexpr int kIconSpacing = 40;   // pixels, 32 for the icon and a margin

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
};
const MessageTable CIconChooserDlg::kTable{CIconChooserDlg::kEntries, &CDialog::kTable};

CIconChooserDlg::CIconChooserDlg(CWnd* parent) : CDialog(IDD, parent) { BuildCatalogue(); }

CIconChooserDlg::~CIconChooserDlg() = default;

void CIconChooserDlg::BuildCatalogue() {
    m_imageList.Create(32, 32, ILC_MASK, 1000, 1000);
    // Under Wine the fill takes about as long as making the main dialog's
    // window, so both go on at once; the first look at the list waits for it.
    m_imageList.FillInBackground(&FillCatalogue);
}

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
    // The items have no labels: leave no room for any, so the icons stand
    // in a tight row instead of a few widely spaced ones.
    SendMessageW(m_iconList.m_hWnd, LVM_SETICONSPACING, 0, MAKELPARAM(kIconSpacing, kIconSpacing));
    FillCategory(0);
    return TRUE;
}

void CIconChooserDlg::FillCategory(int t) {
    SendMessageW(m_iconList.m_hWnd, LVM_DELETEALLITEMS, 0, 0);
    if (t < 0 || t >= kCategoryCount) return;

    const IconCategory& cat = kIconCategories[t];
    auto add = [this](int first, int last) {
        for (int i = first; i <= last; ++i) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = i;
            item.iImage = i;
            int pos = static_cast<int>(
                SendMessageW(m_iconList.m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            LVITEMW data = {};
            data.mask = LVIF_PARAM;
            data.iItem = pos;
            data.lParam = i;
            SendMessageW(m_iconList.m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        }
    };
    add(cat.first1, cat.last1);
    add(cat.first2, cat.last2);
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
