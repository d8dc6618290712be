#include "icons/CIconCache.h"

CIconCache::~CIconCache() {
    for (HICON icon : m_icons)
        if (icon) DestroyIcon(icon);
}

HICON CIconCache::Get(HIMAGELIST catalogue, int index) {
    if (!catalogue || index < 0 || index >= ImageList_GetImageCount(catalogue)) return nullptr;
    if (static_cast<size_t>(index) >= m_icons.size()) m_icons.resize(static_cast<size_t>(index) + 1, nullptr);
    HICON& icon = m_icons[static_cast<size_t>(index)];
    if (!icon) icon = ImageList_GetIcon(catalogue, index, ILD_NORMAL);
    return icon;
}

int CIconCache::Count() const {
    int n = 0;
    for (HICON icon : m_icons)
        if (icon) ++n;
    return n;
}
