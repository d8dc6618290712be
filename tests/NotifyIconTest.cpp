// CNotifyIcon against a recording notification area, an injected platform
// version and an injected clock: which records reach the shell and when, the
// animation and its end, and what the icon's notifications, WM_CONTEXTMENU
// and Shift+F10 show and send, with the program's real menu 637.
#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "res/resource.h"
#include "tests/kit/Input.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Sequence.h"
#include "tests/kit/Tray.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"
#include "tray/CNotifyIcon.h"

using testutil::FlushMessages;
using testutil::SetShiftState;
using testutil::WaitFor;
using traytest::CRecorderWnd;
using traytest::MenuWatch;
using traytest::kCallback;
using traytest::kId;

namespace {

constexpr UINT kNoMenuId = 999;   // names no menu resource
constexpr DWORD kVersion62 = 0x23F00206;
const UINT kFirstFormSize = sizeof(void*) == 8 ? 168 : 152;   // NOTIFYICONDATAW_V1_SIZE

// --- the recording layer ----------------------------------------------------

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW data;
    BOOL windowAlive;   // whether the record's window still existed then
};
std::vector<ShellCall> g_calls;
BOOL g_shellResult = TRUE;

BOOL WINAPI RecordShell(DWORD message, PNOTIFYICONDATAW data) {
    g_calls.push_back({message, *data, IsWindow(data->hWnd)});
    return g_shellResult;
}

// A message filter that refuses, as it may for a program without rights.
struct FilterCall { HWND hWnd; UINT message; DWORD action; };
std::vector<FilterCall> g_filterCalls;
BOOL WINAPI RefusedFilter(HWND hWnd, UINT message, DWORD action, void*) {
    g_filterCalls.push_back({hWnd, message, action});
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

DWORD g_version = kVersion62;
DWORD WINAPI InjectedVersion() { return g_version; }

CNotifyIcon::DateTime g_now;
CNotifyIcon::DateTime InjectedNow() { return g_now; }

// A clock reading a whole number of seconds after 30 December 1899.
CNotifyIcon::DateTime AtSecond(long long seconds) {
    CNotifyIcon::DateTime t;
    t.days = static_cast<double>(seconds) / 86400.0;
    return t;
}
constexpr long long kSomeMorning = 46447LL * 86400 + 9 * 3600;   // 2027-03-01 09:00

void Reset() {
    g_calls.clear();
    g_shellResult = TRUE;
    g_version = kVersion62;
}

HICON Icon(int n) {
    static HICON icons[6] = {};
    static const COLORREF colours[6] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                                        RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)};
    if (!icons[n]) icons[n] = testutil::SolidIcon(colours[n]);
    return icons[n];
}

// Notes every message that reaches the component's window procedure.
class CTestIcon : public CNotifyIcon {
public:
    std::vector<UINT> m_seen;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_seen.push_back(message);
        return CNotifyIcon::WindowProc(message, wParam, lParam);
    }
    bool Saw(UINT message) const {
        for (UINT m : m_seen)
            if (m == message) return true;
        return false;
    }
};

CWinApp* g_app = nullptr;
CRecorderWnd* g_main = nullptr;    // the application's main window
CRecorderWnd* g_other = nullptr;   // another window to take the foreground

void OtherToForeground() {
    SetForegroundWindow(g_other->m_hWnd);
    FlushMessages();
}

bool SameRecordFields(const NOTIFYICONDATAW& a, const NOTIFYICONDATAW& b) {
    return a.cbSize == b.cbSize && a.hWnd == b.hWnd && a.uID == b.uID &&
           a.uCallbackMessage == b.uCallbackMessage && std::wcscmp(a.szTip, b.szTip) == 0;
}

// --- construction and Create --------------------------------------------------

void TestConstruction() {
    ok_context("construction");
    Reset();
    {
        CNotifyIcon icon;
        ok(icon.m_hWnd == nullptr, "expected no window, got %p", icon.m_hWnd);
        ok(icon.m_bIconPresent == 0, "expected no icon, got %d", icon.m_bIconPresent);
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&icon.m_iconData);
        int nonzero = 0;
        for (size_t i = 0; i < sizeof icon.m_iconData; ++i) nonzero += bytes[i] != 0;
        ok(nonzero == 0, "expected a zeroed record, got %d nonzero bytes", nonzero);
        ok(icon.m_frames.empty(), "expected no frames, got %u", unsigned(icon.m_frames.size()));
        ok(icon.m_nTimerId == 0, "expected no timer, got %u", icon.m_nTimerId);
        ok(icon.m_animStart.days == 0.0 && icon.m_animStart.valid,
           "expected the zero date-time, got %f (valid %d)", icon.m_animStart.days, icon.m_animStart.valid);
        ok(icon.m_hRestoreIcon == nullptr, "expected no restore icon, got %p", icon.m_hRestoreIcon);
        ok(icon.m_nDefaultItem == 0, "expected default item 0, got %u", icon.m_nDefaultItem);
        ok(icon.m_bDefaultByPos == 1, "expected default by position, got %d", icon.m_bDefaultByPos);
    }
    ok(g_calls.empty(), "construction and destruction alone: expected no shell call, got %u",
       unsigned(g_calls.size()));
}

void TestRuntimeClass() {
    ok_context("run-time class");
    CNotifyIcon icon;
    const CRuntimeClass* cls = icon.GetRuntimeClass();
    ok(cls == &CNotifyIcon::classCNotifyIcon, "expected the class's own record %p, got %p",
       static_cast<const void*>(&CNotifyIcon::classCNotifyIcon), static_cast<const void*>(cls));
    ok(std::strcmp(cls->m_lpszClassName, "CNotifyIcon") == 0, "expected \"CNotifyIcon\", got \"%s\"",
       cls->m_lpszClassName);
    ok(cls->m_pBaseClass == &CWnd::classCWnd, "expected base CWnd, got %s",
       cls->m_pBaseClass ? cls->m_pBaseClass->m_lpszClassName : "none");
    ok(icon.IsKindOf(&CWnd::classCWnd), "expected a kind of CWnd, got one that is not (class \"%s\")",
       cls->m_lpszClassName);
    ok(icon.IsKindOf(&CObject::classCObject), "expected a kind of CObject, got one that is not (class \"%s\")",
       cls->m_lpszClassName);
}

void TestPlatformVersion() {
    struct Case {
        const char* label;
        DWORD version;
        BOOL expected;
    };
    const Case cases[] = {
        {"3.0", 0x00000003, FALSE},
        {"3.95 with a build number", 0x0A285F03, FALSE},   // the major version is the low byte
        {"3.4", 0x00000403, FALSE},
        {"4.0", 0x00000004, TRUE},
        {"4.3", 0x00000304, TRUE},
        {"6.2", kVersion62, TRUE},
    };
    for (const Case& c : cases) {
        ok_context(std::string("version ") + c.label);
        Reset();
        g_version = c.version;
        {
            CNotifyIcon icon;
            BOOL created = icon.Create(nullptr, kCallback, L"Wimmelpult", Icon(0), kId);
            ok(!created == !c.expected, "expected Create %d, got %d", c.expected, created);
            if (c.expected) {
                ok(icon.m_hWnd != nullptr, "expected a window, got none");
                ok(g_calls.size() == 1 && g_calls[0].message == NIM_ADD,
                   "expected one NIM_ADD, got %u calls (first message %ld)", unsigned(g_calls.size()),
                   g_calls.empty() ? -1L : static_cast<long>(g_calls[0].message));
                continue;
            }
            ok(icon.m_hWnd == nullptr, "expected no window, got %p", icon.m_hWnd);
            ok(icon.m_bIconPresent == 0, "expected no icon, got %d", icon.m_bIconPresent);
            ok(!icon.ChangeIcon(Icon(1)), "expected ChangeIcon to fail, it succeeded");
            icon.DeleteIcon();
            ok(g_calls.empty(), "expected no shell call, got %u", unsigned(g_calls.size()));
        }
        ok(g_calls.empty(), "after destruction: expected no shell call, got %u", unsigned(g_calls.size()));
    }
}

