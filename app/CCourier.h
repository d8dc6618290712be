// Delivers captions and icons to windows of other applications without ever
// stalling on one that does not answer. A send waits at most the time that is
// left of one bound per run (a retitle pass, a tick or a late delivery); a
// thread that lets a send time out is not sent to again until it has answered
// a non-blocking ping, and what its windows missed is kept for them and
// delivered once it answers. A window of a program that refuses our messages
// (a program with higher rights) costs no wait and is not kept.
#pragma once

#include <windows.h>

#include <functional>
#include <list>
#include <map>
#include <string>

class CCourier {
public:
    // What a parcel carries, delivered in this order.
    enum : unsigned { kCaption = 1, kSmallIcon = 2, kBigIcon = 4 };
    // How long one run may wait on windows that do not answer.
    static constexpr DWORD kBoundMs = 250;

    using SendFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);
    using IconFunction = std::function<HICON(int index)>;

    CCourier();
    ~CCourier();
    CCourier(const CCourier&) = delete;
    CCourier& operator=(const CCourier&) = delete;

    // notify receives message (posted, no arguments) when a thread that did
    // not answer answers again and it has parcels waiting: its owner then
    // calls DeliverPending. iconFor makes the icon handle of a catalogue index;
    // the handle must stay valid while any window may show it.
    void Attach(HWND notify, UINT message, IconFunction iconFor);

    // Starts a run: from now on, sends may wait kBoundMs in all.
    void BeginRun();

    // Sends what parts names of caption and icon to target. With replace (a
    // new assignment) anything still pending for target is dropped first;
    // otherwise (a re-application) a parcel of the same caption and icon
    // gains the parts, and one of another caption or icon is replaced.
    void Deliver(HWND target, const std::string& caption, int icon, unsigned parts, bool replace);

    // Delivers the parcels whose windows answer again; drops those of
    // windows that are gone, and pings again where a ping's window is gone.
    void DeliverPending();

    size_t PendingCount() const { return m_pending.size(); }
    size_t StalledThreadCount() const { return m_stalled.size(); }

    // For tests: the platform's SendMessageTimeoutA by default.
    void SetSendFunction(SendFunction send) { m_send = send; }

private:
    struct Parcel {
        std::string caption;
        int icon = -1;
        unsigned parts = 0;
        DWORD thread = 0;   // of the window, once it was needed
    };
    enum class Outcome { Delivered, Busy, Refused, Gone };

    Outcome Send(HWND target, DWORD& thread, UINT message, WPARAM wParam, LPARAM lParam);
    Outcome Carry(HWND target, Parcel& parcel, bool skipCaptionShown);
    void Stall(DWORD thread, HWND target);
    bool Ping(DWORD thread, HWND target);
    void OnAnswered(DWORD thread);
    static void CALLBACK PingAnswered(HWND hWnd, UINT message, ULONG_PTR thread, LRESULT result);

    HWND m_notify = nullptr;
    UINT m_message = 0;
    bool m_notified = false;
    IconFunction m_iconFor;
    SendFunction m_send;
    DWORD m_waitLeftMs = kBoundMs;
    std::map<HWND, Parcel> m_pending;
    std::map<DWORD, HWND> m_stalled;   // thread -> the window its ping went to
};
