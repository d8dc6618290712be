// Another thread that sends WM_NULL to a window over and over, as any other
// program may, and keeps the longest round trip: how long the window's
// thread left others waiting.
#pragma once

#include <windows.h>

#include <atomic>

namespace testutil {

class AnswerWatch {
public:
    // Round trips over slowMs count as slow.
    explicit AnswerWatch(HWND hWnd, double slowMs = 50);
    ~AnswerWatch();
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    // The longest round trip so far, in ms, and how many were made.
    double Worst() const { return m_worstMs; }
    // When the longest round trip began, on QueryPerformanceCounter in ms.
    double WorstAt() const { return m_worstAtMs; }
    long Count() const { return m_count; }
    long Slow() const { return m_slow; }
    // Ends the watch; the watched window's thread, when it is the caller's,
    // goes on answering meanwhile. Returns Worst().
    double Stop();

private:
    static DWORD WINAPI Run(void* self);

    HWND m_hWnd;
    double m_slowMs;
    HANDLE m_stop;
    HANDLE m_thread = nullptr;
    std::atomic<double> m_worstMs{0};
    std::atomic<double> m_worstAtMs{0};
    std::atomic<long> m_count{0};
    std::atomic<long> m_slow{0};
};

}  // namespace testutil