void TestCreateRecord() {
    ok_context("Create");
    Reset();
    CNotifyIcon icon;
    BOOL created = icon.Create(nullptr, kCallback, L"Wimmelpult", Icon(0), kId);
    ok(created, "expected Create to succeed, it failed");
    ok(icon.m_bIconPresent, "expected the icon present, got m_bIconPresent %d", icon.m_bIconPresent);
    if (!ok(g_calls.size() == 1, "expected one shell call, got %u", unsigned(g_calls.size()))) return;
    const ShellCall& add = g_calls[0];
    ok(add.message == NIM_ADD, "expected NIM_ADD, got %lu", add.message);
    ok(add.data.cbSize == kFirstFormSize, "expected cbSize %u, got %lu", kFirstFormSize, add.data.cbSize);
    ok(add.data.hWnd == icon.m_hWnd && icon.m_hWnd, "expected the own window %p, got %p", icon.m_hWnd,
       add.data.hWnd);
    ok(add.data.uID == kId, "expected id %u, got %u", kId, add.data.uID);
    ok(add.data.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP), "expected flags 7, got %u", add.data.uFlags);
    ok(add.data.uCallbackMessage == kCallback, "expected callback %#x, got %#x", kCallback,
       add.data.uCallbackMessage);
    ok(add.data.hIcon == Icon(0), "expected icon %p, got %p", Icon(0), add.data.hIcon);
    ok(std::wcscmp(add.data.szTip, L"Wimmelpult") == 0, "expected tip \"Wimmelpult\", got \"%ls\"",
       add.data.szTip);

    HWND hWnd = icon.m_hWnd;
    ok(CWnd::FromHandlePermanent(hWnd) == &icon, "expected the window bound to the component %p, got %p",
       static_cast<const void*>(&icon), static_cast<const void*>(CWnd::FromHandlePermanent(hWnd)));
    // The platform adds WS_CLIPSIBLINGS to every top-level window.
    LONG style = GetWindowLongA(hWnd, GWL_STYLE) & ~WS_CLIPSIBLINGS;
    ok(style == static_cast<LONG>(WS_POPUP), "expected style WS_POPUP, got %#lx", style);
    ok(GetWindowLongA(hWnd, GWL_EXSTYLE) == 0, "expected no extended style, got %#lx",
       GetWindowLongA(hWnd, GWL_EXSTYLE));
    ok(!IsWindowVisible(hWnd), "expected a hidden window, it is visible");
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    ok(rc.left == 0 && rc.top == 0 && rc.right == 10 && rc.bottom == 10,
       "expected (0,0)-(10,10), got (%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    ok(GetWindow(hWnd, GW_OWNER) == nullptr && GetParent(hWnd) == nullptr,
       "expected no owner or parent, got owner %p, parent %p", GetWindow(hWnd, GW_OWNER), GetParent(hWnd));
    ok(GetWindowTextLengthA(hWnd) == 0, "expected an empty title, got %d characters",
       GetWindowTextLengthA(hWnd));
    ok(GetMenu(hWnd) == nullptr, "expected no menu, got %p", GetMenu(hWnd));
    ok(GetClassLongA(hWnd, GCL_STYLE) == 0, "expected no class style, got %#lx", GetClassLongA(hWnd, GCL_STYLE));
    ok(GetClassLongPtrA(hWnd, GCLP_HCURSOR) == 0, "expected no class cursor, got %p",
       reinterpret_cast<void*>(GetClassLongPtrA(hWnd, GCLP_HCURSOR)));
    ok(GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND) == 0, "expected no class brush, got %p",
       reinterpret_cast<void*>(GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND)));
    ok(GetClassLongPtrA(hWnd, GCLP_HICON) == 0, "expected no class icon, got %p",
       reinterpret_cast<void*>(GetClassLongPtrA(hWnd, GCLP_HICON)));
}

void TestCreateTargets() {
    ok_context("Create, callback target");
    Reset();
    {
        CNotifyIcon icon;
        icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
        ok(!g_calls.empty() && g_calls[0].data.hWnd == icon.m_hWnd && icon.m_hWnd,
           "NULL parent: expected the own window %p, got %p", icon.m_hWnd,
           g_calls.empty() ? nullptr : g_calls[0].data.hWnd);
    }
    Reset();
    {
        CWnd noWindow;
        CNotifyIcon icon;
        icon.Create(&noWindow, kCallback, L"tip", Icon(0), kId);
        ok(!g_calls.empty() && g_calls[0].data.hWnd == icon.m_hWnd && icon.m_hWnd,
           "parent without a window: expected the own window %p, got %p", icon.m_hWnd,
           g_calls.empty() ? nullptr : g_calls[0].data.hWnd);
    }
    Reset();
    {
        CNotifyIcon icon;
        icon.Create(g_main, kCallback, L"tip", Icon(0), kId);
        ok(!g_calls.empty() && g_calls[0].data.hWnd == g_main->m_hWnd,
           "parent with a window: expected %p, got %p", g_main->m_hWnd,
           g_calls.empty() ? nullptr : g_calls[0].data.hWnd);
        ok(icon.m_hWnd != nullptr && icon.m_hWnd != g_main->m_hWnd,
           "parent with a window: expected the component's own window all the same, got %p (parent %p)",
           icon.m_hWnd, g_main->m_hWnd);
        ok(GetParent(icon.m_hWnd) == nullptr && GetWindow(icon.m_hWnd, GW_OWNER) == nullptr,
           "expected the own window neither child nor owned, got parent %p, owner %p", GetParent(icon.m_hWnd),
           GetWindow(icon.m_hWnd, GW_OWNER));
    }
}

void TestSecondCreate() {
    ok_context("second Create");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"first", Icon(0), kId);
    HWND first = icon.m_hWnd;
    NOTIFYICONDATAW before = icon.m_iconData;
    g_calls.clear();
    BOOL again = icon.Create(g_main, kCallback + 1, L"second", Icon(1), kId + 1);
    ok(!again, "expected FALSE, got %d", again);
    ok(g_calls.empty(), "expected no shell call, got %u", unsigned(g_calls.size()));
    ok(icon.m_hWnd == first, "expected the same window %p, got %p", first, icon.m_hWnd);
    int changedBytes = 0;
    for (size_t i = 0; i < sizeof before; ++i)
        changedBytes += reinterpret_cast<const BYTE*>(&before)[i] != reinterpret_cast<const BYTE*>(&icon.m_iconData)[i];
    ok(std::memcmp(&before, &icon.m_iconData, sizeof before) == 0,
       "expected the record unchanged, got %d bytes changed", changedBytes);
    ok(icon.m_bIconPresent, "expected the icon still present, got m_bIconPresent %d", icon.m_bIconPresent);
}

