// A window that was retitled with "A&ktualisieren" ticked: its caption (and
// icon) are put back whenever its application changes them.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CObject.h"

class RetitleEntry : public CObject {
public:
    RetitleEntry(HWND target, std::wstring title, int icon)
        : m_hTarget(target), m_strTitle(std::move(title)), m_nIcon(icon) {}
    ~RetitleEntry() override;

    HWND m_hTarget;           // not owned
    std::wstring m_strTitle;  // the caption as typed
    int m_nIcon;              // catalogue index, or -1 for none
};
