// The holiday text for every day of the leap year 2028,
// checked against tests/data/holidays.txt, the date list written out apart
// from the table; plus the edge cases, the local date around midnight and summer time,
// and clocks that name no date.
//
// Usage: HolidayTextTest <path of holidays.txt> <zone> [today=D.M.]
// <zone> names the time zone that ctest sets in TZ: UTC, Tokyo or Berlin.
// today=D.M. says that the system clock reads a (faked) time whose local
// date is D.M.: GetHolidayTextForToday must give that date's text.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "holidays/HolidayText.h"
#include "tests/kit/Process.h"
#include "tests/kit/Texts.h"
#include "tests/kit/ok.h"

namespace {

using testutil::Cp1252;
using testutil::kMonthNames;

using Names = std::vector<std::string>;
using DateList = std::map<std::pair<int, int>, Names>;   // (month, day) -> names in row order

std::string Utf8ToWindows1252(const std::string& utf8, bool* lossless) {
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), &wide[0], wideLength);
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr,
                                     &usedDefault);
    std::string out(length, '\0');
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &out[0], length, nullptr,
                        &usedDefault);
    *lossless = (wideLength > 0 || utf8.empty()) && !usedDefault;
    return out;
}

// Parses the lines "- D.M.: "name", "name"" of the data file.
bool ReadDateList(const std::string& path, DateList* dates, int* rows) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!ok(file != nullptr, "expected to open the data file %s, fopen failed", path.c_str())) return false;
    char buffer[1024];
    int lineNumber = 0;
    *rows = 0;
    while (std::fgets(buffer, sizeof buffer, file)) {
        ++lineNumber;
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.compare(0, 2, "- ") != 0) continue;
        int day = -1, month = -1, used = 0;
        bool parsed = std::sscanf(line.c_str(), "- %d.%d.:%n", &day, &month, &used) == 2 && used > 0;
        if (!ok(parsed, "line %d: expected \"- D.M.:\", got \"%s\"", lineNumber, line.c_str())) continue;
        Names& names = (*dates)[{month, day}];
        ok(names.empty(), "line %d: expected date %d.%d. once, got it again after %u names", lineNumber, day, month,
           unsigned(names.size()));
        std::size_t pos = used;
        for (;;) {
            std::size_t open = line.find('"', pos);
            if (open == std::string::npos) break;
            std::size_t close = line.find('"', open + 1);
            if (!ok(close != std::string::npos, "line %d: expected a closing quote after column %u, found none",
                    lineNumber, unsigned(open)))
                break;
            bool lossless = false;
            names.push_back(Utf8ToWindows1252(line.substr(open + 1, close - open - 1), &lossless));
            ok(lossless, "line %d: expected name %u in Windows-1252, got \"%s\"", lineNumber, unsigned(names.size()),
               line.substr(open + 1, close - open - 1).c_str());
            ++*rows;
            pos = close + 1;
        }
        ok(!names.empty(), "line %d: expected names, found none in \"%s\"", lineNumber, line.c_str());
    }
    std::fclose(file);
    return true;
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Seconds since 1970 of a UTC date and time.
long long Utc(int year, int month, int day, int hour, int minute, int second = 0) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string Header(int day, int month) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d. ", day);
    return std::string("Feiertage am ") + digits + kMonthNames[month - 1] + ":\n";
}

std::string Expected(const DateList& dates, int day, int month) {
    std::string text = Header(day, month);
    auto found = dates.find({month, day});
    if (found == dates.end()) return text + "<leider keiner>";
    for (std::size_t i = 0; i < found->second.size(); ++i) {
        if (i > 0) text += ", ";
        text += found->second[i];
    }
    return text;
}

// Shows line breaks and non-ASCII bytes in failure messages.
std::string Visible(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char escaped[8];
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else
            out += char(c);
    }
    return out;
}

bool CheckText(long long seconds, const std::string& expected, const char* what) {
    if (sizeof(time_t) < 8 && (seconds < INT_MIN || seconds > INT_MAX)) return true;   // not a time_t here
    std::string got = Cp1252(FormatHolidayText(static_cast<time_t>(seconds)));
    return ok(got == expected, "%s (t=%lld): expected \"%s\", got \"%s\"", what, seconds, Visible(expected).c_str(),
              Visible(got).c_str());
}

