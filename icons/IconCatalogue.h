// The catalogue's fixed order and its categories. Icon indices are the only
// link between the parts of the program, so this order never changes.
#pragma once

#include <windows.h>

constexpr int kCatalogueSize = 483;

// Icon index -> resource id, in runs; within a run the id rises with the index.
struct CatalogueRun {
    int firstIndex;
    int lastIndex;
    UINT firstId;
};

inline constexpr CatalogueRun kCatalogueRuns[] = {
    {0, 0, 150},
    {1, 1, 149},
    {2, 3, 151},
    {4, 4, 137},
    {5, 38, 154},
    {39, 39, 632},
    {40, 47, 140},
    {48, 89, 188},
    {90, 157, 233},
    {158, 279, 302},
    {280, 482, 429},
};

// The resource id of an icon index, or 0 outside the catalogue.
constexpr UINT CatalogueResourceId(int index) {
    for (const CatalogueRun& run : kCatalogueRuns)
        if (index >= run.firstIndex && index <= run.lastIndex)
            return run.firstId + static_cast<UINT>(index - run.firstIndex);
    return 0;
}

// One tab of the chooser: up to two inclusive index ranges, first range first.
struct IconCategory {
    const wchar_t* caption;
    int first1, last1;
    int first2, last2;   // an empty second range has last2 < first2
};

inline constexpr IconCategory kIconCategories[] = {
    {L"Standard",  0,   39,  0,   -1},
    {L"Cartoons",  158, 222, 0,   -1},
    {L"Star Wars", 62,  89,  0,   -1},
    {L"Star Trek", 90,  157, 0,   -1},
    {L"Nahrung",   358, 439, 0,   -1},
    {L"Gesichter", 223, 279, 0,   -1},
    {L"Tiere",     280, 357, 0,   -1},
    {L"Sonstige",  40,  61,  440, 482},
};

constexpr int kCategoryCount = sizeof(kIconCategories) / sizeof(kIconCategories[0]);
