#include "app/CCourier.h"

#include <algorithm>
#include <vector>

#include "app/TargetWindow.h"
#include "framework/Clock.h"

namespace {
// The couriers alive on this thread: a ping may answer after its courier has
// gone, and must then find nobody.
std::vector<CCourier*>& Live() {
    static std::vector<CCourier*> live;
    return live;
}
}  // namespace

CCourier::CCourier() : m_send(&SendMessageTimeoutA) { Live().push_back(this); }

CCourier::~CCourier() {
    auto& live = Live();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void CCourier::Attach(HWND notify, UINT message, IconFunction iconFor) {
    m_notify = notify;
    m_message = message;
    m_iconFor = std::move(iconFor);
}

void CCourier::BeginRun() { m_waitLeftMs = kBoundMs; }

void CCourier::BeginTick() {
    ++m_ticks;
    m_sweepDue = true;
    BeginRun();
}

void CCourier::Deliver(HWND target, const std::string& caption, int icon, unsigned parts, bool replace) {
    Parcel parcel{caption, icon, parts, 0, false};
    auto old = m_pending.find(target);
    if (old != m_pending.end()) {
        if (!replace && old->second.caption == caption && old->second.icon == icon) {
            parcel.parts |= old->second.parts;
            parcel.captionTimedOut = old->second.captionTimedOut;
        }
        parcel.thread = old->second.thread;
        m_pending.erase(old);
    }
    if (Carry(target, parcel) == Outcome::Busy) m_pending.emplace(target, std::move(parcel));
}

void CCourier::DeliverPending() {
    m_notified = false;
    // Each look at a window asks the system; parcels that are tried find out
    // by themselves, the others once a tick.
    if (m_sweepDue) {
        m_sweepDue = false;
        for (auto it = m_pending.begin(); it != m_pending.end();) {
            if (IsWindow(it->first)) ++it;
            else it = m_pending.erase(it);
        }
        for (auto it = m_gaps.begin(); it != m_gaps.end();) {
            if (IsWindow(it->first)) ++it;
            else it = m_gaps.erase(it);
        }
    }
    // A ping to a window that has gone may never answer: ask another window
    // of the same thread that still waits for something, or forget the thread.
    for (auto it = m_stalled.begin(); it != m_stalled.end();) {
        if (IsWindow(it->second.pinged)) {
            ++it;
            continue;
        }
        auto other = std::find_if(m_pending.begin(), m_pending.end(),
                                  [&](const auto& p) { return p.second.thread == it->first; });
        if (other == m_pending.end() || !Ping(it->first, other->first)) {
            it = m_stalled.erase(it);
            continue;
        }
        it->second.pinged = other->first;
        ++it;
    }
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (m_stalled.count(it->second.thread)) {
            ++it;
            continue;
        }
        if (Carry(it->first, it->second) == Outcome::Busy) ++it;
        else it = m_pending.erase(it);
    }
}

CCourier::Outcome CCourier::Carry(HWND target, Parcel& parcel) {
    if ((parcel.parts & kCaption) && parcel.captionTimedOut && TargetWindow::ReadCaption(target) == parcel.caption) {
        parcel.parts &= ~kCaption;   // it arrived late after all: the window is done with it
        m_gaps.erase(target);
    }
    if (parcel.parts && Waiting(target)) return Outcome::Busy;
    const struct {
        unsigned part;
        UINT message;
        WPARAM wParam;
    } steps[] = {{kCaption, WM_SETTEXT, 0}, {kSmallIcon, WM_SETICON, ICON_SMALL}, {kBigIcon, WM_SETICON, ICON_BIG}};
    for (const auto& step : steps) {
        if (!(parcel.parts & step.part)) continue;
        HICON icon = step.message == WM_SETICON && m_iconFor ? m_iconFor(parcel.icon) : nullptr;
        LPARAM lParam = step.message == WM_SETTEXT ? reinterpret_cast<LPARAM>(parcel.caption.c_str())
                                                   : reinterpret_cast<LPARAM>(icon);
        Outcome outcome = Send(target, parcel.thread, step.message, step.wParam, lParam);
        if (outcome == Outcome::TimedOut) {
            parcel.captionTimedOut = parcel.captionTimedOut || step.part == kCaption;
            return Outcome::Busy;
        }
        if (outcome != Outcome::Delivered) return outcome;
        parcel.parts &= ~step.part;
    }
    return Outcome::Delivered;
}