void TestDataFile(const DateList& dates, int rows) {
    ok_context("data file");
    ok(rows == 278, "expected 278 rows in the data file, got %d", rows);
    ok(dates.size() == 189, "expected 189 dates in the data file, got %u", unsigned(dates.size()));
}

// Every day of 2028 at noon UTC: the same date in any zone from UTC-11 to
// UTC+11, so the check holds in each of the test's zones.
void TestEveryDayOf2028(const DateList& dates) {
    ok_context("2028");
    const int monthLength[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int days = 0, withNames = 0, names = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= monthLength[month - 1]; ++day) {
            ++days;
            char label[32];
            std::snprintf(label, sizeof label, "%d.%d.2028", day, month);
            std::string got = Cp1252(FormatHolidayText(static_cast<time_t>(Utc(2028, month, day, 12, 0))));
            std::string expected = Expected(dates, day, month);
            ok(got == expected, "%s: expected \"%s\", got \"%s\"", label, Visible(expected).c_str(),
               Visible(got).c_str());

            // The shape of every text: one line feed, no carriage return, no
            // separator or line feed at the end, the day-0 rows never shown.
            std::size_t lf = got.find('\n');
            ok(lf != std::string::npos && got.find('\n', lf + 1) == std::string::npos,
               "%s: expected exactly one line feed, got %u", label, unsigned(std::count(got.begin(), got.end(), '\n')));
            ok(got.find('\r') == std::string::npos, "%s: expected no carriage return, got \"%s\"", label,
               Visible(got).c_str());
            ok(got.size() > 2 && got.back() != '\n' && got.back() != ' ' && got.back() != ',',
               "%s: expected the text to end in a name, got \"%s\"", label, Visible(got).c_str());
            ok(got.find("Jamaika") == std::string::npos && got.find("Gro\xDF" "britannien") == std::string::npos,
               "%s: expected no day-0 row, got \"%s\"", label, Visible(got).c_str());
            ok(got.find("Italien") == std::string::npos || (day == 25 && month == 4),
               "%s: expected Italien on 25 April only, got \"%s\"", label, Visible(got).c_str());
            if (got.find("<leider keiner>") == std::string::npos) {
                ++withNames;
                std::string second = got.substr(lf + 1);
                std::size_t commas = 0;
                for (std::size_t at = second.find(", "); at != std::string::npos; at = second.find(", ", at + 2))
                    ++commas;
                names += int(commas) + 1;
            }
        }
    }
    ok(days == 366, "expected 366 days, got %d", days);
    ok(withNames == 187, "expected 187 days with names (189 dates less the two day-0 dates), got %d", withNames);
    ok(names == 275, "expected 275 names over the year (278 rows less the three day-0 rows), got %d", names);
}

void TestEdgeCases(const DateList& dates) {
    ok_context("edge cases");
    CheckText(Utc(2028, 1, 1, 12, 0), "Feiertage am 01. J\xE4nner:\nHaiti, Kuba, Samoa, Slowakei, Sudan", "1 January");
    CheckText(Utc(2028, 1, 2, 12, 0), "Feiertage am 02. J\xE4nner:\n<leider keiner>", "2 January");
    CheckText(Utc(2028, 2, 29, 12, 0), "Feiertage am 29. Februar:\n<leider keiner>", "29 February");
    CheckText(Utc(2028, 12, 6, 12, 0), "Feiertage am 06. Dezember:\nFinnland", "6 December");
    CheckText(Utc(2028, 10, 1, 12, 0),
              "Feiertage am 01. Oktober:\nChina (VR), Nigeria, Palau, Salomonen, Tuvalu, Zypern", "1 October");
    CheckText(Utc(2028, 7, 12, 12, 0), "Feiertage am 12. Juli:\nMongolei, Kiribati, S\xE3o Tom\xE9 und Pr\xEDncipe",
              "12 July");
    CheckText(Utc(2028, 10, 2, 12, 0), "Feiertage am 02. Oktober:\nPalau, Guinea", "2 October");
    CheckText(Utc(2028, 10, 28, 12, 0),
              "Feiertage am 28. Oktober:\nTurkmenistan, Griechenland, Tschechische Republik", "28 October");
    CheckText(Utc(2028, 4, 25, 12, 0), "Feiertage am 25. April:\nItalien", "25 April");
    CheckText(Utc(2028, 5, 1, 12, 0), "Feiertage am 01. Mai:\nMarshallinseln, \xD6sterreich", "1 May");
    CheckText(Utc(2028, 3, 5, 12, 0), "Feiertage am 05. M\xE4rz:\n\xC4quatorialguinea", "5 March");
    CheckText(Utc(2028, 6, 1, 12, 0), "Feiertage am 01. Juni:\nKenia, Samoa", "1 June (after the day-0 rows)");
    CheckText(Utc(2028, 8, 1, 12, 0), "Feiertage am 01. August:\nBenin, Schweiz", "1 August (after the day-0 row)");

    // The most names on one date: 1 October's six.
    std::size_t most = 0;
    for (const auto& date : dates) most = std::max(most, date.second.size());
    ok(most == 6, "expected at most 6 names on a date, got %u", unsigned(most));
    // Other years than 2028: the date alone decides.
    CheckText(Utc(2000, 2, 29, 12, 0), "Feiertage am 29. Februar:\n<leider keiner>", "29 February 2000");
    CheckText(Utc(2035, 12, 7, 12, 0), "Feiertage am 07. Dezember:\nElfenbeink\xFCste", "7 December 2035");
    CheckText(Utc(1970, 1, 1, 12, 0), Expected(dates, 1, 1), "1 January 1970");
}

