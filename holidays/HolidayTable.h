// The constant table of national holidays and the German
// month names used by the holiday text, as UTF-16 (wide literals).
#pragma once

#include <cstddef>

constexpr std::size_t kHolidayCount = 278;

// Three parallel arrays: row i is (g_holidayDay[i], g_holidayMonth[i],
// g_holidayCountry[i]). Day is 1-31, or 0 in the three rows that never match;
// month is 1-12. Rows naming the same country share one string.
extern const int (&g_holidayDay)[kHolidayCount];
extern const int (&g_holidayMonth)[kHolidayCount];
extern const wchar_t* const (&g_holidayCountry)[kHolidayCount];

// Month names by month index 0-11 (0 = "Jänner").
extern const wchar_t* const g_monthName[12];
