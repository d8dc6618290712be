#include "tray/CNotifyIcon.h"

#include <cmath>
#include <cstddef>

#include "framework/CMenu.h"
#include "framework/CWinApp.h"
#include "framework/User32Function.h"

namespace {
const wchar_t kWindowClass[] = L"Wimmelpult.NotifyIcon";

// The record's first form ends inside szTip: its tooltip field holds 64
// characters, not the 128 the header declares for later forms.
constexpr size_t kTipSize = (NOTIFYICONDATAW_V1_SIZE - offsetof(NOTIFYICONDATAW, szTip)) / sizeof(wchar_t);
static_assert(kTipSize == 64, "first form of NOTIFYICONDATAW");

// Days from 1 January 1601, where FILETIME counts from, to 30 December 1899.
constexpr long long kDaysFrom1601To1899 = 109205;

bool RegisterWindowClass() {
    HINSTANCE inst = CWinApp::ResourceHandle();
    WNDCLASSW wc = {};
    if (GetClassInfoW(inst, kWindowClass, &wc)) return true;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = inst;
    wc.lpszClassName = kWindowClass;
    return RegisterClassW(&wc) != 0;
}

// Explorer broadcasts this to every top-level window when it has (re)created
// the taskbar; icons added before that are gone.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

constexpr DWORD kMsgFltAllow = 1;   // MSGFLT_ALLOW
constexpr DWORD kMsgFltAdd = 1;     // MSGFLT_ADD

BOOL WINAPI ChangeMessageFilter(HWND hWnd, UINT message, DWORD action, void* info) {
    using ForWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ForProcess = BOOL(WINAPI*)(UINT, DWORD);
    static const auto forWindow = User32Function<ForWindow>("ChangeWindowMessageFilterEx");
    static const auto forProcess = User32Function<ForProcess>("ChangeWindowMessageFilter");
    if (forWindow) return forWindow(hWnd, message, action, info);
    if (forProcess && action == kMsgFltAllow) return forProcess(message, kMsgFltAdd);
    return FALSE;
}

// The shell's library is loaded at the first icon, not with the program:
// under Wine that load was a good part of the start-up.
BOOL WINAPI ShellNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    using Fn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
    static const Fn notify = [] {
        HMODULE shell = LoadLibraryW(L"shell32.dll");
        return shell ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(shell, "Shell_NotifyIconW")))
                     : nullptr;
    }();
    return notify && notify(message, data);
}
}  // namespace

BOOL(WINAPI* CNotifyIcon::s_pfnShellNotifyIcon)(DWORD, PNOTIFYICONDATAW) = &ShellNotifyIcon;
DWORD(WINAPI* CNotifyIcon::s_pfnGetVersion)() = &GetVersion;
CNotifyIcon::DateTime (*CNotifyIcon::s_pfnLocalNow)() = &CNotifyIcon::LocalNow;
BOOL(WINAPI* CNotifyIcon::s_pfnChangeWindowMessageFilterEx)(HWND, UINT, DWORD, void*) = &ChangeMessageFilter;

const CRuntimeClass CNotifyIcon::classCNotifyIcon = {"CNotifyIcon", &CWnd::classCWnd};
const CRuntimeClass* CNotifyIcon::GetRuntimeClass() const { return &classCNotifyIcon; }

const MessageEntry CNotifyIcon::kEntries[] = {
    OnMessage<&CNotifyIcon::OnContextMenu>(WM_CONTEXTMENU),
    OnMessage<&CNotifyIcon::OnTimer>(WM_TIMER),
};
const MessageTable CNotifyIcon::kTable{CNotifyIcon::kEntries, &CWnd::kTable};

CNotifyIcon::DateTime CNotifyIcon::LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    st.wMilliseconds = 0;
    FILETIME ft;
    DateTime now;
    if (!SystemTimeToFileTime(&st, &ft)) {
        now.valid = false;
        return now;
    }
    long long seconds =
        static_cast<long long>((static_cast<unsigned long long>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) /
                               10000000ULL);
    now.days = static_cast<double>(seconds - kDaysFrom1601To1899 * 86400) / 86400.0;
    return now;
}

