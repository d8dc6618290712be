// The icon and bitmap resources of the compiled program: which groups exist,
// the image formats inside them, and whether the catalogue's pictures can be
// told apart. Everything is read back from Wimmelpult.exe itself.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/Process.h"
#include "tests/kit/ok.h"

namespace {

constexpr WORD kAustria = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN);   // 0x0C07

// Two catalogue pictures closer than this look alike in the chooser: mean
// absolute difference per colour channel (0..255) over a grey background,
// taken over the pixels that either icon draws.
constexpr double kMinDifference = 10.0;

#pragma pack(push, 2)
struct GroupEntry {        // GRPICONDIRENTRY
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupHeader {       // GRPICONDIR without its entries
    WORD reserved, type, count;
};
#pragma pack(pop)

struct Bytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Bytes Resource(HMODULE module, LPCSTR type, WORD id, WORD language) {
    Bytes out;
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
    if (!found) return out;
    HGLOBAL loaded = LoadResource(module, found);
    out.data = static_cast<const BYTE*>(LockResource(loaded));
    out.size = out.data ? SizeofResource(module, found) : 0;
    return out;
}

// Ids and languages of every resource of one type.
struct Enumerated {
    std::map<WORD, std::vector<WORD>> languages;
    std::vector<std::string> namedOnes;
};

BOOL CALLBACK OnLanguage(HMODULE, LPCSTR, LPCSTR name, WORD language, LONG_PTR param) {
    auto* found = reinterpret_cast<Enumerated*>(param);
    found->languages[static_cast<WORD>(reinterpret_cast<UINT_PTR>(name))].push_back(language);
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    auto* found = reinterpret_cast<Enumerated*>(param);
    if (!IS_INTRESOURCE(name)) {
        found->namedOnes.push_back(name);
        return TRUE;
    }
    EnumResourceLanguagesA(module, type, name, OnLanguage, param);
    return TRUE;
}

std::set<WORD> ExpectedGroups() {
    const WORD runs[][2] = {{128, 129}, {137, 137}, {140, 152}, {154, 229},
                            {233, 300}, {302, 423}, {429, 632}};
    std::set<WORD> ids;
    for (const auto& run : runs)
        for (WORD id = run[0]; id <= run[1]; ++id) ids.insert(id);
    return ids;
}

const RGBQUAD kStandard16[16] = {
    {0, 0, 0, 0}, {0, 0, 0x80, 0}, {0, 0x80, 0, 0}, {0, 0x80, 0x80, 0},
    {0x80, 0, 0, 0}, {0x80, 0, 0x80, 0}, {0x80, 0x80, 0, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0x80, 0x80, 0x80, 0}, {0, 0, 0xFF, 0}, {0, 0xFF, 0, 0}, {0, 0xFF, 0xFF, 0},
    {0xFF, 0, 0, 0}, {0xFF, 0, 0xFF, 0}, {0xFF, 0xFF, 0, 0}, {0xFF, 0xFF, 0xFF, 0},
};

// One image of an icon group, as its directory entry and its own header say.
struct IconImage {
    WORD iconId = 0;
    int width = 0, height = 0, bits = 0;
    Bytes bytes;
};

// "32x32x4,16x16x4": the sizes and colour depths in the order stored.
std::string Layout(const std::vector<IconImage>& images) {
    std::string s;
    for (const auto& im : images) {
        char part[32];
        snprintf(part, sizeof part, "%s%dx%dx%d", s.empty() ? "" : ",", im.width, im.height, im.bits);
        s += part;
    }
    return s.empty() ? "(no images)" : s;
}

int DepthOfEntry(const GroupEntry& e) {
    if (e.bitCount) return e.bitCount;
    int bits = 0;
    while ((1 << bits) < e.colourCount) ++bits;
    return e.colourCount ? bits : 8;
}

// Reads a group's directory and checks each image it names: a classic DIB
// (not PNG), whose header agrees with the directory entry and whose size is
// exactly header + colour table + colour bits + mask.
std::vector<IconImage> ReadGroup(HMODULE module, WORD groupId) {
    std::vector<IconImage> images;
    Bytes group = Resource(module, RT_GROUP_ICON, groupId, kAustria);
    if (!ok(group.size >= sizeof(GroupHeader), "group %u: expected a directory, got %lu bytes", groupId,
            (unsigned long)group.size))
        return images;
    GroupHeader header;
    memcpy(&header, group.data, sizeof header);
    if (!ok(header.reserved == 0 && header.type == 1, "group %u: header %u/%u, expected 0/1",
            groupId, header.reserved, header.type))
        return images;
    if (!ok(group.size == sizeof header + header.count * sizeof(GroupEntry),
            "group %u: expected %u bytes for %u entries, got %lu", groupId,
            (unsigned)(sizeof header + header.count * sizeof(GroupEntry)), header.count, (unsigned long)group.size))
        return images;
    for (int n = 0; n < header.count; ++n) {
        GroupEntry e;
        memcpy(&e, group.data + sizeof header + n * sizeof e, sizeof e);
        IconImage im;
        im.iconId = e.id;
        im.width = e.width ? e.width : 256;
        im.height = e.height ? e.height : 256;
        im.bits = DepthOfEntry(e);
        im.bytes = Resource(module, RT_ICON, e.id, kAustria);
        if (!ok(im.bytes.size >= sizeof(BITMAPINFOHEADER), "group %u: expected icon %u of at least %u bytes, got %lu",
                groupId, e.id, (unsigned)sizeof(BITMAPINFOHEADER), (unsigned long)im.bytes.size))
            continue;
        ok(memcmp(im.bytes.data, "\x89PNG", 4) != 0, "group %u: expected icon %u as a DIB, it is PNG-compressed",
           groupId, e.id);
        BITMAPINFOHEADER bih;
        memcpy(&bih, im.bytes.data, sizeof bih);
        ok(bih.biSize == sizeof bih && bih.biCompression == BI_RGB && bih.biPlanes == 1,
           "group %u: icon %u header size %lu, compression %lu, planes %u; expected 40, BI_RGB, 1",
           groupId, e.id, (unsigned long)bih.biSize, (unsigned long)bih.biCompression, bih.biPlanes);
        ok(bih.biWidth == im.width && bih.biHeight == 2 * im.height && bih.biBitCount == im.bits,
           "group %u: icon %u is %ldx%ld/2 at %u bits, its entry says %dx%d at %d bits",
           groupId, e.id, bih.biWidth, bih.biHeight, bih.biBitCount, im.width, im.height, im.bits);
        int expectedColours = im.bits == 4 ? 16 : im.bits == 8 ? 0 : -1;
        ok(e.colourCount == expectedColours, "group %u: icon %u entry: expected colour count %d for %d bits, got %u",
           groupId, e.id, expectedColours, im.bits, e.colourCount);
        DWORD colours = bih.biClrUsed ? bih.biClrUsed : (bih.biBitCount <= 8 ? 1u << bih.biBitCount : 0);
        DWORD xorStride = ((bih.biWidth * bih.biBitCount + 31) / 32) * 4;
        DWORD andStride = ((bih.biWidth + 31) / 32) * 4;
        DWORD height = static_cast<DWORD>(bih.biHeight / 2);
        DWORD expected = sizeof bih + colours * 4 + (xorStride + andStride) * height;
        ok(im.bytes.size == expected && e.bytesInRes == im.bytes.size,
           "group %u: icon %u has %lu bytes (entry says %lu), expected %lu",
           groupId, e.id, (unsigned long)im.bytes.size, (unsigned long)e.bytesInRes, (unsigned long)expected);
        if (im.bits == 4 && im.bytes.size >= sizeof bih + 16 * 4) {
            int differ = 0;
            for (int c = 0; c < 16; ++c) differ += memcmp(im.bytes.data + sizeof bih + c * 4, &kStandard16[c], 4) != 0;
            ok(memcmp(im.bytes.data + sizeof bih, kStandard16, sizeof kStandard16) == 0,
               "group %u: icon %u: expected the standard 16-colour palette, got %d of 16 entries different",
               groupId, e.id, differ);
        }
        images.push_back(im);
    }
    return images;
}

// An icon image drawn by the system: colour of every drawn pixel, and which
// pixels are drawn (the mask lets the background through elsewhere).
struct Picture {
    int size = 0;
    std::vector<COLORREF> colour;
    std::vector<bool> drawn;
};

std::vector<COLORREF> DrawOn(HICON icon, int size, COLORREF background) {
    return testutil::Paint(size, size, background,
                           [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
}

Picture Draw(const IconImage& im) {
    Picture p;
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(im.bytes.data), im.bytes.size, TRUE,
                                          0x00030000, im.width, im.height, LR_DEFAULTCOLOR);
    if (!ok(icon != nullptr, "expected image %u (%dx%d) made into an icon, it could not be",
            im.iconId, im.width, im.height))
        return p;
    std::vector<COLORREF> onBlack = DrawOn(icon, im.width, RGB(0, 0, 0));
    std::vector<COLORREF> onWhite = DrawOn(icon, im.width, RGB(255, 255, 255));
    DestroyIcon(icon);
    p.size = im.width;
    for (size_t i = 0; i < onBlack.size(); ++i) {
        // A drawn pixel looks the same on both backgrounds; a masked one shows them.
        bool drawn = (onBlack[i] & 0xFFFFFF) == (onWhite[i] & 0xFFFFFF);
        p.drawn.push_back(drawn);
        p.colour.push_back(drawn ? onBlack[i] & 0xFFFFFF : 0);
    }
    return p;
}

void CheckNotBlank(const Picture& p, const char* what, WORD groupId) {
    if (p.size == 0) return;
    size_t drawn = 0;
    std::set<COLORREF> colours;
    for (size_t i = 0; i < p.drawn.size(); ++i)
        if (p.drawn[i]) {
            ++drawn;
            colours.insert(p.colour[i]);
        }
    ok(drawn >= p.drawn.size() / 8, "group %u: %s: expected at least %u of %u pixels drawn, got %u", groupId,
       what, (unsigned)(p.drawn.size() / 8), (unsigned)p.drawn.size(), (unsigned)drawn);
    ok(colours.size() >= 2, "group %u: %s: expected at least 2 colours, got %u", groupId, what,
       (unsigned)colours.size());
}

double Difference(const Picture& a, const Picture& b) {
    long total = 0;
    int either = 0;
    for (size_t i = 0; i < a.drawn.size(); ++i) {
        if (!a.drawn[i] && !b.drawn[i]) continue;
        ++either;
        COLORREF ca = a.drawn[i] ? a.colour[i] : 0x808080;
        COLORREF cb = b.drawn[i] ? b.colour[i] : 0x808080;
        for (int shift = 0; shift < 24; shift += 8)
            total += std::abs(static_cast<int>((ca >> shift) & 0xFF) - static_cast<int>((cb >> shift) & 0xFF));
    }
    return either ? total / 3.0 / either : 0.0;
}

void CheckBitmap(HMODULE module, WORD id, int size) {
    char label[32];
    snprintf(label, sizeof label, "bitmap %u", id);
    ok_context(label);
    Bytes bmp = Resource(module, RT_BITMAP, id, kAustria);
    if (!ok(bmp.size >= sizeof(BITMAPINFOHEADER), "expected it in language 0x0C07, got %lu bytes",
            (unsigned long)bmp.size))
        return;
    BITMAPINFOHEADER bih;
    memcpy(&bih, bmp.data, sizeof bih);
    LONG height = bih.biHeight < 0 ? -bih.biHeight : bih.biHeight;
    ok(bih.biWidth == size && height == size && bih.biBitCount == 4 && bih.biCompression == BI_RGB,
       "expected %dx%d at 4 bits, got %ldx%ld at %u bits, compression %lu", size, size, bih.biWidth,
       height, bih.biBitCount, (unsigned long)bih.biCompression);
    if (bih.biBitCount != 4 || bih.biWidth != size || height != size) return;
    DWORD colours = bih.biClrUsed ? bih.biClrUsed : 16;
    DWORD stride = ((size * 4 + 31) / 32) * 4;
    if (!ok(bmp.size >= bih.biSize + colours * 4 + stride * size, "expected at least %lu bytes, got %lu",
            (unsigned long)(bih.biSize + colours * 4 + stride * size), (unsigned long)bmp.size))
        return;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(bmp.data + bih.biSize);
    const BYTE* bits = bmp.data + bih.biSize + colours * 4;
    // A black glyph on white: only those two colours, white corners, some black.
    int black = 0, other = 0;
    bool cornersWhite = true;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            BYTE packed = bits[y * stride + x / 2];
            int index = x % 2 ? packed & 0x0F : packed >> 4;
            const RGBQUAD& c = table[index];
            bool isBlack = !c.rgbRed && !c.rgbGreen && !c.rgbBlue;
            bool isWhite = c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 255;
            black += isBlack;
            other += !isBlack && !isWhite;
            if ((x == 0 || x == size - 1) && (y == 0 || y == size - 1)) cornersWhite &= isWhite;
        }
    ok(black >= size && black < size * size / 2, "expected a glyph of %d to %d black pixels, got %d", size,
       size * size / 2 - 1, black);
    ok(other == 0, "expected only black and white pixels, got %d of other colours", other);
    ok(cornersWhite, "expected white corners, got a corner of another colour");
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : testutil::BesideMe("Wimmelpult.exe");
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!ok(module != nullptr, "expected to load %s, got error %lu", path.c_str(), GetLastError()))
        return ok_summary();

