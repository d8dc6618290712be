#include "holidays/HolidayText.h"

#include <windows.h>

#include "holidays/HolidayTable.h"

namespace {

// Seconds from 1601-01-01 (the FILETIME epoch) to 1970-01-01.
constexpr long long kEpochDifference = 11644473600LL;
constexpr long long kTicksPerSecond = 10000000LL;
// FileTimeToSystemTime takes FILETIME values below 2^63: up to 30828-09-14.
constexpr long long kLastSecond = 0x7FFFFFFFFFFFFFFFLL / kTicksPerSecond - kEpochDifference;

// The text for a clock that names no date at all.
const wchar_t kUnknownDateText[] = L"Feiertage am unbekannten Tag:\n<leider keiner>";

// The local date of `seconds` (since 1970-01-01 00:00 UTC): day 1-31 and
// month 1-12.
//
// SystemTimeToTzSpecificLocalTime applies the time-zone rule in force on that
// date, so summer time follows the date, not today's clock. Every second from
// 1601 to 30828 has a UTC date; a clock outside that range has none and the
// function returns false (the caller then writes kUnknownDateText). Should
// only the local conversion fail, as it may at the ends of that range, the
// UTC date stands in for the local one.
bool LocalDateOf(long long seconds, int* day, int* month) {
    if (seconds < -kEpochDifference || seconds > kLastSecond) return false;
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<unsigned long long>(seconds + kEpochDifference) * kTicksPerSecond;
    FILETIME fileTime;
    fileTime.dwLowDateTime = ticks.LowPart;
    fileTime.dwHighDateTime = ticks.HighPart;

    SYSTEMTIME utc;
    if (!FileTimeToSystemTime(&fileTime, &utc)) return false;
    SYSTEMTIME local;
    const SYSTEMTIME& date = SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ? local : utc;
    if (date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1 || date.wDay > 31) return false;
    *day = date.wDay;
    *month = date.wMonth;
    return true;
}

// The holiday text for a time given in 64 bits, whatever the width
// of time_t (32 bits in the i686 build).
std::wstring HolidayTextAt(long long seconds) {
    int day = 0;
    int month = 0;
    if (!LocalDateOf(seconds, &day, &month)) return kUnknownDateText;

    std::wstring text = L"Feiertage am ";
    text += static_cast<wchar_t>(L'0' + day / 10);   // "%02d. ": two digits ("06."), full stop, blank
    text += static_cast<wchar_t>(L'0' + day % 10);
    text += L". ";
    text += g_monthName[month - 1];
    text += L":\n";

    bool first = true;
    for (std::size_t i = 0; i < kHolidayCount; ++i) {
        if (g_holidayDay[i] != day || g_holidayMonth[i] != month) continue;
        if (first)
            first = false;
        else
            text += L", ";
        text += g_holidayCountry[i];
    }
    if (first) text += L"<leider keiner>";
    return text;
}

}  // namespace

std::wstring FormatHolidayText(time_t t) { return HolidayTextAt(static_cast<long long>(t)); }

// Reads the clock as a FILETIME rather than through time(), whose 32-bit
// time_t in the i686 build would wrap in January 2038.
std::wstring GetHolidayTextForToday() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    long long seconds = static_cast<long long>(ticks.QuadPart / kTicksPerSecond) - kEpochDifference;
    return HolidayTextAt(seconds);
}