CNotifyIcon::CNotifyIcon() { ZeroMemory(&m_iconData, sizeof m_iconData); }

CNotifyIcon::~CNotifyIcon() {
    DeleteIcon();
    std::vector<HICON>().swap(m_frames);
    // A running animation timer dies with the window; the restore icon is
    // not shown, since the icon is already gone.
    if (m_hWnd) DestroyWindow();
}

BOOL CNotifyIcon::Create(CWnd* parent, UINT callbackMessage, const wchar_t* tip, HICON icon, UINT id) {
    if (m_hWnd) return FALSE;

    DWORD version = s_pfnGetVersion();
    if (LOBYTE(LOWORD(version)) < 4) {
        m_bIconPresent = FALSE;
        return FALSE;
    }
    m_bIconPresent = TRUE;
    m_bIconWanted = TRUE;

    // Without a window of its own the icon may still work through the
    // parent's, so a failure here is not fatal.
    if (RegisterWindowClass() && CreateEx(0, kWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr)) {
        // A program run as administrator would not hear the shell's message
        // otherwise. Without those rights the call changes nothing; when it
        // fails, the icon only misses a restart of the shell.
        s_pfnChangeWindowMessageFilterEx(m_hWnd, TaskbarCreatedMessage(), kMsgFltAllow, nullptr);
    }

    m_iconData.cbSize = NOTIFYICONDATAW_V1_SIZE;
    m_iconData.hWnd = parent && parent->m_hWnd ? parent->m_hWnd : m_hWnd;
    m_iconData.uID = id;
    m_iconData.uCallbackMessage = callbackMessage;
    m_iconData.hIcon = icon;
    lstrcpynW(m_iconData.szTip, tip ? tip : L"", kTipSize);

    m_bIconPresent = NotifyWhole(NIM_ADD);
    return m_bIconPresent;
}

BOOL CNotifyIcon::NotifyWhole(DWORD message) {
    // All of the record: a ChangeIcon leaves the flags at NIF_ICON alone.
    m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return s_pfnShellNotifyIcon(message, &m_iconData);
}

void CNotifyIcon::DeleteIcon() {
    m_bIconWanted = FALSE;
    if (!m_bIconPresent) return;
    m_iconData.uFlags = 0;
    s_pfnShellNotifyIcon(NIM_DELETE, &m_iconData);
    m_bIconPresent = FALSE;
}

BOOL CNotifyIcon::ChangeIcon(HICON icon) {
    if (!m_bIconPresent) return FALSE;
    m_iconData.uFlags = NIF_ICON;
    m_iconData.hIcon = icon;
    return s_pfnShellNotifyIcon(NIM_MODIFY, &m_iconData);
}

BOOL CNotifyIcon::EnsureIcon() {
    if (m_bIconPresent || !m_bIconWanted) return m_bIconPresent;
    // A shell that timed out may have added the icon all the same, and
    // refuses a second add for as long as it is there: look for it first.
    m_bIconPresent = NotifyWhole(NIM_MODIFY) || NotifyWhole(NIM_ADD);
    return m_bIconPresent;
}

BOOL CNotifyIcon::VerifyIcon() {
    if (m_bIconPresent) m_bIconPresent = NotifyWhole(NIM_MODIFY);
    return m_bIconPresent;
}

BOOL CNotifyIcon::StartAnimation(const std::vector<HICON>& frames, int seconds, UINT periodMs,
                                 HICON restoreIcon) {
    if (!m_hWnd || frames.empty()) return FALSE;
    // The same id replaces a running animation's timer.
    UINT_PTR timer = SetTimer(m_hWnd, kAnimationTimerId, periodMs, nullptr);
    if (!timer) return FALSE;

    m_frames = frames;
    m_nFrame = -1;
    m_animStart = s_pfnLocalNow();
    m_nAnimSeconds = seconds;
    m_hRestoreIcon = restoreIcon;
    m_nTimerId = static_cast<UINT>(timer);
    AdvanceAnimation();
    return TRUE;
}

BOOL CNotifyIcon::AdvanceAnimation() {
    if (m_frames.empty()) return FALSE;
    if (++m_nFrame >= static_cast<int>(m_frames.size())) m_nFrame = 0;
    return ChangeIcon(m_frames[m_nFrame]);
}

