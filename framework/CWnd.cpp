#include "framework/CWnd.h"

#include <cstring>
#include <string>

#include "framework/CWinApp.h"
#include "framework/User32Function.h"

namespace {
const wchar_t kObjectProp[] = L"Wimmelpult.CWnd";

// Creation is synchronous on one thread, so one slot per thread suffices.
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
}  // namespace

const CRuntimeClass CWnd::classCWnd = {"CWnd", &CObject::classCObject};
const CRuntimeClass* CWnd::GetRuntimeClass() const { return &classCWnd; }

const MessageTable CWnd::kTable{nullptr};

HHOOK(WINAPI* CWnd::s_pfnSetWindowsHookEx)(int, HOOKPROC, HINSTANCE, DWORD) = &SetWindowsHookExW;

CWnd* msgcrack::WndFromHandle(HWND hWnd) { return CWnd::FromHandlePermanent(hWnd); }

CWnd::~CWnd() {
    // Only a window bound to this object is ours to destroy; a control that
    // data exchange merely attached belongs to its dialog.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) RemovePropW(m_hWnd, kObjectProp);
    }
}

UINT CWnd::GetSystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

UINT CWnd::GetDpi() const {
    // Looked up, since Vista to Windows 10 1511 do not have it.
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    UINT dpi = getDpiForWindow && m_hWnd ? getDpiForWindow(m_hWnd) : 0;
    return dpi ? dpi : GetSystemDpi();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    return static_cast<CWnd*>(GetPropW(hWnd, kObjectProp));
}

void CWnd::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    SetPropW(hWnd, kObjectProp, this);
    m_superProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
}

LRESULT CALLBACK CWnd::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating) {
        // Only the first window is ours; a dialog's controls come after it.
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->Bind(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

bool CWnd::BeginCreateHook() {
    if (!t_cbtHook) t_cbtHook = s_pfnSetWindowsHookEx(WH_CBT, &CWnd::CbtHook, nullptr, GetCurrentThreadId());
    if (!t_cbtHook) return false;
    t_creating = this;
    return true;
}

void CWnd::EndCreateHook() {
    t_creating = nullptr;
    if (t_cbtHook) {
        UnhookWindowsHookEx(t_cbtHook);
        t_cbtHook = nullptr;
    }
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, HMENU menu) {
    // A window that would not reach this object is no window of ours.
    if (!BeginCreateHook()) return FALSE;
    HWND hWnd = CreateWindowExW(exStyle, className, title, style, x, y, cx, cy, parent, menu,
                                CWinApp::ResourceHandle(), nullptr);
    EndCreateHook();
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self) return ::DefWindowProcW(hWnd, message, wParam, lParam);

    MSG saved = self->m_current;
    self->m_current = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        if (message == WM_NCDESTROY) {
            WNDPROC super = self->m_superProc;
            RemovePropW(hWnd, kObjectProp);
            SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
            result = CallWindowProcW(super, hWnd, message, wParam, lParam);
            self->m_hWnd = nullptr;
            self->m_superProc = nullptr;
            return result;
        }
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the platform's code.
        result = 0;
    }
    self->m_current = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (PointsIntoSender(message) && (InSendMessageEx(nullptr) & ISMEX_SEND)) {
        *result = 0;
        return true;
    }
    const MessageTable* table = GetMessageTable();
    const MessageEntry* entry = nullptr;
    if (message == WM_COMMAND) {
        // Menus, accelerators and button clicks; other control notifications
        // are not commands.
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            UINT id = LOWORD(wParam);
            entry = table->Find(MessageEntry::kCommand, WM_COMMAND, id);
            if (!entry && lParam == 0) {
                // Commands nobody here handles go on to the application.
                CWinApp* app = CWinApp::Current();
                if (app && app->OnCmdMsg(id)) {
                    *result = 0;
                    return true;
                }
            }
        }
    } else if (message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr) entry = table->Find(MessageEntry::kNotify, hdr->code, static_cast<UINT>(hdr->idFrom));
    } else {
        entry = table->Find(MessageEntry::kMessage, message, 0);
    }
    if (!entry) return false;
    *result = entry->thunk(this, wParam, lParam);
    return true;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_superProc) return CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}
