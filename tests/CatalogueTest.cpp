// The icon catalogue: 483 images in their fixed order, each the picture of
// its resource, and the eight categories that cover it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <set>
#include <vector>

#include "icons/CIconChooserDlg.h"
#include "icons/IconCatalogue.h"
#include "icons/IconStrip.h"
#include "res/resource.h"
#include "tests/kit/ModalScript.h"
#include "tests/kit/Pixels.h"
#include "tests/kit/ok.h"

namespace {

// The resource ids in catalogue order, written out from the load order.
std::vector<UINT> ExpectedOrder() {
    std::vector<UINT> ids = {150, 149, 151, 152, 137};
    for (UINT id = 154; id <= 187; ++id) ids.push_back(id);
    ids.push_back(632);
    for (UINT id = 140; id <= 147; ++id) ids.push_back(id);
    for (UINT id = 188; id <= 229; ++id) ids.push_back(id);
    for (UINT id = 233; id <= 300; ++id) ids.push_back(id);
    for (UINT id = 302; id <= 423; ++id) ids.push_back(id);
    for (UINT id = 429; id <= 631; ++id) ids.push_back(id);
    return ids;
}

std::vector<COLORREF> Draw(HIMAGELIST list, int index) {
    return testutil::Paint(32, 32, RGB(255, 0, 255), [&](HDC dc) { ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL); });
}

