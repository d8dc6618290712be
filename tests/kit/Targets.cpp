#include "tests/kit/Targets.h"

#include <cstring>

#include "tests/kit/Wait.h"

namespace testutil {

std::vector<HWND> TargetWindows(const ChildProcess& app) {
    std::vector<HWND> found;
    for (HWND hWnd : app.Windows()) {
        char cls[64] = {};
        GetClassNameA(hWnd, cls, sizeof cls);
        if (strcmp(cls, targetapp::kClassName) == 0) found.push_back(hWnd);
    }
    return found;
}

std::vector<HWND> StartTargets(ChildProcess& app, int count, const std::string& caption, const std::string& options,
                               DWORD timeoutMs) {
    std::string args = std::to_string(count) + " \"" + caption + "\" " + options;
    if (!app.Start(BesideMe("TargetApp.exe"), args)) return {};
    std::vector<HWND> found;
    WaitFor(
        [&] {
            found = TargetWindows(app);
            return found.size() >= static_cast<size_t>(count);
        },
        timeoutMs);
    for (HWND hWnd : found)
        if (!Answers(hWnd, timeoutMs)) return {};
    return found.size() == static_cast<size_t>(count) ? found : std::vector<HWND>();
}

bool MakeBusy(HWND hWnd, DWORD ms) {
    PostMessageA(hWnd, targetapp::kBusy, ms, 0);
    return WaitStalled(hWnd, 5000);
}

std::wstring HeldCaptionW(HWND hWnd) {
    wchar_t text[1024];
    int n = InternalGetWindowText(hWnd, text, 1024);
    return std::wstring(text, n > 0 ? n : 0);
}

std::string HeldCaption(HWND hWnd) {
    const std::wstring text = HeldCaptionW(hWnd);
    char bytes[4096];
    int m = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, m > 0 ? m : 0);
}

}  // namespace testutil
