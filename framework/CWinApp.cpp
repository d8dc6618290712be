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

HINSTANCE CWinApp::ResourceHandle() { return GetModuleHandleA(nullptr); }

std::string CWinApp::HelpFilePath() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, n);
    size_t dot = file.find_last_of('.');
    size_t slash = file.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.resize(dot);
    return file + ".HLP";
}

void CWinApp::OnHelp() {
    // No help file ships with the program: without one, F1 does nothing.
    std::string file = HelpFilePath();
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    WinHelpA(owner, file.c_str(), HELP_FINDER, 0);
}

BOOL CWinApp::PreTranslateTree(MSG* msg) {
    for (HWND hWnd = msg->hwnd; hWnd;) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (!(GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) break;
        hWnd = GetParent(hWnd);
    }
    return FALSE;
}

int CWinApp::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateTree(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}
