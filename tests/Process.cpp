#include "tests/Process.h"

#include "tests/TestUtil.h"

namespace testutil {

bool ChildProcess::Start(const std::string& exe, const std::string& args) {
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_info) != 0;
}

ChildProcess::~ChildProcess() {
    if (!m_info.hProcess) return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) Kill();
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool ChildProcess::WaitExit(DWORD timeoutMs, DWORD* code) {
    if (!WaitFor([&] { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs)) return false;
    if (code) GetExitCodeProcess(m_info.hProcess, code);
    return true;
}

void ChildProcess::Kill() {
    TerminateProcess(m_info.hProcess, 99);
    WaitForSingleObject(m_info.hProcess, 5000);
}

namespace {
struct WindowSearch {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == search->pid && (!search->visibleOnly || IsWindowVisible(hWnd))) search->found.push_back(hWnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> ChildProcess::Windows(bool visibleOnly) const {
    WindowSearch search{m_info.dwProcessId, visibleOnly, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildProcess::WaitWindow(const char* className, const char* title, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND hWnd : Windows()) {
                char cls[64] = {};
                GetClassNameA(hWnd, cls, sizeof cls);
                if ((!className || lstrcmpiA(cls, className) == 0) && (!title || WindowText(hWnd) == title)) {
                    found = hWnd;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::string WindowText(HWND hWnd) {
    char text[1024] = {};
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &n))
        return GetWindowTextA(hWnd, text, sizeof text) > 0 ? text : "";
    return text;
}

}  // namespace testutil
