// One icon handle per catalogue index, made on first use and kept until the
// cache goes. Windows that were given an icon keep showing that handle, so it
// must stay valid; making a new one per message would leak a handle at every
// re-application.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

class CIconCache {
public:
    CIconCache() = default;
    ~CIconCache();
    CIconCache(const CIconCache&) = delete;
    CIconCache& operator=(const CIconCache&) = delete;

    // The icon of index in catalogue, or nullptr for an index outside it.
    HICON Get(HIMAGELIST catalogue, int index);
    // How many handles the cache holds.
    int Count() const;

private:
    std::vector<HICON> m_icons;
};
