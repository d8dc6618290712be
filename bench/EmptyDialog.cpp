// The smallest program our framework makes: an application object that runs
// one empty dialog. The yardstick for the program's start-up time.
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "res/resource.h"

namespace {

class CEmptyDialogApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CDialog dlg(IDD_WIMMELPULT_DIALOG);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CEmptyDialogApp theApp;

}  // namespace
