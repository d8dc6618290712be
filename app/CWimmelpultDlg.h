// The main dialog: the search text and the new caption, the retitle pass,
// the re-application timer, the icon preview and the tray icon.
#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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
    // Posted by the courier when it has reports.
    static constexpr UINT kDeliveryReports = WM_APP + 1;
    // Posted to itself to go on with a pass or a tick.
    static constexpr UINT kWorkOn = WM_APP + 2;
    // Goes on instead when input, painting or a timer waits, which a posted
    // message would come before.
    static constexpr UINT_PTR kWorkTimerId = 8;
    // Starts what the person does not see yet once the dialog shows.
    static constexpr UINT_PTR kStartTimerId = 9;
    // The longest the dialog works on a pass or tick before it looks at its
    // messages again.
    static constexpr double kSliceMs = 15;
    // Posted by the thread that lists the windows for a pass, when the
    // dialog did not wait for it. It carries nothing: the dialog looks at
    // the listings it holds.
    static constexpr UINT kWindowsListed = WM_APP + 3;
    // How long a click waits by default for its list of windows.
    static constexpr DWORD kListWaitMs = 40;

    explicit CWimmelpultDlg(CWnd* parent = nullptr);
    ~CWimmelpultDlg() override;

    CMenu m_trayMenu;
    HMENU m_pTrayPopup = nullptr;   // popup 0 of m_trayMenu, not owned
    CBitmap m_bmpRestore;
    CBitmap m_bmpClose;
    CNotifyIcon m_tray;
    std::wstring m_strOldTitle;
    std::wstring m_strNewTitle;
    int m_bUpdate = 0;
    int m_bNewIcon = 0;
    std::list<std::unique_ptr<RetitleEntry>> m_retitled;
    CIconChooserDlg m_iconChooser;
    HICON m_hIcon = nullptr;
    HICON m_hTrayIcon = nullptr;    // icon 128 at the small-icon size of the DPI
    POINT m_ptPreview = {};         // where the preview is painted, at 32 x 32 (PlacePreview)
    // Its centre as the dialog was made: where a change of DPI that the
    // dialog scales itself places it from.
    POINT m_previewMade = {};
    CIconCache m_sentIcons;         // the icons given to other windows
    CCourier m_courier;             // sends them, and the captions
    DWORD m_listWaitMs = kListWaitMs;   // 0: the list always comes by message

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageEntry kEntries[];
    static const MessageTable kTable;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;       // the retitle pass; the dialog stays open
    void OnCancel() override;
    BOOL OnIdle() override;     // the work that waited for input to be served

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnChangeIcon();
    void OnTimer(UINT_PTR id);   // the re-application pass
    void OnMinimize();
    void OnSize(UINT type, int cx, int cy);
    void OnRestore();
    void OnTrayClose();
    LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam);
    void OnDeliveryReports();    // windows that closed or refuse are forgotten
    void OnWorkOn(WPARAM serial);
    void OnWindowsListed();
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    // Whether a pass or a tick is still being worked through.
    bool Working() const { return m_ticking || m_tickDue || !m_passes.empty(); }

private:
    using Entries = std::list<std::unique_ptr<RetitleEntry>>;
    // A retitle pass, worked through a slice at a time.
    struct Listing;
    struct Pass {
        std::shared_ptr<Listing> listing;   // until the windows come
        std::vector<HWND> windows;   // from the dialog down, taken at the click
        size_t next = 0;
        std::wstring search;         // lower-cased
        std::wstring caption;
        int icon = -1;
        unsigned parts = 0;
        bool update = false;
    };

    HIMAGELIST Catalogue() const { return m_iconChooser.m_imageList.GetSafeHandle(); }
    void Remember(HWND target, const std::wstring& caption, int icon);
    void Forget(HWND target);
    void WorkThrough();
    std::shared_ptr<Listing> ListWindowsFor(Pass& pass);   // the listing still to come, if any
    static DWORD WINAPI ListWindows(void* listing);
    bool TakeListedWindows();   // whether the first pass can go on
    void GoOnLater();
    void StepPass();
    void StepTick();
    void PlacePreview();
    void KeepTrayIcon();
    void StartBehind();

    std::deque<Pass> m_passes;             // oldest first
    bool m_tickDue = false;
    bool m_ticking = false;
    Entries::iterator m_tickAt;            // the next entry the tick looks at
    bool m_workPosted = false;
    WPARAM m_workSerial = 0;
    bool m_workTimer = false;
    std::unordered_map<HWND, Entries::iterator> m_entryOf;   // m_retitled by window
};
