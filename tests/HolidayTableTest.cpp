// The shape of the holiday table: row count, rows per month,
// shared names, the day-0 rows, the three out-of-order stretches, and the
// Windows-1252 bytes of the names.
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "holidays/HolidayTable.h"
#include "tests/kit/Texts.h"
#include "tests/kit/ok.h"

namespace {

using testutil::Cp1252;

// Names written as Windows-1252 bytes, independent of the compiler's charset.
const char kOesterreich[] = "\xD6sterreich";
const char kSaoTome[] = "S\xE3o Tom\xE9 und Pr\xEDncipe";
const char kGrossbritannien[] = "Gro\xDF" "britannien";
const char kElfenbeinkueste[] = "Elfenbeink\xFCste";
const char kAegypten[] = "\xC4gypten";
const char kRussland[] = "Russische F\xF6" "deration";

struct Row {
    int day;
    int month;
    const char* country;
};


bool RowIs(std::size_t i, int day, int month, const char* country) {
    return i < kHolidayCount && g_holidayDay[i] == day && g_holidayMonth[i] == month &&
           Cp1252(g_holidayCountry[i]) == country;
}

// Index of the first row (day, month, country), or kHolidayCount.
std::size_t Find(int day, int month, const char* country) {
    for (std::size_t i = 0; i < kHolidayCount; ++i)
        if (RowIs(i, day, month, country)) return i;
    return kHolidayCount;
}

int DatesOf(const char* country) {
    int n = 0;
    for (std::size_t i = 0; i < kHolidayCount; ++i)
        if (Cp1252(g_holidayCountry[i]) == country) ++n;
    return n;
}

void TestArraysAndCount() {
    ok_context("arrays");
    static_assert(kHolidayCount == 278, "278 rows");
    ok(sizeof(g_holidayDay) / sizeof(g_holidayDay[0]) == 278, "expected 278 days, got %u",
       unsigned(sizeof(g_holidayDay) / sizeof(g_holidayDay[0])));
    ok(sizeof(g_holidayMonth) / sizeof(g_holidayMonth[0]) == 278, "expected 278 months, got %u",
       unsigned(sizeof(g_holidayMonth) / sizeof(g_holidayMonth[0])));
    ok(sizeof(g_holidayCountry) / sizeof(g_holidayCountry[0]) == 278, "expected 278 countries, got %u",
       unsigned(sizeof(g_holidayCountry) / sizeof(g_holidayCountry[0])));
    ok(sizeof(g_holidayDay[0]) == 4 && sizeof(g_holidayMonth[0]) == 4,
       "expected 32-bit day and month, got %u and %u bytes", unsigned(sizeof(g_holidayDay[0])),
       unsigned(sizeof(g_holidayMonth[0])));
    for (std::size_t i = 0; i < kHolidayCount; ++i) {
        ok(g_holidayMonth[i] >= 1 && g_holidayMonth[i] <= 12, "row %u: month %d out of 1-12", unsigned(i),
           g_holidayMonth[i]);
        ok(g_holidayDay[i] >= 0 && g_holidayDay[i] <= 31, "row %u: day %d out of 0-31", unsigned(i),
           g_holidayDay[i]);
        ok(g_holidayCountry[i] != nullptr && g_holidayCountry[i][0] != '\0', "row %u: expected a name, got %s",
           unsigned(i), g_holidayCountry[i] ? "an empty one" : "none");
    }
}

void TestRowsPerMonth() {
    ok_context("rows per month");
    const int expected[12] = {11, 15, 15, 17, 20, 23, 36, 27, 30, 32, 30, 22};
    int counted[12] = {};
    for (std::size_t i = 0; i < kHolidayCount; ++i)
        if (g_holidayMonth[i] >= 1 && g_holidayMonth[i] <= 12) ++counted[g_holidayMonth[i] - 1];
    for (int m = 0; m < 12; ++m)
        ok(counted[m] == expected[m], "month %d: expected %d rows, got %d", m + 1, expected[m], counted[m]);

    // Months never go back; the rows of one month stand together.
    for (std::size_t i = 1; i < kHolidayCount; ++i)
        ok(g_holidayMonth[i] >= g_holidayMonth[i - 1], "row %u: expected month %d or later, got %d", unsigned(i),
           g_holidayMonth[i - 1], g_holidayMonth[i]);

    // 189 dates carry at least one row (two of them day 0).
    std::set<std::pair<int, int>> dates;
    for (std::size_t i = 0; i < kHolidayCount; ++i) dates.insert({g_holidayMonth[i], g_holidayDay[i]});
    ok(dates.size() == 189, "expected 189 dates, got %u", unsigned(dates.size()));
}

void TestNamesShared() {
    ok_context("names");
    std::map<std::wstring, const wchar_t*> pointerOf;
    std::set<const wchar_t*> pointers;
    for (std::size_t i = 0; i < kHolidayCount; ++i) {
        const wchar_t* p = g_holidayCountry[i];
        pointers.insert(p);
        auto inserted = pointerOf.insert({p, p});
        ok(inserted.first->second == p, "row %u: expected \"%s\" at the shared %p, got a second copy at %p",
           unsigned(i), Cp1252(p).c_str(), static_cast<const void*>(inserted.first->second), static_cast<const void*>(p));
    }
    ok(pointerOf.size() == 193, "expected 193 distinct names, got %u", unsigned(pointerOf.size()));
    ok(pointers.size() == 193, "expected 193 distinct name pointers, got %u", unsigned(pointers.size()));

    ok(DatesOf(kRussland) == 5, "Russische Foederation: expected 5 rows, got %d", DatesOf(kRussland));
    ok(DatesOf("Venezuela") == 4, "Venezuela: expected 4 rows, got %d", DatesOf("Venezuela"));
    ok(DatesOf("Kuba") == 5, "Kuba: expected 5 rows, got %d", DatesOf("Kuba"));
}

void TestNoDuplicateRows() {
    ok_context("duplicates");
    std::set<std::tuple<int, int, std::wstring>> rows;
    for (std::size_t i = 0; i < kHolidayCount; ++i) {
        bool fresh = rows.insert({g_holidayDay[i], g_holidayMonth[i], g_holidayCountry[i]}).second;
        ok(fresh, "row %u: expected a new row, got %d.%d. \"%s\" again", unsigned(i), g_holidayDay[i],
           g_holidayMonth[i], Cp1252(g_holidayCountry[i]).c_str());
    }
}

void TestDayZeroRows() {
    ok_context("day-0 rows");
    // June starts after 11 + 15 + 15 + 17 + 20 = 78 rows, August after 78 + 23 + 36 = 137.
    ok(RowIs(78, 0, 6, "Italien"), "row 78: expected (0, 6, Italien), got (%d, %d, %s)", g_holidayDay[78],
       g_holidayMonth[78], Cp1252(g_holidayCountry[78]).c_str());
    ok(RowIs(79, 0, 6, kGrossbritannien), "row 79: expected (0, 6, Grossbritannien), got (%d, %d, %s)",
       g_holidayDay[79], g_holidayMonth[79], Cp1252(g_holidayCountry[79]).c_str());
    ok(RowIs(137, 0, 8, "Jamaika"), "row 137: expected (0, 8, Jamaika), got (%d, %d, %s)", g_holidayDay[137],
       g_holidayMonth[137], Cp1252(g_holidayCountry[137]).c_str());
    ok(g_holidayMonth[77] == 5 && g_holidayMonth[136] == 7, "rows 77 and 136: expected May and July, got %d, %d",
       g_holidayMonth[77], g_holidayMonth[136]);
    int zeros = 0;
    for (std::size_t i = 0; i < kHolidayCount; ++i)
        if (g_holidayDay[i] == 0) ++zeros;
    ok(zeros == 3, "expected 3 rows with day 0, got %d", zeros);
    ok(DatesOf("Jamaika") == 1 && DatesOf(kGrossbritannien) == 1,
       "Jamaika and Grossbritannien: expected one row each, got %d and %d", DatesOf("Jamaika"),
       DatesOf(kGrossbritannien));
    ok(DatesOf("Italien") == 2, "Italien: expected 2 rows (0.6. and 25.4.), got %d", DatesOf("Italien"));
}

void TestStretches() {
    ok_context("stretches");
    const Row mongolei[] = {{11, 7, "Mongolei"}, {12, 7, "Mongolei"}, {13, 7, "Mongolei"},
                            {12, 7, "Kiribati"}, {12, 7, kSaoTome}};
    const Row kuba[] = {{25, 7, "Kuba"},     {26, 7, "Kuba"},    {27, 7, "Kuba"},
                        {25, 7, "Tunesien"}, {26, 7, "Liberia"}, {26, 7, "Malediven"}};
    const Row palau[] = {{1, 10, "China (VR)"}, {1, 10, "Nigeria"}, {1, 10, "Palau"},  {2, 10, "Palau"},
                         {1, 10, "Salomonen"},  {1, 10, "Tuvalu"},  {1, 10, "Zypern"}, {2, 10, "Guinea"}};
    struct Stretch {
        const char* label;
        const Row* rows;
        std::size_t count;
        int dayBefore;   // the date of the row just before the stretch
        int dayAfter;    // the date of the row just after it
    };
    const Stretch stretches[] = {{"Mongolei", mongolei, 5, 10, 14},
                                 {"Kuba", kuba, 6, 24, 28},
                                 {"Palau", palau, 8, 30, 3}};
    std::size_t starts[3] = {};
    for (int s = 0; s < 3; ++s) {
        const Stretch& st = stretches[s];
        std::size_t at = Find(st.rows[0].day, st.rows[0].month, st.rows[0].country);
        starts[s] = at;
        if (!ok(at + st.count < kHolidayCount, "%s: expected the first row with %u rows after it, got it at %u of %u",
                st.label, unsigned(st.count), unsigned(at), unsigned(kHolidayCount)))
            continue;
        for (std::size_t k = 0; k < st.count; ++k) {
            ok(RowIs(at + k, st.rows[k].day, st.rows[k].month, st.rows[k].country),
               "%s, row %u: expected (%d.%d. %s), got (%d.%d. %s)", st.label, unsigned(at + k), st.rows[k].day,
               st.rows[k].month, st.rows[k].country, g_holidayDay[at + k], g_holidayMonth[at + k],
               Cp1252(g_holidayCountry[at + k]).c_str());
        }
        ok(at > 0 && g_holidayDay[at - 1] == st.dayBefore, "%s: expected day %d before the stretch, got %d",
           st.label, st.dayBefore, at > 0 ? g_holidayDay[at - 1] : -1);
        ok(g_holidayDay[at + st.count] == st.dayAfter, "%s: expected day %d after the stretch, got %d",
           st.label, st.dayAfter, g_holidayDay[at + st.count]);
    }
    ok(starts[0] < starts[1] && starts[1] < starts[2], "expected the stretches in this order, got rows %u, %u, %u",
       unsigned(starts[0]), unsigned(starts[1]), unsigned(starts[2]));

    // Everywhere else the days run forward within a month: the only steps back
    // are the three at the ends of the stretches' first runs.
    std::set<std::size_t> expectedBack = {starts[0] + 3, starts[1] + 3, starts[2] + 4};
    std::set<std::size_t> back;
    for (std::size_t i = 1; i < kHolidayCount; ++i)
        if (g_holidayMonth[i] == g_holidayMonth[i - 1] && g_holidayDay[i] < g_holidayDay[i - 1]) back.insert(i);
    ok(back == expectedBack, "expected 3 steps back in the day (rows %u, %u, %u), got %u", unsigned(starts[0] + 3),
       unsigned(starts[1] + 3), unsigned(starts[2] + 4), unsigned(back.size()));
    for (std::size_t i : back)
        ok(expectedBack.count(i) == 1, "row %u: expected no step back outside the stretches, got %d.%d. after %d.%d.",
           unsigned(i), g_holidayDay[i], g_holidayMonth[i], g_holidayDay[i - 1], g_holidayMonth[i - 1]);
}

void TestWindows1252() {
    ok_context("Windows-1252");
    std::size_t at = Find(1, 5, kOesterreich);
    ok(at < kHolidayCount, "expected a row 1.5. \\xD6sterreich, found none");
    if (at < kHolidayCount) {
        ok(g_holidayCountry[at][0] == 0xD6 && std::wcslen(g_holidayCountry[at]) == 10,
           "Oesterreich: expected U+00D6 and 10 letters, got U+%04X and %u", unsigned(g_holidayCountry[at][0]),
           unsigned(std::wcslen(g_holidayCountry[at])));
    }
    ok(Find(12, 7, kSaoTome) < kHolidayCount, "expected a row 12.7. S\\xE3o Tom\\xE9 und Pr\\xEDncipe, found none");
    ok(Find(7, 12, kElfenbeinkueste) < kHolidayCount, "expected a row 7.12. Elfenbeink\\xFCste, found none");
    ok(Find(23, 7, kAegypten) < kHolidayCount, "expected a row 23.7. \\xC4gypten, found none");
    ok(Find(0, 6, kGrossbritannien) < kHolidayCount, "expected a row 0.6. Gro\\xDF" "britannien, found none");
    ok(Find(2, 4, kRussland) < kHolidayCount, "expected a row 2.4. Russische F\\xF6" "deration, found none");
    ok(Find(3, 7, "Wei\xDFru\xDFland") < kHolidayCount, "expected a row 3.7. Wei\\xDFru\\xDFland, found none");
    // Every name shows under 1252 as it is, and none is UTF-8 read as bytes: its lead
    // bytes 0xC3 and 0xC2 are no letters of these names.
    for (std::size_t i = 0; i < kHolidayCount; ++i)
        ok(Cp1252(g_holidayCountry[i]).find_first_of("?\xC3\xC2") == std::string::npos,
           "row %u: expected Windows-1252, got \"%s\"", unsigned(i), Cp1252(g_holidayCountry[i]).c_str());
}

void TestMonthNames() {
    ok_context("month names");
    const char* expected[12] = {"J\xE4nner", "Februar", "M\xE4rz",    "April",   "Mai",      "Juni",
                                "Juli",      "August",  "September", "Oktober", "November", "Dezember"};
    for (int m = 0; m < 12; ++m)
        ok(Cp1252(g_monthName[m]) == expected[m], "month %d: expected \"%s\", got \"%s\"", m, expected[m],
           Cp1252(g_monthName[m]).c_str());
}

}  // namespace

int main() {
    TestArraysAndCount();
    TestRowsPerMonth();
    TestNamesShared();
    TestNoDuplicateRows();
    TestDayZeroRows();
    TestStretches();
    TestWindows1252();
    TestMonthNames();
    return ok_summary();
}
