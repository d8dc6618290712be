// A dialog on a template of the program's resources, run modally.
#pragma once

#include <vector>

#include "framework/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, disables its owner, runs a modal loop until
    // EndDialog, then destroys the window and re-enables and activates the
    // owner. Returns the EndDialog value, or -1 when the window could not be
    // created or bound to this object.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // Reads the controls into the members (TRUE) or writes them (FALSE).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;

    // WM_DPICHANGED (the window moved to a monitor of another DPI): the
    // dialog's font and controls follow the DPI, scaled from their layout
    // when the dialog was made, and it takes the suggested rectangle.
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    static constexpr UINT kDpiChanged = 0x02E0;   // WM_DPICHANGED, Windows 8.1 on
    // Whether that scaling is the dialog's own (per-monitor v1, Wine), by
    // the ratio of the DPIs, or the platform's dialog manager lays the
    // controls out again (per-monitor v2).
    bool ScalesItself() const;
    // The DPI the dialog's layout is for, and its font.
    UINT LayoutDpi() const { return m_layoutDpi; }
    // A length or place on the dialog as OnInitDialog left it, at the DPI
    // of the layout now.
    int ScaledFromInit(int v) const { return MulDiv(v, m_layoutDpi, m_savedDpi); }
    HFONT GetFont() const;

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageEntry kEntries[];
    static const MessageTable kTable;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // Puts the window in the middle of the owner if that is visible and not
    // minimised, else of the work area, and keeps it inside the work area.
    void CenterWindow(HWND owner);

private:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;
    void SaveLayout();
    void ScaleLayout();
    void FitClientToLayout();

    struct SavedChild {
        HWND hWnd;
        RECT rect;   // in the dialog's client area
    };

    static constexpr LPARAM kShowMarker = 0x57696D6D;
    bool m_modalRunning = false;
    INT_PTR m_modalResult = -1;
    UINT m_layoutDpi = USER_DEFAULT_SCREEN_DPI;
    // The layout and font as the dialog was made, at m_savedDpi: every
    // change of DPI scales from these, so rounding cannot add up.
    UINT m_savedDpi = USER_DEFAULT_SCREEN_DPI;
    std::vector<SavedChild> m_savedLayout;
    RECT m_savedClient = {};
    HFONT m_savedFont = nullptr;    // the dialog manager's
    LOGFONTW m_savedLogFont = {};
    bool m_hasSavedLogFont = false;
    HFONT m_scaledFont = nullptr;   // ours once ScaleLayout made one
};
