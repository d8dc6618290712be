// Tiny test harness in the style of Wine's conformance tests: every check
// prints what was expected and what was found, and the run goes on so that
// one run shows every failure.
#pragma once

#include <string>

namespace ok_harness {
bool Check(const char* file, int line, bool cond, const char* fmt, ...)
    __attribute__((format(printf, 4, 5)));
void SetContext(const std::string& label);   // prefixed to failure lines
int Summary();                                // prints "N passed, N failed"
}  // namespace ok_harness

// ok(cond, "expected %d, got %d", a, b): returns cond so callers can bail out.
#define ok(cond, ...) ::ok_harness::Check(__FILE__, __LINE__, (cond), __VA_ARGS__)

// Labels the following checks, for table-driven cases.
#define ok_context(label) ::ok_harness::SetContext(label)

// Each test program ends with: return ok_summary();
#define ok_summary() ::ok_harness::Summary()
