#include "app/TargetWindow.h"

#include <vector>

namespace TargetWindow {

std::string ReadCaption(HWND hWnd) {
    // InternalGetWindowText reads the caption the system holds and never
    // sends WM_GETTEXT, which GetWindowText does to windows of this process,
    // whatever their thread is doing.
    wchar_t small[256];
    int n = InternalGetWindowText(hWnd, small, 256);
    std::vector<wchar_t> big;
    const wchar_t* text = small;
    if (n >= 255) {
        big.resize(256);
        while (n >= static_cast<int>(big.size()) - 1 && big.size() < (1u << 20)) {
            big.resize(big.size() * 4);
            n = InternalGetWindowText(hWnd, big.data(), static_cast<int>(big.size()));
        }
        text = big.data();
    }
    if (n <= 0) return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, n, nullptr, 0, nullptr, nullptr);
    std::string caption(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, text, n, &caption[0], bytes, nullptr, nullptr);
    return caption;
}

namespace {
struct ZOrderWalk {
    HWND first;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectFrom(HWND hWnd, LPARAM lParam) {
    ZOrderWalk& walk = *reinterpret_cast<ZOrderWalk*>(lParam);
    if (hWnd == walk.first || !walk.windows.empty()) walk.windows.push_back(hWnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> ZOrderFrom(HWND first) {
    // EnumWindows hands out a snapshot of the Z order, which a GetWindow
    // walk between synchronous sends would not be.
    ZOrderWalk walk{first, {}};
    EnumWindows(&CollectFrom, reinterpret_cast<LPARAM>(&walk));
    return walk.windows;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Lower(std::string text) {
    if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool Contains(const std::string& haystack, const std::string& needle) {
    if (needle.empty()) return true;
    if (needle.size() > haystack.size()) return false;
    for (size_t pos = 0; pos + needle.size() <= haystack.size();) {
        if (haystack.compare(pos, needle.size(), needle) == 0) return true;
        pos += IsDBCSLeadByte(static_cast<BYTE>(haystack[pos])) ? 2 : 1;
    }
    return false;
}

}  // namespace TargetWindow
