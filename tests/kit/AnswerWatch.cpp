#include "tests/kit/AnswerWatch.h"

#include "tests/kit/Bench.h"
#include "tests/kit/Wait.h"

namespace testutil {

using bench::NowMs;

AnswerWatch::AnswerWatch(HWND hWnd, double slowMs) : m_hWnd(hWnd), m_slowMs(slowMs), m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    m_thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

AnswerWatch::~AnswerWatch() {
    Stop();
    if (m_thread) CloseHandle(m_thread);
    CloseHandle(m_stop);
}

double AnswerWatch::Stop() {
    SetEvent(m_stop);
    if (m_thread) WaitFor([&] { return WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; }, 60000);
    return m_worstMs;
}

DWORD WINAPI AnswerWatch::Run(void* self) {
    AnswerWatch& w = *static_cast<AnswerWatch*>(self);
    // A round trip every 10 ms at most, until told to stop.
    do {
        double t0 = NowMs();
        Answers(w.m_hWnd, 60000);
        double took = NowMs() - t0;
        if (took > w.m_worstMs) {
            w.m_worstMs = took;
            w.m_worstAtMs = t0;
        }
        w.m_slow += took > w.m_slowMs;
        ++w.m_count;
    } while (WaitForSingleObject(w.m_stop, 10) == WAIT_TIMEOUT);
    return 0;
}

}  // namespace testutil