    // Which groups exist, and in which languages.
    ok_context("groups");
    Enumerated groups;
    EnumResourceNamesA(module, RT_GROUP_ICON, OnName, reinterpret_cast<LONG_PTR>(&groups));
    ok(groups.namedOnes.empty(), "expected only numbered icon groups, got %u with names (first \"%s\")",
       (unsigned)groups.namedOnes.size(), groups.namedOnes.empty() ? "" : groups.namedOnes[0].c_str());
    const std::set<WORD> expected = ExpectedGroups();
    ok(groups.languages.size() == 486, "expected 486 icon groups, got %u", (unsigned)groups.languages.size());
    for (WORD id : expected)
        ok(groups.languages.count(id) == 1, "expected icon group %u, it is missing", id);
    for (const auto& g : groups.languages) {
        ok(expected.count(g.first) == 1, "expected no icon group %u, found one", g.first);
        ok(g.second.size() == 1 && g.second[0] == kAustria,
           "icon group %u: expected one language 0x0C07, got %u, first 0x%04X",
           g.first, (unsigned)g.second.size(), g.second.empty() ? 0 : g.second[0]);
    }

    // Formats: read every group, classify the catalogue ones by layout.
    std::map<WORD, std::vector<IconImage>> images;
    for (WORD id : expected) {
        char label[32];
        snprintf(label, sizeof label, "group %u", id);
        ok_context(label);
        images[id] = ReadGroup(module, id);
    }
    ok_context("formats");
    const std::set<WORD> outside = {IDR_MAINFRAME, IDI_SPARE, IDI_ABOUT};
    std::map<std::string, int> layouts;
    for (const auto& g : images)
        if (!outside.count(g.first)) ++layouts[Layout(g.second)];
    const std::pair<const char*, int> kLayouts[] = {
        {"32x32x8", 418},                // 256 colours
        {"32x32x4,16x16x4", 38},         // 16 colours, large then small
        {"32x32x4", 9},                  // 16 colours, large only
        {"16x16x4,32x32x4", 6},          // 16 colours, small stored first
        {"32x32x4,32x32x8", 11},         // 16 and 256 colours
        {"32x32x8,48x48x8", 1},          // 256 colours with a 48x48 image
    };
    int accounted = 0;
    for (const auto& l : kLayouts) {
        ok(layouts[l.first] == l.second, "layout %s: expected %d catalogue icons, got %d", l.first,
           l.second, layouts[l.first]);
        accounted += layouts[l.first];
    }
    for (const auto& l : layouts) {
        bool known = false;
        for (const auto& k : kLayouts) known |= l.first == k.first;
        ok(known, "expected only known layouts, got %d catalogue icon(s) in layout %s", l.second, l.first.c_str());
    }
    ok(accounted == 483, "expected 483 catalogue icons in known layouts, got %d", accounted);
    ok(Layout(images[326]) == "32x32x8,48x48x8", "icon 326: expected 32x32x8,48x48x8, got %s",
       Layout(images[326]).c_str());
    ok(Layout(images[128]) == "32x32x4", "icon 128: expected 32x32x4, got %s", Layout(images[128]).c_str());
    ok(Layout(images[129]) == "32x32x4", "icon 129: expected 32x32x4, got %s", Layout(images[129]).c_str());
    ok(Layout(images[148]) == "32x32x4,16x16x4", "icon 148: expected 32x32x4,16x16x4, got %s",
       Layout(images[148]).c_str());

