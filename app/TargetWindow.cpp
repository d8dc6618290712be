#include "app/TargetWindow.h"

#include <vector>

namespace TargetWindow {

std::wstring ReadCaption(HWND hWnd) {
    // InternalGetWindowText reads the caption the system holds and never
    // sends WM_GETTEXT, which GetWindowText does to windows of this process,
    // whatever their thread is doing.
    std::wstring text(256, L'\0');
    int n = InternalGetWindowText(hWnd, &text[0], static_cast<int>(text.size()));
    while (n >= static_cast<int>(text.size()) - 1 && text.size() < (1u << 20)) {
        text.resize(text.size() * 4);
        n = InternalGetWindowText(hWnd, &text[0], static_cast<int>(text.size()));
    }
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
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

std::wstring Lower(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool Contains(const std::wstring& haystack, const std::wstring& needle) {
    if (needle.empty()) return true;
    const size_t length = needle.size();
    for (size_t pos = haystack.find(needle); pos != std::wstring::npos; pos = haystack.find(needle, pos + 1)) {
        const bool startsInPair = pos > 0 && IS_LOW_SURROGATE(haystack[pos]) && IS_HIGH_SURROGATE(haystack[pos - 1]);
        const size_t end = pos + length;
        const bool endsInPair =
            end < haystack.size() && IS_HIGH_SURROGATE(haystack[end - 1]) && IS_LOW_SURROGATE(haystack[end]);
        if (!startsInPair && !endsInPair) return true;
    }
    return false;
}

}  // namespace TargetWindow
