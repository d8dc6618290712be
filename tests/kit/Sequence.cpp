#include "tests/kit/Sequence.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/CWimmelpultDlg.h"
#include "tests/kit/ok.h"

namespace testutil {

size_t MessageSequence::Count(UINT message) const {
    return static_cast<size_t>(
        std::count_if(m_seen.begin(), m_seen.end(), [&](const RecordedMessage& m) { return m.message == message; }));
}

namespace {
MessageRecorder* g_recorder = nullptr;

LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_recorder) g_recorder->Note(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OnPosted(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    // Peeked without removal, a message would be noted twice.
    if (code == HC_ACTION && wParam == PM_REMOVE && g_recorder)
        g_recorder->Note(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Matches(const ExpectedMessage& want, const RecordedMessage& got) {
    return want.message == got.message && (!(want.flags & kWParam) || want.wParam == got.wParam) &&
           (!(want.flags & kLParam) || want.lParam == got.lParam);
}

// Whether seen[j..] follows want[i..]; optional entries may match or not.
bool Follows(const std::vector<ExpectedMessage>& want, size_t i, const std::vector<RecordedMessage>& seen, size_t j) {
    if (i == want.size()) return j == seen.size();
    bool here = j < seen.size() && Matches(want[i], seen[j]) && Follows(want, i + 1, seen, j + 1);
    return here || ((want[i].flags & kOptional) && Follows(want, i + 1, seen, j));
}

std::string Describe(UINT message, WPARAM wParam, LPARAM lParam, int flags) {
    char text[96];
    int n = snprintf(text, sizeof text, "%s", MessageName(message));
    if (flags & kWParam) n += snprintf(text + n, sizeof text - n, " w=%#llx", static_cast<unsigned long long>(wParam));
    if (flags & kLParam) n += snprintf(text + n, sizeof text - n, " l=%#llx", static_cast<unsigned long long>(lParam));
    if (flags & kOptional) snprintf(text + n, sizeof text - n, " (optional)");
    return text;
}
}  // namespace

MessageRecorder::MessageRecorder(HWND hWnd, std::initializer_list<UINT> messages, Skip skip)
    : m_hWnd(hWnd), m_messages(messages), m_skip(skip) {
    g_recorder = this;
    m_sent = SetWindowsHookExA(WH_CALLWNDPROC, &OnSent, nullptr, GetCurrentThreadId());
    m_posted = SetWindowsHookExA(WH_GETMESSAGE, &OnPosted, nullptr, GetCurrentThreadId());
}

MessageRecorder::~MessageRecorder() {
    UnhookWindowsHookEx(m_sent);
    UnhookWindowsHookEx(m_posted);
    g_recorder = nullptr;
}

void MessageRecorder::Note(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hWnd == m_hWnd && std::find(m_messages.begin(), m_messages.end(), message) != m_messages.end() &&
        !(m_skip && m_skip(message, wParam, lParam)))
        m_sequence.Add(message, wParam, lParam);
}

const char* MessageName(UINT message) {
    switch (message) {
    case WM_NULL: return "WM_NULL";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_ENABLE: return "WM_ENABLE";
    case WM_SETICON: return "WM_SETICON";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_ENTERMENULOOP: return "WM_ENTERMENULOOP";
    case WM_EXITMENULOOP: return "WM_EXITMENULOOP";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case CWimmelpultDlg::kTrayCallback: return "tray callback";
    }
    static char other[16];
    snprintf(other, sizeof other, "0x%04x", message);
    return other;
}

bool CheckSequence(const char* file, int line, const MessageSequence& seen, const std::vector<ExpectedMessage>& want,
                   const char* what) {
    const std::vector<RecordedMessage>& got = seen.Seen();
    bool follows = Follows(want, 0, got, 0);
    std::string expected, found;
    for (const ExpectedMessage& m : want)
        expected += (expected.empty() ? "" : ", ") + Describe(m.message, m.wParam, m.lParam, m.flags);
    // Shown with the parameters the expected list asks about, where it does.
    for (size_t j = 0; j < got.size(); ++j) {
        int flags = kAnyParams;
        for (const ExpectedMessage& m : want)
            if (m.message == got[j].message) flags |= m.flags & (kWParam | kLParam);
        found += (found.empty() ? "" : ", ") + Describe(got[j].message, got[j].wParam, got[j].lParam, flags);
    }
    return ::ok_harness::Check(file, line, follows, "%s: expected [%s], found [%s]", what, expected.c_str(),
                               found.c_str());
}

}  // namespace testutil
