// The holiday text: which countries celebrate their national
// holiday on the local date of a given time. UTF-16, "\n" line break.
#pragma once

#include <ctime>
#include <string>

// "Feiertage am DD. Monat:\n" followed by the matching countries in row
// order, joined by ", ", or "<leider keiner>" when none matches. The date is
// the local date of t in the machine's time zone.
std::wstring FormatHolidayText(time_t t);

// FormatHolidayText of the system clock's current time.
std::wstring GetHolidayTextForToday();
