// Owns an image list of the common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Runs fill on the list on a thread of its own once StartFill is called,
    // so that the caller can go on meanwhile; a use through this object
    // before then fills it at once. Every later use waits until it is done.
    void FillLater(std::function<void(HIMAGELIST list)> fill);
    void StartFill();
    BOOL DeleteImageList();
    // Whether the list is filled, without waiting for it.
    bool Ready() const;
    HIMAGELIST GetSafeHandle() const {
        FinishFill();
        return m_hImageList;
    }

private:
    void FinishFill() const;

    HIMAGELIST m_hImageList = nullptr;
    mutable HANDLE m_hFillThread = nullptr;
    mutable std::function<void(HIMAGELIST)> m_pendingFill;
};
