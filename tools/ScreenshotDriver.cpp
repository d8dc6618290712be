// Works the running Wimmelpult for the README's screenshots:
//   ScreenshotDriver assign SEARCH CAPTION   types both texts, ticks
//                                             "Neues Symbol" and assigns
//   ScreenshotDriver chooser [TAB ITEM]       opens the icon chooser, on a
//                                             tab with an icon selected
//   ScreenshotDriver ok | close               confirms or cancels the dialog
//                                             on top
//   ScreenshotDriver about                    opens the About box
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/resource.h"
#include "tests/kit/Wait.h"

namespace {

HWND MainDialog() {
    for (HWND dlg = nullptr; (dlg = FindWindowExA(nullptr, dlg, "#32770", nullptr)) != nullptr;)
        if (GetDlgItem(dlg, IDC_OLD_TITLE) && GetDlgItem(dlg, IDC_MINIMIZE)) return dlg;
    return nullptr;
}

HWND FindMainDialog() {
    HWND dlg = nullptr;
    testutil::WaitFor([&] { return (dlg = MainDialog()) != nullptr; }, 10000);
    return dlg;
}

HWND FindChooser(HWND main) {
    HWND chooser = nullptr;
    testutil::WaitFor(
        [&] {
            HWND top = GetLastActivePopup(main);
            chooser = top != main && GetDlgItem(top, IDC_ICON_LIST) ? top : nullptr;
            return chooser != nullptr;
        },
        10000);
    return chooser;
}

// Says what failed, in one line, for the script that runs this.
int Fail(const char* what) {
    fprintf(stderr, "ScreenshotDriver: %s\n", what);
    return 1;
}

// Structures for another process's controls must live in that process.
template <class T>
bool SendRemote(HWND target, UINT message, WPARAM wParam, T* data) {
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid);
    if (!process) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE);
    bool done = remote && WriteProcessMemory(process, remote, data, sizeof(T), nullptr);
    if (done) {
        SendMessageA(target, message, wParam, reinterpret_cast<LPARAM>(remote));
        done = ReadProcessMemory(process, remote, data, sizeof(T), nullptr);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return done;
}

bool PickIcon(HWND chooser, int tab, int item) {
    // A click on the tab, as the user makes it, so the chooser hears of it.
    HWND tabs = GetDlgItem(chooser, IDC_CATEGORY_TAB);
    RECT rc = {};
    if (!SendRemote(tabs, TCM_GETITEMRECT, tab, &rc)) return false;
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);

    HWND list = GetDlgItem(chooser, IDC_ICON_LIST);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!SendRemote(list, LVM_SETITEMSTATE, item, &state)) return false;
    SendMessageA(list, LVM_ENSUREVISIBLE, item, FALSE);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* command = argc >= 2 ? argv[1] : "";
    bool known = (strcmp(command, "assign") == 0 && argc >= 4) || strcmp(command, "chooser") == 0 ||
                 strcmp(command, "ok") == 0 || strcmp(command, "about") == 0 || strcmp(command, "close") == 0;
    if (!known) {
        fprintf(stderr, "usage: ScreenshotDriver assign SEARCH CAPTION | chooser [TAB ITEM] | ok | close | about\n");
        return 2;
    }
    HWND dlg = FindMainDialog();
    if (!dlg) return Fail("no Wimmelpult main dialog within 10 s");
    if (strcmp(command, "assign") == 0) {
        // The texts as typed, in any script: from the Unicode command line.
        int count = 0;
        LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
        if (!wide || count < 4) return Fail("could not read the command line");
        SendMessageW(GetDlgItem(dlg, IDC_OLD_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide[2]));
        SendMessageW(GetDlgItem(dlg, IDC_NEW_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide[3]));
        LocalFree(wide);
        SendMessageA(GetDlgItem(dlg, IDC_NEW_ICON), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    } else if (strcmp(command, "chooser") == 0) {
        if (!PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_CHANGE_ICON, BN_CLICKED),
                          reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_CHANGE_ICON))))
            return Fail("could not post the click on \"Anderes Symbol...\"");
        HWND chooser = FindChooser(dlg);
        if (!chooser) return Fail("the icon chooser did not open within 10 s");
        if (argc >= 4 && !PickIcon(chooser, atoi(argv[2]), atoi(argv[3])))
            return Fail("could not reach the icon chooser's controls in Wimmelpult's process");
    } else if (strcmp(command, "ok") == 0) {
        if (!PostMessageA(GetLastActivePopup(dlg), WM_COMMAND, IDOK, 0)) return Fail("could not post OK");
    } else if (strcmp(command, "about") == 0) {
        if (!PostMessageA(dlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0)) return Fail("could not post the About command");
    } else {
        if (!PostMessageA(GetLastActivePopup(dlg), WM_COMMAND, IDCANCEL, 0)) return Fail("could not post Cancel");
    }
    return 0;
}
