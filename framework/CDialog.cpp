#include "framework/CDialog.h"

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "framework/User32Function.h"

namespace {
// The dialog's messages reach the object through its window procedure; the
// dialog procedure leaves everything to the platform's dialog handling.
INT_PTR CALLBACK NullDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Per-monitor v2 (Windows 10 1703 on): the dialog manager rescales the frame,
// the dialog font and the controls itself.
bool ScaledByPlatform(HWND hWnd) {
    static const auto getContext = User32Function<HANDLE(WINAPI*)(HWND)>("GetWindowDpiAwarenessContext");
    static const auto equal = User32Function<BOOL(WINAPI*)(HANDLE, HANDLE)>("AreDpiAwarenessContextsEqual");
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(-4);   // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    return getContext && equal && equal(getContext(hWnd), perMonitorV2);
}
}  // namespace

const MessageEntry CDialog::kEntries[] = {
    OnMessage<&CDialog::HandleInitDialog>(WM_INITDIALOG),
    OnCommand<&CDialog::OnOK>(IDOK),
    OnCommand<&CDialog::OnCancel>(IDCANCEL),
    OnMessage<&CDialog::OnDpiChanged>(kDpiChanged),
};
const MessageTable CDialog::kTable{CDialog::kEntries, &CWnd::kTable};

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_scaledFont) DeleteObject(m_scaledFont);
}

