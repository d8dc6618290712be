#include "app/CCourier.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <unordered_map>

struct CCourier::Parcel {
    std::wstring caption;
    int icon = -1;
    HICON hIcon = nullptr;
    unsigned parts = 0;
};

// Shared by the courier and its workers, so that a worker still waiting on a
// window when the courier goes finds it alive.
struct CCourier::State : std::enable_shared_from_this<State> {
    using Clock = std::chrono::steady_clock;
    struct Record {
        DWORD thread = 0;
        bool queued = false;
        bool flying = false;
        Parcel slot;     // what the window gets next
        Parcel flight;   // what a worker sends it now
    };
    // The windows of one target thread that wait for a worker, and its sends.
    struct Line {
        std::deque<HWND> ready;
        bool listed = false;   // in runnable
        bool prompt = false;   // its last send returned before it stalled
        int young = 0;         // sends in flight, not stalled
        int stalled = 0;
    };
    // A send in flight, on its worker's stack.
    struct Send {
        DWORD thread;
        Clock::time_point from;
        bool stalled = false;
        bool released = false;   // holds no place
    };
    struct Start {
        std::shared_ptr<State> state;   // the worker may outlive the courier
        bool watcher;
    };
    static constexpr size_t kMaxReleased = kMaxThreads - kMaxWorkers - 1;

    mutable std::mutex lock;
    std::condition_variable wake;      // idle workers
    std::condition_variable watched;   // the watcher
    std::unordered_map<HWND, Record> records;
    std::unordered_map<DWORD, Line> lines;
    // When threads whose line has ended last answered promptly: the next
    // tick sends all their windows at once, not one look apart.
    std::unordered_map<DWORD, Clock::time_point> promptAt;
    size_t pruneAt = 2 * kMaxThreads;
    static bool Recent(Clock::time_point at, Clock::time_point now) {
        return now - at < std::chrono::milliseconds(kIdleMs);
    }
    std::deque<DWORD> runnable;   // threads that may get a send now, most likely
    std::vector<Send*> sends;
    std::vector<Report> reports;
    size_t workers = 0;
    size_t placed = 0;     // workers holding a place: idle, or in a young send
    size_t idle = 0;       // of those, not in a send
    size_t released = 0;   // workers in stalled sends that gave up their place
    size_t waiting = 0;    // windows in the lines' ready queues
    size_t young = 0;      // sends in flight, not stalled
    bool watching = false;
    bool missed = false;   // a post to notify failed
    std::atomic<bool> closing{false};
    HWND notify = nullptr;
    UINT message = 0;
    SendFunction send = &SendMessageTimeoutW;

    // All below with the lock held.
    void Queue(HWND target, Record& record);
    static bool MaySend(const Line& line);
    void List(DWORD thread, Line& line);
    void Tidy(DWORD thread);
    void Staff();
    bool StartWorker(bool watcher);
    bool Take(HWND& target);
    bool Deliver(HWND target, std::unique_lock<std::mutex>& held);
    void Watch(std::unique_lock<std::mutex>& held);
    void Reported(HWND target, Outcome outcome);
    void Notify();
    Outcome Carry(SendFunction send, HWND target, const Parcel& parcel) const;   // without the lock
    static DWORD WINAPI Work(void* state);
};

void CCourier::State::Queue(HWND target, Record& record) {
    if (record.queued || record.flying) return;
    record.queued = true;
    ++waiting;
    auto made = lines.try_emplace(record.thread);
    Line& line = made.first->second;
    if (made.second) {
        auto known = promptAt.find(record.thread);
        line.prompt = known != promptAt.end() && Recent(known->second, Clock::now());
    }
    line.ready.push_back(target);
    List(record.thread, line);
    Staff();
}

bool CCourier::State::MaySend(const Line& line) {
    // A thread that has not answered promptly yet may be hung: it gets one
    // send, and one more once that stalls; a thread may take other windows'
    // messages while one of its windows waits inside a handler.
    if (line.stalled) return line.stalled == 1 && line.young == 0;
    return line.young < (line.prompt ? kPerThread : 1);
}

void CCourier::State::List(DWORD thread, Line& line) {
    if (line.listed || line.ready.empty() || !MaySend(line)) return;
    line.listed = true;
    runnable.push_back(thread);
}