void TestTooltip() {
    const std::wstring tip63(63, L'x');
    const std::wstring tip64 = std::wstring(63, L'y') + L"Z";
    const std::wstring tip200 = std::wstring(63, L'z') + std::wstring(137, L'W');
    struct Case {
        const char* label;
        const wchar_t* tip;
        std::wstring expected;
    };
    const Case cases[] = {
        {"63 characters", tip63.c_str(), tip63},
        {"64 characters", tip64.c_str(), std::wstring(63, L'y')},
        {"200 characters", tip200.c_str(), std::wstring(63, L'z')},
        {"German and Cyrillic", L"Schlie\xdf" L"en Привет", L"Schlie\xdf" L"en Привет"},
        {"empty", L"", L""},
        {"NULL", nullptr, L""},
    };
    for (const Case& c : cases) {
        ok_context(std::string("tooltip, ") + c.label);
        Reset();
        CNotifyIcon icon;
        ok(icon.Create(nullptr, kCallback, c.tip, Icon(0), kId), "expected Create to succeed, it failed");
        if (!ok(g_calls.size() == 1, "expected one call, got %u", unsigned(g_calls.size()))) continue;
        const NOTIFYICONDATAW& sent = g_calls[0].data;
        ok(c.expected == sent.szTip, "expected \"%ls\", got \"%.70ls\"", c.expected.c_str(), sent.szTip);
        // Nothing past the first form's 64-character tooltip field.
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&sent);
        int beyond = 0;
        for (size_t i = kFirstFormSize; i < sizeof sent; ++i) beyond += bytes[i] != 0;
        ok(beyond == 0, "expected nothing written past byte %u, got %d nonzero bytes", kFirstFormSize, beyond);
    }
}

void TestAddFails() {
    ok_context("NIM_ADD fails");
    Reset();
    g_shellResult = FALSE;
    HWND hWnd = nullptr;
    {
        CNotifyIcon icon;
        BOOL created = icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
        hWnd = icon.m_hWnd;
        ok(!created, "expected FALSE, got %d", created);
        ok(icon.m_bIconPresent == 0, "expected no icon, got %d", icon.m_bIconPresent);
        ok(hWnd != nullptr, "expected the window to exist all the same, got none");
        g_calls.clear();
        g_shellResult = TRUE;
        ok(!icon.ChangeIcon(Icon(1)), "expected ChangeIcon to fail, it succeeded");
        icon.DeleteIcon();
        ok(g_calls.empty(), "expected no shell call, got %u", unsigned(g_calls.size()));
    }
    ok(g_calls.empty(), "after destruction: expected no NIM_DELETE, got %u calls", unsigned(g_calls.size()));
    ok(!IsWindow(hWnd), "expected the window destroyed, it still exists");
}

// --- ChangeIcon, DeleteIcon, destruction ------------------------------------

void TestChangeAndDelete() {
    ok_context("ChangeIcon and DeleteIcon");
    Reset();
    CNotifyIcon icon;
    ok(!icon.ChangeIcon(Icon(1)), "before Create: expected FALSE, got TRUE");
    icon.DeleteIcon();
    ok(g_calls.empty(), "before Create: expected no shell call, got %u", unsigned(g_calls.size()));

    icon.Create(nullptr, kCallback, L"Wimmelpult", Icon(0), kId);
    const NOTIFYICONDATAW added = g_calls.back().data;
    g_calls.clear();
    ok(icon.ChangeIcon(Icon(1)), "expected the shell's TRUE, got FALSE");
    if (ok(g_calls.size() == 1, "expected one call, got %u", unsigned(g_calls.size()))) {
        const ShellCall& c = g_calls[0];
        ok(c.message == NIM_MODIFY, "expected NIM_MODIFY, got %lu", c.message);
        ok(c.data.uFlags == NIF_ICON, "expected flags NIF_ICON, got %u", c.data.uFlags);
        ok(c.data.hIcon == Icon(1), "expected icon %p, got %p", Icon(1), c.data.hIcon);
        ok(SameRecordFields(c.data, added),
           "expected size, window, id, message and tip as at Create (%lu, %p, %u, %#x, \"%ls\"), "
           "got %lu, %p, %u, %#x, \"%ls\"", added.cbSize, added.hWnd, added.uID, added.uCallbackMessage,
           added.szTip, c.data.cbSize, c.data.hWnd, c.data.uID, c.data.uCallbackMessage, c.data.szTip);
    }

    g_calls.clear();
    g_shellResult = FALSE;
    ok(!icon.ChangeIcon(Icon(2)), "failing NIM_MODIFY: expected FALSE, got TRUE");
    ok(icon.m_iconData.hIcon == Icon(2), "failing NIM_MODIFY: expected the record to hold the new icon %p, got %p",
       Icon(2), icon.m_iconData.hIcon);
    ok(icon.m_bIconPresent, "failing NIM_MODIFY: expected the icon still present, got m_bIconPresent %d",
       icon.m_bIconPresent);

    g_shellResult = TRUE;
    for (int i = 0; i < 4; ++i) icon.ChangeIcon(Icon(i % 3));
    g_calls.clear();
    icon.DeleteIcon();
    if (ok(g_calls.size() == 1, "DeleteIcon: expected one call, got %u", unsigned(g_calls.size()))) {
        const ShellCall& c = g_calls[0];
        ok(c.message == NIM_DELETE, "expected NIM_DELETE, got %lu", c.message);
        ok(c.data.uFlags == 0, "expected flags 0, got %u", c.data.uFlags);
        ok(c.data.hWnd == added.hWnd && c.data.uID == added.uID,
           "expected the window %p and id %u of Create, got %p and %u", added.hWnd, added.uID, c.data.hWnd,
           c.data.uID);
    }
    ok(icon.m_bIconPresent == 0, "expected the icon absent, got m_bIconPresent %d", icon.m_bIconPresent);

    g_calls.clear();
    icon.DeleteIcon();
    ok(!icon.ChangeIcon(Icon(1)), "after DeleteIcon: expected ChangeIcon FALSE, got TRUE");
    ok(g_calls.empty(), "second DeleteIcon and ChangeIcon: expected no call, got %u", unsigned(g_calls.size()));

    ok_context("failing NIM_DELETE");
    Reset();
    CNotifyIcon other;
    other.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_shellResult = FALSE;
    g_calls.clear();
    other.DeleteIcon();
    other.DeleteIcon();
    ok(g_calls.size() == 1, "expected one NIM_DELETE, got %u calls", unsigned(g_calls.size()));
    ok(other.m_bIconPresent == 0, "expected the icon to count as absent, got m_bIconPresent %d",
       other.m_bIconPresent);
}

void TestDestruction() {
    CWnd* parents[] = {nullptr, g_main};
    for (CWnd* parent : parents) {
        ok_context(parent ? "destruction, with a parent" : "destruction");
        Reset();
        HWND hWnd = nullptr;
        {
            CNotifyIcon icon;
            icon.Create(parent, kCallback, L"tip", Icon(0), kId);
            hWnd = icon.m_hWnd;
            const std::vector<HICON> frames = {Icon(1), Icon(2)};
            ok(icon.StartAnimation(frames, 0, 60000, Icon(3)), "expected an animation to start, it did not");
            g_calls.clear();
        }
        ok(!IsWindow(hWnd), "expected the own window destroyed, it still exists");
        // Only the icon goes: no restore icon, no other record.
        if (!ok(g_calls.size() == 1, "expected only NIM_DELETE, got %u calls", unsigned(g_calls.size())))
            continue;
        const ShellCall& c = g_calls[0];
        ok(c.message == NIM_DELETE, "expected NIM_DELETE, got %lu", c.message);
        HWND expected = parent ? parent->m_hWnd : hWnd;
        ok(c.data.hWnd == expected && c.data.uID == kId, "expected window %p and id %u, got %p and %u", expected,
           kId, c.data.hWnd, c.data.uID);
        if (!parent) ok(c.windowAlive, "expected the icon removed before its window was destroyed, it was after");
    }
    ok(IsWindow(g_main->m_hWnd), "expected the parent window left alone, it was destroyed");
}

