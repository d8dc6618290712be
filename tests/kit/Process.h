// Other programs for end-to-end tests: starting and ending them, finding
// their windows, and the paths they are given.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testutil {

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts "exe args" with its windows shown as usual.
    bool Start(const std::string& exe, const std::string& args = "");
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

// Starts Wimmelpult.exe beside the test and waits until its main dialog
// shows; nullptr (after a failed check) when it does not.
HWND StartProgram(ChildProcess& program);

// Full path of a file that lies beside the running test program
// (Wimmelpult.exe and every test are built into one folder).
std::string BesideMe(const char* fileName);

// A path as a Windows program under Wine reaches it: a Unix path such as
// ctest passes ("/work/...") lies on drive Z: as Z:\work\...
std::string WindowsPath(const std::string& path);

}  // namespace testutil
