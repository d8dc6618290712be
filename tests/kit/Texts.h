// German texts the user reads, written once for every test as the user
// must see them, in Windows-1252 bytes.
#pragma once

namespace testutil {

inline constexpr char kAboutTitle[] = "Info \xFC" "ber Wimmelpult";
inline constexpr char kChooserTitle[] = "Symbol w\xE4hlen";

// The month names of the holiday text, Austrian "Jänner" first.
inline constexpr const char* kMonthNames[12] = {"J\xE4nner", "Februar", "M\xE4rz",     "April",
                                                "Mai",       "Juni",    "Juli",      "August",
                                                "September", "Oktober", "November",  "Dezember"};

}  // namespace testutil
