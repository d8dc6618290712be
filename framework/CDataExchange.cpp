#include "framework/CDataExchange.h"

#include "framework/CDialog.h"

HWND CDataExchange::Control(int id) const { return GetDlgItem(m_pDlgWnd->m_hWnd, id); }

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    HWND ctrl = dx->Control(id);
    if (!dx->m_bSaveAndValidate) {
        SetWindowTextW(ctrl, value.c_str());
        return;
    }
    int len = GetWindowTextLengthW(ctrl);
    std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    int got = len > 0 ? GetWindowTextW(ctrl, &text[0], len + 1) : 0;
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    value = text;
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND ctrl = dx->Control(id);
    if (dx->m_bSaveAndValidate) {
        value = SendMessageW(ctrl, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    } else {
        SendMessageW(ctrl, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    // The dialog's window is new at each opening; the object follows it.
    HWND ctrl = dx->Control(id);
    if (ctrl) control.m_hWnd = ctrl;
}
