#include "tests/kit/ok.h"

#include <cstdarg>
#include <cstdio>

namespace ok_harness {
namespace {
int g_passed = 0;
int g_failed = 0;
std::string g_context;
}  // namespace

bool Check(const char* file, int line, bool cond, const char* fmt, ...) {
    if (cond) {
        ++g_passed;
        return true;
    }
    ++g_failed;
    const char* base = file;
    for (const char* p = file; *p; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    std::printf("%s:%d: Test failed: ", base, line);
    if (!g_context.empty()) std::printf("[%s] ", g_context.c_str());
    va_list args;
    va_start(args, fmt);
    std::vprintf(fmt, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
    return false;
}

void SetContext(const std::string& label) { g_context = label; }

int Summary() {
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    std::fflush(stdout);
    return g_failed == 0 && g_passed > 0 ? 0 : 1;
}
}  // namespace ok_harness