    // Pictures: every image draws something of more than one colour; the
    // 32x32 picture the system shows for each catalogue icon is its own.
    ok_context("pictures");
    std::vector<std::pair<WORD, Picture>> shown;
    for (const auto& g : images) {
        const IconImage* best = nullptr;
        for (const auto& im : g.second) {
            char what[48];
            snprintf(what, sizeof what, "%dx%d image at %d bits", im.width, im.height, im.bits);
            Picture p = Draw(im);
            CheckNotBlank(p, what, g.first);
            if (im.width == 32 && (!best || im.bits > best->bits)) best = &im;
        }
        if (!outside.count(g.first) && ok(best != nullptr, "group %u: expected a 32x32 image, found none", g.first))
            shown.emplace_back(g.first, Draw(*best));
    }
    ok(shown.size() == 483, "expected 483 catalogue pictures, got %u", (unsigned)shown.size());
    // One check per pair would bury the summary; list offenders, then count them.
    int alike = 0, compared = 0;
    double closest = 1e9;
    for (size_t a = 0; a < shown.size(); ++a)
        for (size_t b = a + 1; b < shown.size(); ++b) {
            if (shown[a].second.size != 32 || shown[b].second.size != 32) continue;
            double d = Difference(shown[a].second, shown[b].second);
            ++compared;
            if (d < closest) closest = d;
            if (d < kMinDifference) {
                ++alike;
                std::printf("icons %u and %u look alike: difference %.1f\n", shown[a].first,
                            shown[b].first, d);
            }
        }
    ok(compared == 483 * 482 / 2, "compared %d pairs, expected %d", compared, 483 * 482 / 2);
    ok(alike == 0, "expected every pair of catalogue icons to differ by %.1f or more, got %d closer (closest %.1f)",
       kMinDifference, alike, closest);

    CheckBitmap(module, IDB_RESTORE, 14);
    CheckBitmap(module, IDB_CLOSE, 16);

    FreeLibrary(module);
    return ok_summary();
}
