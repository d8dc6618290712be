#include "app/CWimmelpultDlg.h"

#include "app/TargetWindow.h"
#include "framework/CDataExchange.h"
#include "framework/Clock.h"
#include "framework/CWinApp.h"
#include "holidays/CAboutDlg.h"
#include "icons/IconCatalogue.h"

const MessageEntry CWimmelpultDlg::kEntries[] = {
    OnMessage<&CWimmelpultDlg::OnSysCommand>(WM_SYSCOMMAND),
    OnMessage<&CWimmelpultDlg::OnPaint>(WM_PAINT),
    OnMessage<&CWimmelpultDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnCommand<&CWimmelpultDlg::OnChangeIcon>(IDC_CHANGE_ICON),
    OnMessage<&CWimmelpultDlg::OnTimer>(WM_TIMER),
    OnCommand<&CWimmelpultDlg::OnMinimize>(IDC_MINIMIZE),
    OnMessage<&CWimmelpultDlg::OnSize>(WM_SIZE),
    OnCommand<&CWimmelpultDlg::OnRestore>(ID_TRAY_RESTORE),
    OnCommand<&CWimmelpultDlg::OnTrayClose>(ID_TRAY_CLOSE),
    OnMessage<&CWimmelpultDlg::OnTrayCallback>(kTrayCallback),
    OnMessage<&CWimmelpultDlg::OnDeliveryReports>(kDeliveryReports),
    OnMessage<&CWimmelpultDlg::OnWorkOn>(kWorkOn),
    OnMessage<&CWimmelpultDlg::OnWindowsListed>(kWindowsListed),
    OnMessage<&CWimmelpultDlg::OnDpiChanged>(kDpiChanged),
};
const MessageTable CWimmelpultDlg::kTable{CWimmelpultDlg::kEntries, &CDialog::kTable};

// The windows for a pass, listed on a thread of its own. The dialog and the
// lister share it; `state` leaves kListing once, by whichever of them comes
// first: the dialog when it gave up waiting, the lister when the list is
// done. The lister nudges the dialog only when the dialog gave up.
struct CWimmelpultDlg::Listing {
    enum : LONG { kListing, kListed, kAwaited };
    HWND dialog;
    std::vector<HWND> windows;
    volatile LONG state = kListing;
};

namespace {
// The preview's box on the layout at 96 DPI, where it was placed by pixel:
// in the free space below "&Minimieren" and above "Anderes &Symbol...".
constexpr RECT kPreviewAt96 = {325, 70, 357, 102};
// Catalogue images are 32 x 32; the preview shows them unstretched.
constexpr int kPreviewSize = 32;

// A font's average letter width and its height, from which the dialog
// manager derives its units.
SIZE LetterCell(HDC dc, HFONT font) {
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm = {};
    SIZE extent = {};
    GetTextMetricsW(dc, &tm);
    GetTextExtentPoint32W(dc, kLetters, 52, &extent);
    SelectObject(dc, old);
    return SIZE{(extent.cx / 26 + 1) / 2, tm.tmHeight};
}
}  // namespace

CWimmelpultDlg::CWimmelpultDlg(CWnd* parent) : CDialog(IDD, parent) {
    HINSTANCE inst = CWinApp::ResourceHandle();
    m_hIcon = LoadIconW(inst, MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_iconChooser.m_chosenIcon = 0;
    // The menu and the notification area follow the system DPI.
    m_bmpRestore.LoadBitmap(IDB_RESTORE, GetSystemDpi());
    m_bmpClose.LoadBitmap(IDB_CLOSE, GetSystemDpi());
    m_trayMenu.LoadMenu(IDR_TRAYMENU);
    m_pTrayPopup = m_trayMenu.GetSubMenu(0);
    SetMenuItemBitmaps(m_pTrayPopup, ID_TRAY_RESTORE, MF_BYCOMMAND, m_bmpRestore.m_hBitmap,
                       m_bmpRestore.m_hBitmap);
    SetMenuItemBitmaps(m_pTrayPopup, ID_TRAY_CLOSE, MF_BYCOMMAND, m_bmpClose.m_hBitmap,
                       m_bmpClose.m_hBitmap);
}

CWimmelpultDlg::~CWimmelpultDlg() {
    while (!m_retitled.empty()) m_retitled.pop_front();
    // The shell keeps a copy of the icon it shows.
    if (m_hTrayIcon) DestroyIcon(m_hTrayIcon);
}

void CWimmelpultDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_OLD_TITLE, m_strOldTitle);
    DDX_Text(dx, IDC_NEW_TITLE, m_strNewTitle);
    DDX_Check(dx, IDC_UPDATE, m_bUpdate);
    DDX_Check(dx, IDC_NEW_ICON, m_bNewIcon);
}