CCourier::Outcome CCourier::Send(HWND target, DWORD& thread, UINT message, WPARAM wParam, LPARAM lParam) {
    // Asking for a window's thread costs a request to the system; it is
    // needed only once a thread has stopped answering or the run has waited
    // its share. A window of our own thread is called directly and never
    // waits.
    const bool spent = m_waitLeftMs < kLeastSendMs;
    if (!m_stalled.empty() || spent) {
        if (!thread) thread = GetWindowThreadProcessId(target, nullptr);
        if (!thread) return Outcome::Gone;
        if (thread != GetCurrentThreadId()) {
            if (m_stalled.count(thread)) return Outcome::Busy;
            if (spent) {   // find out without waiting
                Stall(thread, target);
                return Outcome::Busy;
            }
        }
    }
    // SMTO_BLOCK: no other message of ours runs while we wait, so a run is
    // never re-entered halfway.
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    const double start = NowMs();
    const LRESULT sent = m_send(target, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                static_cast<UINT>(m_waitLeftMs), &result);
    const DWORD error = GetLastError();
    // A slow answer keeps the dialog waiting as surely as none.
    m_waitLeftMs = std::max(0.0, m_waitLeftMs - (NowMs() - start));
    if (sent || error != ERROR_TIMEOUT) m_gaps.erase(target);   // it has answered, or never will
    if (sent) return Outcome::Delivered;
    switch (error) {
    case ERROR_TIMEOUT:   // busy or hung: it may answer later
        m_waitLeftMs = 0;
        if (!thread) thread = GetWindowThreadProcessId(target, nullptr);
        TimedOut(target, thread);
        Stall(thread, target);
        return Outcome::TimedOut;
    case ERROR_INVALID_WINDOW_HANDLE:
        return Outcome::Gone;
    default:   // refused, as a program with higher rights does: no use trying again
        return Outcome::Refused;
    }
}

bool CCourier::Waiting(HWND target) const {
    auto gap = m_gaps.find(target);
    return gap != m_gaps.end() && m_ticks < gap->second.until;
}

void CCourier::TimedOut(HWND target, DWORD thread) {
    // A send that timed out may still be running in the window, which answers
    // pings meanwhile if it waits on something itself; another caption now
    // would only nest inside the first.
    Gap& gap = m_gaps[target];
    gap.thread = thread;
    gap.until = m_ticks + gap.length;
    gap.length = std::min(gap.length * 2, kMaxGapTicks);
}

void CCourier::Stall(DWORD thread, HWND target) {
    if (Ping(thread, target)) m_stalled[thread] = {target, NowMs()};
}

bool CCourier::Ping(DWORD thread, HWND target) {
    // The reply comes through our own message retrieval, so nothing waits.
    return SendMessageCallbackA(target, WM_NULL, 0, 0, &PingAnswered, thread) != 0;
}

void CCourier::OnAnswered(DWORD thread) {
    auto stalled = m_stalled.find(thread);
    if (stalled == m_stalled.end()) return;
    if (NowMs() - stalled->second.since > kStoppedMs)
        for (auto& gap : m_gaps)
            if (gap.second.thread == thread) gap.second.length = 1;
    m_stalled.erase(stalled);
    if (m_pending.empty() || m_notified || !m_notify) return;
    m_notified = PostMessageA(m_notify, m_message, 0, 0) != 0;
}

void CALLBACK CCourier::PingAnswered(HWND, UINT, ULONG_PTR thread, LRESULT) {
    for (CCourier* courier : std::vector<CCourier*>(Live())) courier->OnAnswered(static_cast<DWORD>(thread));
}
