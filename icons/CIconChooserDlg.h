// Holds the icon catalogue and the chosen icon index, and is the dialog in
// which the user picks an icon by category.
#pragma once

#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "res/resource.h"

class CIconChooserDlg : public CDialog {
public:
    enum { IDD = IDD_ICON_CHOOSER };

    explicit CIconChooserDlg(CWnd* parent = nullptr);
    ~CIconChooserDlg() override;

    // Creates the catalogue, whose 483 icons are added in their fixed order
    // on a thread of its own from StartCatalogue on, or at its first use.
    void BuildCatalogue();
    void StartCatalogue();
    // Lists the icons of tab t; any other number leaves the list empty.
    void FillCategory(int t);

    // The list view and the tab control, attached by data exchange.
    CWnd m_iconList;
    CWnd m_categoryTab;
    CImageList m_imageList;
    int m_chosenIcon = 0;

    const MessageTable* GetMessageTable() const override { return &kTable; }
    static const MessageEntry kEntries[];
    static const MessageTable kTable;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSelchangeCategoryTab(NMHDR* header, LRESULT* result);
    void OnInfo();
    // Lays the list out for the new DPI and fills it again, keeping the
    // selected icon.
    void OnDpiChanged(UINT dpi, const RECT& suggested);

private:
    static int CellPictureHeight(int iconCy, UINT dpi);
    // Gives the list cells that grow with the DPI, and as many whole rows of
    // them as fit where the template put it, centred there.
    void FitIconList();

    // Where the template put the list (dialog client pixels), as the dialog was made.
    RECT m_listBox = {};
    // The catalogue's icons centred in taller pictures, for cells taller
    // than an icon and its margins.
    CImageList m_cellImages;
    int m_cellImagesCy = 0;
};
