// The compiled program's resources against the identifier header and the
// dialogs, menu, strings and version the program must carry.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "res/resource.h"
#include "tests/kit/DialogTemplate.h"
#include "tests/kit/Process.h"
#include "tests/kit/Texts.h"
#include "tests/kit/ok.h"

using testutil::DialogItem;
using testutil::DialogTemplate;

namespace {

constexpr WORD kGermany = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);            // 1031
constexpr WORD kAustria = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN);   // 3079

constexpr DWORD kStatic = WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP;
constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;

struct ExpectedItem {
    int id;
    const char* className;
    const char* text;       // nullptr: an icon given by number
    int iconId;
    DWORD style;
    short x, y, cx, cy;
};

struct ExpectedDialog {
    UINT id;
    WORD language;
    bool extended;
    DWORD style;
    DWORD exStyle;
    short cx, cy;
    const char* title;
    std::vector<ExpectedItem> items;
};

const ExpectedDialog kDialogs[] = {
    {IDD_WIMMELPULT_DIALOG, kGermany, true,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT, WS_EX_APPWINDOW,
     268, 93, "Wimmelpult",
     {
         {IDC_STATIC, "Static", "&Alter Fenstertitel:", 0, kStatic, 9, 7, 62, 8},
         {IDC_OLD_TITLE, "Edit", "", 0, kEdit, 9, 16, 172, 13},
         {IDC_STATIC, "Static", "&Neuer Fenstertitel:", 0, kStatic, 9, 35, 62, 8},
         {IDC_NEW_TITLE, "Edit", "", 0, kEdit, 9, 44, 172, 13},
         {IDC_UPDATE, "Button", "A&ktualisieren", 0, kCheck, 9, 71, 66, 11},
         {IDC_NEW_ICON, "Button", "Neues S&ymbol", 0, kCheck, 108, 71, 66, 11},
         {IDC_CHANGE_ICON, "Button", "Anderes &Symbol...", 0, kPush, 181, 68, 80, 14},
         {IDOK, "Button", "&Zuweisen", 0, kDefPush, 211, 7, 50, 14},
         {IDC_MINIMIZE, "Button", "&Minimieren", 0, kPush, 211, 23, 50, 14},
     }},
    {IDD_ABOUTBOX, kGermany, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     241, 76, testutil::kAboutTitle,
     {
         {IDC_STATIC, "Static", nullptr, IDR_MAINFRAME, WS_CHILD | WS_VISIBLE | SS_ICON, 7, 12, 18, 20},
         {IDC_STATIC, "Static", "Wimmelpult, Version 1.1", 0,
          WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, 36, 11, 125, 8},
         {IDC_STATIC, "Static", "", 0, kStatic, 36, 25, 132, 8},   // text is ours to choose
         {IDOK, "Button", "&OK", 0, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON,
          198, 9, 36, 14},
         {IDC_STATIC, "Static", nullptr, IDI_ABOUT, WS_CHILD | WS_VISIBLE | SS_ICON, 172, 22, 18, 20},
         {IDC_HOLIDAYS, "Static", "", 0, kStatic, 7, 45, 227, 21},
     }},
    {IDD_ICON_CHOOSER, kAustria, true, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     WS_EX_TOOLWINDOW, 338, 111, testutil::kChooserTitle,
     {
         {IDOK, "Button", "&OK", 0, kDefPush, 217, 89, 50, 14},
         {IDCANCEL, "Button", "&Abbrechen", 0, kPush, 281, 89, 50, 14},
         {IDC_INFO, "Button", "&Info...", 0, kPush, 7, 90, 50, 14},
         {IDC_CATEGORY_TAB, "SysTabControl32", "Tab1", 0, WS_CHILD | WS_VISIBLE, 7, 7, 324, 73},
         {IDC_ICON_LIST, "SysListView32", "List3", 0,
          WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_SHAREIMAGELISTS |
              LVS_ALIGNLEFT,
          17, 28, 304, 44},
     }},
};

