#include "icons/IconStrip.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kMaskStride = 4;   // bytes in a row of a 32-pixel 1-bit mask
// RT_ICON and RT_GROUP_ICON as the W functions take them.
const LPCWSTR kIconType = MAKEINTRESOURCEW(3);
const LPCWSTR kGroupIconType = MAKEINTRESOURCEW(14);

struct IconImage {
    const BITMAPINFOHEADER* header;   // followed by tableBytes of colour table
    DWORD tableBytes;
    const BYTE* colour;   // the picture, rows bottom-up
    const BYTE* mask;     // 1 bit a pixel, rows bottom-up
};

const BYTE* LockedResource(HINSTANCE inst, LPCWSTR name, LPCWSTR type, DWORD* size) {
    HRSRC found = FindResourceW(inst, name, type);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(inst, found);
    *size = SizeofResource(inst, found);
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The 32 x 32 image of a group whose bit count lies nearest the screen's,
// the first of equals: the icon loader's choice. Asking the loader itself
// (LookupIconIdFromDirectoryEx) costs a display context per call.
int PickImage(const BYTE* group, DWORD size, int depth) {
    if (size < 6) return 0;
    WORD count = *reinterpret_cast<const WORD*>(group + 4);
    if (size < 6 + count * sizeof(GroupEntry)) return 0;
    const auto* entries = reinterpret_cast<const GroupEntry*>(group + 6);
    int best = 0;
    int bestDiff = INT_MAX;
    for (WORD i = 0; i < count; ++i) {
        const GroupEntry& e = entries[i];
        if (e.width != kSize || e.height != kSize) continue;
        if (e.bitCount == 0) return 0;   // a depth only the loader knows how to weigh
        int diff = std::abs(depth - e.bitCount);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = e.id;
        }
    }
    return best;
}

// The image of group id that LoadIcon would pick, if it is a plain
// palette image of 32 x 32 pixels with its mask.
bool FindImage(HINSTANCE inst, UINT id, int depth, IconImage* out) {
    DWORD size = 0;
    const BYTE* group = LockedResource(inst, MAKEINTRESOURCEW(id), kGroupIconType, &size);
    if (!group) return false;
    int imageId = PickImage(group, size, depth);
    if (imageId == 0) return false;
    const BYTE* image = LockedResource(inst, MAKEINTRESOURCEW(imageId), kIconType, &size);
    if (!image || size < sizeof(BITMAPINFOHEADER)) return false;

    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(image);
    if (h->biSize != sizeof(BITMAPINFOHEADER) || h->biWidth != kSize || h->biHeight != 2 * kSize ||
        h->biPlanes != 1 || h->biCompression != BI_RGB)
        return false;
    if (h->biBitCount != 1 && h->biBitCount != 4 && h->biBitCount != 8) return false;
    DWORD colours = h->biClrUsed ? h->biClrUsed : 1u << h->biBitCount;
    if (colours > (1u << h->biBitCount)) return false;
    DWORD table = colours * sizeof(RGBQUAD);
    DWORD colourBytes = ((kSize * h->biBitCount + 31) / 32) * 4 * kSize;
    if (size < h->biSize + table + colourBytes + kMaskStride * kSize) return false;

    out->header = h;
    out->tableBytes = table;
    out->colour = image + h->biSize + table;
    out->mask = out->colour + colourBytes;
    return true;
}

HBITMAP StripSection(HDC dc, int width, int bits, void** pixels) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = kSize;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    info.colours[1] = {255, 255, 255, 0};
    return CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, pixels, nullptr, 0);
}

}  // namespace

bool AppendIconResources(HIMAGELIST list, HINSTANCE inst, const UINT* ids, int count) {
    if (!list || count <= 0) return false;
    HDC screen = GetDC(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    std::vector<IconImage> images(count);
    for (int i = 0; i < count; ++i)
        if (!FindImage(inst, ids[i], depth, &images[i])) return false;

    HDC dc = CreateCompatibleDC(nullptr);
    void* colourBits = nullptr;
    void* maskBits = nullptr;
    HBITMAP colour = StripSection(dc, kSize * count, 32, &colourBits);
    HBITMAP mask = StripSection(dc, kSize * count, 1, &maskBits);
    bool added = false;
    if (dc && colour && mask) {
        HGDIOBJ old = SelectObject(dc, colour);
        std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        const int maskRow = kSize * count / 8;
        for (int i = 0; i < count; ++i) {
            const IconImage& image = images[i];
            std::memcpy(info.data(), image.header, image.header->biSize + image.tableBytes);
            // The stored height counts the picture and the mask together.
            reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biHeight = kSize;
            SetDIBitsToDevice(dc, kSize * i, 0, kSize, kSize, 0, 0, 0, kSize, image.colour,
                              reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
            // Both masks are bottom-up, and an icon's row is whole bytes of the strip's.
            for (int row = 0; row < kSize; ++row)
                std::memcpy(static_cast<BYTE*>(maskBits) + row * maskRow + i * kMaskStride,
                            image.mask + row * kMaskStride, kMaskStride);
        }
        SelectObject(dc, old);
        int before = ImageList_GetImageCount(list);
        added = ImageList_Add(list, colour, mask) == before &&
                ImageList_GetImageCount(list) == before + count;
        if (!added) ImageList_SetImageCount(list, before);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    if (dc) DeleteDC(dc);
    return added;
}