// --- the animation --------------------------------------------------------------

void TestAdvanceAnimation() {
    ok_context("AdvanceAnimation");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_calls.clear();
    icon.m_nFrame = 7;
    ok(!icon.AdvanceAnimation(), "no frames: expected FALSE, got TRUE");
    ok(icon.m_nFrame == 7, "no frames: expected the frame index unchanged, got %d", icon.m_nFrame);
    ok(g_calls.empty(), "no frames: expected no call, got %u", unsigned(g_calls.size()));

    icon.m_frames = {Icon(1), Icon(2), Icon(3)};
    struct Step {
        int from;
        int expectedFrame;
    };
    const Step steps[] = {{2, 0}, {0, 1}, {1, 2}, {-1, 0}};
    for (const Step& s : steps) {
        g_calls.clear();
        icon.m_nFrame = s.from;
        BOOL shown = icon.AdvanceAnimation();
        ok(shown, "from %d: expected TRUE, got %d", s.from, shown);
        ok(icon.m_nFrame == s.expectedFrame, "from %d: expected frame %d, got %d", s.from, s.expectedFrame,
           icon.m_nFrame);
        ok(g_calls.size() == 1 && g_calls[0].message == NIM_MODIFY &&
               g_calls[0].data.hIcon == icon.m_frames[s.expectedFrame],
           "from %d: expected frame %d shown (NIM_MODIFY with %p), got %u calls (first message %ld, icon %p)",
           s.from, s.expectedFrame, icon.m_frames[s.expectedFrame], unsigned(g_calls.size()),
           g_calls.empty() ? -1L : static_cast<long>(g_calls[0].message),
           g_calls.empty() ? nullptr : g_calls[0].data.hIcon);
    }

    g_shellResult = FALSE;
    ok(!icon.AdvanceAnimation(), "failing NIM_MODIFY: expected FALSE, got TRUE");
    g_shellResult = TRUE;

    icon.DeleteIcon();
    g_calls.clear();
    icon.m_nFrame = 0;
    ok(!icon.AdvanceAnimation(), "icon absent: expected FALSE, got TRUE");
    ok(icon.m_nFrame == 1, "icon absent: expected the index to move on to 1, got %d", icon.m_nFrame);
    ok(g_calls.empty(), "icon absent: expected no call, got %u", unsigned(g_calls.size()));
}

void TestEndAnimation() {
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);

    ok_context("EndAnimation, no timer, no restore icon");
    g_calls.clear();
    ok(!icon.EndAnimation(), "expected FALSE, got TRUE");
    ok(g_calls.empty(), "expected no call, got %u", unsigned(g_calls.size()));

    ok_context("EndAnimation, timer and restore icon");
    icon.m_nTimerId = static_cast<UINT>(SetTimer(icon.m_hWnd, 5, 60000, nullptr));
    icon.m_hRestoreIcon = Icon(4);
    g_calls.clear();
    ok(icon.EndAnimation(), "expected KillTimer's TRUE, got FALSE");
    ok(!KillTimer(icon.m_hWnd, 5), "expected the timer gone, KillTimer still found it");
    ok(icon.m_nTimerId == 0 && icon.m_hRestoreIcon == nullptr,
       "expected timer and restore icon cleared, got timer %u, restore icon %p", icon.m_nTimerId,
       icon.m_hRestoreIcon);
    ok(g_calls.size() == 1 && g_calls[0].message == NIM_MODIFY && g_calls[0].data.hIcon == Icon(4),
       "expected the restore icon %p shown, got %u calls (first message %ld, icon %p)", Icon(4),
       unsigned(g_calls.size()), g_calls.empty() ? -1L : static_cast<long>(g_calls[0].message),
       g_calls.empty() ? nullptr : g_calls[0].data.hIcon);

    ok_context("EndAnimation, timer only");
    icon.m_nTimerId = static_cast<UINT>(SetTimer(icon.m_hWnd, 6, 60000, nullptr));
    g_calls.clear();
    ok(icon.EndAnimation(), "expected TRUE, got FALSE");
    ok(!KillTimer(icon.m_hWnd, 6), "expected the timer gone, KillTimer still found it");
    ok(g_calls.empty(), "expected no call, got %u", unsigned(g_calls.size()));

    ok_context("EndAnimation, restore icon only");
    icon.m_hRestoreIcon = Icon(4);
    g_calls.clear();
    ok(!icon.EndAnimation(), "expected FALSE, got TRUE");
    ok(g_calls.size() == 1 && g_calls[0].data.hIcon == Icon(4),
       "expected the restore icon %p shown, got %u calls (first icon %p)", Icon(4), unsigned(g_calls.size()),
       g_calls.empty() ? nullptr : g_calls[0].data.hIcon);
    ok(icon.m_hRestoreIcon == nullptr, "expected the restore icon cleared, got %p", icon.m_hRestoreIcon);

    ok_context("EndAnimation, timer that KillTimer refuses");
    icon.m_nTimerId = 4242;
    icon.m_hRestoreIcon = Icon(5);
    g_calls.clear();
    ok(!icon.EndAnimation(), "expected FALSE, got TRUE");
    ok(icon.m_nTimerId == 0, "expected the timer id cleared, got %u", icon.m_nTimerId);
    ok(g_calls.size() == 1 && g_calls[0].data.hIcon == Icon(5),
       "expected the restore icon %p shown, got %u calls (first icon %p)", Icon(5), unsigned(g_calls.size()),
       g_calls.empty() ? nullptr : g_calls[0].data.hIcon);

    ok_context("EndAnimation, icon absent");
    icon.DeleteIcon();
    icon.m_hRestoreIcon = Icon(4);
    g_calls.clear();
    ok(!icon.EndAnimation(), "expected FALSE, got TRUE");
    ok(icon.m_hRestoreIcon == nullptr, "expected the restore icon cleared, got %p", icon.m_hRestoreIcon);
    ok(g_calls.empty(), "expected no call, got %u", unsigned(g_calls.size()));
}

// One timer tick, the given number of seconds after start.
void TickAt(CNotifyIcon& icon, long long start, long long second) {
    g_now = AtSecond(start + second);
    SendMessageA(icon.m_hWnd, WM_TIMER, icon.m_nTimerId, 0);
}

