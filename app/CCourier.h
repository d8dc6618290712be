// Delivers captions and icons to windows of other applications without ever
// stalling on one that does not answer. Every send of a run (a retitle pass, a
// tick or a late delivery) spends its time from one bound for the run,
// answered or not; once the bound is spent, the threads still to come get a
// non-blocking ping instead, and what their windows missed is kept for them
// and delivered once they answer. A thread that lets a send time out is not
// sent to again until it has answered its ping, and the window itself not
// before the next tick, then at doubling gaps while it goes on timing out and
// the caption does not show: a window that answers pings but cannot finish a
// caption (its handler waits on something stuck) would otherwise get caption
// after caption nested inside the first. A window of a program that refuses
// our messages (a program with higher rights) costs no wait and is not kept.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

class CCourier {
public:
    // What a parcel carries, delivered in this order.
    enum : unsigned { kCaption = 1, kSmallIcon = 2, kBigIcon = 4 };
    // How long one run may wait in all: half of the tenth of a second within
    // which an answer still feels instant, the rest is the run's own work.
    static constexpr DWORD kBoundMs = 50;
    // Less than this left: a send to a healthy window in another process
    // could already run out of time, so the run counts as spent.
    static constexpr DWORD kLeastSendMs = kBoundMs / 5;
    // The longest gap between attempts at a window that keeps timing out.
    static constexpr unsigned long kMaxGapTicks = 64;
    // A ping that took longer than this shows that the thread had stopped
    // answering altogether, which explains its windows' time-outs: their gaps
    // start again at one tick.
    static constexpr DWORD kStoppedMs = 5 * kBoundMs;

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

    // Starts a run: from now on, sends may wait kBoundMs in all. BeginTick
    // starts the run of a re-application tick, which also ends the gaps of
    // windows that timed out before.
    void BeginRun();
    void BeginTick();

    // Sends what parts names of caption and icon to target. With replace (a
    // new assignment) anything still pending for target is dropped first;
    // otherwise (a re-application) a parcel of the same caption and icon
    // gains the parts, and one of another caption or icon is replaced.
    void Deliver(HWND target, const std::string& caption, int icon, unsigned parts, bool replace);

    // Delivers the parcels whose windows answer again and whose gap is over;
    // drops those of windows that are gone, and pings again where a ping's
    // window is gone.
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
        bool captionTimedOut = false;   // so it may yet arrive
    };
    struct Gap {
        DWORD thread = 0;
        unsigned long length = 1;   // in ticks, for the next time-out
        unsigned long until = 0;    // the tick from which the window may be tried again
    };
    struct Stalled {
        HWND pinged;   // the window the ping went to
        double since;
    };
    enum class Outcome { Delivered, Busy, TimedOut, Refused, Gone };

    Outcome Send(HWND target, DWORD& thread, UINT message, WPARAM wParam, LPARAM lParam);
    Outcome Carry(HWND target, Parcel& parcel);
    bool Waiting(HWND target) const;
    void TimedOut(HWND target, DWORD thread);
    void Stall(DWORD thread, HWND target);
    bool Ping(DWORD thread, HWND target);
    void OnAnswered(DWORD thread);
    static void CALLBACK PingAnswered(HWND hWnd, UINT message, ULONG_PTR thread, LRESULT result);

    HWND m_notify = nullptr;
    UINT m_message = 0;
    bool m_notified = false;
    IconFunction m_iconFor;
    SendFunction m_send;
    double m_waitLeftMs = kBoundMs;
    unsigned long m_ticks = 0;
    bool m_sweepDue = false;
    std::map<HWND, Parcel> m_pending;
    std::map<DWORD, Stalled> m_stalled;
    std::map<HWND, Gap> m_gaps;        // windows that timed out, until one completes in time
};
