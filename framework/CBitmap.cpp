#include "framework/CBitmap.h"

#include "framework/CWinApp.h"

BOOL CBitmap::LoadBitmap(UINT id) {
    DeleteObject();
    m_hBitmap = ::LoadBitmapA(CWinApp::ResourceHandle(), MAKEINTRESOURCEA(id));
    return m_hBitmap != nullptr;
}

BOOL CBitmap::DeleteObject() {
    if (!m_hBitmap) return FALSE;
    BOOL ok = ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    return ok;
}
