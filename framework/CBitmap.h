// Owns a bitmap loaded from the program's resources.
#pragma once

#include <windows.h>

class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Stretched by dpi / 96; at 96 exactly as stored.
    BOOL LoadBitmap(UINT id, UINT dpi = USER_DEFAULT_SCREEN_DPI);
    BOOL DeleteObject();

    HBITMAP m_hBitmap = nullptr;
};
