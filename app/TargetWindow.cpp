#include "app/TargetWindow.h"

#include <vector>

namespace TargetWindow {

namespace {
bool OwnThread(HWND hWnd) { return GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId(); }

bool Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OwnThread(hWnd)) {
        SendMessageA(hWnd, message, wParam, lParam);
        return true;
    }
    // SMTO_BLOCK: no other message of ours runs while we wait, so a pass is
    // never re-entered halfway.
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hWnd, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                               kSendTimeoutMs, &result) != 0;
}
}  // namespace

std::string ReadCaption(HWND hWnd) {
    // GetWindowTextA reads another process's caption without asking its
    // thread; GetWindowTextLengthA may ask, so the buffer grows instead.
    char small[256];
    int n = GetWindowTextA(hWnd, small, sizeof small);
    if (n < static_cast<int>(sizeof small) - 1) return std::string(small, n > 0 ? n : 0);
    std::vector<char> big(sizeof small);
    while (n >= static_cast<int>(big.size()) - 1 && big.size() < (1u << 20)) {
        big.resize(big.size() * 4);
        n = GetWindowTextA(hWnd, big.data(), static_cast<int>(big.size()));
    }
    return std::string(big.data(), n > 0 ? n : 0);
}

bool WriteCaption(HWND hWnd, const std::string& caption) {
    if (OwnThread(hWnd)) return SetWindowTextA(hWnd, caption.c_str()) != 0;
    return Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
}

bool SendIcon(HWND hWnd, WPARAM type, HICON icon) {
    return Send(hWnd, WM_SETICON, type, reinterpret_cast<LPARAM>(icon));
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