void TestTimerEndRule() {
    const std::vector<HICON> frames = {Icon(1), Icon(2), Icon(3)};
    const HICON restore = Icon(4);

    // Starts spread over the day. As day fractions, several of them are more
    // than ten seconds apart from their tenth second, so the rule is really
    // tested against the floating-point difference.
    std::vector<long long> starts;
    for (int k = 0; k < 40; ++k) starts.push_back(kSomeMorning + k * 2161LL);
    int roughStarts = 0;
    for (long long s : starts)
        roughStarts += (AtSecond(s + 10).days - AtSecond(s).days) * 86400.0 > 10.0;
    ok(roughStarts > 0, "expected starts whose day difference reads above 10 s, got none");

    for (long long s : starts) {
        ok_context("end of time, start " + std::to_string(s));
        Reset();
        CNotifyIcon icon;
        icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
        g_now = AtSecond(s);
        icon.StartAnimation(frames, 10, 60000, restore);
        g_calls.clear();

        TickAt(icon, s, 10);
        ok(icon.m_nTimerId != 0, "at 10 s: expected the animation still running, it ended");
        ok(g_calls.size() == 1 && g_calls[0].data.hIcon == frames[1],
           "at 10 s: expected frame 1 (%p) shown, got %u calls (first icon %p)", frames[1], unsigned(g_calls.size()),
           g_calls.empty() ? nullptr : g_calls[0].data.hIcon);
        g_calls.clear();
        TickAt(icon, s, 11);
        ok(icon.m_nTimerId == 0, "at 11 s: expected the animation ended, timer %u still set", icon.m_nTimerId);
        ok(g_calls.size() == 1 && g_calls[0].data.hIcon == restore,
           "at 11 s: expected the restore icon %p, got %u calls (first icon %p)", restore, unsigned(g_calls.size()),
           g_calls.empty() ? nullptr : g_calls[0].data.hIcon);
        ok(icon.m_nFrame == 1, "at 11 s: expected no advance from frame 1, got frame %d", icon.m_nFrame);
    }

    struct Case {
        const char* label;
        int seconds;
        bool startValid;
        bool nowValid;
        long long tick;
        bool ends;
    };
    const Case cases[] = {
        {"no limit, 0", 0, true, true, 1000000, false},
        {"no limit, -5", -5, true, true, 1000000, false},
        {"1 s, tick at 1 s", 1, true, true, 1, false},
        {"1 s, tick at 2 s", 1, true, true, 2, true},
        {"invalid now", 10, true, false, 1000, false},
        {"invalid start", 10, false, true, 1000, false},
        {"clock set back", 10, true, true, -3600, false},
    };
    for (const Case& c : cases) {
        ok_context(std::string("end of time, ") + c.label);
        Reset();
        CNotifyIcon icon;
        icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
        g_now = AtSecond(kSomeMorning);
        g_now.valid = c.startValid;
        icon.StartAnimation(frames, c.seconds, 60000, restore);
        g_now = AtSecond(kSomeMorning + c.tick);
        g_now.valid = c.nowValid;
        int frameBefore = icon.m_nFrame;
        SendMessageA(icon.m_hWnd, WM_TIMER, icon.m_nTimerId, 0);
        ok((icon.m_nTimerId == 0) == c.ends, "expected the animation %s, got it %s", c.ends ? "ended" : "running",
           icon.m_nTimerId == 0 ? "ended" : "running");
        ok((icon.m_nFrame == frameBefore) == c.ends, "expected the frame %s, got %d from %d",
           c.ends ? "unchanged" : "advanced", icon.m_nFrame, frameBefore);
    }

    ok_context("end of time, any timer id");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_now = AtSecond(kSomeMorning);
    icon.StartAnimation(frames, 10, 60000, restore);
    g_now = AtSecond(kSomeMorning + 11);
    SendMessageA(icon.m_hWnd, WM_TIMER, 777, 0);
    ok(icon.m_nTimerId == 0, "expected a tick of another id to end the animation too, timer %u still set",
       icon.m_nTimerId);
}

void TestStartAnimation() {
    const std::vector<HICON> frames = {Icon(1), Icon(2), Icon(3)};

    ok_context("StartAnimation without a window");
    Reset();
    {
        CNotifyIcon icon;
        ok(!icon.StartAnimation(frames, 5, 10, Icon(4)), "expected FALSE, got TRUE");
        ok(icon.m_nTimerId == 0 && icon.m_frames.empty() && icon.m_hRestoreIcon == nullptr,
           "expected nothing set up, got timer %u, %u frames, restore icon %p", icon.m_nTimerId,
           unsigned(icon.m_frames.size()), icon.m_hRestoreIcon);
    }

    ok_context("StartAnimation without frames");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_calls.clear();
    ok(!icon.StartAnimation({}, 5, 10, Icon(4)), "expected FALSE, got TRUE");
    ok(icon.m_nTimerId == 0 && icon.m_hRestoreIcon == nullptr, "expected nothing set up, got timer %u, restore icon %p",
       icon.m_nTimerId, icon.m_hRestoreIcon);
    ok(g_calls.empty(), "expected no call, got %u", unsigned(g_calls.size()));

    ok_context("StartAnimation");
    g_now = AtSecond(kSomeMorning);
    ok(icon.StartAnimation(frames, 0, 10, Icon(4)), "expected TRUE, got FALSE");
    ok(icon.m_frames == frames, "expected the frames taken");
    ok(icon.m_nFrame == 0, "expected frame index 0 first, got %d", icon.m_nFrame);
    ok(!g_calls.empty() && g_calls[0].message == NIM_MODIFY && g_calls[0].data.hIcon == frames[0],
       "expected frame 0 (%p) shown at once, got %u calls (first message %ld, icon %p)", frames[0],
       unsigned(g_calls.size()), g_calls.empty() ? -1L : static_cast<long>(g_calls[0].message),
       g_calls.empty() ? nullptr : g_calls[0].data.hIcon);
    ok(icon.m_animStart.days == g_now.days && icon.m_animStart.valid,
       "expected the start time %f from the clock, got %f (valid %d)", g_now.days, icon.m_animStart.days,
       icon.m_animStart.valid);
    ok(icon.m_nAnimSeconds == 0, "expected no limit, got %d", icon.m_nAnimSeconds);
    ok(icon.m_hRestoreIcon == Icon(4), "expected the restore icon %p kept, got %p", Icon(4), icon.m_hRestoreIcon);
    ok(icon.m_nTimerId != 0, "expected a timer, got none");

    // The platform's own timer on the component's window drives the frames.
    ok(WaitFor([] { return g_calls.size() >= 5; }, 5000), "expected the timer to advance to 5 calls, got %u",
       unsigned(g_calls.size()));
    const int expected[] = {0, 1, 2, 0, 1};
    for (int i = 0; i < 5 && i < static_cast<int>(g_calls.size()); ++i)
        ok(g_calls[i].data.hIcon == frames[expected[i]], "call %d: expected frame %d", i, expected[i]);

    ok_context("StartAnimation again, ended by the timer");
    const std::vector<HICON> two = {Icon(5), Icon(1)};
    g_calls.clear();
    ok(icon.StartAnimation(two, 1, 10, Icon(3)), "expected TRUE, got FALSE");
    ok(!g_calls.empty() && g_calls[0].data.hIcon == two[0],
       "expected the new first frame %p at once, got %u calls (first icon %p)", two[0], unsigned(g_calls.size()),
       g_calls.empty() ? nullptr : g_calls[0].data.hIcon);
    ok(icon.m_hRestoreIcon == Icon(3) && icon.m_nAnimSeconds == 1,
       "expected the new duration 1 s and restore icon %p, got %d s and %p", Icon(3), icon.m_nAnimSeconds,
       icon.m_hRestoreIcon);
    g_now = AtSecond(kSomeMorning + 2);
    ok(WaitFor([&] { return icon.m_nTimerId == 0; }, 5000), "expected the animation to end, timer %u still set",
       icon.m_nTimerId);
    ok(!g_calls.empty() && g_calls.back().data.hIcon == Icon(3),
       "expected the restore icon %p shown last, got %u calls (last icon %p)", Icon(3), unsigned(g_calls.size()),
       g_calls.empty() ? nullptr : g_calls.back().data.hIcon);
    ok(!KillTimer(icon.m_hWnd, CNotifyIcon::kAnimationTimerId), "expected no timer left, KillTimer found one");
}

