// Delivers captions and icons to windows of other applications on worker
// threads, so that the dialog's thread never waits for another program.
//
// One record per target window that has something to get. What the window
// should get next waits in the record's one slot; what was taken from the
// slot is in flight while a worker sends it. Nothing more goes to a window
// while a send to it has not returned, so it never holds two of our messages.
//
// A worker sends to one window at a time and waits as long as it takes, so a
// hung program holds up its own windows only. Several windows of a thread
// may have a send in flight at once: a thread gets one at first, up to
// kPerThread once a send to it has returned within kReliefAfterMs, as a
// sluggish thread takes all its sent messages at one look. A send that has
// waited kReliefAfterMs is stalled: it no longer holds one of the kMaxWorkers
// places, and its thread gets one more send (the relief: a window may wait
// inside its handler on another program while its thread takes other
// messages), none while two of its sends are stalled. A watcher thread, there
// while windows wait and sends are young, notices stalls by itself. Workers
// start when needed and end after kIdleMs without work.
//
// So there are at most kMaxThreads threads: kMaxWorkers with places, up to
// kMaxThreads - kMaxWorkers - 1 in stalled sends (beyond that a stalled send
// keeps its place), and the watcher.
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
    static constexpr size_t kMaxThreads = 128;
    static constexpr int kPerThread = 16;
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
    // when a thread's windows are done for now; a post that failed (a full
    // queue) is made again at the next report or delivery.
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
