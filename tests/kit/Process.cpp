#include "tests/kit/Process.h"

#include "tests/kit/Find.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

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

HWND StartProgram(ChildProcess& program) {
    if (!ok(program.Start(BesideMe("Wimmelpult.exe")), "expected Wimmelpult.exe to start, error %lu",
            GetLastError()))
        return nullptr;
    HWND dlg = program.WaitWindow("#32770", "Wimmelpult", 15000);
    if (!ok(dlg != nullptr, "expected the dialog \"Wimmelpult\" within 15 s, found none")) return nullptr;
    WaitFor([&] { return IsWindowVisible(dlg) != FALSE; }, 5000);
    ok(IsWindowVisible(dlg), "expected the dialog shown within 5 s, found it hidden");
    return dlg;
}

std::string BesideMe(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    size_t slash = dir.find_last_of("\\/");
    dir.resize(slash == std::string::npos ? 0 : slash + 1);
    return dir + fileName;
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

}  // namespace testutil
