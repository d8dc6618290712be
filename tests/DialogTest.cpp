// The framework's dialogs: text of every script through data exchange both
// ways and typed through the modal loop, and the layout over DPI changes.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/CDataExchange.h"
#include "res/resource.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Texts.h"
#include "tests/kit/ok.h"

namespace {

struct CTextDlg : CDialog {
    CTextDlg() : CDialog(IDD_WIMMELPULT_DIALOG) {}
    std::wstring m_strText = L"Привет, 日本語 🎵";   // nothing of it in code page 1252
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_OLD_TITLE, m_strText); }
};

void TestText() {
    ok_context("text of every script");
    CTextDlg dlg;
    testutil::RunModal(dlg, {
        [&] {
            HWND edit = GetDlgItem(dlg.m_hWnd, IDC_OLD_TITLE);
            SendMessageW(edit, EM_SETSEL, GetWindowTextLengthW(edit), GetWindowTextLengthW(edit));
            PostMessageW(edit, WM_CHAR, L'Ж', 1);
        },
        [&] {
            dlg.UpdateData(TRUE);
            ok(dlg.m_strText == L"Привет, 日本語 🎵Ж", "expected the text and the letter typed, got \"%s\"",
               testutil::Cp1252(dlg.m_strText).c_str());
        },
    });
}

std::vector<RECT> Controls(HWND dlg) {
    std::vector<RECT> controls;
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc = {};
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
        controls.push_back(rc);
    }
    return controls;
}

LONG FontHeight(HWND dlg) {
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetWindow(dlg, GW_CHILD), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

// Every move scales the layout the dialog was made with, so rounding does
// not add up from one move to the next.
void TestDpiMoves() {
    ok_context("DPI moves");
    CDialog dlg(IDD_WIMMELPULT_DIALOG);
    testutil::RunModal(dlg, [&] {
        const int base = static_cast<int>(dlg.LayoutDpi());
        const std::vector<RECT> made = Controls(dlg.m_hWnd);
        const LONG font = FontHeight(dlg.m_hWnd);
        for (int dpi : {120, 144, 168, 96, 192, 120, base}) {
            RECT suggested = {};
            GetWindowRect(dlg.m_hWnd, &suggested);
            SendMessageW(dlg.m_hWnd, CDialog::kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
            const std::vector<RECT> now = Controls(dlg.m_hWnd);
            int off = 0;
            for (size_t i = 0; i < made.size() && i < now.size(); ++i) {
                const RECT& m = made[i];
                const int x = MulDiv(m.left, dpi, base), y = MulDiv(m.top, dpi, base);
                RECT want = {x, y, x + MulDiv(m.right - m.left, dpi, base), y + MulDiv(m.bottom - m.top, dpi, base)};
                off += !EqualRect(&want, &now[i]);
            }
            ok(off == 0 && now.size() == made.size(), "at %d DPI: expected %u controls scaled from %d DPI, %d of %u are not",
               dpi, unsigned(made.size()), base, off, unsigned(now.size()));
            ok(FontHeight(dlg.m_hWnd) == MulDiv(font, dpi, base), "at %d DPI: expected the font %d high, got %ld", dpi,
               MulDiv(font, dpi, base), FontHeight(dlg.m_hWnd));
        }
    });
}

}  // namespace

int main() {
    TestText();
    TestDpiMoves();
    return ok_summary();
}