void CCourier::State::Tidy(DWORD thread) {
    auto found = lines.find(thread);
    if (found == lines.end()) return;
    const Line& line = found->second;
    if (line.listed || !line.ready.empty() || line.young || line.stalled) return;
    if (line.prompt) {
        const auto now = Clock::now();
        // Bounded by the threads that answered within kIdleMs.
        if (promptAt.size() >= pruneAt) {
            for (auto at = promptAt.begin(); at != promptAt.end();)
                at = Recent(at->second, now) ? std::next(at) : promptAt.erase(at);
            pruneAt = std::max(2 * kMaxThreads, 2 * promptAt.size());
        }
        promptAt[thread] = now;
    } else {
        promptAt.erase(thread);
    }
    lines.erase(found);
    // Deliveries are news once a thread's windows are done for now, not one
    // by one: a message per delivery costs the dialog's thread, and the
    // system, about as much as the send.
    if (!closing && (reports.empty() || missed)) Notify();
}

void CCourier::State::Staff() {
    if (closing) return;
    // Someone must see young sends stall while windows wait for them.
    if (waiting && young && !watching) StartWorker(true);
    if (runnable.empty()) return;
    if (idle) wake.notify_one();
    if (runnable.size() > idle && placed < kMaxWorkers) StartWorker(false);
}

bool CCourier::State::StartWorker(bool watcher) {
    // It needs little stack.
    auto* start = new Start{shared_from_this(), watcher};
    HANDLE thread = CreateThread(nullptr, 64 * 1024, &Work, start, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        delete start;   // the next queued window tries again
        return false;
    }
    CloseHandle(thread);
    ++workers;
    if (watcher) {
        watching = true;
    } else {
        ++placed;
        ++idle;   // until it finds its work
    }
    return true;
}

DWORD WINAPI CCourier::State::Work(void* param) {
    std::unique_ptr<Start> start(static_cast<Start*>(param));
    State& s = *start->state;
    std::unique_lock<std::mutex> held(s.lock);
    if (start->watcher) {
        s.Watch(held);
        s.watching = false;
        // Done watching, it serves if there is a place for it.
        if (s.closing || s.placed >= kMaxWorkers) {
            --s.workers;
            return 0;
        }
        ++s.placed;
        ++s.idle;
    }
    auto idleUntil = Clock::now() + std::chrono::milliseconds(kIdleMs);
    while (!s.closing) {
        HWND target;
        if (!s.Take(target)) {
            if (!s.wake.wait_until(held, idleUntil, [&] { return !s.runnable.empty() || s.closing; })) break;
            continue;
        }
        if (!s.Deliver(target, held)) {
            --s.workers;
            return 0;
        }
        ++s.idle;
        idleUntil = Clock::now() + std::chrono::milliseconds(kIdleMs);
    }
    --s.idle;
    --s.placed;
    --s.workers;
    return 0;
}

// For a worker with a place, idle until it finds a window.
bool CCourier::State::Take(HWND& target) {
    while (!runnable.empty()) {
        const DWORD thread = runnable.front();
        runnable.pop_front();
        auto found = lines.find(thread);
        if (found == lines.end()) continue;
        Line& line = found->second;
        line.listed = false;
        if (line.ready.empty() || !MaySend(line)) {   // changed since it was listed
            Tidy(thread);
            continue;
        }
        target = line.ready.front();
        line.ready.pop_front();
        --idle;
        --waiting;
        ++line.young;
        ++young;
        List(thread, line);   // at the back: threads take turns
        Staff();
        return true;
    }
    return false;
}

// Sends what waits for target; false when the worker has lost its place: it
// gave it up in a stalled send, and none was free when the send returned.
bool CCourier::State::Deliver(HWND target, std::unique_lock<std::mutex>& held) {
    Record& record = records[target];
    record.queued = false;
    record.flying = true;
    record.flight = std::move(record.slot);
    record.slot = Parcel();
    const Parcel parcel = record.flight;
    const SendFunction sendNow = send;
    Send flight{record.thread, Clock::now()};
    sends.push_back(&flight);

    held.unlock();
    const Outcome outcome = Carry(sendNow, target, parcel);
    held.lock();

    sends.erase(std::find(sends.begin(), sends.end(), &flight));
    Line& line = lines[flight.thread];   // kept while a send to it flies
    if (flight.stalled) {
        --line.stalled;
    } else {
        --line.young;
        --young;
    }
    line.prompt = !flight.stalled;
    bool place = true;
    if (flight.released) {
        --released;
        place = placed < kMaxWorkers;
        placed += place;
    }
    Record& after = records[target];
    after.flying = false;
    after.flight = Parcel();
    if (closing) return place;
    if (outcome != Outcome::Delivered) Reported(target, outcome);
    if (outcome == Outcome::Delivered && after.slot.parts) Queue(target, after);
    else records.erase(target);
    if (missed) Notify();
    List(flight.thread, line);
    Tidy(flight.thread);
    Staff();
    return place;
}