BOOL CWimmelpultDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    HMENU sysMenu = GetSystemMenu(m_hWnd, FALSE);
    wchar_t about[256] = {};
    if (LoadStringW(CWinApp::ResourceHandle(), IDS_ABOUTBOX, about, 256) > 0) {
        AppendMenuW(sysMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(sysMenu, MF_STRING, IDM_ABOUTBOX, about);
    }
    // Restore, size and maximise do not apply to this dialog.
    DeleteMenu(sysMenu, 4, MF_BYPOSITION);
    DeleteMenu(sysMenu, 2, MF_BYPOSITION);
    DeleteMenu(sysMenu, 0, MF_BYPOSITION);

    PlacePreview();
    m_previewMade = {m_ptPreview.x + kPreviewSize / 2, m_ptPreview.y + kPreviewSize / 2};
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_strOldTitle.clear();
    m_strNewTitle.clear();
    m_bUpdate = 1;
    m_bNewIcon = 0;
    UpdateData(FALSE);

    m_courier.Attach(m_hWnd, kDeliveryReports, [this](int index) { return m_sentIcons.Get(Catalogue(), index); });
    SetTimer(m_hWnd, kRetitleTimerId, kRetitlePeriodMs, nullptr);
    // The tray icon, a request to the shell, and the catalogue, which only
    // the chooser shows whole, wait until the dialog is shown and answers:
    // a timer comes after the painting.
    if (!SetTimer(m_hWnd, kStartTimerId, USER_TIMER_MINIMUM, nullptr)) StartBehind();
    return TRUE;
}

void CWimmelpultDlg::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CWimmelpultDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (IsIconic(m_hWnd)) {
        SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        int cx = GetSystemMetrics(SM_CXICON);
        int cy = GetSystemMetrics(SM_CYICON);
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        DrawIcon(dc, (rc.right - rc.left - cx + 1) / 2, (rc.bottom - rc.top - cy + 1) / 2, m_hIcon);
    } else {
        Default();
        // A fresh handle per paint, destroyed at once: repaints cost nothing.
        // Until the catalogue is filled, which the first paint would wait
        // for, the picture comes from the resources.
        const int chosen = m_iconChooser.m_chosenIcon;
        HICON preview = m_iconChooser.m_imageList.Ready()
                            ? ImageList_GetIcon(Catalogue(), chosen, ILD_NORMAL)
                            : static_cast<HICON>(LoadImageW(CWinApp::ResourceHandle(),
                                                            MAKEINTRESOURCEW(CatalogueResourceId(chosen)), IMAGE_ICON,
                                                            kPreviewSize, kPreviewSize, LR_DEFAULTCOLOR));
        if (preview) {
            DrawIconEx(dc, m_ptPreview.x, m_ptPreview.y, preview, kPreviewSize, kPreviewSize, 0, nullptr, DI_NORMAL);
            DestroyIcon(preview);
        }
    }
    EndPaint(m_hWnd, &ps);
}

HICON CWimmelpultDlg::OnQueryDragIcon() { return m_hIcon; }

