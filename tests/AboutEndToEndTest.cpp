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
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/Process.h"
#include "tests/TestUtil.h"
#include "tests/ok.h"

namespace {

const char kAboutTitle[] = "Info \xFC" "ber Wimmelpult";
const int kHolidays = 1016;

const char kDec06[] = "Feiertage am 06. Dezember:\nFinnland";
const char kDec07[] = "Feiertage am 07. Dezember:\nElfenbeink\xFCste";
const char kJan02[] = "Feiertage am 02. J\xE4nner:\n<leider keiner>";

// How long the program may take to start and to answer.
const DWORD kStartMs = 20000;
const DWORD kAnswerMs = 5000;

struct Program {
    HWND main = nullptr;
    DWORD pid = 0;
    HANDLE process = nullptr;
};

struct Search {
    const char* title;
    DWORD pid;   // 0: any process but ours
    int count;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == GetCurrentProcessId() || (search->pid && pid != search->pid) || !IsWindowVisible(hWnd)) return TRUE;
    char cls[64] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || testutil::WindowText(hWnd) != search->title) return TRUE;
    ++search->count;
    search->found = hWnd;
    return TRUE;
}

// The one visible dialog with this title (of process pid, if given).
HWND FindDialog(const char* title, DWORD pid, int* count = nullptr) {
    Search search = {title, pid, 0, nullptr};
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (count) *count = search.count;
    return search.count == 1 ? search.found : nullptr;
}

bool FindProgram(Program* program) {
    int count = 0;
    testutil::WaitFor([&] { return (program->main = FindDialog("Wimmelpult", 0, &count)) != nullptr; }, kStartMs);
    if (!ok(program->main != nullptr, "expected one Wimmelpult dialog within %lu ms, found %d", kStartMs, count))
        return false;
    GetWindowThreadProcessId(program->main, &program->pid);
    program->process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program->pid);
    return ok(program->process != nullptr, "expected to open the program's process");
}

void PostKey(HWND hWnd, UINT vk) {
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(hWnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(hWnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

// Opens the About box from the system menu; returns its window.
HWND OpenAbout(const Program& program) {
    // Posted: the menu command runs the About box's modal loop.
    PostMessageA(program.main, WM_SYSCOMMAND, 0x10, 0);
    HWND about = nullptr;
    testutil::WaitFor([&] { return (about = FindDialog(kAboutTitle, program.pid)) != nullptr; }, kAnswerMs);
    if (!ok(about != nullptr, "expected the About box within %lu ms", kAnswerMs)) return nullptr;
    ok(GetWindow(about, GW_OWNER) == program.main, "expected the main dialog to own the About box");
    ok(!IsWindowEnabled(program.main), "expected the main dialog disabled under the About box");
    return about;
}

std::string HolidayText(HWND about) { return testutil::WindowText(GetDlgItem(about, kHolidays)); }

void CheckText(HWND about, const char* want) {
    std::string got = HolidayText(about);
    ok(got == want, "expected \"%s\", got \"%s\"", want, got.c_str());
}

void CloseAbout(const Program& program, HWND about, bool byEscape) {
    HWND button = GetDlgItem(about, IDOK);
    if (byEscape) PostKey(button, VK_ESCAPE);
    else PostMessageA(button, BM_CLICK, 0, 0);
    bool gone = testutil::WaitFor([&] { return !IsWindow(about); }, kAnswerMs);
    if (!ok(gone, "expected the About box closed by %s", byEscape ? "Escape" : "&OK")) return;
    bool back = testutil::WaitFor(
        [&] { return IsWindowEnabled(program.main) && GetForegroundWindow() == program.main; }, kAnswerMs);
    ok(back, "expected the main dialog enabled and active again (enabled %d, foreground %p, main %p)",
       IsWindowEnabled(program.main), GetForegroundWindow(), program.main);
}

bool EndProgram(const Program& program) {
    PostKey(GetDlgItem(program.main, 1000), VK_ESCAPE);
    DWORD waited = WaitForSingleObject(program.process, 10000);
    return ok(waited == WAIT_OBJECT_0, "expected the program to end on Escape");
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
    while (GetTickCount() - seen < 22000) {
        Sleep(200);
        testutil::FlushMessages();
    }
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
    if (!ok(which == "dec06" || which == "jan02" || which == "midnight", "unknown case \"%s\"", which.c_str()))
        return ok_summary();

    Program program;
    if (FindProgram(&program)) {
        if (which == "dec06") RunDate(program, kDec06);
        else if (which == "jan02") RunDate(program, kJan02);
        else RunMidnight(program, driverStart);
        ok_context("end");
        EndProgram(program);
        CloseHandle(program.process);
    }
    return ok_summary();
}
