// Drives the About box of a running Wimmelpult.exe whose clock reads a chosen
// date (AboutEndToEndTest.sh starts it so), from outside like a user: opens
// it from the system menu, reads the holiday text, closes it, and finally
// ends the program.
//
// Usage: AboutEndToEndTest.exe <case>, where the case names the faked clock:
//   dec06     2028-12-06 10:00, a date with one name
//   jan02     2028-01-02 10:00, a date with none
//   midnight  2028-12-06 23:59:40, so that the program's day changes during
//             the run
//   oct26, mar25  2028-10-26 and 2028-03-25 10:00, the program under any code
//             page: the text must read exactly as under 1252
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "res/resource.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/Texts.h"
#include "tests/kit/Wait.h"
#include "tests/kit/ok.h"

using testutil::FindOtherDialog;
using testutil::kAboutTitle;

namespace {

const char kDec06[] = "Feiertage am 06. Dezember:\nFinnland";
const char kDec07[] = "Feiertage am 07. Dezember:\nElfenbeink\xFCste";
const char kJan02[] = "Feiertage am 02. J\xE4nner:\n<leider keiner>";
const char kOct26[] = "Feiertage am 26. Oktober:\nNauru, \xD6sterreich";
const char kMar25[] = "Feiertage am 25. M\xE4rz:\nGriechenland";

// How long the program may take to start and to answer.
const DWORD kStartMs = 20000;
const DWORD kAnswerMs = 5000;

struct Program {
    HWND main = nullptr;
    DWORD pid = 0;
    HANDLE process = nullptr;
};

bool FindProgram(Program* program) {
    int count = 0;
    testutil::WaitFor([&] { return (program->main = FindOtherDialog("Wimmelpult", 0, &count)) != nullptr; }, kStartMs);
    if (!ok(program->main != nullptr, "expected one Wimmelpult dialog within %lu ms, found %d", kStartMs, count))
        return false;
    GetWindowThreadProcessId(program->main, &program->pid);
    program->process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program->pid);
    return ok(program->process != nullptr, "expected to open the program's process %lu, error %lu", program->pid,
              GetLastError());
}

// Opens the About box from the system menu; returns its window.
HWND OpenAbout(const Program& program) {
    // Posted: the menu command runs the About box's modal loop.
    PostMessageA(program.main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = nullptr;
    int count = 0;
    testutil::WaitFor([&] { return (about = FindOtherDialog(kAboutTitle, program.pid, &count)) != nullptr; },
                      kAnswerMs);
    if (!ok(about != nullptr, "expected one About box within %lu ms, found %d", kAnswerMs, count)) return nullptr;
    ok(GetWindow(about, GW_OWNER) == program.main, "expected the main dialog %p to own the About box, owner %p",
       program.main, GetWindow(about, GW_OWNER));
    ok(!IsWindowEnabled(program.main), "expected the main dialog disabled under the About box, found it enabled");
    return about;
}

// Read as Unicode: under another code page the narrow text would be that page's.
std::string HolidayText(HWND about) { return testutil::Cp1252(testutil::WideItemText(about, IDC_HOLIDAYS)); }

void CheckText(HWND about, const char* want) {
    std::string got = HolidayText(about);
    ok(got == want, "expected \"%s\", got \"%s\"", want, got.c_str());
}

void CloseAbout(const Program& program, HWND about, bool byEscape) {
    HWND button = GetDlgItem(about, IDOK);
    if (byEscape) testutil::PostKey(button, VK_ESCAPE);
    else PostMessageA(button, BM_CLICK, 0, 0);
    bool gone = testutil::WaitFor([&] { return !IsWindow(about); }, kAnswerMs);
    if (!ok(gone, "expected the About box closed by %s within %lu ms, it stays", byEscape ? "Escape" : "&OK",
            kAnswerMs))
        return;
    bool back = testutil::WaitFor(
        [&] { return IsWindowEnabled(program.main) && GetForegroundWindow() == program.main; }, kAnswerMs);
    ok(back, "expected the main dialog enabled and active again (enabled %d, foreground %p, main %p)",
       IsWindowEnabled(program.main), GetForegroundWindow(), program.main);
}

bool EndProgram(const Program& program) {
    testutil::PostKey(GetDlgItem(program.main, IDC_OLD_TITLE), VK_ESCAPE);
    DWORD waited = WaitForSingleObject(program.process, 10000);
    return ok(waited == WAIT_OBJECT_0, "expected the program to end on Escape within 10 s, wait gave %lu", waited);
}

void RunDate(const Program& program, const char* want) {
    for (bool byEscape : {false, true}) {
        ok_context(byEscape ? "closed by Escape" : "closed by &OK");
        HWND about = OpenAbout(program);
        if (!about) return;
        CheckText(about, want);
        CloseAbout(program, about, byEscape);
    }
}

// The text is made when the About box is opened and stays while it is open.
void RunMidnight(const Program& program, DWORD driverStart) {
    ok_context("open over midnight");
    DWORD seen = GetTickCount();
    HWND about = OpenAbout(program);
    if (!about) return;
    if (HolidayText(about) != kDec06)
        printf("note: the About box opened %lu ms after the driver started, up to 20 s is expected\n",
               GetTickCount() - driverStart);
    CheckText(about, kDec06);
    // The program's clock started at 23:59:40 no later than its window
    // showed; 22 s after that it has passed midnight.
    DWORD since = GetTickCount() - seen;
    // Another process's faked clock passing midnight sends no event to wait for.
    testutil::PumpFor(since < 22000 ? 22000 - since : 0);
    CheckText(about, kDec06);
    CloseAbout(program, about, false);

    ok_context("opened after midnight");
    about = OpenAbout(program);
    if (!about) return;
    CheckText(about, kDec07);
    CloseAbout(program, about, true);
}

}  // namespace

int main(int argc, char** argv) {
    DWORD driverStart = GetTickCount();
    std::string which = argc > 1 ? argv[1] : "";
    if (!ok(which == "dec06" || which == "jan02" || which == "midnight" || which == "oct26" || which == "mar25",
            "expected the case dec06, jan02, midnight, oct26 or mar25, got \"%s\"", which.c_str()))
        return ok_summary();

    Program program;
    if (FindProgram(&program)) {
        if (which == "dec06") RunDate(program, kDec06);
        else if (which == "jan02") RunDate(program, kJan02);
        else if (which == "oct26") RunDate(program, kOct26);
        else if (which == "mar25") RunDate(program, kMar25);
        else RunMidnight(program, driverStart);
        ok_context("end");
        EndProgram(program);
        CloseHandle(program.process);
    }
    return ok_summary();
}