void TestDialog(HMODULE exe, const ExpectedDialog& want) {
    char label[64];
    snprintf(label, sizeof label, "dialog %u", want.id);
    ok_context(label);

    std::vector<WORD> langs = testutil::ResourceLanguages(exe, RT_DIALOG, want.id);
    ok(langs.size() == 1 && langs[0] == want.language, "expected one language 0x%04x, got %u (first 0x%04x)",
       want.language, static_cast<unsigned>(langs.size()), langs.empty() ? 0 : langs[0]);

    DialogTemplate t;
    if (!ok(testutil::LoadDialogTemplate(exe, want.id, &t),
            "expected a well-formed template, it is missing or malformed"))
        return;
    ok(t.extended == want.extended, "expected extended %d, got %d", want.extended, t.extended);
    ok(t.style == want.style, "expected style 0x%08lx, got 0x%08lx", want.style, t.style);
    ok(t.exStyle == want.exStyle, "expected ex-style 0x%08lx, got 0x%08lx", want.exStyle, t.exStyle);
    ok(t.x == 0 && t.y == 0 && t.cx == want.cx && t.cy == want.cy, "expected 0,0 %dx%d, got %d,%d %dx%d", want.cx,
       want.cy, t.x, t.y, t.cx, t.cy);
    ok(t.title == want.title, "expected title \"%s\", got \"%s\"", want.title, t.title.c_str());
    ok(t.face == "MS Sans Serif" && t.pointSize == 8, "expected MS Sans Serif 8, got %s %d", t.face.c_str(),
       t.pointSize);
    ok(t.menu.empty() && t.className.empty(), "expected no menu and no class, got \"%s\" \"%s\"", t.menu.c_str(),
       t.className.c_str());
    if (!ok(t.items.size() == want.items.size(), "expected %u controls, got %u",
            static_cast<unsigned>(want.items.size()), static_cast<unsigned>(t.items.size())))
        return;

    for (size_t i = 0; i < t.items.size(); ++i) {
        const DialogItem& got = t.items[i];
        const ExpectedItem& exp = want.items[i];
        snprintf(label, sizeof label, "dialog %u, control %u", want.id, static_cast<unsigned>(i));
        ok_context(label);
        ok(got.id == exp.id, "expected id %d, got %d", exp.id, got.id);
        ok(lstrcmpiA(got.className.c_str(), exp.className) == 0, "expected class %s, got %s", exp.className, got.className.c_str());
        if (exp.text == nullptr) {
            ok(got.textOrdinal == exp.iconId, "expected icon %d, got %d (\"%s\")", exp.iconId, got.textOrdinal,
               got.text.c_str());
        } else if (*exp.text || exp.id != IDC_STATIC) {
            ok(got.text == exp.text, "expected text \"%s\", got \"%s\"", exp.text, got.text.c_str());
        }
        ok(got.style == exp.style, "expected style 0x%08lx, got 0x%08lx", exp.style, got.style);
        ok(got.exStyle == 0, "expected no ex-style, got 0x%08lx", got.exStyle);
        ok(got.x == exp.x && got.y == exp.y && got.cx == exp.cx && got.cy == exp.cy,
           "expected %d,%d %dx%d, got %d,%d %dx%d", exp.x, exp.y, exp.cx, exp.cy, got.x, got.y, got.cx, got.cy);
    }
    ok_context("");
}

void TestStrings(HMODULE exe) {
    char text[256] = {};
    int n = LoadStringA(exe, IDS_ABOUTBOX, text, sizeof text);
    const char want[] = "Inf&o \xFC" "ber WMPT...";
    ok(n == static_cast<int>(sizeof want) - 1 && memcmp(text, want, sizeof want) == 0,
       "expected string 101 \"%s\" in Windows-1252, got %d bytes \"%s\"", want, n, text);
    std::vector<WORD> langs = testutil::ResourceLanguages(exe, RT_STRING, IDS_ABOUTBOX / 16 + 1);
    ok(langs.size() == 1 && langs[0] == kGermany, "expected the string table once, in 0x0407, got %u (first 0x%04x)",
       static_cast<unsigned>(langs.size()), langs.empty() ? 0 : langs[0]);
}

