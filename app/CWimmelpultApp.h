// The application: runs the main dialog modally; the program ends with it.
#pragma once

#include "framework/CWinApp.h"

class CWimmelpultApp : public CWinApp {
public:
    CWimmelpultApp();
    ~CWimmelpultApp() override;

    BOOL InitInstance() override;

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageEntry kEntries[];
    static const MessageTable kTable;
};
