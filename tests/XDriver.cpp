#include "tests/XDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/TestUtil.h"

namespace testutil {

namespace {
int g_requests = 0;

int Acknowledged() {
    const char* path = getenv("XDRIVER_ACK");
    if (!path) return -1;
    std::string file = path[0] == '/' ? std::string("Z:") + path : path;
    FILE* f = fopen(file.c_str(), "r");
    if (!f) return 0;
    int n = 0;
    if (fscanf(f, "%d", &n) != 1) n = 0;
    fclose(f);
    return n;
}

bool Request(const char* line) {
    if (!getenv("XDRIVER_ACK")) return false;   // not run by the driver
    printf("%s\n", line);
    fflush(stdout);
    int want = ++g_requests;
    return WaitFor([&] { return Acknowledged() >= want; }, 10000);
}
}  // namespace

bool ClickAt(int button, int repeat, POINT at) {
    char line[64];
    snprintf(line, sizeof line, "CLICKAT %d %d %ld %ld", button, repeat, at.x, at.y);
    return Request(line);
}

bool PressKey(const char* keysym) {
    char line[64];
    snprintf(line, sizeof line, "KEY %s", keysym);
    return Request(line);
}

}  // namespace testutil