void CWimmelpultDlg::PlacePreview() {
    // The controls the dialog manager lays out grow with the dialog font,
    // which does not grow in proportion to the DPI: the preview keeps its
    // place among them by growing as the font's letters did from their size
    // at 96 DPI.
    SIZE now = {1, 1};
    SIZE at96 = {1, 1};
    HFONT font = GetFont();
    LOGFONTW lf = {};
    if (font && GetObjectW(font, sizeof lf, &lf)) {
        // The height was rounded from whole points at this DPI, or scaled
        // from another DPI's; back to the points first, halves down, so the
        // font at 96 DPI is the template's own and not a pixel smaller.
        const int dpi = static_cast<int>(LayoutDpi());
        const int points = (labs(lf.lfHeight) * 72 + dpi / 2 - 1) / dpi;
        lf.lfHeight = -MulDiv(points, USER_DEFAULT_SCREEN_DPI, 72);
        HFONT font96 = CreateFontIndirectW(&lf);
        HDC dc = GetDC(m_hWnd);
        SIZE a = LetterCell(dc, font);
        SIZE b = LetterCell(dc, font96);
        ReleaseDC(m_hWnd, dc);
        DeleteObject(font96);
        if (a.cx > 0 && a.cy > 0 && b.cx > 0 && b.cy > 0) {
            now = a;
            at96 = b;
        }
    }
    RECT box = {MulDiv(kPreviewAt96.left, now.cx, at96.cx), MulDiv(kPreviewAt96.top, now.cy, at96.cy),
                MulDiv(kPreviewAt96.right, now.cx, at96.cx), MulDiv(kPreviewAt96.bottom, now.cy, at96.cy)};
    m_ptPreview = {(box.left + box.right - kPreviewSize) / 2, (box.top + box.bottom - kPreviewSize) / 2};
}

void CWimmelpultDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    CDialog::OnDpiChanged(dpi, suggested);
    if (!ScalesItself()) {
        PlacePreview();
        return;
    }
    // The controls were scaled from where they were made by the ratio of the
    // DPIs, not as the font's letters grew, which round otherwise: placed by
    // the letters, the preview would drift among them.
    m_ptPreview = {ScaledFromInit(m_previewMade.x) - kPreviewSize / 2, ScaledFromInit(m_previewMade.y) - kPreviewSize / 2};
}

void CWimmelpultDlg::OnCancel() { CDialog::OnCancel(); }

