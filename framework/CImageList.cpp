#include "framework/CImageList.h"

#include <memory>

namespace {

struct Fill {
    std::function<void(HIMAGELIST)> fill;
    HIMAGELIST list;
};

DWORD WINAPI FillThread(void* param) {
    std::unique_ptr<Fill> job(static_cast<Fill*>(param));
    job->fill(job->list);
    return 0;
}

}  // namespace

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

void CImageList::FillLater(std::function<void(HIMAGELIST)> fill) {
    FinishFill();
    m_pendingFill = std::move(fill);
}

void CImageList::StartFill() {
    if (!m_pendingFill) return;
    auto* job = new Fill{std::move(m_pendingFill), m_hImageList};
    m_pendingFill = nullptr;
    m_hFillThread = CreateThread(nullptr, 0, &FillThread, job, 0, nullptr);
    if (!m_hFillThread) FillThread(job);
}

void CImageList::FinishFill() const {
    if (m_pendingFill) {
        auto fill = std::move(m_pendingFill);
        m_pendingFill = nullptr;
        fill(m_hImageList);
    }
    if (!m_hFillThread) return;
    WaitForSingleObject(m_hFillThread, INFINITE);
    CloseHandle(m_hFillThread);
    m_hFillThread = nullptr;
}

bool CImageList::Ready() const {
    return !m_pendingFill && (!m_hFillThread || WaitForSingleObject(m_hFillThread, 0) == WAIT_OBJECT_0);
}

BOOL CImageList::DeleteImageList() {
    m_pendingFill = nullptr;   // never used: never filled
    FinishFill();
    if (!m_hImageList) return FALSE;
    BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}