// The local date decides, around midnight and with summer time.
void TestLocalDate(const std::string& zone, const DateList& dates) {
    ok_context("zone " + zone);
    TIME_ZONE_INFORMATION info;
    GetTimeZoneInformation(&info);
    const std::string jan1 = Expected(dates, 1, 1);
    const std::string dec31 = Expected(dates, 31, 12);
    if (zone == "UTC") {
        ok(info.Bias == 0, "TZ=UTC: expected bias 0, got %ld", info.Bias);
        CheckText(Utc(2027, 12, 31, 23, 59, 59), dec31, "2027-12-31 23:59:59 UTC");
        CheckText(Utc(2028, 1, 1, 0, 0, 0), jan1, "2028-01-01 00:00:00 UTC");
        CheckText(Utc(2028, 7, 11, 23, 59, 59), Expected(dates, 11, 7), "2028-07-11 23:59:59 UTC");
    } else if (zone == "Tokyo") {
        ok(info.Bias == -540, "TZ=Asia/Tokyo: expected bias -540, got %ld", info.Bias);
        // 2028-01-01 00:30 JST is still 31 December in UTC.
        CheckText(Utc(2027, 12, 31, 15, 30), jan1, "2028-01-01 00:30 JST");
        CheckText(Utc(2027, 12, 31, 15, 0, 0), jan1, "2028-01-01 00:00:00 JST");
        CheckText(Utc(2027, 12, 31, 14, 59, 59), dec31, "2027-12-31 23:59:59 JST");
        CheckText(Utc(2028, 7, 11, 15, 0), Expected(dates, 12, 7), "2028-07-12 00:00 JST");
        CheckText(Utc(2028, 7, 12, 14, 59, 59), Expected(dates, 12, 7), "2028-07-12 23:59:59 JST");
        CheckText(Utc(2028, 7, 12, 15, 0, 0), Expected(dates, 13, 7), "2028-07-13 00:00 JST");
    } else if (zone == "Berlin") {
        ok(info.Bias == -60, "TZ=Europe/Berlin: expected bias -60, got %ld", info.Bias);
        // Winter: UTC+1. Summer: UTC+2, whatever the season of today's clock.
        CheckText(Utc(2027, 12, 31, 23, 30), jan1, "2028-01-01 00:30 CET");
        CheckText(Utc(2027, 12, 31, 22, 59, 59), dec31, "2027-12-31 23:59:59 CET");
        CheckText(Utc(2028, 7, 11, 22, 30), Expected(dates, 12, 7), "2028-07-12 00:30 CEST");
        CheckText(Utc(2028, 7, 11, 21, 59, 59), Expected(dates, 11, 7), "2028-07-11 23:59:59 CEST");
        // 26 March 2028: summer time starts at 01:00 UTC.
        CheckText(Utc(2028, 3, 25, 23, 0), Expected(dates, 26, 3), "2028-03-26 00:00 CET");
        CheckText(Utc(2028, 3, 25, 22, 59, 59), Header(25, 3) + "Griechenland", "2028-03-25 23:59:59 CET");
        // 29 October 2028: summer time ends at 01:00 UTC; 28.10. 23:59:59 CEST.
        CheckText(Utc(2028, 10, 28, 21, 59, 59), Expected(dates, 28, 10), "2028-10-28 23:59:59 CEST");
        CheckText(Utc(2028, 10, 28, 22, 0, 0), Expected(dates, 29, 10), "2028-10-29 00:00 CEST");
    } else {
        ok(false, "unknown zone \"%s\": expected UTC, Tokyo or Berlin", zone.c_str());
    }
}

