// The retitle pass and the re-application of remembered captions, against
// real windows of this process and of another one.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "app/CWimmelpultDlg.h"
#include "tests/ModalScript.h"
#include "tests/Process.h"
#include "tests/TestUtil.h"
#include "tests/ok.h"

using testutil::RunModal;

namespace {

// What a window of ours was sent with WM_SETICON, in order.
struct IconMessage {
    WPARAM type;
    HICON icon;
};
std::map<HWND, std::vector<IconMessage>> g_icons;

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETICON) g_icons[hWnd].push_back({wParam, reinterpret_cast<HICON>(lParam)});
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeWindow(const char* caption, DWORD exStyle = 0, bool visible = true) {
    HWND hWnd = CreateWindowExA(exStyle, "RetitleProbe", caption, WS_OVERLAPPEDWINDOW, 40, 40, 200, 80, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (visible) ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    return hWnd;
}

std::string Caption(HWND hWnd) { return testutil::WindowText(hWnd); }

// Types into the dialog and presses "&Zuweisen" with the dialog on top of
// the normal windows, as it is when the user clicks.
void Assign(CWimmelpultDlg& dlg, const char* search, const char* caption, bool update, bool newIcon) {
    SetWindowPos(dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetDlgItemTextA(dlg.m_hWnd, IDC_OLD_TITLE, search);
    SetDlgItemTextA(dlg.m_hWnd, IDC_NEW_TITLE, caption);
    CheckDlgButton(dlg.m_hWnd, IDC_UPDATE, update ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg.m_hWnd, IDC_NEW_ICON, newIcon ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg.m_hWnd, IDOK)));
}

void Tick(CWimmelpultDlg& dlg) { SendMessageA(dlg.m_hWnd, WM_TIMER, 7, 0); }

const RetitleEntry* EntryFor(const CWimmelpultDlg& dlg, HWND hWnd) {
    for (const auto& e : dlg.m_retitled)
        if (e->m_hTarget == hWnd) return e.get();
    return nullptr;
}

void TestMatching() {
    testutil::ChildProcess other;
    bool started = other.Start(testutil::BesideMe("TargetApp.exe"), "2 \"FREMDES Anwendungsfenster\"");
    testutil::ChildProcess hidden;
    started = hidden.Start(testutil::BesideMe("TargetApp.exe"), "1 \"Verstecktes Anwendungsfenster\" hidden") && started;
    ok(started, "expected the target programs to start");
    HWND remote = other.WaitWindow("WimmelpultTestTarget", "FREMDES Anwendungsfenster 0", 10000);
    HWND remoteHidden = hidden.WaitWindow("WimmelpultTestTarget", "Verstecktes Anwendungsfenster", 10000);
    ok(remote && remoteHidden, "expected the target windows");

    HWND start = MakeWindow("ANWENDUNG vorne");
    HWND middle = MakeWindow("Eine Anwendung in der Mitte");
    HWND end = MakeWindow("Am Ende die ANWENDUNG");
    HWND unrelated = MakeWindow("Etwas anderes");
    HWND umlaut = MakeWindow("\xE4rger im Fenster");   // "ärger"
    HWND topmost = MakeWindow("Anwendung ganz oben", WS_EX_TOPMOST);

    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        ok_context("case and position");
        Assign(dlg, "anwendung", "Neu benannt", true, false);
        for (HWND h : {start, middle, end, remote, remoteHidden})
            ok(Caption(h) == "Neu benannt", "expected %p renamed, got \"%s\"", h, Caption(h).c_str());
        ok(Caption(unrelated) == "Etwas anderes", "expected a non-matching window untouched, got \"%s\"",
           Caption(unrelated).c_str());
        ok(Caption(topmost) == "Anwendung ganz oben", "expected the topmost window above the dialog not visited");
        ok(EntryFor(dlg, topmost) == nullptr, "expected no entry for the topmost window");
        ok(EntryFor(dlg, remote) && EntryFor(dlg, remoteHidden) && EntryFor(dlg, start),
           "expected entries for the renamed windows of both programs");
        HWND second = other.WaitWindow("WimmelpultTestTarget", "Neu benannt", 100);
        ok(second != nullptr, "expected the other program's windows renamed");

        ok_context("umlauts");
        Assign(dlg, "\xC4RGER", "Umlaut gefunden", false, false);   // "ÄRGER"
        ok(Caption(umlaut) == "Umlaut gefunden", "expected \"\xC4RGER\" to find \"\xE4rger\", got \"%s\"",
           Caption(umlaut).c_str());

        ok_context("empty search text");
        size_t entries = dlg.m_retitled.size();
        Assign(dlg, "", "Darf nicht sein", true, true);
        ok(Caption(start) == "Neu benannt" && Caption(unrelated) == "Etwas anderes", "expected nothing renamed");
        ok(dlg.m_retitled.size() == entries, "expected the list unchanged, %u -> %u", static_cast<unsigned>(entries),
           static_cast<unsigned>(dlg.m_retitled.size()));

        ok_context("the dialog itself");
        Assign(dlg, "PULT", "Mein Pult", true, false);
        ok(Caption(dlg.m_hWnd) == "Mein Pult", "expected the dialog to retitle itself, got \"%s\"",
           Caption(dlg.m_hWnd).c_str());
        ok(EntryFor(dlg, dlg.m_hWnd) != nullptr, "expected the dialog remembered");
        ok(dlg.m_strOldTitle == "pult", "expected the search text lower-cased, got \"%s\"", dlg.m_strOldTitle.c_str());
    });
    for (HWND h : {start, middle, end, unrelated, umlaut, topmost}) DestroyWindow(h);
}