void TestMenu(HMODULE exe) {
    std::vector<WORD> langs = testutil::ResourceLanguages(exe, RT_MENU, IDR_TRAYMENU);
    ok(langs.size() == 1 && langs[0] == kAustria, "expected menu 637 once, in 0x0c07, got %u (first 0x%04x)",
       static_cast<unsigned>(langs.size()), langs.empty() ? 0 : langs[0]);
    HMENU menu = LoadMenuA(exe, MAKEINTRESOURCEA(IDR_TRAYMENU));
    if (!ok(menu != nullptr, "expected menu 637, it is missing")) return;
    HMENU popup = GetSubMenu(menu, 0);
    ok(GetMenuItemCount(menu) == 1 && popup, "expected one popup, got %d items, popup %p", GetMenuItemCount(menu),
       popup);
    ok(GetMenuItemCount(popup) == 2, "expected 2 items, got %d", GetMenuItemCount(popup));
    struct {
        UINT id;
        const char* text;
    } const items[] = {{ID_TRAY_RESTORE, "Wiederherstellen"}, {ID_TRAY_CLOSE, "Schlie\xDF" "en"}};
    for (int i = 0; i < 2; ++i) {
        char text[64] = {};
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        ok(GetMenuItemID(popup, i) == items[i].id, "item %d: expected id %u, got %u", i, items[i].id,
           GetMenuItemID(popup, i));
        ok(strcmp(text, items[i].text) == 0, "item %d: expected \"%s\", got \"%s\"", i, items[i].text, text);
    }
    DestroyMenu(menu);
}

void TestBitmaps(HMODULE exe) {
    struct {
        UINT id;
        int size;
    } const bitmaps[] = {{IDB_RESTORE, 14}, {IDB_CLOSE, 16}};
    for (const auto& b : bitmaps) {
        HRSRC res = FindResourceA(exe, MAKEINTRESOURCEA(b.id), RT_BITMAP);
        const BITMAPINFOHEADER* info =
            res ? static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(exe, res))) : nullptr;
        if (!ok(info != nullptr, "expected bitmap %u, it is missing", b.id)) continue;
        ok(info->biWidth == b.size && info->biHeight == b.size && info->biBitCount == 4,
           "bitmap %u: expected %dx%d in 4 bits, got %ldx%ld in %u", b.id, b.size, b.size, info->biWidth,
           info->biHeight, info->biBitCount);
    }
}

void TestVersion(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!ok(size > 0, "expected a version block, got none")) return;
    std::vector<BYTE> data(size);
    GetFileVersionInfoA(path.c_str(), 0, size, data.data());
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!ok(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) && info,
            "expected the fixed file info, got %p (%u bytes)", static_cast<void*>(info), len))
        return;
    ok(info->dwFileVersionMS == MAKELONG(1, 1) && info->dwFileVersionLS == 0, "expected file version 1.1.0.0, got %d.%d.%d.%d",
       HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
       LOWORD(info->dwFileVersionLS));
    ok(info->dwProductVersionMS == MAKELONG(1, 1) && info->dwProductVersionLS == 0,
       "expected product version 1.1.0.0, got 0x%08lx 0x%08lx", info->dwProductVersionMS, info->dwProductVersionLS);
}

void TestManifest(HMODULE exe) {
    HRSRC res = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (!ok(res != nullptr, "expected an application manifest, found none")) return;
    std::string text(static_cast<const char*>(LockResource(LoadResource(exe, res))), SizeofResource(exe, res));
    for (const char* want :
         {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor<",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "publicKeyToken=\"6595b64144ccf1df\""})
        ok(text.find(want) != std::string::npos, "expected the manifest to hold %s", want);
}

}  // namespace

int main() {
    std::string path = testutil::BesideMe("Wimmelpult.exe");
    HMODULE exe = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!ok(exe != nullptr, "expected to load %s, got error %lu", path.c_str(), GetLastError())) return ok_summary();

    for (const ExpectedDialog& d : kDialogs) TestDialog(exe, d);
    TestStrings(exe);
    TestMenu(exe);
    TestBitmaps(exe);
    TestVersion(path);
    TestManifest(exe);
    FreeLibrary(exe);
    return ok_summary();
}