void CWimmelpultDlg::OnChangeIcon() {
    UpdateData(TRUE);
    int previous = m_iconChooser.m_chosenIcon;
    if (m_iconChooser.DoModal() != IDOK) return;
    if (m_iconChooser.m_chosenIcon == -1) m_iconChooser.m_chosenIcon = previous;
    m_bNewIcon = 1;
    UpdateData(FALSE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CWimmelpultDlg::Remember(HWND target, const std::wstring& caption, int icon) {
    Forget(target);
    m_retitled.push_back(std::make_unique<RetitleEntry>(target, caption, icon));
    m_entryOf[target] = std::prev(m_retitled.end());
}

void CWimmelpultDlg::Forget(HWND target) {
    auto found = m_entryOf.find(target);
    if (found == m_entryOf.end()) return;
    if (m_ticking && m_tickAt == found->second) ++m_tickAt;
    m_retitled.erase(found->second);
    m_entryOf.erase(found);
}

void CWimmelpultDlg::OnOK() {
    UpdateData(TRUE);
    m_strOldTitle = TargetWindow::Lower(m_strOldTitle);
    if (m_strOldTitle.empty()) return;

    Pass pass;
    pass.listing = ListWindowsFor(pass);
    pass.search = m_strOldTitle;
    pass.caption = m_strNewTitle;
    pass.icon = m_bNewIcon ? m_iconChooser.m_chosenIcon : -1;
    pass.parts = m_bNewIcon ? CCourier::kCaption | CCourier::kSmallIcon | CCourier::kBigIcon : CCourier::kCaption;
    pass.update = m_bUpdate != 0;
    m_passes.push_back(std::move(pass));
    WorkThrough();
}

void CWimmelpultDlg::OnTimer(UINT_PTR id) {
    if (id == kRetitleTimerId) {
        KeepTrayIcon();
        // Reports whose message was lost, to a full queue, wait no longer.
        OnDeliveryReports();
        m_tickDue = true;
        WorkThrough();
    } else if (id == kStartTimerId) {
        KillTimer(m_hWnd, kStartTimerId);
        StartBehind();
    } else if (id == kWorkTimerId) {
        KillTimer(m_hWnd, kWorkTimerId);
        m_workTimer = false;
        WorkThrough();
    }
    Default();
}

std::shared_ptr<CWimmelpultDlg::Listing> CWimmelpultDlg::ListWindowsFor(Pass& pass) {
    // Listing takes the system a server call per window: 250 ms for 10,000
    // windows under Wine. A short desktop is listed within the wait, so its
    // captions are read at the click; a long one is listed while the dialog
    // answers, and its pass waits for the list.
    auto listing = std::make_shared<Listing>();
    listing->dialog = m_hWnd;
    auto* held = new std::shared_ptr<Listing>(listing);
    HANDLE lister =
        CreateThread(nullptr, 64 * 1024, &ListWindows, held, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!lister) {
        delete held;
        pass.windows = TargetWindow::ZOrderFrom(m_hWnd);
        return nullptr;
    }
    WaitForSingleObject(lister, m_listWaitMs);
    CloseHandle(lister);
    if (InterlockedCompareExchange(&listing->state, Listing::kAwaited, Listing::kListing) == Listing::kListing)
        return listing;
    pass.windows = std::move(listing->windows);
    return nullptr;
}

DWORD WINAPI CWimmelpultDlg::ListWindows(void* param) {
    std::unique_ptr<std::shared_ptr<Listing>> held(static_cast<std::shared_ptr<Listing>*>(param));
    Listing& listing = **held;
    listing.windows = TargetWindow::ZOrderFrom(listing.dialog);
    // A lost nudge is made up for by the next tick.
    if (InterlockedExchange(&listing.state, Listing::kListed) == Listing::kAwaited)
        PostMessageW(listing.dialog, kWindowsListed, 0, 0);
    return 0;
}

bool CWimmelpultDlg::TakeListedWindows() {
    Pass& pass = m_passes.front();
    if (!pass.listing) return true;
    if (InterlockedCompareExchange(&pass.listing->state, Listing::kListed, Listing::kListed) != Listing::kListed)
        return false;
    pass.windows = std::move(pass.listing->windows);
    pass.listing.reset();
    return true;
}

void CWimmelpultDlg::OnWindowsListed() { WorkThrough(); }

void CWimmelpultDlg::OnWorkOn(WPARAM serial) {
    // Anyone may post this message; only the newest of ours goes on, so the
    // work never runs in two chains.
    if (!m_workPosted || serial != m_workSerial) return;
    m_workPosted = false;
    WorkThrough();
}

void CWimmelpultDlg::WorkThrough() {
    // Passes in the order of the clicks, a tick when none is left; each
    // slice ends in time for the dialog to answer, and goes on later.
    const double end = NowMs() + kSliceMs;
    while (Working() && NowMs() < end) {
        if (m_ticking) {
            StepTick();
        } else if (!m_passes.empty()) {
            if (!TakeListedWindows()) return;   // goes on when its list comes
            StepPass();
        } else {
            m_tickDue = false;
            m_ticking = true;
            m_tickAt = m_retitled.begin();
        }
    }
    if (Working()) GoOnLater();
}

void CWimmelpultDlg::GoOnLater() {
    // The system hands a thread its posted messages before input, painting
    // and timers: while any of those waits, the work goes on once our loop
    // has served them and finds the queue empty. The timer is for the loops
    // that are not ours (menus, message boxes, moving the window) and, with
    // the next tick, for a post that could not be made.
    if (m_workPosted || m_workTimer) return;
    if (!HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)))
        m_workPosted = PostMessageW(m_hWnd, kWorkOn, ++m_workSerial, 0) != 0;
    if (!m_workPosted) m_workTimer = SetTimer(m_hWnd, kWorkTimerId, USER_TIMER_MINIMUM, nullptr) != 0;
}

BOOL CWimmelpultDlg::OnIdle() {
    if (!m_workTimer) return FALSE;
    KillTimer(m_hWnd, kWorkTimerId);
    m_workTimer = false;
    WorkThrough();
    return TRUE;
}

void CWimmelpultDlg::StepPass() {
    Pass& pass = m_passes.front();
    if (pass.next < pass.windows.size()) {
        // A closed window reads an empty caption, which matches nothing.
        HWND current = pass.windows[pass.next++];
        std::wstring caption = TargetWindow::Lower(TargetWindow::ReadCaption(current));
        if (TargetWindow::Contains(caption, pass.search)) {
            m_courier.Assign(current, pass.caption, pass.icon, pass.parts);
            if (pass.update) Remember(current, pass.caption, pass.icon);
        }
    }
    if (pass.next == pass.windows.size()) m_passes.pop_front();
}

