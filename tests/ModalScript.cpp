#include "tests/ModalScript.h"

#include <vector>

#include "tests/ok.h"

namespace testutil {

namespace {
struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    bool busy = false;
    bool stalled = false;
    CDialog* dialog = nullptr;
    DWORD since = 0;
};
Script g_script;

// Only the innermost dialog is enabled; those under it are disabled by their
// modal runs.
BOOL CALLBACK CancelEnabled(HWND hWnd, LPARAM) {
    if (IsWindowVisible(hWnd) && IsWindowEnabled(hWnd)) PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    Script& s = g_script;
    if (s.busy || !s.dialog->m_hWnd) return;
    // Steps start once the dialog has shown itself; later ones may find it hidden.
    if (s.next == 0 && !IsWindowVisible(s.dialog->m_hWnd)) return;
    if (s.next < s.steps.size() && !s.stalled && GetTickCount() - s.since > 10000) {
        s.stalled = true;
        ok(false, "step %d still not ready after 10 s", static_cast<int>(s.next) + 1);
    }
    if (s.next >= s.steps.size() || s.stalled) {
        EnumThreadWindows(GetCurrentThreadId(), &CancelEnabled, 0);
        // A dialog hidden in the notification area is cancelled all the same.
        if (IsWindowEnabled(s.dialog->m_hWnd)) PostMessageA(s.dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    Step& step = s.steps[s.next];
    if (step.ready && !step.ready()) return;
    // A step may open a modal loop of its own; the ticks inside it wait.
    s.busy = true;
    ++s.next;
    step.act();
    s.busy = false;
    s.since = GetTickCount();
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
    g_script = Script{};
    g_script.steps = std::move(steps);
    g_script.dialog = &dlg;
    g_script.since = GetTickCount();
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &RunStep);
    INT_PTR result = dlg.DoModal();
    KillTimer(nullptr, timer);
    g_script.steps.clear();
    return result;
}

std::vector<COLORREF> GrabClient(HWND hWnd, int x, int y, int cx, int cy) {
    Dib dib(cx, cy);
    HDC dc = GetDC(hWnd);
    BitBlt(dib.dc, 0, 0, cx, cy, dc, x, y, SRCCOPY);
    ReleaseDC(hWnd, dc);
    return dib.Pixels();
}

std::vector<COLORREF> Paint(int cx, int cy, COLORREF background, const std::function<void(HDC)>& draw) {
    Dib dib(cx, cy);
    HBRUSH brush = CreateSolidBrush(background);
    RECT rc = {0, 0, cx, cy};
    FillRect(dib.dc, &rc, brush);
    DeleteObject(brush);
    draw(dib.dc);
    return dib.Pixels();
}

std::vector<COLORREF> RenderIcon(HICON icon, COLORREF background, int cx, int cy) {
    return Paint(cx, cy, background, [&](HDC dc) { DrawIcon(dc, 0, 0, icon); });
}

int CountDifferent(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return static_cast<int>(a.size() > b.size() ? a.size() : b.size());
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

}  // namespace testutil
