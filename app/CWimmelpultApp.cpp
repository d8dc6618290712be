#include "app/CWimmelpultApp.h"

#include <commctrl.h>

#include "app/CWimmelpultDlg.h"

const MessageEntry CWimmelpultApp::kEntries[] = {
    OnCommand<&CWinApp::OnHelp>(ID_HELP),
};
const MessageTable CWimmelpultApp::kTable{CWimmelpultApp::kEntries, &CWinApp::kTable};

CWimmelpultApp::CWimmelpultApp() = default;

CWimmelpultApp::~CWimmelpultApp() = default;

BOOL CWimmelpultApp::InitInstance() {
    // The buttons, edits and statics of every dialog, and the tab control and
    // list view of the icon chooser, all from common controls 6.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    CWimmelpultDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
