// Owns an image list of the common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Runs fill on the list on a thread of its own, so that the caller can go
    // on meanwhile. Every later use through this object waits until it is done.
    void FillInBackground(void (*fill)(HIMAGELIST list));
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const {
        FinishFill();
        return m_hImageList;
    }

private:
    void FinishFill() const;

    HIMAGELIST m_hImageList = nullptr;
    mutable HANDLE m_hFillThread = nullptr;
};
