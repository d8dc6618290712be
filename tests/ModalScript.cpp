#include "tests/ModalScript.h"

#include <vector>

namespace testutil {

namespace {
std::vector<Step> g_steps;
size_t g_next = 0;
bool g_busy = false;
CDialog* g_dialog = nullptr;

void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (g_busy || !g_dialog->m_hWnd) return;
    // Steps start once the dialog has shown itself; later ones may find it hidden.
    if (g_next == 0 && !IsWindowVisible(g_dialog->m_hWnd)) return;
    if (g_next >= g_steps.size()) {
        KillTimer(nullptr, timer);
        PostMessageA(g_dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // A step may open a modal loop of its own; the ticks inside it wait.
    g_busy = true;
    g_steps[g_next++]();
    g_busy = false;
}

struct Dib {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
    int cx, cy;
    Dib(int w, int h) : cx(w), cy(h) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Dib() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::vector<COLORREF> Pixels() const {
        GdiFlush();
        std::vector<COLORREF> out(bits, bits + cx * cy);
        for (COLORREF& c : out) c &= 0xFFFFFF;
        return out;
    }
};
}  // namespace

INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps) {
    g_steps = std::move(steps);
    g_next = 0;
    g_dialog = &dlg;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &RunStep);
    INT_PTR result = dlg.DoModal();
    KillTimer(nullptr, timer);
    g_steps.clear();
    return result;
}

std::vector<COLORREF> GrabClient(HWND hWnd, int x, int y, int cx, int cy) {
    Dib dib(cx, cy);
    HDC dc = GetDC(hWnd);
    BitBlt(dib.dc, 0, 0, cx, cy, dc, x, y, SRCCOPY);
    ReleaseDC(hWnd, dc);
    return dib.Pixels();
}

std::vector<COLORREF> RenderIcon(HICON icon, COLORREF background, int cx, int cy) {
    Dib dib(cx, cy);
    HBRUSH brush = CreateSolidBrush(background);
    RECT rc = {0, 0, cx, cy};
    FillRect(dib.dc, &rc, brush);
    DeleteObject(brush);
    DrawIcon(dib.dc, 0, 0, icon);
    return dib.Pixels();
}

int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return static_cast<int>(a.size() > b.size() ? a.size() : b.size());
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

}  // namespace testutil
