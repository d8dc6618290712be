#include "holidays/CAboutDlg.h"

#include "framework/CDataExchange.h"
#include "holidays/HolidayText.h"

const MessageTable CAboutDlg::kTable{&CDialog::kTable};

CAboutDlg::CAboutDlg() : CDialog(IDD), m_strHolidays(GetHolidayTextForToday()) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_HOLIDAYS, m_strHolidays);
}
