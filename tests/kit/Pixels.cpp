#include "tests/kit/Pixels.h"

namespace testutil {

namespace {
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
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    std::vector<COLORREF> Pixels() const {
        GdiFlush();
        std::vector<COLORREF> out(bits, bits + cx * cy);
        for (COLORREF& c : out) c &= 0xFFFFFF;
        return out;
    }
};
}  // namespace

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

COLORREF SwapRedBlue(COLORREF c) { return RGB(GetBValue(c), GetGValue(c), GetRValue(c)); }

HICON SolidIcon(COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, image);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ICONINFO info = {TRUE, 0, 0, mask, image};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(image);
    DeleteObject(mask);
    return icon;
}

}  // namespace testutil