// Each icon resource drawn through an image list made like the catalogue.
std::vector<COLORREF> DrawResource(UINT id) {
    HIMAGELIST list = ImageList_Create(32, 32, ILC_MASK, 1, 1);
    ImageList_ReplaceIcon(list, -1, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    std::vector<COLORREF> pixels = Draw(list, 0);
    ImageList_Destroy(list);
    return pixels;
}

void TestOrder(HIMAGELIST catalogue) {
    ok_context("order");
    int count = ImageList_GetImageCount(catalogue);
    ok(count == 483, "expected 483 images, got %d", count);
    IMAGEINFO info = {};
    ImageList_GetImageInfo(catalogue, 0, &info);
    ok(info.rcImage.right - info.rcImage.left == 32 && info.rcImage.bottom - info.rcImage.top == 32,
       "expected 32x32 images, got %ldx%ld", info.rcImage.right - info.rcImage.left,
       info.rcImage.bottom - info.rcImage.top);

    std::vector<UINT> ids = ExpectedOrder();
    ok(ids.size() == 483, "expected 483 ids in the load order, got %u", static_cast<unsigned>(ids.size()));
    int mismatches = 0;
    for (int i = 0; i < count && i < static_cast<int>(ids.size()); ++i) {
        if (Draw(catalogue, i) != DrawResource(ids[i])) {
            if (++mismatches <= 10)
                ok(false, "index %d: expected the picture of resource %u, got one with %d pixels different", i,
                   ids[i], testutil::CountDifferent(Draw(catalogue, i), DrawResource(ids[i])));
        }
        ok(CatalogueResourceId(i) == ids[i], "index %d: expected id %u, got %u", i, ids[i], CatalogueResourceId(i));
    }
    ok(mismatches == 0, "expected every index to show its resource, %d do not", mismatches);

    // The places where the order departs from rising ids.
    const struct {
        int index;
        UINT id;
    } edges[] = {{0, 150}, {1, 149}, {4, 137}, {39, 632}, {40, 140},
                 {89, 229}, {90, 233}, {158, 302}, {280, 429}, {482, 631}};
    for (const auto& e : edges) {
        char label[32];
        snprintf(label, sizeof label, "index %d", e.index);
        ok_context(label);
        ok(Draw(catalogue, e.index) == DrawResource(e.id),
           "expected the picture of resource %u, got one with %d pixels different", e.id,
           testutil::CountDifferent(Draw(catalogue, e.index), DrawResource(e.id)));
    }
    ok(CatalogueResourceId(-1) == 0 && CatalogueResourceId(483) == 0,
       "expected no id outside the catalogue, got %u at -1 and %u at 483", CatalogueResourceId(-1),
       CatalogueResourceId(483));

    ok_context("not in the catalogue");
    for (UINT id : {UINT(IDR_MAINFRAME), UINT(IDI_SPARE), UINT(IDI_ABOUT)}) {
        std::vector<COLORREF> outside = DrawResource(id);
        int same = 0;
        for (int i = 0; i < count; ++i) same += Draw(catalogue, i) == outside;
        ok(same == 0, "expected icon %u nowhere in the catalogue, found it %d times", id, same);
    }
}

void TestCategories() {
    ok_context("categories");
    const int sizes[] = {40, 65, 28, 68, 82, 57, 78, 65};
    const wchar_t* captions[] = {L"Standard", L"Cartoons",  L"Star Wars", L"Star Trek",
                                 L"Nahrung",  L"Gesichter", L"Tiere",     L"Sonstige"};
    ok(kCategoryCount == 8, "expected 8 categories, got %d", kCategoryCount);
    std::vector<int> seen(483, 0);
    for (int t = 0; t < kCategoryCount && t < 8; ++t) {
        const IconCategory& c = kIconCategories[t];
        int n = (c.last1 - c.first1 + 1) + (c.last2 >= c.first2 ? c.last2 - c.first2 + 1 : 0);
        ok(n == sizes[t], "tab %d: expected %d icons, got %d", t, sizes[t], n);
        ok(wcscmp(c.caption, captions[t]) == 0, "tab %d: expected %ls, got %ls", t, captions[t], c.caption);
        for (int i = c.first1; i <= c.last1; ++i) ++seen[i];
        for (int i = c.first2; i <= c.last2; ++i) ++seen[i];
    }
    int wrong = 0;
    for (int i = 0; i < 483; ++i) wrong += seen[i] != 1;
    ok(wrong == 0, "expected each index in exactly one category, %d are not", wrong);
    const IconCategory& other = kIconCategories[7];
    ok(other.first1 == 40 && other.last1 == 61 && other.first2 == 440 && other.last2 == 482,
       "expected Sonstige 40-61 then 440-482, got %d-%d then %d-%d", other.first1, other.last1, other.first2,
       other.last2);
}

// The one-step append against the icon loader, on formats beside the
// catalogue's, and its refusal of what it cannot do.
void TestAppend() {
    ok_context("append");
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HIMAGELIST list = ImageList_Create(32, 32, ILC_MASK, 4, 4);
    const UINT first[] = {150};
    ok(AppendIconResources(list, inst, first, 1), "expected resource 150 appended, it was refused");
    // 16-colour icons: one image, and 32 x 32 beside 16 x 16.
    const UINT more[] = {128, 148, 129};
    ok(AppendIconResources(list, inst, more, 3), "expected resources 128, 148 and 129 appended, they were refused");
    ok(ImageList_GetImageCount(list) == 4, "expected 4 images, got %d", ImageList_GetImageCount(list));
    const UINT all[] = {150, 128, 148, 129};
    for (int i = 0; i < 4; ++i)
        ok(Draw(list, i) == DrawResource(all[i]),
           "index %d: expected the picture of resource %u, got one with %d pixels different", i, all[i],
           testutil::CountDifferent(Draw(list, i), DrawResource(all[i])));

    // 153 is no icon: nothing of the run may land, or every later index shifts.
    const UINT gap[] = {151, 153, 152};
    ok(!AppendIconResources(list, inst, gap, 3), "expected a run with a missing icon refused, it was appended");
    ok(ImageList_GetImageCount(list) == 4, "expected the list untouched, got %d images", ImageList_GetImageCount(list));
    ok(!AppendIconResources(nullptr, inst, first, 1), "expected no list refused, it was accepted");
    ImageList_Destroy(list);
}

// The list fills on a thread of its own: a chooser that goes at once must
// wait for it rather than free the list under it, and one read at once must
// see it whole.
void TestFillRunsOut() {
    ok_context("fill");
    for (int i = 0; i < 5; ++i) {
        CIconChooserDlg gone;
    }
    CIconChooserDlg chooser;
    int count = ImageList_GetImageCount(chooser.m_imageList.GetSafeHandle());
    ok(count == 483, "expected 483 images at the first look, got %d", count);
    ok(Draw(chooser.m_imageList.GetSafeHandle(), 482) == DrawResource(631),
       "expected the last image complete, got %d pixels different from resource 631",
       testutil::CountDifferent(Draw(chooser.m_imageList.GetSafeHandle(), 482), DrawResource(631)));
}

}  // namespace

int main() {
    testutil::InitDialogControls();
    {
        CIconChooserDlg chooser;
        TestOrder(chooser.m_imageList.GetSafeHandle());
    }
    TestCategories();
    TestAppend();
    TestFillRunsOut();
    return ok_summary();
}