void CCourier::State::Watch(std::unique_lock<std::mutex>& held) {
    while (!closing && waiting && young) {
        auto due = Clock::time_point::max();
        for (const Send* flight : sends)
            if (!flight->stalled) due = std::min(due, flight->from + std::chrono::milliseconds(kReliefAfterMs));
        watched.wait_until(held, due);
        const auto now = Clock::now();
        for (Send* flight : sends) {
            if (flight->stalled || now - flight->from < std::chrono::milliseconds(kReliefAfterMs)) continue;
            flight->stalled = true;
            Line& line = lines[flight->thread];
            --line.young;
            ++line.stalled;
            line.prompt = false;
            --young;
            if (released < kMaxReleased) {
                flight->released = true;
                ++released;
                --placed;
            }
            List(flight->thread, line);
        }
        Staff();
    }
}

CCourier::Outcome CCourier::State::Carry(SendFunction send, HWND target, const Parcel& parcel) const {
    const struct {
        unsigned part;
        UINT message;
        WPARAM wParam;
    } steps[] = {{kCaption, WM_SETTEXT, 0}, {kSmallIcon, WM_SETICON, ICON_SMALL}, {kBigIcon, WM_SETICON, ICON_BIG}};
    for (const auto& step : steps) {
        if (!(parcel.parts & step.part)) continue;
        const LPARAM lParam = step.message == WM_SETTEXT ? reinterpret_cast<LPARAM>(parcel.caption.c_str())
                                                         : reinterpret_cast<LPARAM>(parcel.hIcon);
        for (;;) {
            if (closing) return Outcome::Delivered;   // nothing more once the courier is gone
            // No bound: the window gets it when its thread is ready, and a
            // send that returns was either taken or withdrawn, never both.
            DWORD_PTR result = 0;
            SetLastError(ERROR_SUCCESS);
            if (send(target, step.message, step.wParam, lParam, SMTO_BLOCK, INFINITE, &result)) break;
            const DWORD error = GetLastError();
            if (!IsWindow(target)) return Outcome::Gone;
            if (error == ERROR_ACCESS_DENIED) return Outcome::Refused;
            // Withdrawn before the window took it: it gets it again. Any
            // other failure is this message's alone (Wine passes no icons
            // between processes).
            if (error != ERROR_TIMEOUT) break;
        }
    }
    return Outcome::Delivered;
}

void CCourier::State::Reported(HWND target, Outcome outcome) {
    const bool first = reports.empty();
    reports.push_back({target, outcome});
    if (first || missed) Notify();
}

void CCourier::State::Notify() {
    // A full queue refuses the post; the next report or delivery tries again.
    if (notify) missed = !PostMessageW(notify, message, 0, 0);
}

CCourier::CCourier() : m_state(std::make_shared<State>()) {}

CCourier::~CCourier() {
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->closing = true;
    m_state->wake.notify_all();
    m_state->watched.notify_all();
}

void CCourier::Attach(HWND notify, UINT message, IconFunction iconFor) {
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->notify = notify;
    m_state->message = message;
    m_iconFor = std::move(iconFor);
}

void CCourier::Assign(HWND target, const std::wstring& caption, int icon, unsigned parts) {
    HICON hIcon = (parts & (kSmallIcon | kBigIcon)) && m_iconFor ? m_iconFor(icon) : nullptr;
    Put(target, Parcel{caption, icon, hIcon, parts}, false);
}

void CCourier::Reapply(HWND target, const std::wstring& caption, int icon, unsigned parts) {
    HICON hIcon = (parts & (kSmallIcon | kBigIcon)) && m_iconFor ? m_iconFor(icon) : nullptr;
    Put(target, Parcel{caption, icon, hIcon, parts}, true);
}

void CCourier::Put(HWND target, Parcel parcel, bool merge) {
    // Asked before the lock: it is a request to the system.
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    std::lock_guard<std::mutex> hold(m_state->lock);
    State& s = *m_state;
    auto found = s.records.find(target);
    if (found == s.records.end()) {
        if (!thread) {
            s.Reported(target, Outcome::Gone);
            return;
        }
        found = s.records.emplace(target, State::Record()).first;
        found->second.thread = thread;
    }
    State::Record& record = found->second;
    auto same = [&](const Parcel& p) { return p.parts && p.caption == parcel.caption && p.icon == parcel.icon; };
    if (merge && record.flying && !record.slot.parts && same(record.flight)) return;
    if (merge && same(record.slot)) parcel.parts |= record.slot.parts;
    record.slot = std::move(parcel);
    s.Queue(target, record);
}

std::vector<CCourier::Report> CCourier::TakeReports() {
    std::lock_guard<std::mutex> hold(m_state->lock);
    std::vector<Report> reports;
    reports.swap(m_state->reports);
    return reports;
}

size_t CCourier::PendingCount() const {
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->records.size();
}

size_t CCourier::WorkerCount() const {
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->workers;
}

void CCourier::SetSendFunction(SendFunction send) {
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->send = send;
}
