// Owns a bitmap loaded from the program's resources.
#pragma once

#include <windows.h>

class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap() { DeleteObject(); }
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    BOOL LoadBitmap(UINT id);
    BOOL DeleteObject();

    HBITMAP m_hBitmap = nullptr;
};