void TestStrayTimer() {
    ok_context("stray WM_TIMER");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_calls.clear();
    int frame = icon.m_nFrame;
    SendMessageA(icon.m_hWnd, WM_TIMER, 1, 0);
    PostMessageA(icon.m_hWnd, WM_TIMER, 99, 0);
    FlushMessages();
    ok(g_calls.empty(), "expected no call, got %u", unsigned(g_calls.size()));
    ok(icon.m_nFrame == frame, "expected frame %d, got %d", frame, icon.m_nFrame);
    ok(icon.m_nTimerId == 0 && icon.m_hRestoreIcon == nullptr && icon.m_frames.empty(),
       "expected no animation state, got timer %u, restore icon %p, %u frames", icon.m_nTimerId,
       icon.m_hRestoreIcon, unsigned(icon.m_frames.size()));
}

void TestLocalClock() {
    ok_context("local clock");
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    CNotifyIcon::DateTime now = CNotifyIcon::LocalNow();
    GetLocalTime(&after);
    double low = 0, high = 0;
    before.wMilliseconds = 0;
    SystemTimeToVariantTime(&before, &low);
    SystemTimeToVariantTime(&after, &high);
    ok(now.valid, "expected a valid reading, got an invalid one (%f)", now.days);
    ok(now.days >= low - 1e-9 && now.days <= high + 1e-9, "expected between %f and %f, got %f", low, high,
       now.days);
    double seconds = now.days * 86400.0;
    ok(std::fabs(seconds - std::round(seconds)) < 1e-3, "expected whole seconds, got %f", seconds);
}

// --- the taskbar coming back ------------------------------------------------------

void TestTaskbarCreated() {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");

    // Let through to the window that hears it; a refusal changes nothing else.
    ok_context("TaskbarCreated, message filter refused");
    Reset();
    auto* const realFilter = CNotifyIcon::s_pfnChangeWindowMessageFilterEx;
    CNotifyIcon::s_pfnChangeWindowMessageFilterEx = &RefusedFilter;
    CNotifyIcon icon;
    icon.Create(g_main, kCallback, L"Wimmelpult", Icon(0), kId);
    CNotifyIcon::s_pfnChangeWindowMessageFilterEx = realFilter;
    FilterCall got = g_filterCalls.empty() ? FilterCall{} : g_filterCalls[0];
    ok(g_filterCalls.size() == 1 && got.hWnd == icon.m_hWnd && got.message == taskbarCreated && got.action == 1,
       "expected one call (%p, %#x, MSGFLT_ALLOW), got %u, the first (%p, %#x, %lu)", icon.m_hWnd, taskbarCreated,
       unsigned(g_filterCalls.size()), got.hWnd, got.message, got.action);
    const NOTIFYICONDATAW added = g_calls.back().data;
    icon.ChangeIcon(Icon(2));
    g_calls.clear();
    SendMessageA(icon.m_hWnd, taskbarCreated, 0, 0);
    if (ok(g_calls.size() == 1, "expected one call, got %u", unsigned(g_calls.size()))) {
        const ShellCall& c = g_calls[0];
        ok(c.message == NIM_ADD, "expected NIM_ADD, got %lu", c.message);
        ok(c.data.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP), "expected flags 7, got %u", c.data.uFlags);
        ok(c.data.hIcon == Icon(2), "expected the last shown icon %p, got %p", Icon(2), c.data.hIcon);
        ok(SameRecordFields(c.data, added),
           "expected the record of Create (%lu, %p, %u, %#x, \"%ls\"), "
           "got %lu, %p, %u, %#x, \"%ls\"", added.cbSize, added.hWnd, added.uID, added.uCallbackMessage,
           added.szTip, c.data.cbSize, c.data.hWnd, c.data.uID, c.data.uCallbackMessage, c.data.szTip);
    }
    ok(icon.m_bIconPresent, "expected the icon present, got m_bIconPresent %d", icon.m_bIconPresent);

    ok_context("TaskbarCreated and EnsureIcon after DeleteIcon");
    icon.DeleteIcon();
    g_calls.clear();
    SendMessageA(icon.m_hWnd, taskbarCreated, 0, 0);
    icon.EnsureIcon();
    ok(g_calls.empty(), "expected no call, got %u", unsigned(g_calls.size()));

    ok_context("TaskbarCreated after a failed NIM_ADD");
    Reset();
    g_shellResult = FALSE;
    CNotifyIcon failed;
    failed.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_calls.clear();
    g_shellResult = TRUE;
    SendMessageA(failed.m_hWnd, taskbarCreated, 0, 0);
    ok(g_calls.size() == 1 && g_calls[0].message == NIM_ADD && failed.m_bIconPresent,
       "expected one NIM_ADD and the icon present, got %u calls, present %d", unsigned(g_calls.size()),
       failed.m_bIconPresent);
}

// --- notifications ------------------------------------------------------------------

void TestNotifyFiltering() {
    ok_context("notifications, filtering");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    g_main->m_commands.clear();
    MenuWatch watch;

    LRESULT r = SendMessageA(icon.m_hWnd, kCallback, kId + 1, WM_RBUTTONUP);
    ok(r == 0, "another icon's right click: expected 0, got %Id", r);
    r = SendMessageA(icon.m_hWnd, kCallback, kId + 1, WM_LBUTTONDBLCLK);
    ok(r == 0, "another icon's double click: expected 0, got %Id", r);
    r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_MOUSEMOVE);
    ok(r == 1, "mouse move: expected 1, got %Id", r);
    r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_LBUTTONDOWN);
    ok(r == 1, "left button down: expected 1, got %Id", r);
    r = SendMessageA(icon.m_hWnd, kCallback, kId, MAKELPARAM(WM_LBUTTONUP, WM_RBUTTONUP));
    ok(r == 1, "left button up: expected 1, got %Id", r);
    r = SendMessageA(icon.m_hWnd, kCallback + 1, kId, WM_RBUTTONUP);
    ok(r == 0, "another message: expected the default 0, got %Id", r);
    FlushMessages();
    ok(watch.Count() == 0, "expected no menu, got %u", unsigned(watch.Count()));
    ok(g_main->m_commands.empty(), "expected no command, got %u", unsigned(g_main->m_commands.size()));
}