void CWimmelpultDlg::StepTick() {
    if (m_tickAt == m_retitled.end()) {
        m_ticking = false;
        return;
    }
    RetitleEntry& entry = **m_tickAt;
    std::wstring caption = TargetWindow::ReadCaption(entry.m_hTarget);
    if (caption.empty()) {
        Forget(entry.m_hTarget);   // moves m_tickAt on
        return;
    }
    if (caption != entry.m_strTitle) {
        unsigned parts = entry.m_nIcon != -1 ? CCourier::kCaption | CCourier::kSmallIcon : CCourier::kCaption;
        m_courier.Reapply(entry.m_hTarget, entry.m_strTitle, entry.m_nIcon, parts);
    }
    ++m_tickAt;
}

void CWimmelpultDlg::OnDeliveryReports() {
    for (const CCourier::Report& report : m_courier.TakeReports())
        if (report.outcome != CCourier::Outcome::Delivered) Forget(report.target);
}

void CWimmelpultDlg::StartBehind() {
    // Not shared: a shared load would hand back the 32 x 32 icon loaded before.
    if (!m_hTrayIcon)
        m_hTrayIcon = static_cast<HICON>(LoadImageW(CWinApp::ResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    // Started at logon before the taskbar exists, or while the shell is
    // busy, the program runs on without the icon until the shell takes it.
    if (!m_tray.m_hWnd) m_tray.Create(this, kTrayCallback, L"Wimmelpult", m_hTrayIcon, IDR_TRAYMENU);
    m_iconChooser.StartCatalogue();
}

void CWimmelpultDlg::KeepTrayIcon() {
    // While the shell will not take the icon, a hidden dialog would be out
    // of reach: it comes back to the taskbar, minimised. The shell may have
    // lost the icon without a word, so a hidden dialog asks it.
    const bool hidden = !IsWindowVisible(m_hWnd);
    if (hidden) m_tray.VerifyIcon();
    if (!m_tray.EnsureIcon() && hidden) ShowWindow(m_hWnd, SW_SHOWMINNOACTIVE);
}

void CWimmelpultDlg::OnSize(UINT type, int, int) {
    Default();
    // Without the icon a hidden dialog could not come back: it stays on the
    // taskbar.
    if (type == SIZE_MINIMIZED && m_tray.VerifyIcon()) ShowWindow(m_hWnd, SW_HIDE);
}

void CWimmelpultDlg::OnMinimize() {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(m_hWnd, &wp);
    wp.showCmd = SW_MINIMIZE;
    SetWindowPlacement(m_hWnd, &wp);
}

void CWimmelpultDlg::OnRestore() {
    ShowWindow(m_hWnd, SW_SHOW);
    ShowWindow(m_hWnd, SW_RESTORE);
    SetFocus(m_hWnd);
}

void CWimmelpultDlg::OnTrayClose() { OnCancel(); }

LRESULT CWimmelpultDlg::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
    if (wParam != IDR_TRAYMENU) return 0;
    UINT mouse = LOWORD(lParam);
    if (mouse == WM_RBUTTONUP) {
        POINT pt = {};
        GetCursorPos(&pt);
        CWinApp* app = CWinApp::Current();
        HWND owner = app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd ? app->m_pMainWnd->m_hWnd : m_hWnd;
        while (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD) owner = GetParent(owner);

        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        GetWindowPlacement(m_hWnd, &wp);
        EnableMenuItem(m_pTrayPopup, ID_TRAY_RESTORE,
                       wp.showCmd == SW_SHOWMINIMIZED ? MF_BYCOMMAND | MF_ENABLED
                                                      : MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
        SetForegroundWindow(owner);
        TrackPopupMenu(m_pTrayPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
        PostMessageW(owner, WM_NULL, 0, 0);
    } else if (mouse == WM_LBUTTONDBLCLK) {
        OnRestore();
    }
    return 0;
}
