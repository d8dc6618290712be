// One icon in the notification area: added with an image, a tooltip and a
// callback message, added again when the shell refused or lost it, changed,
// animated and removed; the notifications that
// reach the component's own hidden window become menus and commands.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "framework/CWnd.h"

class CNotifyIcon : public CWnd {
public:
    // A local wall-clock reading with one-second resolution: days since
    // 30 December 1899, the time of day as the fraction.
    struct DateTime {
        double days = 0.0;
        bool valid = true;
    };

    // The platform calls the component makes, replaceable so that tests can
    // count them and drive the clock. They are process-wide, as the platform is.
    static BOOL(WINAPI* s_pfnShellNotifyIcon)(DWORD message, PNOTIFYICONDATAW data);
    static DWORD(WINAPI* s_pfnGetVersion)();
    static DateTime (*s_pfnLocalNow)();
    // The platform's ChangeWindowMessageFilterEx (Windows 7 on), found at run
    // time; on Vista the filter of the whole process, before it nothing.
    static BOOL(WINAPI* s_pfnChangeWindowMessageFilterEx)(HWND hWnd, UINT message, DWORD action, void* info);
    // The real local clock, truncated to whole seconds.
    static DateTime LocalNow();

    CNotifyIcon();
    ~CNotifyIcon() override;

    const CRuntimeClass* GetRuntimeClass() const override;
    static const CRuntimeClass classCNotifyIcon;

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageEntry kEntries[];
    static const MessageTable kTable;

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // wParam: the icon's id; low word of lParam: the mouse message.
    virtual LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);

    // Once per object; parent may be NULL, and its window, if any, receives
    // the callback message instead of the component's own window.
    BOOL Create(CWnd* parent, UINT callbackMessage, const wchar_t* tip, HICON icon, UINT id);
    void DeleteIcon();
    BOOL ChangeIcon(HICON icon);
    // Adds the icon that Create, or the shell's restart, could not add;
    // nonzero when the icon is there. Without Create, or after DeleteIcon,
    // nothing is added.
    BOOL EnsureIcon();
    // Asks the shell whether it still shows the icon, which it may have lost
    // without telling; FALSE, and the icon counted as absent, if not.
    BOOL VerifyIcon();

    // Shows frames one per period until seconds have passed (0 or less: no
    // limit), then restoreIcon (may be NULL). The first frame shows at once.
    // FALSE without a window or frames, or when no timer could be set.
    BOOL StartAnimation(const std::vector<HICON>& frames, int seconds, UINT periodMs,
                        HICON restoreIcon);
    BOOL AdvanceAnimation();
    BOOL EndAnimation();

    void OnTimer(UINT_PTR timerId);
    void OnContextMenu(CWnd* window, POINT point);

    static constexpr UINT kContextMenuId = 637;
    static constexpr UINT_PTR kAnimationTimerId = 1;

    BOOL m_bIconPresent = FALSE;
    NOTIFYICONDATAW m_iconData;
    std::vector<HICON> m_frames;
    UINT m_nTimerId = 0;
    int m_nFrame = -1;
    DateTime m_animStart;
    int m_nAnimSeconds = 0;
    HICON m_hRestoreIcon = nullptr;
    UINT m_nDefaultItem = 0;
    BOOL m_bDefaultByPos = TRUE;
    // From Create to DeleteIcon: the icon belongs in the notification area,
    // whether or not the shell has taken it.
    BOOL m_bIconWanted = FALSE;

private:
    HWND NotifyTarget() const;
    BOOL NotifyWhole(DWORD message);   // Shell_NotifyIcon with the whole record
};
