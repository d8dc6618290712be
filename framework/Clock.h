// Milliseconds on the performance counter: fine enough to time a single
// message, which GetTickCount's steps of 10 to 16 ms are not.
#pragma once

#include <windows.h>

inline double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}
