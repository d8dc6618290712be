// A window object: holds the handle, receives the window's messages through
// a thunk from HWND to object, and routes them through its message table.
#pragma once

#include <windows.h>

#include "framework/CCmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    const CRuntimeClass* GetRuntimeClass() const override;
    static const CRuntimeClass classCWnd;

    HWND m_hWnd = nullptr;

    // Creates a Unicode window whose every message, WM_NCCREATE included,
    // reaches this object. The class must be registered by the caller.
    // FALSE, and no window, when the window could not be created or bound.
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, HMENU menu);
    BOOL DestroyWindow();

    // The object bound to a window by CreateEx or by a dialog's creation.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Dots per inch of the monitor the window is on (Windows 10 1607 on),
    // else of the system; 96 is 100 %.
    UINT GetDpi() const;
    static UINT GetSystemDpi();

    // Messages whose lParam points at a structure of the sender's: the
    // system and the window's controls send them on the window's thread.
    // Posted, or sent from another thread, the pointer is nobody's to
    // follow, and they are dropped.
    static bool PointsIntoSender(UINT message) { return message == WM_NOTIFY || message == 0x02E0 /* WM_DPICHANGED */; }

    // Every message of the window passes here; the default looks the message
    // up in the message tables and otherwise calls the default procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the modal loop for queued messages of this window before
    // they are dispatched; TRUE means handled.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called on the main window by our message loops whenever the thread's
    // queue is empty; TRUE asks to be called again before the loop waits.
    virtual BOOL OnIdle() { return FALSE; }

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageTable kTable;

    // The platform's SetWindowsHookExW; tests put a failing one in its place.
    static HHOOK(WINAPI* s_pfnSetWindowsHookEx)(int, HOOKPROC, HINSTANCE, DWORD);

protected:
    // The platform's handling of the message now being handled.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the tables; true when a handler took it.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Readies the creation hook: the next window this thread creates is
    // bound to this object before its first message. Undone by EndCreateHook.
    // False, with nothing readied, when the hook could not be set.
    bool BeginCreateHook();
    static void EndCreateHook();

private:
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void Bind(HWND hWnd);

    WNDPROC m_superProc = nullptr;
    MSG m_current = {};
};
