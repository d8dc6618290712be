#include "framework/CImageList.h"

namespace {

struct Fill {
    void (*fill)(HIMAGELIST);
    HIMAGELIST list;
};

DWORD WINAPI FillThread(void* param) {
    Fill* job = static_cast<Fill*>(param);
    job->fill(job->list);
    delete job;
    return 0;
}

}  // namespace

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

void CImageList::FillInBackground(void (*fill)(HIMAGELIST)) {
    FinishFill();
    Fill* job = new Fill{fill, m_hImageList};
    m_hFillThread = CreateThread(nullptr, 0, &FillThread, job, 0, nullptr);
    if (!m_hFillThread) FillThread(job);
}

void CImageList::FinishFill() const {
    if (!m_hFillThread) return;
    WaitForSingleObject(m_hFillThread, INFINITE);
    CloseHandle(m_hFillThread);
    m_hFillThread = nullptr;
}

BOOL CImageList::DeleteImageList() {
    FinishFill();
    if (!m_hImageList) return FALSE;
    BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}
