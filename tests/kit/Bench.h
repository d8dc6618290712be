// Clock and statistics shared by the benchmarks.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/Clock.h"

namespace bench {

using ::NowMs;

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double Min(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
inline double Max(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

inline const char* Arch() { return sizeof(void*) == 8 ? "x86_64" : "i686"; }

// Runs a and b once each as a warm-up, then runs times each, alternating
// which goes first, so drift on the machine falls on both alike.
template <class A, class B>
void Interleave(int runs, A a, B b, std::vector<double>* aMs, std::vector<double>* bMs) {
    a();
    b();
    for (int r = 0; r < runs; ++r) {
        if (r % 2) {
            bMs->push_back(b());
            aMs->push_back(a());
        } else {
            aMs->push_back(a());
            bMs->push_back(b());
        }
    }
}

// A benchmark that could not measure what it set out to says so and ends
// with a failure: Fail says what, Failed() gives the exit code.
inline bool& FailedFlag() {
    static bool failed = false;
    return failed;
}
inline void Fail(const char* what) {
    printf("ERROR: %s\n", what);
    FailedFlag() = true;
}
inline int Failed() { return FailedFlag() ? 1 : 0; }

inline const char* Verdict(double ratio, double goal) { return ratio <= goal ? "met" : "MISSED"; }

}  // namespace bench