HWND CDialog::FindOwner() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWinApp* app = CWinApp::Current();
        if (app && app->m_pMainWnd && app->m_pMainWnd != this) owner = app->m_pMainWnd->m_hWnd;
        if (owner) owner = GetLastActivePopup(owner);
    }
    while (owner && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
    return owner;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE inst = CWinApp::ResourceHandle();
    HRSRC res = FindResourceW(inst, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(5) /*RT_DIALOG*/);
    HGLOBAL global = res ? LoadResource(inst, res) : nullptr;
    auto* tmpl = global ? static_cast<const DLGTEMPLATE*>(LockResource(global)) : nullptr;
    if (!tmpl) return -1;

    HWND owner = FindOwner();
    bool reenable = owner && IsWindowEnabled(owner);
    if (reenable) EnableWindow(owner, FALSE);

    m_modalRunning = true;
    m_modalResult = -1;
    // Without the hook the dialog would never be bound to this object, and
    // the loop below would wait for an EndDialog that cannot come.
    HWND hWnd = nullptr;
    if (BeginCreateHook()) {
        hWnd = CreateDialogIndirectParamW(inst, tmpl, owner, &NullDlgProc, 0);
        EndCreateHook();
    }

    if (hWnd) {
        // The dialog shows itself once everything its creation queued is
        // done: when the queue runs dry, or when the marker posted after it
        // comes, whichever is first. Work that the owner goes on with by
        // posted messages would keep the queue from running dry.
        bool shown = false, marked = false;
        PostMessageW(hWnd, WM_NULL, 0, kShowMarker);
        MSG msg;
        while (m_modalRunning) {
            const bool dry = !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            if (!shown && (marked || dry)) {
                if (m_hWnd) ShowWindow(m_hWnd, SW_SHOWNORMAL);
                if (m_hWnd) UpdateWindow(m_hWnd);
                shown = true;
                continue;
            }
            if (dry && CWinApp::IdleWork()) continue;
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got <= 0) {
                // Let the outer loop see the quit message too.
                if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.hwnd == hWnd && msg.message == WM_NULL && msg.lParam == kShowMarker) {
                marked = true;
                continue;
            }
            if (CWnd::PointsIntoSender(msg.message) || CWinApp::PreTranslateTree(&msg)) continue;
            if (m_hWnd && msg.hwnd != m_hWnd && !IsChild(m_hWnd, msg.hwnd) && PreTranslateMessage(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    // Re-enable the owner before the dialog goes, so activation returns to it.
    if (reenable) EnableWindow(owner, TRUE);
    if (owner && m_hWnd && GetActiveWindow() == m_hWnd) SetActiveWindow(owner);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_modalRunning = false;
    return hWnd ? m_modalResult : -1;
}

void CDialog::EndDialog(int result) {
    m_modalResult = result;
    m_modalRunning = false;
    // Wake the modal loop so it notices.
    if (m_hWnd) PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (!m_hWnd) return FALSE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && GetKeyState(VK_SHIFT) >= 0 &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        SendMessageW(m_hWnd, WM_COMMAND, ID_HELP, 0);
        return TRUE;
    }
    return IsDialogMessageW(m_hWnd, msg);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    // A scaled font left from an earlier modal run was for a window now gone.
    if (m_scaledFont) DeleteObject(m_scaledFont);
    m_scaledFont = nullptr;
    m_savedDpi = m_layoutDpi = GetDpi();
    RECT before = {};
    GetWindowRect(m_hWnd, &before);
    BOOL result = OnInitDialog();
    SaveLayout();

    // A dialog that OnInitDialog neither showed nor moved opens centred, as
    // long as its owner is absent or disabled by the modal run.
    RECT after = {};
    GetWindowRect(m_hWnd, &after);
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (!IsWindowVisible(m_hWnd) && EqualRect(&before, &after) && (!owner || !IsWindowEnabled(owner)))
        CenterWindow(owner);
    return result;
}

HFONT CDialog::GetFont() const {
    return m_scaledFont ? m_scaledFont : reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
}

void CDialog::SaveLayout() {
    m_savedFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    m_hasSavedLogFont = m_savedFont && GetObjectW(m_savedFont, sizeof m_savedLogFont, &m_savedLogFont);
    GetClientRect(m_hWnd, &m_savedClient);
    m_savedLayout.clear();
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc = {};
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        m_savedLayout.push_back({child, rc});
    }
}

void CDialog::ScaleLayout() {
    HFONT font = nullptr;
    if (m_layoutDpi != m_savedDpi && m_hasSavedLogFont) {
        LOGFONTW lf = m_savedLogFont;
        lf.lfHeight = ScaledFromInit(lf.lfHeight);
        font = CreateFontIndirectW(&lf);
    }
    HFONT shown = font ? font : m_savedFont;
    for (const SavedChild& child : m_savedLayout) {
        const RECT& rc = child.rect;
        MoveWindow(child.hWnd, ScaledFromInit(rc.left), ScaledFromInit(rc.top), ScaledFromInit(rc.right - rc.left),
                   ScaledFromInit(rc.bottom - rc.top), FALSE);
        if (shown) SendMessageW(child.hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
    }
    if (m_scaledFont) DeleteObject(m_scaledFont);
    m_scaledFont = font;
}

void CDialog::FitClientToLayout() {
    // The suggested rectangle scales the frame as well, which keeps its size
    // here: from 192 to 96 DPI the bottom row was cut off.
    RECT client = {}, window = {};
    GetClientRect(m_hWnd, &client);
    const int cx = ScaledFromInit(m_savedClient.right) - client.right;
    const int cy = ScaledFromInit(m_savedClient.bottom) - client.bottom;
    if (!cx && !cy) return;
    GetWindowRect(m_hWnd, &window);
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + cx, window.bottom - window.top + cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialog::ScalesItself() const { return !ScaledByPlatform(m_hWnd); }

void CDialog::OnDpiChanged(UINT dpi, const RECT& suggested) {
    Default();
    // Per-monitor v1 (Windows 8.1, 10 before 1703, Wine) leaves the font and
    // the controls as they were.
    const bool itself = dpi && ScalesItself(), moved = dpi && dpi != m_layoutDpi;
    if (dpi) m_layoutDpi = dpi;
    if (itself && moved) ScaleLayout();
    if (!IsRectEmpty(&suggested))
        SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (itself) FitClientToLayout();
    // What the dialog paints itself follows on repaint.
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CDialog::CenterWindow(HWND owner) {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);

    RECT rc = {};
    GetWindowRect(m_hWnd, &rc);
    int cx = rc.right - rc.left;
    int cy = rc.bottom - rc.top;
    int x = (area.left + area.right) / 2 - cx / 2;
    int y = (area.top + area.bottom) / 2 - cy / 2;
    if (x + cx > work.right) x = work.right - cx;
    if (y + cy > work.bottom) y = work.bottom - cy;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}
