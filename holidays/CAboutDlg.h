// The About box: program, version and today's national holidays.
#pragma once

#include <string>

#include "framework/CDialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    // The holiday text is fixed here, from the clock at this moment.
    CAboutDlg();
    ~CAboutDlg() override;

    std::wstring m_strHolidays;

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageTable kTable;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