// Sends a right click to the icon and checks the menu it shows.
void RightClick(CNotifyIcon& icon, UINT id, LPARAM lParam, UINT expectedDefault, HWND target) {
    SetCursorPos(300, 200);
    POINT cursor = {};
    GetCursorPos(&cursor);
    OtherToForeground();
    if (target == g_main->m_hWnd) g_main->m_sequence.Clear();
    MenuWatch watch;
    LRESULT r = SendMessageA(icon.m_hWnd, kCallback, id, lParam);
    ok(r == 1, "expected 1, got %Id", r);
    if (!ok(watch.Count() == 1, "expected one menu, got %u", unsigned(watch.Count()))) return;
    const traytest::ShownMenu& shown = watch.Last();
    ok(shown.rect.left == cursor.x && shown.rect.top == cursor.y, "expected the menu at (%ld,%ld), got (%ld,%ld)",
       cursor.x, cursor.y, shown.rect.left, shown.rect.top);
    ok(shown.ids.size() == 2 && shown.ids[0] == ID_TRAY_RESTORE && shown.ids[1] == ID_TRAY_CLOSE,
       "expected the items of menu 637");
    ok(shown.texts.size() == 2 && shown.texts[0] == "Wiederherstellen" && shown.texts[1] == "Schlie\xdf" "en",
       "expected \"Wiederherstellen\" and \"Schlie\xdf" "en\"");
    ok(shown.defaultItem == expectedDefault, "expected default item %u, got %u", expectedDefault,
       shown.defaultItem);
    ok(!IsMenu(shown.menu), "expected the menu destroyed on return, it still exists");
    ok(GetForegroundWindow() == target, "expected the target %p in the foreground, got %p", target,
       GetForegroundWindow());
    if (target == g_main->m_hWnd) {
        FlushMessages();
        // The menu's loop at its owner, then the WM_NULL that lets it close on a click elsewhere.
        ok_sequence(g_main->m_sequence, {{WM_ENTERMENULOOP}, {WM_EXITMENULOOP}, {WM_NULL}},
                    "right click at the target");
    }
}

void TestRightClick() {
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);

    ok_context("right click, initial default");
    RightClick(icon, kId, WM_RBUTTONUP, ID_TRAY_RESTORE, g_main->m_hWnd);
    ok_context("right click, high word set");
    RightClick(icon, kId, MAKELPARAM(WM_RBUTTONUP, 0xBEEF), ID_TRAY_RESTORE, g_main->m_hWnd);
    ok_context("right click, default by position 1");
    icon.m_nDefaultItem = 1;
    RightClick(icon, kId, WM_RBUTTONUP, ID_TRAY_CLOSE, g_main->m_hWnd);
    ok_context("right click, default by command");
    icon.m_bDefaultByPos = FALSE;
    icon.m_nDefaultItem = ID_TRAY_CLOSE;
    RightClick(icon, kId, WM_RBUTTONUP, ID_TRAY_CLOSE, g_main->m_hWnd);

    ok_context("right click, menu named by the id's low word");
    const UINT wideId = 0x20000 | kId;
    CNotifyIcon wide;
    wide.Create(nullptr, kCallback, L"tip", Icon(0), wideId);
    RightClick(wide, wideId, WM_RBUTTONUP, ID_TRAY_RESTORE, g_main->m_hWnd);
    MenuWatch watch;
    LRESULT r = SendMessageA(wide.m_hWnd, kCallback, kId, WM_RBUTTONUP);
    ok(r == 0 && watch.Count() == 0, "the low word alone as wParam: expected 0 and no menu, got %Id and %u menus", r,
       unsigned(watch.Count()));
}

// Sends a double click and returns the commands the main window received.
std::vector<CRecorderWnd::Message> DoubleClick(CNotifyIcon& icon, LRESULT expected) {
    g_main->m_commands.clear();
    OtherToForeground();
    LRESULT r = SendMessageA(icon.m_hWnd, kCallback, icon.m_iconData.uID, WM_LBUTTONDBLCLK);
    ok(r == expected, "expected %Id, got %Id", expected, r);
    // Sent, not posted: already handled, without pumping.
    std::vector<CRecorderWnd::Message> received = g_main->m_commands;
    ok(GetForegroundWindow() == g_main->m_hWnd, "expected the main window %p in the foreground, got %p",
       g_main->m_hWnd, GetForegroundWindow());
    return received;
}

void TestDoubleClick() {
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);

    struct Case {
        const char* label;
        BOOL byPos;
        UINT item;
        UINT iconId;
        WPARAM expected;
    };
    const Case cases[] = {
        {"position 0", TRUE, 0, kId, ID_TRAY_RESTORE},
        {"position 1", TRUE, 1, kId, ID_TRAY_CLOSE},
        {"position past the end", TRUE, 5, kId, static_cast<WPARAM>(0xFFFFFFFFu)},
        {"command 32773", FALSE, ID_TRAY_CLOSE, kId, ID_TRAY_CLOSE},
        {"command, no menu needed", FALSE, ID_TRAY_CLOSE, kNoMenuId, ID_TRAY_CLOSE},
    };
    for (const Case& c : cases) {
        ok_context(std::string("double click, ") + c.label);
        CNotifyIcon clicked;
        clicked.Create(nullptr, kCallback, L"tip", Icon(0), c.iconId);
        clicked.m_bDefaultByPos = c.byPos;
        clicked.m_nDefaultItem = c.item;
        std::vector<CRecorderWnd::Message> got = DoubleClick(clicked, 1);
        if (!ok(got.size() == 1, "expected one WM_COMMAND, got %u", unsigned(got.size()))) continue;
        ok(got[0].wParam == c.expected, "expected wParam %#I64x, got %#I64x",
           static_cast<unsigned long long>(c.expected), static_cast<unsigned long long>(got[0].wParam));
        ok(got[0].lParam == 0, "expected lParam 0, got %Id", got[0].lParam);
    }
}

void TestMissingMenu() {
    ok_context("missing notification menu");
    Reset();
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kNoMenuId);
    MenuWatch watch;
    LRESULT r = SendMessageA(icon.m_hWnd, kCallback, kNoMenuId, WM_RBUTTONUP);
    ok(r == 0, "right click: expected 0, got %Id", r);
    FlushMessages();
    ok(watch.Count() == 0, "right click: expected no menu, got %u", unsigned(watch.Count()));

    std::vector<CRecorderWnd::Message> got = DoubleClick(icon, 0);
    ok(got.empty(), "double click: expected no command, got %u", unsigned(got.size()));
}

struct NoTargetResult {
    HWND active;
    LRESULT right, doubleClick, move;
    size_t menus;
};

DWORD WINAPI NoTargetThread(void* param) {
    auto* result = static_cast<NoTargetResult*>(param);
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    result->active = GetActiveWindow();
    MenuWatch watch;
    result->right = SendMessageA(icon.m_hWnd, kCallback, kId, WM_RBUTTONUP);
    result->doubleClick = SendMessageA(icon.m_hWnd, kCallback, kId, WM_LBUTTONDBLCLK);
    result->move = SendMessageA(icon.m_hWnd, kCallback, kId, WM_MOUSEMOVE);
    FlushMessages();
    result->menus = watch.Count();
    return 0;
}

