// The application object: one per program, started by WinMain.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CCmdTarget.h"

class CWnd;

// The standard help command, issued when F1 is pressed in a dialog.
constexpr UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // Returns FALSE to end the program without entering Run.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageTable kTable;

    // The default help command: opens the help file named like the program
    // with the extension .HLP, if there is one.
    void OnHelp();
    // The help file's full path (the program's path with ".HLP").
    static std::wstring HelpFilePath();

    static CWinApp* Current();
    static HINSTANCE ResourceHandle();

    CWnd* m_pMainWnd = nullptr;

    // Offers a queued message to the window objects from its target up to
    // the top-level window; TRUE when one of them took it.
    static BOOL PreTranslateTree(MSG* msg);
    // The main window's idle work, for every loop of ours; TRUE when there is
    // more.
    static BOOL IdleWork();
};
