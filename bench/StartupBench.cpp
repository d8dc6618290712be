// Start-up time of Wimmelpult.exe against an empty dialog of our framework:
// from CreateProcess until the dialog is visible and the process is idle.
//   StartupBench.exe [RUNS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/kit/Bench.h"
#include "tests/kit/Process.h"

namespace {

constexpr double kGoal = 1.3;

struct Program {
    const char* name;
    std::vector<double> ms;
};

// Both programs show a dialog; asking for that class alone keeps each poll
// to a few requests of the Wine server, which the starting program needs too.
HWND VisibleDialogOf(DWORD pid) {
    for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, "#32770", nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hWnd, &owner);
        if (owner == pid && IsWindowVisible(hWnd)) return hWnd;
    }
    return nullptr;
}

// One start; a negative result when the program did not come up.
double StartOnce(const char* name) {
    testutil::ChildProcess program;
    double t0 = bench::NowMs();
    if (!program.Start(testutil::BesideMe(name))) return -1;
    HWND dlg = nullptr;
    while (!dlg && bench::NowMs() - t0 < 20000) {
        dlg = VisibleDialogOf(program.Id());
        // No event tells another process that a window shows (not even EVENT_OBJECT_SHOW here): look again.
        if (!dlg && WaitForSingleObject(program.Handle(), 1) == WAIT_OBJECT_0) break;
    }
    DWORD idle = dlg ? WaitForInputIdle(program.Handle(), 20000) : WAIT_FAILED;
    double elapsed = bench::NowMs() - t0;

    if (dlg) PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    if (!program.WaitExit(10000)) {
        program.Kill();
        return -1;
    }
    return dlg && idle == 0 ? elapsed : -1;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 9;
    if (runs < 1) runs = 1;
    Program programs[] = {{"Wimmelpult.exe", {}}, {"EmptyDialog.exe", {}}};

    for (Program& p : programs) {
        if (StartOnce(p.name) < 0) {
            printf("ERROR: %s did not show a window and go idle\n", p.name);
            return 1;
        }
    }
    // Alternating which goes first keeps a drift of the machine's load from
    // favouring either.
    for (int r = 0; r < runs; ++r) {
        for (int k = 0; k < 2; ++k) {
            Program& p = programs[(r + k) % 2];
            double ms = StartOnce(p.name);
            if (ms < 0) {
                printf("ERROR: %s did not show a window and go idle\n", p.name);
                return 1;
            }
            p.ms.push_back(ms);
        }
    }

    printf("start-up, %s: CreateProcess until the dialog is visible and idle, median of %d after 1 warm-up\n",
           bench::Arch(), runs);
    for (const Program& p : programs)
        printf("  %-16s %8.1f ms   (min %.1f, max %.1f)\n", p.name, bench::Median(p.ms), bench::Min(p.ms),
               bench::Max(p.ms));
    double ratio = bench::Median(programs[0].ms) / bench::Median(programs[1].ms);
    printf("  ratio %.2f (goal at most %.1f): %s\n", ratio, kGoal, bench::Verdict(ratio, kGoal));
    return 0;
}
