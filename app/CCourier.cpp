#include "app/CCourier.h"

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
    struct Record {
        DWORD thread = 0;
        bool queued = false;
        bool flying = false;
        Parcel slot;     // what the window gets next
        Parcel flight;   // what a worker sends it now
    };
    // The windows of one target thread that wait for a worker.
    struct Line {
        std::deque<HWND> ready;
        bool listed = false;   // in runnable
        // Its worker, and a relief; outside the lock each is in a send.
        int servers = 0;
        std::chrono::steady_clock::time_point sendFrom;   // of the newest send
    };
    struct Start {
        std::shared_ptr<State> state;   // the worker may outlive the courier
        DWORD relief;                   // the thread it relieves, or 0
    };

    mutable std::mutex lock;
    std::condition_variable wake;
    std::unordered_map<HWND, Record> records;
    std::unordered_map<DWORD, Line> lines;
    std::deque<DWORD> runnable;
    std::vector<Report> reports;
    size_t workers = 0;
    size_t reliefs = 0;   // of the workers; not counted against kMaxWorkers
    size_t idle = 0;
    bool closing = false;
    HWND notify = nullptr;
    UINT message = 0;
    SendFunction send = &SendMessageTimeoutW;

    // All below with the lock held.
    void Queue(HWND target, Record& record);
    void Relieve(DWORD thread);
    bool StartWorker(DWORD relief);
    void Serve(DWORD thread, std::unique_lock<std::mutex>& held);
    void Reported(HWND target, Outcome outcome);
    void Notify();
    static Outcome Carry(SendFunction send, HWND target, const Parcel& parcel);
    static DWORD WINAPI Work(void* state);
};

void CCourier::State::Queue(HWND target, Record& record) {
    if (record.queued || record.flying) return;
    record.queued = true;
    Line& line = lines[record.thread];
    line.ready.push_back(target);
    if (line.servers || line.listed) return;
    line.listed = true;
    runnable.push_back(record.thread);
    if (runnable.size() > idle && workers - reliefs < kMaxWorkers) StartWorker(0);
    wake.notify_one();
}

void CCourier::State::Relieve(DWORD thread) {
    // A thread may take other windows' messages while one of its windows
    // waits inside a handler, as a thread that sends to another one does.
    auto found = lines.find(thread);
    if (found == lines.end()) return;
    Line& line = found->second;
    if (line.servers != 1 || line.ready.empty() ||
        std::chrono::steady_clock::now() - line.sendFrom < std::chrono::milliseconds(kReliefAfterMs))
        return;
    if (StartWorker(thread)) ++line.servers;
}

bool CCourier::State::StartWorker(DWORD relief) {
    // It needs little stack.
    auto* start = new Start{shared_from_this(), relief};
    HANDLE thread = CreateThread(nullptr, 64 * 1024, &Work, start, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        delete start;   // the next queued window tries again
        return false;
    }
    CloseHandle(thread);
    ++workers;
    reliefs += relief != 0;
    return true;
}

DWORD WINAPI CCourier::State::Work(void* param) {
    std::unique_ptr<Start> start(static_cast<Start*>(param));
    State& s = *start->state;
    std::unique_lock<std::mutex> held(s.lock);
    if (start->relief) {
        s.Serve(start->relief, held);
        --s.reliefs;
        --s.workers;
        return 0;
    }
    while (!s.closing) {
        if (s.runnable.empty()) {
            ++s.idle;
            bool work = s.wake.wait_for(held, std::chrono::milliseconds(kIdleMs),
                                        [&] { return !s.runnable.empty() || s.closing; });
            --s.idle;
            if (!work || s.closing) break;
        }
        DWORD thread = s.runnable.front();
        s.runnable.pop_front();
        Line& line = s.lines[thread];
        line.listed = false;
        ++line.servers;
        s.Serve(thread, held);
    }
    --s.workers;
    return 0;
}

void CCourier::State::Serve(DWORD thread, std::unique_lock<std::mutex>& held) {
    Line& line = lines[thread];   // stays put: only its last server erases it
    while (!line.ready.empty() && !closing) {
        HWND target = line.ready.front();
        line.ready.pop_front();
        Record& record = records[target];
        record.queued = false;
        record.flying = true;
        record.flight = std::move(record.slot);
        record.slot = Parcel();
        const Parcel parcel = record.flight;
        const SendFunction sendNow = send;
        line.sendFrom = std::chrono::steady_clock::now();   // never overstates the other's wait

        held.unlock();
        const Outcome outcome = Carry(sendNow, target, parcel);
        held.lock();

        Record& after = records[target];
        after.flying = false;
        after.flight = Parcel();
        if (closing) break;
        if (outcome != Outcome::Delivered) Reported(target, outcome);
        if (outcome == Outcome::Delivered && after.slot.parts) Queue(target, after);
        else records.erase(target);
    }
    if (--line.servers == 0 && !line.listed && line.ready.empty()) lines.erase(thread);
    // Deliveries are news once a thread's windows are done for now, not one
    // by one: a message per delivery costs the dialog's thread, and the
    // system, about as much as the send.
    if (!closing && reports.empty()) Notify();
}

CCourier::Outcome CCourier::State::Carry(SendFunction send, HWND target, const Parcel& parcel) {
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
    if (first) Notify();
}

void CCourier::State::Notify() {
    if (notify) PostMessageW(notify, message, 0, 0);
}

CCourier::CCourier() : m_state(std::make_shared<State>()) {}

CCourier::~CCourier() {
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->closing = true;
    m_state->wake.notify_all();
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
    s.Relieve(thread);
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