// Clocks far from now. Every time from 1601 to 30828 has a date (before 1970
// too); a time outside that range gets the fixed text. With the 32-bit time_t
// of the i686 build every time_t has a date.
void TestFarClocks(const std::string& zone, const DateList& dates) {
    ok_context("far clocks, zone " + zone);
    const bool east = zone != "UTC";   // Tokyo and Berlin are ahead of UTC
    const std::string unknown = "Feiertage am unbekannten Tag:\n<leider keiner>";
    // -1: 1969-12-31 23:59:59 UTC, already 1 January 1970 east of UTC.
    CheckText(-1, east ? Expected(dates, 1, 1) : Expected(dates, 31, 12), "t = -1");
    // The ends of a 32-bit time_t: 1901-12-13 20:45:52 and 2038-01-19 03:14:07 UTC.
    CheckText(INT_MIN, zone == "Tokyo" ? Header(14, 12) + "<leider keiner>" : Header(13, 12) + "St. Lucia",
              "t = INT_MIN");
    CheckText(INT_MAX, Header(19, 1) + "<leider keiner>", "t = INT_MAX");
    if (sizeof(time_t) >= 8) {
        CheckText(Utc(2040, 1, 1, 12, 0), Expected(dates, 1, 1), "2040-01-01 (after 2038)");
        CheckText(Utc(1601, 1, 1, 0, 0), Expected(dates, 1, 1), "1601-01-01 00:00 UTC, the first second");
        // 30828-09-14 02:48:05 UTC, the last second: the local date, or the UTC
        // date where the platform cannot convert it (both the 14th here).
        CheckText(910692730085LL, Header(14, 9) + "<leider keiner>", "the last second");
        CheckText(Utc(1601, 1, 1, 0, 0) - 1, unknown, "one second before 1601");
        CheckText(910692730086LL, unknown, "one second after the last");
        CheckText(1LL << 62, unknown, "t = 2^62");
        CheckText(LLONG_MAX, unknown, "t = LLONG_MAX");
        CheckText(LLONG_MIN, unknown, "t = LLONG_MIN");
    }
}

// GetHolidayTextForToday reads the system clock.
void TestToday() {
    ok_context("today");
    std::string before = Cp1252(FormatHolidayText(std::time(nullptr)));
    std::string today = Cp1252(GetHolidayTextForToday());
    std::string after = Cp1252(FormatHolidayText(std::time(nullptr)));
    ok(today == before || today == after, "expected \"%s\", got \"%s\"", Visible(before).c_str(),
       Visible(today).c_str());
}

// The clock is faked to a known local date (see tests/CMakeLists.txt).
void TestFakedToday(const std::string& option, const DateList& dates) {
    ok_context(option);
    int day = 0, month = 0;
    if (!ok(std::sscanf(option.c_str(), "today=%d.%d.", &day, &month) == 2 && month >= 1 && month <= 12,
            "expected today=D.M. with a month of 1-12, got \"%s\"", option.c_str()))
        return;
    std::string expected = Expected(dates, day, month);
    std::string got = Cp1252(GetHolidayTextForToday());
    ok(got == expected, "expected \"%s\", got \"%s\"", Visible(expected).c_str(), Visible(got).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (!ok(argc == 3 || argc == 4,
            "expected 2 or 3 arguments (usage: HolidayTextTest <holidays.txt> <UTC|Tokyo|Berlin> [today=D.M.]), got %d",
            argc - 1))
        return ok_summary();
    const std::string zone = argv[2];
    DateList dates;
    int rows = 0;
    if (ReadDateList(testutil::WindowsPath(argv[1]), &dates, &rows)) {
        TestDataFile(dates, rows);
        TestEveryDayOf2028(dates);
        TestEdgeCases(dates);
        TestLocalDate(zone, dates);
        TestFarClocks(zone, dates);
        if (argc == 4) TestFakedToday(argv[3], dates);
    }
    TestToday();
    return ok_summary();
}
