// Dialog data exchange: one function per dialog lists control id <-> member
// pairs, and the same list reads the controls or writes them.
#pragma once

#include <windows.h>

#include <string>

class CDialog;
class CWnd;

class CDataExchange {
public:
    CDataExchange(CDialog* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}

    HWND Control(int id) const;

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;   // TRUE: controls -> members
};

// Window text of any control <-> string.
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
// Check box state <-> 0 or 1.
void DDX_Check(CDataExchange* dx, int id, int& value);
// Binds a control object to the dialog's control.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
