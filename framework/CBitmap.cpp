#include "framework/CBitmap.h"

#include "framework/CWinApp.h"

BOOL CBitmap::LoadBitmap(UINT id, UINT dpi) {
    DeleteObject();
    m_hBitmap = ::LoadBitmapW(CWinApp::ResourceHandle(), MAKEINTRESOURCEW(id));
    BITMAP bm = {};
    if (m_hBitmap && dpi != USER_DEFAULT_SCREEN_DPI && GetObjectW(m_hBitmap, sizeof bm, &bm)) {
        HANDLE scaled = CopyImage(m_hBitmap, IMAGE_BITMAP, MulDiv(bm.bmWidth, dpi, USER_DEFAULT_SCREEN_DPI),
                                  MulDiv(bm.bmHeight, dpi, USER_DEFAULT_SCREEN_DPI), LR_COPYDELETEORG);
        if (scaled) m_hBitmap = static_cast<HBITMAP>(scaled);
    }
    return m_hBitmap != nullptr;
}

BOOL CBitmap::DeleteObject() {
    if (!m_hBitmap) return FALSE;
    BOOL ok = ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    return ok;
}
