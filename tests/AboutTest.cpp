// The About box inside the test process: the holiday text it shows for
// today, how it ends, that its text is fixed when the object is made, and
// how the main dialog's system menu opens it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "framework/CWinApp.h"
#include "holidays/CAboutDlg.h"
#include "tests/kit/Find.h"
#include "tests/kit/Input.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Sequence.h"
#include "tests/kit/Texts.h"
#include "tests/kit/ok.h"

using testutil::CentredOn;
using testutil::FindThreadWindow;
using testutil::Cp1252;
using testutil::ItemText;
using testutil::PostButton;
using testutil::PostKey;
using testutil::RunModal;
using testutil::When;
using testutil::kAboutTitle;
using testutil::kMonthNames;

namespace {

// The main window decides who owns the About box.
CWinApp g_app;

std::string HeaderOf(const SYSTEMTIME& day) {
    char header[64];
    snprintf(header, sizeof header, "Feiertage am %02u. %s:\n", static_cast<unsigned>(day.wDay),
             kMonthNames[(day.wMonth - 1) % 12]);
    return header;
}

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// What a holiday text must look like on a date between `before` and
// `after`: that date's header, then one line of names joined by ", ", or
// "<leider keiner>".
void CheckTodaysText(const std::string& text, const SYSTEMTIME& before, const SYSTEMTIME& after) {
    std::string header = HeaderOf(before);
    if (text.compare(0, header.size(), header) != 0 && !SameDay(before, after)) header = HeaderOf(after);
    if (!ok(text.compare(0, header.size(), header) == 0, "expected the header \"%s\", got \"%s\"",
            header.c_str(), text.c_str()))
        return;
    std::string names = text.substr(header.size());
    ok(!names.empty(), "expected a line of names after the header, got none in \"%s\"", text.c_str());
    ok(names.find_first_of("\r\n") == std::string::npos, "expected one line of names, got \"%s\"", names.c_str());
    if (names == "<leider keiner>") return;
    ok(names.find('<') == std::string::npos, "expected names or \"<leider keiner>\" alone, got \"%s\"",
       names.c_str());
    ok(names.front() != ',' && names.front() != ' ' && names.back() != ',' && names.back() != ' ',
       "expected no separator at either end, got \"%s\"", names.c_str());
    ok(names.find(",,") == std::string::npos && names.find(", ,") == std::string::npos &&
           names.find("  ") == std::string::npos,
       "expected no empty name, got \"%s\"", names.c_str());
}

bool AboutShown() { return FindThreadWindow(kAboutTitle) != nullptr; }
bool AboutGone() { return FindThreadWindow(kAboutTitle, false) == nullptr; }

BOOL CALLBACK CollectIconStatics(HWND hWnd, LPARAM param) {
    if ((GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hWnd);
    return TRUE;
}

// ---------------------------------------------------------------------------

void TestTodaysText() {
    ok_context("today's text");
    g_app.m_pMainWnd = nullptr;
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    CAboutDlg about;
    GetLocalTime(&after);
    CheckTodaysText(Cp1252(about.m_strHolidays), before, after);
    std::wstring made = about.m_strHolidays;

    INT_PTR result = RunModal(about, {
        [&] {
            HWND h = about.m_hWnd;
            char title[64] = {};
            GetWindowTextA(h, title, sizeof title);
            ok(strcmp(title, kAboutTitle) == 0, "expected caption \"%s\", got \"%s\"", kAboutTitle, title);
            std::string shown = ItemText(h, IDC_HOLIDAYS);
            ok(shown == Cp1252(about.m_strHolidays), "expected control 1016 to show \"%s\", got \"%s\"",
               Cp1252(about.m_strHolidays).c_str(), shown.c_str());

            std::vector<HWND> icons;
            EnumChildWindows(h, &CollectIconStatics, reinterpret_cast<LPARAM>(&icons));
            ok(icons.size() == 2, "expected two icons, got %d", static_cast<int>(icons.size()));
            for (HWND icon : icons)
                ok(SendMessageA(icon, STM_GETICON, 0, 0) != 0, "expected an icon loaded in static %p, it has none",
                   icon);

            ok(GetFocus() == GetDlgItem(h, IDOK), "expected the focus on &OK (%p), got it on %p",
               GetDlgItem(h, IDOK), GetFocus());
            RECT work = testutil::WorkArea(), rc;
            GetWindowRect(h, &rc);
            int dx = 0, dy = 0;
            ok(CentredOn(rc, work, &dx, &dy), "expected it centred in the work area, off by %d,%d", dx, dy);
            PostButton(h, IDOK);
        },
        [&] { ok(false, "expected &OK to have ended the About box, it is still open"); },
    });
    ok(result == IDOK, "expected IDOK from &OK, got %d", static_cast<int>(result));
    ok(about.m_strHolidays == made, "expected the text unchanged by &OK, got \"%s\"", Cp1252(about.m_strHolidays).c_str());
}

void TestEnding() {
    struct Ending {
        const char* label;
        void (*act)(HWND about);
        INT_PTR result;
    };
    const Ending endings[] = {
        {"Enter", [](HWND h) { PostKey(GetDlgItem(h, IDOK), VK_RETURN); }, IDOK},
        {"Escape", [](HWND h) { PostKey(GetDlgItem(h, IDOK), VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND h) { PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    g_app.m_pMainWnd = nullptr;
    for (const Ending& ending : endings) {
        ok_context(std::string("ended by ") + ending.label);
        CAboutDlg about;
        INT_PTR result = RunModal(about, {
            [&] { ending.act(about.m_hWnd); },
            [&] { ok(false, "expected the About box to have ended, it is still open"); },
        });
        ok(result == ending.result, "expected %d, got %d", static_cast<int>(ending.result),
           static_cast<int>(result));
    }
}

void TestTextFixedAtConstruction() {
    ok_context("text fixed at construction");
    g_app.m_pMainWnd = nullptr;
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    CAboutDlg first;
    std::wstring made = first.m_strHolidays;

    // The window shows what the object holds, not a text made anew, in
    // every script.
    const std::wstring probe = L"Probe\nТекст, テキスト 🎵";
    first.m_strHolidays = probe;
    RunModal(first, [&] {
        std::wstring shown = testutil::WideItemText(first.m_hWnd, IDC_HOLIDAYS);
        ok(shown == probe, "expected the member's text shown, got \"%s\"", Cp1252(shown).c_str());
        PostButton(first.m_hWnd, IDOK);
    });

    CAboutDlg second;
    GetLocalTime(&after);
    CheckTodaysText(Cp1252(second.m_strHolidays), before, after);
    if (SameDay(before, after))
        ok(second.m_strHolidays == made, "expected the same day's text again, got \"%s\"",
           Cp1252(second.m_strHolidays).c_str());
    ok(first.m_strHolidays == probe, "expected the first object's text untouched, got \"%s\"",
       Cp1252(first.m_strHolidays).c_str());
    RunModal(second, [&] {
        std::string shown = ItemText(second.m_hWnd, IDC_HOLIDAYS);
        ok(shown == Cp1252(second.m_strHolidays), "expected the second object's text shown, got \"%s\"", shown.c_str());
    });
}

// ---------------------------------------------------------------------------
// From the main dialog's system menu.

// What the owner of a modal dialog hears while that runs.
std::vector<testutil::ExpectedMessage> ActivationAroundModal() {
    using testutil::kWParam;
    return {{WM_ENABLE, kWParam, FALSE}, {WM_ACTIVATE, kWParam, WA_INACTIVE}, {WM_ENABLE, kWParam, TRUE},
            {WM_ACTIVATE, kWParam, WA_ACTIVE}};
}

void TestFromSystemMenu() {
    struct Case {
        UINT command;
        bool byEscape;
    };
    // The low four bits of the command do not matter.
    const Case cases[] = {{IDM_ABOUTBOX, false}, {IDM_ABOUTBOX | 0x3, true}, {IDM_ABOUTBOX | 0xF, false}};
    for (const Case& c : cases) {
        char label[64];
        snprintf(label, sizeof label, "system command 0x%X, closed by %s", c.command, c.byEscape ? "Escape" : "&OK");
        ok_context(label);
        CWimmelpultDlg dlg;
        g_app.m_pMainWnd = &dlg;
        SYSTEMTIME before, after;
        HWND about = nullptr;
        std::unique_ptr<testutil::MessageRecorder> activation;
        INT_PTR result = RunModal(dlg, {
            [&] {
                activation = std::make_unique<testutil::MessageRecorder>(
                    dlg.m_hWnd, std::initializer_list<UINT>{WM_ENABLE, WM_ACTIVATE});
                // Off the middle of the work area, so that centring over the
                // owner shows.
                SetWindowPos(dlg.m_hWnd, nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                GetLocalTime(&before);
                PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, c.command, 0);
            },
            When(AboutShown, [&] {
                GetLocalTime(&after);
                about = FindThreadWindow(kAboutTitle);
                ok(GetWindow(about, GW_OWNER) == dlg.m_hWnd,
                   "expected the main dialog %p to own the About box, got owner %p", dlg.m_hWnd,
                   GetWindow(about, GW_OWNER));
                ok(!IsWindowEnabled(dlg.m_hWnd), "expected the main dialog disabled, it is enabled");
                ok(IsWindowEnabled(about) && GetActiveWindow() == about,
                   "expected the About box %p enabled and active, got enabled %d, active window %p", about,
                   IsWindowEnabled(about), GetActiveWindow());
                CheckTodaysText(ItemText(about, IDC_HOLIDAYS), before, after);
                RECT main, rc;
                GetWindowRect(dlg.m_hWnd, &main);
                GetWindowRect(about, &rc);
                int dx = 0, dy = 0;
                ok(CentredOn(rc, main, &dx, &dy), "expected it centred on the main dialog, off by %d,%d", dx, dy);
                if (c.byEscape) PostKey(GetDlgItem(about, IDOK), VK_ESCAPE);
                else PostButton(about, IDOK);
            }),
            When(AboutGone, [&] {
                // Enabled again before the About box goes, so activation comes back to it.
                ok_sequence(activation->Sequence(), ActivationAroundModal(), "the main dialog around the About box");
                activation.reset();
                ok(IsWindowVisible(dlg.m_hWnd), "expected the main dialog still open, it is hidden");
                ok(IsWindowEnabled(dlg.m_hWnd) && GetActiveWindow() == dlg.m_hWnd,
                   "expected the main dialog %p enabled and active, got enabled %d, active is %p", dlg.m_hWnd,
                   IsWindowEnabled(dlg.m_hWnd), GetActiveWindow());
                PostKey(GetDlgItem(dlg.m_hWnd, IDC_OLD_TITLE), VK_ESCAPE);
            }),
            [&] { ok(false, "expected Escape to have ended the main dialog, it is still open"); },
        });
        ok(result == IDCANCEL, "expected the main dialog ended by Escape, got %d", static_cast<int>(result));
        g_app.m_pMainWnd = nullptr;
    }
}

void TestOtherSystemCommands() {
    // Neighbours of the About command that are not it.
    const UINT others[] = {0x00, 0x0F, 0x20, 0x30, 0x110};
    for (UINT command : others) {
        char label[64];
        snprintf(label, sizeof label, "system command 0x%X", command);
        ok_context(label);
        CWimmelpultDlg dlg;
        g_app.m_pMainWnd = &dlg;
        RunModal(dlg, {
            [&] { PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, command, 0); },
            [&] {
                ok(AboutGone(), "expected no About box, found one");
                ok(IsWindowVisible(dlg.m_hWnd) && IsWindowEnabled(dlg.m_hWnd),
                   "expected the main dialog as it was, visible and enabled, got visible %d, enabled %d",
                   IsWindowVisible(dlg.m_hWnd), IsWindowEnabled(dlg.m_hWnd));
            },
        });
        g_app.m_pMainWnd = nullptr;
    }
    {
        ok_context("SC_MOVE, cancelled by Escape");
        CWimmelpultDlg dlg;
        g_app.m_pMainWnd = &dlg;
        RECT start = {};
        RunModal(dlg, {
            [&] {
                GetWindowRect(dlg.m_hWnd, &start);
                // The keyboard move loop takes the Escape from the queue.
                PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MOVE, 0);
                PostKey(dlg.m_hWnd, VK_ESCAPE);
            },
            [&] {
                RECT now;
                GetWindowRect(dlg.m_hWnd, &now);
                ok(EqualRect(&now, &start), "expected the dialog where it was, (%ld,%ld) then (%ld,%ld)", start.left,
                   start.top, now.left, now.top);
                ok(AboutGone(), "expected no About box, found one");
                ok(IsWindowVisible(dlg.m_hWnd) && IsWindowEnabled(dlg.m_hWnd),
                   "expected the main dialog open and enabled, got visible %d, enabled %d",
                   IsWindowVisible(dlg.m_hWnd), IsWindowEnabled(dlg.m_hWnd));
            },
        });
        g_app.m_pMainWnd = nullptr;
    }
    {
        ok_context("SC_CLOSE");
        CWimmelpultDlg dlg;
        g_app.m_pMainWnd = &dlg;
        INT_PTR result = RunModal(dlg, {
            [&] { PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
            [&] { ok(false, "expected the Close command to have ended the dialog, it is still open"); },
        });
        ok(result == IDCANCEL, "expected IDCANCEL, got %d", static_cast<int>(result));
        g_app.m_pMainWnd = nullptr;
    }
}

}  // namespace

int main() {
    testutil::InitDialogControls();
    TestTodaysText();
    TestEnding();
    TestTextFixedAtConstruction();
    TestFromSystemMenu();
    TestOtherSystemCommands();
    return ok_summary();
}
