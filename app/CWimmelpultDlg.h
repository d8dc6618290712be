// The main dialog: the search text and the new caption, the retitle pass,
// the re-application timer, the icon preview and the tray icon.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "app/CCourier.h"
#include "app/RetitleEntry.h"
#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "framework/CMenu.h"
#include "icons/CIconCache.h"
#include "icons/CIconChooserDlg.h"
#include "res/resource.h"
#include "tray/CNotifyIcon.h"

// Re-application period; a build option only so that the long-run check can
// be shortened.
#ifndef WIMMELPULT_RETITLE_PERIOD_MS
#define WIMMELPULT_RETITLE_PERIOD_MS 3000
#endif

class CWimmelpultDlg : public CDialog {
public:
    enum { IDD = IDD_WIMMELPULT_DIALOG };
    static constexpr UINT_PTR kRetitleTimerId = 7;
    static constexpr UINT kRetitlePeriodMs = WIMMELPULT_RETITLE_PERIOD_MS;
    static constexpr UINT kTrayCallback = WM_USER + 10;
    // Posted by the courier when a window that did not answer answers again.
    static constexpr UINT kTargetsAnswer = WM_APP + 1;

    explicit CWimmelpultDlg(CWnd* parent = nullptr);
    ~CWimmelpultDlg() override;

    CMenu m_trayMenu;
    HMENU m_pTrayPopup = nullptr;   // popup 0 of m_trayMenu, not owned
    CBitmap m_bmpRestore;
    CBitmap m_bmpClose;
    CNotifyIcon m_tray;
    std::string m_strOldTitle;
    std::string m_strNewTitle;
    int m_bUpdate = 0;
    int m_bNewIcon = 0;
    std::list<std::unique_ptr<RetitleEntry>> m_retitled;
    CIconChooserDlg m_iconChooser;
    HICON m_hIcon = nullptr;
    HICON m_hTrayIcon = nullptr;    // icon 128 at the small-icon size of the DPI
    POINT m_ptPreview = {};         // where the preview is painted, at 32 x 32 (PlacePreview)
    CIconCache m_sentIcons;         // the icons given to other windows
    CCourier m_courier;             // sends them, and the captions

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageEntry kEntries[];
    static const MessageTable kTable;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;       // the retitle pass; the dialog stays open
    void OnCancel() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnChangeIcon();
    void OnTimer(UINT_PTR id);   // the re-application pass
    void OnMinimize();
    int OnCreate(CREATESTRUCTA* cs);
    void OnSize(UINT type, int cx, int cy);
    void OnRestore();
    void OnTrayClose();
    LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam);
    void OnTargetsAnswer();      // late delivery of what busy windows missed
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggestedRect);

private:
    HIMAGELIST Catalogue() const { return m_iconChooser.m_imageList.GetSafeHandle(); }
    void Remember(HWND target, int icon);
    void PlacePreview();
    void KeepTrayIcon();

    bool m_inPass = false;
};
