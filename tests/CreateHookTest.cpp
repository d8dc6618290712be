// The creation hook that binds a new window to its object before its first
// message: when the platform refuses the hook, a modal run fails at once
// with -1 and CreateEx makes no window, rather than leaving a window that no
// object hears and no EndDialog can close.
#include <windows.h>

#include "framework/CDialog.h"
#include "res/resource.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

namespace {

const wchar_t kClassName[] = L"CreateHookTestWindow";

HHOOK WINAPI RefusedHook(int, HOOKPROC, HINSTANCE, DWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A modal run that regressed into waiting for ever is ended by this, and
// the test says so.
bool g_guardFired = false;
void CALLBACK Guard(HWND, UINT, UINT_PTR, DWORD) {
    g_guardFired = true;
    PostQuitMessage(0);
}

void RegisterTestClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
}

void TestRefusedHook(CWnd& owner) {
    auto* const realHook = CWnd::s_pfnSetWindowsHookEx;
    CWnd::s_pfnSetWindowsHookEx = &RefusedHook;
    const int before = ThreadWindows();

    ok_context("modal run, hook refused");
    {
        CDialog dlg(IDD_ABOUTBOX, &owner);
        g_guardFired = false;
        UINT_PTR guard = SetTimer(nullptr, 0, 5000, &Guard);
        INT_PTR result = dlg.DoModal();
        KillTimer(nullptr, guard);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        ok(!g_guardFired, "expected DoModal to return at once, it ran until the 5 s guard ended it");
        ok(result == -1, "expected -1, got %d", static_cast<int>(result));
        ok(dlg.m_hWnd == nullptr, "expected no window bound to the dialog, got %p", static_cast<void*>(dlg.m_hWnd));
        ok(ThreadWindows() == before, "expected %d windows of this thread, got %d", before, ThreadWindows());
        ok(IsWindowEnabled(owner.m_hWnd), "expected the owner enabled again");
    }

    ok_context("CreateEx, hook refused");
    {
        CWnd wnd;
        BOOL created = wnd.CreateEx(0, kClassName, L"refused", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
        ok(!created, "expected FALSE");
        ok(wnd.m_hWnd == nullptr, "expected no window bound, got %p", static_cast<void*>(wnd.m_hWnd));
        ok(ThreadWindows() == before, "expected %d windows of this thread, got %d", before, ThreadWindows());
    }

    CWnd::s_pfnSetWindowsHookEx = realHook;
}

// Once the platform grants the hook again, windows are bound as before.
void TestHookGrantedAgain(CWnd& owner) {
    ok_context("CreateEx, hook granted again");
    {
        CWnd wnd;
        BOOL created = wnd.CreateEx(0, kClassName, L"granted", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
        ok(created, "expected TRUE");
        ok(wnd.m_hWnd && CWnd::FromHandlePermanent(wnd.m_hWnd) == &wnd, "expected the window bound to its object");
    }

    ok_context("modal run, hook granted again");
    CDialog dlg(IDD_ABOUTBOX, &owner);
    INT_PTR result = testutil::RunModal(dlg, [&] { dlg.EndDialog(IDOK); });
    ok(result == IDOK, "expected IDOK, got %d", static_cast<int>(result));
    ok(IsWindowEnabled(owner.m_hWnd), "expected the owner enabled again");
}

}  // namespace

int main() {
    RegisterTestClass();
    CWnd owner;
    if (!ok(owner.CreateEx(0, kClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr),
            "expected the owner window"))
        return ok_summary();
    TestRefusedHook(owner);
    TestHookGrantedAgain(owner);
    testutil::FlushMessages();
    return ok_summary();
}
