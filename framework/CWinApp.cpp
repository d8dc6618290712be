#include "framework/CWinApp.h"

#include "framework/CWnd.h"

namespace {
CWinApp* g_app = nullptr;
}

const MessageTable CWinApp::kTable{nullptr};

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::Current() { return g_app; }

HINSTANCE CWinApp::ResourceHandle() { return GetModuleHandleW(nullptr); }

std::wstring CWinApp::HelpFilePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path, n);
    size_t dot = file.find_last_of(L'.');
    size_t slash = file.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) file.resize(dot);
    return file + L".HLP";
}

void CWinApp::OnHelp() {
    // No help file ships with the program: without one, F1 does nothing.
    std::wstring file = HelpFilePath();
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    WinHelpW(owner, file.c_str(), HELP_FINDER, 0);
}

BOOL CWinApp::PreTranslateTree(MSG* msg) {
    for (HWND hWnd = msg->hwnd; hWnd;) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (!(GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)) break;
        hWnd = GetParent(hWnd);
    }
    return FALSE;
}

BOOL CWinApp::IdleWork() {
    CWnd* main = g_app ? g_app->m_pMainWnd : nullptr;
    return main && main->m_hWnd && main->OnIdle();
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && IdleWork()) continue;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (CWnd::PointsIntoSender(msg.message) || PreTranslateTree(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ExitInstance();
}
