// Starting and finding the windows of other programs for end-to-end tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testutil {

class ChildProcess {
public:
    // Starts "exe args" with its windows shown as usual.
    bool Start(const std::string& exe, const std::string& args = "");
    ~ChildProcess();
    // Waits for the end; false on time-out. The exit code is then in code.
    bool WaitExit(DWORD timeoutMs, DWORD* code = nullptr);
    void Kill();

    // Top-level windows of the process, in Z order.
    std::vector<HWND> Windows(bool visibleOnly = false) const;
    // A top-level window with this class and title, waiting up to timeoutMs.
    HWND WaitWindow(const char* className, const char* title, DWORD timeoutMs) const;

    DWORD Id() const { return m_info.dwProcessId; }
    DWORD ThreadId() const { return m_info.dwThreadId; }
    HANDLE Handle() const { return m_info.hProcess; }

private:
    PROCESS_INFORMATION m_info = {};
};

// Window text read with WM_GETTEXT, which works across processes.
std::string WindowText(HWND hWnd);

}  // namespace testutil
