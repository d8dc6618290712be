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
        bool taken = false;   // runnable, or served by a worker
    };

    mutable std::mutex lock;
    std::condition_variable wake;
    std::unordered_map<HWND, Record> records;
    std::unordered_map<DWORD, Line> lines;
    std::deque<DWORD> runnable;
    std::vector<Report> reports;
    size_t workers = 0;
    size_t idle = 0;
    bool closing = false;
    HWND notify = nullptr;
    UINT message = 0;
    SendFunction send = &SendMessageTimeoutW;

    // All below with the lock held.
    void Queue(HWND target, Record& record);
    void StartWorker();
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
    if (line.taken) return;
    line.taken = true;
    runnable.push_back(record.thread);
    if (runnable.size() > idle && workers < kMaxWorkers) StartWorker();
    wake.notify_one();
}

void CCourier::State::StartWorker() {
    // A worker holds the state, so that it may outlive the courier while it
    // waits on a window. It needs little stack.
    auto* keep = new std::shared_ptr<State>(shared_from_this());
    HANDLE thread = CreateThread(nullptr, 64 * 1024, &Work, keep, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        delete keep;   // the next queued window tries again
        return;
    }
    CloseHandle(thread);
    ++workers;
}

DWORD WINAPI CCourier::State::Work(void* param) {
    std::unique_ptr<std::shared_ptr<State>> owned(static_cast<std::shared_ptr<State>*>(param));
    State& s = **owned;
    std::unique_lock<std::mutex> held(s.lock);
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
        s.Serve(thread, held);
    }
    --s.workers;
    return 0;
}

void CCourier::State::Serve(DWORD thread, std::unique_lock<std::mutex>& held) {
    Line& line = lines[thread];   // stays put: only its server erases it
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
    line.taken = false;
    if (line.ready.empty()) lines.erase(thread);
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