void TestIcons() {
    HWND target = MakeWindow("Symbolprobe");
    HWND plain = MakeWindow("Ohne Symbolprobe");
    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        HIMAGELIST catalogue = dlg.m_iconChooser.m_imageList.GetSafeHandle();
        dlg.m_iconChooser.m_chosenIcon = 42;

        ok_context("icons on assignment");
        g_icons.clear();
        Assign(dlg, "ohne symbol", "Ohne Symbol", true, false);
        ok(g_icons[plain].empty(), "expected no icon without Neues S&ymbol, got %u",
           static_cast<unsigned>(g_icons[plain].size()));

        g_icons.clear();
        Assign(dlg, "symbolprobe", "Mit Symbol", true, true);
        const std::vector<IconMessage>& sent = g_icons[target];
        if (ok(sent.size() == 2, "expected two WM_SETICON, got %u", static_cast<unsigned>(sent.size()))) {
            ok(sent[0].type == ICON_SMALL && sent[1].type == ICON_BIG, "expected small then big, got %u then %u",
               static_cast<unsigned>(sent[0].type), static_cast<unsigned>(sent[1].type));
            HICON want = ImageList_GetIcon(catalogue, 42, ILD_NORMAL);
            int diff = testutil::CountDifferent(testutil::RenderIcon(sent[0].icon, RGB(0, 128, 128)),
                                                testutil::RenderIcon(want, RGB(0, 128, 128)));
            DestroyIcon(want);
            ok(diff == 0, "expected the picture of catalogue icon 42, %d pixels differ", diff);
        }
        const RetitleEntry* entry = EntryFor(dlg, target);
        ok(entry && entry->m_nIcon == 42 && entry->m_strTitle == "Mit Symbol", "expected the entry with icon 42");
        const RetitleEntry* plainEntry = EntryFor(dlg, plain);
        ok(plainEntry && plainEntry->m_nIcon == -1, "expected the entry without icon to hold -1");

        ok_context("icons on re-application");
        g_icons.clear();
        Tick(dlg);
        ok(g_icons[target].empty(), "expected nothing sent while the caption is unchanged, got %u",
           static_cast<unsigned>(g_icons[target].size()));
        SetWindowTextA(target, "Die Anwendung war hier");
        SetWindowTextA(plain, "Auch hier");
        Tick(dlg);
        ok(Caption(target) == "Mit Symbol", "expected the caption back, got \"%s\"", Caption(target).c_str());
        ok(Caption(plain) == "Ohne Symbol", "expected the caption back, got \"%s\"", Caption(plain).c_str());
        ok(g_icons[target].size() == 1 && g_icons[target][0].type == ICON_SMALL,
           "expected ICON_SMALL alone on re-application, got %u messages",
           static_cast<unsigned>(g_icons[target].size()));
        ok(g_icons[plain].empty(), "expected no icon for an entry without one");

        // Only the icon changed back: the caption still matches, nothing is sent.
        g_icons.clear();
        SendMessageA(target, WM_SETICON, ICON_SMALL, 0);
        g_icons.clear();
        Tick(dlg);
        ok(g_icons[target].empty(), "expected no re-application for an icon change alone");
    });
    DestroyWindow(target);
    DestroyWindow(plain);
}