BOOL CNotifyIcon::EndAnimation() {
    BOOL result = FALSE;
    if (m_nTimerId) result = KillTimer(m_hWnd, m_nTimerId);
    m_nTimerId = 0;
    if (m_hRestoreIcon) ChangeIcon(m_hRestoreIcon);
    m_hRestoreIcon = nullptr;
    return result;
}

void CNotifyIcon::OnTimer(UINT_PTR) {
    DateTime now = s_pfnLocalNow();
    double elapsed = 0.0;
    // Both readings are whole seconds, but as fractions of a day their
    // difference is not: rounding keeps "exactly the duration" exact.
    if (now.valid && m_animStart.valid) elapsed = std::round((now.days - m_animStart.days) * 86400.0);

    if (m_nAnimSeconds > 0 && m_nAnimSeconds < elapsed) {
        EndAnimation();
        return;
    }
    AdvanceAnimation();
}

LRESULT CNotifyIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_iconData.uCallbackMessage) return OnIconNotify(wParam, lParam);

    UINT taskbarCreated = TaskbarCreatedMessage();
    if (taskbarCreated && message == taskbarCreated) {
        // Otherwise a restarted Explorer would lose the icon, and with it the
        // only way back to a hidden dialog; an icon the shell refused at
        // Create comes now. A refusal leaves the icon to EnsureIcon.
        if (m_bIconWanted) m_bIconPresent = NotifyWhole(NIM_ADD);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

HWND CNotifyIcon::NotifyTarget() const {
    CWinApp* app = CWinApp::Current();
    if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd) return app->m_pMainWnd->m_hWnd;
    return GetActiveWindow();
}

LRESULT CNotifyIcon::OnIconNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_iconData.uID) return 0;

    UINT mouse = LOWORD(lParam);
    if (mouse != WM_RBUTTONUP && mouse != WM_LBUTTONDBLCLK) return 1;

    // Nobody to own the menu or take the command.
    HWND target = NotifyTarget();
    if (!target) return 0;

    CMenu menu;
    if (mouse == WM_RBUTTONUP) {
        if (!menu.LoadMenu(LOWORD(m_iconData.uID))) return 0;
        HMENU popup = menu.GetSubMenu(0);
        if (!popup) return 0;
        SetMenuDefaultItem(popup, m_nDefaultItem, m_bDefaultByPos);
        POINT pt = {};
        GetCursorPos(&pt);
        // Without the foreground the menu would not close on a click elsewhere.
        SetForegroundWindow(target);
        TrackPopupMenu(popup, 0, pt.x, pt.y, 0, target, nullptr);
        PostMessageW(target, WM_NULL, 0, 0);
        return 1;
    }

    SetForegroundWindow(target);
    UINT command = m_nDefaultItem;
    if (m_bDefaultByPos) {
        if (!menu.LoadMenu(LOWORD(m_iconData.uID))) return 0;
        HMENU popup = menu.GetSubMenu(0);
        if (!popup) return 0;
        command = GetMenuItemID(popup, static_cast<int>(m_nDefaultItem));
    }
    SendMessageW(target, WM_COMMAND, command, 0);
    return 1;
}

void CNotifyIcon::OnContextMenu(CWnd*, POINT point) {
    if (!m_hWnd) return;
    CMenu menu;
    menu.LoadMenu(kContextMenuId);
    HMENU popup = menu.GetSubMenu(0);
    if (!popup) return;

    HWND owner = m_hWnd;
    while (owner && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr);
}

BOOL CNotifyIcon::PreTranslateMessage(MSG* msg) {
    if (m_hWnd) {
        bool shiftF10 = (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
                        msg->wParam == VK_F10 && (GetKeyState(VK_SHIFT) & ~1) != 0;
        if (shiftF10 || msg->message == WM_CONTEXTMENU) {
            RECT rc = {};
            GetClientRect(m_hWnd, &rc);
            ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rc.left));
            ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rc.right));
            OnContextMenu(nullptr, POINT{rc.left + 5, rc.top + 5});
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}
