// Owns a menu loaded from the program's resources.
#pragma once

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();
    // The popup at a position; it stays owned by this menu.
    HMENU GetSubMenu(int pos) const { return m_hMenu ? ::GetSubMenu(m_hMenu, pos) : nullptr; }

    HMENU m_hMenu = nullptr;
};
