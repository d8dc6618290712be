// Delivers captions and icons to windows of other applications on worker
// threads, so that the dialog's thread never waits for another program.
//
// One record per target window that has something to get. What the window
// should get next waits in the record's one slot; what was taken from the
// slot is in flight while a worker sends it. Nothing more goes to a window
// while a send to it has not returned, so it never holds two of our messages.
//
// Each target thread is served by one worker at a time, which sends to its
// windows in turn; a worker waits as long as a window takes, so a hung
// program holds up its own windows only. Up to kMaxWorkers threads are
// served at once, the others wait their turn; workers start when needed and
// end after kIdleMs without work. When a send to one window of a thread has
// waited kReliefAfterMs, the next Assign or Reapply for that thread starts
// a relief worker for its other windows, which the thread may well take
// meanwhile; it ends when they are done. A thread has at most one relief,
// so there are at most twice kMaxWorkers workers.
//
//   record           | Assign            | Reapply (same caption, icon) | send returns
//   -----------------+-------------------+------------------------------+----------------------
//   none             | slot filled,      | as Assign                    |
//                    | queued for thread |                              |
//   queued           | slot replaced     | parts join the slot          | (not sent yet)
//   in flight        | slot filled       | nothing: it is on its way    | slot empty: record
//                    |                   |                              | ends; else queued
//   in flight + slot | slot replaced     | parts join the slot          | queued again
//
// A Reapply of another caption or icon replaces the slot as Assign does. A
// send the system withdrew before the window took it is sent again; one the
// window took is never sent twice. A window that has closed, or that refuses
// our messages (a program with higher rights), ends its record at once, and
// the dialog hears of it through a report.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCourier {
public:
    // What a parcel carries, delivered in this order.
    enum : unsigned { kCaption = 1, kSmallIcon = 2, kBigIcon = 4 };
    enum class Outcome { Delivered, Gone, Refused };
    struct Report {
        HWND target;
        Outcome outcome;
    };
    static constexpr size_t kMaxWorkers = 32;
    static constexpr DWORD kIdleMs = 10000;
    static constexpr DWORD kReliefAfterMs = 500;

    using SendFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);
    using IconFunction = std::function<HICON(int index)>;

    CCourier();
    // Workers still waiting on a window end by themselves once it answers,
    // sending nothing more; nobody waits for them.
    ~CCourier();
    CCourier(const CCourier&) = delete;
    CCourier& operator=(const CCourier&) = delete;

    // notify receives message (posted, no arguments) when reports wait, and
    // when a worker is done with a thread's windows for now.
    // iconFor makes the icon handle of a catalogue index on the caller's
    // thread; the handle must stay valid while any window may show it.
    void Attach(HWND notify, UINT message, IconFunction iconFor);

    // A new assignment: replaces whatever waits for target.
    void Assign(HWND target, const std::wstring& caption, int icon, unsigned parts);
    // A re-application (see the table).
    void Reapply(HWND target, const std::wstring& caption, int icon, unsigned parts);

    // What the workers found since the last call, oldest first.
    std::vector<Report> TakeReports();

    // Windows with something waiting or in flight.
    size_t PendingCount() const;
    size_t WorkerCount() const;

    // For tests: SendMessageTimeoutW by default. Called on worker threads.
    void SetSendFunction(SendFunction send);

private:
    struct Parcel;
    struct State;
    void Put(HWND target, Parcel parcel, bool merge);

    std::shared_ptr<State> m_state;
    IconFunction m_iconFor;
};