void TestEntries() {
    HWND a = MakeWindow("Eintrag A");
    HWND b = MakeWindow("Eintrag B");
    HWND c = MakeWindow("Eintrag C");
    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        ok_context("two assignments, one entry");
        dlg.m_iconChooser.m_chosenIcon = 5;
        Assign(dlg, "eintrag a", "Erster Name", true, true);
        dlg.m_iconChooser.m_chosenIcon = 7;
        Assign(dlg, "erster name", "Zweiter Name", true, true);
        int count = 0;
        for (const auto& e : dlg.m_retitled) count += e->m_hTarget == a;
        const RetitleEntry* entry = EntryFor(dlg, a);
        ok(count == 1, "expected one entry for the window, got %d", count);
        ok(entry && entry->m_strTitle == "Zweiter Name" && entry->m_nIcon == 7,
           "expected the second caption and icon, got \"%s\" %d", entry ? entry->m_strTitle.c_str() : "",
           entry ? entry->m_nIcon : -2);
        ok(dlg.m_retitled.back()->m_hTarget == a, "expected the replaced entry at the tail");

        ok_context("a cleared A&ktualisieren keeps the old entry");
        Assign(dlg, "zweiter", "Dritter Name", false, false);
        ok(Caption(a) == "Dritter Name", "expected the window renamed, got \"%s\"", Caption(a).c_str());
        Tick(dlg);
        ok(Caption(a) == "Zweiter Name", "expected the remembered caption back, got \"%s\"", Caption(a).c_str());

        ok_context("a non-matching window keeps its entry");
        Assign(dlg, "eintrag b", "B neu", true, false);
        Assign(dlg, "nichts passt hierauf", "X", true, false);
        ok(EntryFor(dlg, b) != nullptr, "expected B's entry kept");

        ok_context("an empty new caption");
        Assign(dlg, "eintrag c", "", true, false);
        ok(Caption(c).empty(), "expected the empty caption given, got \"%s\"", Caption(c).c_str());
        ok(EntryFor(dlg, c) != nullptr, "expected an entry at first");
        Tick(dlg);
        ok(EntryFor(dlg, c) == nullptr, "expected the entry dropped at the next tick");
        SetWindowTextA(c, "Die Anwendung setzt ihren Titel");
        Tick(dlg);
        ok(Caption(c) == "Die Anwendung setzt ihren Titel", "expected the empty caption never re-applied");

        ok_context("a closed window");
        size_t before = dlg.m_retitled.size();
        DestroyWindow(b);
        Tick(dlg);
        ok(EntryFor(dlg, b) == nullptr, "expected the closed window's entry gone");
        ok(dlg.m_retitled.size() == before - 1, "expected exactly one entry less, %u -> %u",
           static_cast<unsigned>(before), static_cast<unsigned>(dlg.m_retitled.size()));
        ok(EntryFor(dlg, a) != nullptr, "expected the other entries kept");
    });
    DestroyWindow(a);
    DestroyWindow(c);
}

void TestHungTarget() {
    ok_context("hung target");
    testutil::ChildProcess app;
    ok(app.Start(testutil::BesideMe("TargetApp.exe"), "1 \"Bald blockiert\""), "expected the target to start");
    HWND target = app.WaitWindow("WimmelpultTestTarget", "Bald blockiert", 10000);
    if (!ok(target != nullptr, "expected the target window")) return;

    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        dlg.m_iconChooser.m_chosenIcon = 3;
        Assign(dlg, "blockiert", "Wird festgehalten", true, true);
        ok(Caption(target) == "Wird festgehalten", "expected the target renamed while it answers");
        SetWindowTextA(target, "Selbst gesetzt");

        // The application stops answering for a long time.
        PostMessageA(target, WM_APP, 15000, 0);
        Sleep(300);

        DWORD t0 = GetTickCount();
        Tick(dlg);
        DWORD tick = GetTickCount() - t0;
        t0 = GetTickCount();
        Assign(dlg, "selbst", "Noch einmal", true, true);
        DWORD pass = GetTickCount() - t0;
        t0 = GetTickCount();
        Tick(dlg);
        Tick(dlg);
        DWORD twoTicks = GetTickCount() - t0;

        // Each hung window costs a pass at most one send time-out (250 ms).
        ok(tick < 1500, "expected the tick to finish within 1500 ms, took %lu", tick);
        ok(pass < 1500, "expected the pass to finish within 1500 ms, took %lu", pass);
        ok(twoTicks < 3000, "expected two ticks within 3000 ms, took %lu", twoTicks);
        ok(EntryFor(dlg, target) != nullptr, "expected the hung window still remembered");
    });
    app.Kill();
}

void TestHandleBound() {
    ok_context("icon handles");
    HWND target = MakeWindow("Wechselhaft");
    CWimmelpultDlg dlg;
    RunModal(dlg, [&] {
        dlg.m_iconChooser.m_chosenIcon = 100;
        Assign(dlg, "wechselhaft", "Beständig", true, true);
        SetWindowTextA(target, "warm-up");
        Tick(dlg);
        RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        g_icons.clear();

        long before = testutil::UserObjectWatermark();
        for (int i = 0; i < 3000; ++i) {
            SetWindowTextA(target, "Die Anwendung ändert ihren Titel");
            Tick(dlg);
            if (i % 10 == 0) RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        long after = testutil::UserObjectWatermark();
        ok(g_icons[target].size() == 3000, "expected 3000 re-applications, got %u",
           static_cast<unsigned>(g_icons[target].size()));
        ok(after - before < 50, "expected the live handles unchanged, watermark %ld -> %ld", before, after);
        ok(dlg.m_sentIcons.Count() == 1, "expected one icon handle for one index, got %d", dlg.m_sentIcons.Count());
        bool same = true;
        for (const IconMessage& m : g_icons[target]) same = same && m.icon == g_icons[target][0].icon;
        ok(same, "expected the same handle every time");
    });
    DestroyWindow(target);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RetitleProbe";
    RegisterClassA(&wc);

    TestMatching();
    TestIcons();
    TestEntries();
    TestHungTarget();
    TestHandleBound();
    return ok_summary();
}