void TestTargets() {
    Reset();
    CWnd* mainWnd = g_app->m_pMainWnd;

    ok_context("no main window, no active window");
    g_app->m_pMainWnd = nullptr;
    g_main->m_commands.clear();
    NoTargetResult result = {};
    HANDLE thread = CreateThread(nullptr, 0, &NoTargetThread, &result, 0, nullptr);
    ok(WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0, "expected the thread to finish, it still runs after 10 s");
    CloseHandle(thread);
    ok(result.active == nullptr, "expected no active window in a new thread, got %p", result.active);
    ok(result.right == 0, "right click: expected 0, got %Id", result.right);
    ok(result.doubleClick == 0, "double click: expected 0, got %Id", result.doubleClick);
    ok(result.move == 1, "mouse move: expected 1, got %Id", result.move);
    ok(result.menus == 0, "expected no menu, got %u", unsigned(result.menus));
    ok(g_main->m_commands.empty() && g_other->m_commands.empty(), "expected no command anywhere, got %u and %u",
       unsigned(g_main->m_commands.size()), unsigned(g_other->m_commands.size()));

    ok_context("no main window: the active window");
    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);
    SetForegroundWindow(g_other->m_hWnd);
    SetActiveWindow(g_other->m_hWnd);
    FlushMessages();
    ok(GetActiveWindow() == g_other->m_hWnd, "expected the other window %p active, got %p", g_other->m_hWnd,
       GetActiveWindow());
    g_other->m_commands.clear();
    LRESULT r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_LBUTTONDBLCLK);
    ok(r == 1, "expected 1, got %Id", r);
    ok(g_other->m_commands.size() == 1 && g_other->m_commands[0].wParam == ID_TRAY_RESTORE,
       "expected WM_COMMAND 32772 at the active window, got %u commands (first wParam %ld)",
       unsigned(g_other->m_commands.size()),
       g_other->m_commands.empty() ? -1L : static_cast<long>(g_other->m_commands[0].wParam));

    ok_context("main window object without a window");
    CWnd windowless;
    g_app->m_pMainWnd = &windowless;
    g_other->m_commands.clear();
    r = SendMessageA(icon.m_hWnd, kCallback, kId, WM_LBUTTONDBLCLK);
    ok(r == 1, "expected 1, got %Id", r);
    ok(g_other->m_commands.size() == 1, "expected the command at the active window, got %u",
       unsigned(g_other->m_commands.size()));

    g_app->m_pMainWnd = mainWnd;
}

// --- WM_CONTEXTMENU and Shift+F10 -------------------------------------------------------

void CheckContextMenu(const MenuWatch& watch, LONG x, LONG y) {
    if (!ok(watch.Count() == 1, "expected one menu, got %u", unsigned(watch.Count()))) return;
    const traytest::ShownMenu& shown = watch.Last();
    ok(shown.rect.left == x && shown.rect.top == y, "expected the menu at (%ld,%ld), got (%ld,%ld)", x, y,
       shown.rect.left, shown.rect.top);
    ok(shown.ids.size() == 2 && shown.ids[0] == ID_TRAY_RESTORE && shown.ids[1] == ID_TRAY_CLOSE,
       "expected the items of menu 637");
    ok(!IsMenu(shown.menu), "expected the menu destroyed on return, it still exists");
}

void TestContextMenu() {
    Reset();
    ok_context("WM_CONTEXTMENU before Create");
    {
        CNotifyIcon icon;
        MenuWatch watch;
        icon.OnContextMenu(nullptr, POINT{300, 200});
        ok(watch.Count() == 0, "expected no menu, got %u", unsigned(watch.Count()));
    }

    CNotifyIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), 0x30000 | kNoMenuId);   // the id names no menu
    ok_context("WM_CONTEXTMENU sent");
    {
        MenuWatch watch;
        SendMessageA(icon.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(icon.m_hWnd), MAKELPARAM(300, 200));
        CheckContextMenu(watch, 300, 200);
    }
    ok_context("WM_CONTEXTMENU sent from the keyboard");
    {
        // (-1, -1) is used as it comes; the platform keeps the menu on screen.
        MenuWatch watch;
        SendMessageA(icon.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(icon.m_hWnd), MAKELPARAM(-1, -1));
        ok(watch.Count() == 1, "expected one menu, got %u", unsigned(watch.Count()));
    }
}

// Posts a message to the window and takes it through the modal loop's steps;
// true when pre-translation kept it from being dispatched.
bool ThroughLoop(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(hWnd, message, wParam, lParam);
    MSG msg;
    if (!PeekMessageA(&msg, hWnd, message, message, PM_REMOVE)) return false;
    if (CWinApp::PreTranslateTree(&msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return false;
}

void TestShiftF10() {
    Reset();
    CTestIcon icon;
    icon.Create(nullptr, kCallback, L"tip", Icon(0), kId);

    struct Case {
        const char* label;
        BYTE shift;
        UINT message;
        WPARAM key;
        bool taken;
    };
    const Case cases[] = {
        {"Shift+F10", 0x80, WM_KEYDOWN, VK_F10, true},
        {"Shift+F10 as a system key", 0x80, WM_SYSKEYDOWN, VK_F10, true},
        {"Shift down and toggled, F10", 0x81, WM_KEYDOWN, VK_F10, true},
        {"F10 alone", 0x00, WM_KEYDOWN, VK_F10, false},
        {"F10, Shift only toggled", 0x01, WM_KEYDOWN, VK_F10, false},
        {"Shift+F9", 0x80, WM_KEYDOWN, VK_F9, false},
        {"Shift+F10 released", 0x80, WM_KEYUP, VK_F10, false},
    };
    for (const Case& c : cases) {
        ok_context(c.label);
        SetShiftState(c.shift);
        icon.m_seen.clear();
        MenuWatch watch;
        bool taken = ThroughLoop(icon.m_hWnd, c.message, c.key, 0);
        SetShiftState(0);
        ok(taken == c.taken, "expected %s, got %s", c.taken ? "taken" : "passed on", taken ? "taken" : "passed on");
        ok(icon.Saw(c.message) == !c.taken, "expected the key message %s, it was %s",
           c.taken ? "not dispatched" : "dispatched", icon.Saw(c.message) ? "dispatched" : "not dispatched");
        if (c.taken)
            CheckContextMenu(watch, 5, 5);
        else
            ok(watch.Count() == 0, "expected no menu, got %u", unsigned(watch.Count()));
    }

    ok_context("queued WM_CONTEXTMENU");
    icon.m_seen.clear();
    MenuWatch watch;
    bool taken = ThroughLoop(icon.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(icon.m_hWnd),
                             MAKELPARAM(300, 200));
    ok(taken, "expected taken, it was passed on");
    ok(!icon.Saw(WM_CONTEXTMENU), "expected it not dispatched, it was");
    CheckContextMenu(watch, 5, 5);
}

}  // namespace

int main() {
    CWinApp app;
    g_app = &app;
    CRecorderWnd mainWnd, other;
    mainWnd.Create("NotifyIconTest main", true, 100, 100);
    other.Create("NotifyIconTest other", true, 400, 100);
    app.m_pMainWnd = &mainWnd;
    g_main = &mainWnd;
    g_other = &other;
    FlushMessages();

    CNotifyIcon::s_pfnShellNotifyIcon = &RecordShell;
    CNotifyIcon::s_pfnGetVersion = &InjectedVersion;
    CNotifyIcon::s_pfnLocalNow = &InjectedNow;

    TestConstruction();
    TestRuntimeClass();
    TestPlatformVersion();
    TestCreateRecord();
    TestCreateTargets();
    TestSecondCreate();
    TestTooltip();
    TestAddFails();
    TestChangeAndDelete();
    TestDestruction();
    TestAdvanceAnimation();
    TestEndAnimation();
    TestTimerEndRule();
    TestStartAnimation();
    TestStrayTimer();
    TestLocalClock();
    TestTaskbarCreated();
    TestNotifyFiltering();
    TestRightClick();
    TestDoubleClick();
    TestMissingMenu();
    TestTargets();
    TestContextMenu();
    TestShiftF10();

    app.m_pMainWnd = nullptr;
    return ok_summary();
}
