// German texts the user reads, written once for every test as the user
// must see them, in Windows-1252 bytes.
#pragma once

#include <windows.h>

#include <string>

namespace testutil {

inline constexpr char kAboutTitle[] = "Info \xFC" "ber Wimmelpult";
inline constexpr char kChooserTitle[] = "Symbol w\xE4hlen";

// The month names of the holiday text, Austrian "Jänner" first.
inline constexpr const char* kMonthNames[12] = {"J\xE4nner", "Februar", "M\xE4rz",     "April",
                                                "Mai",       "Juni",    "Juli",      "August",
                                                "September", "Oktober", "November",  "Dezember"};

// A text of the program (UTF-16) in the form of the texts above, exactly:
// a letter that Windows-1252 lacks becomes "?", which none of them has.
inline std::string Cp1252(const std::wstring& text) {
    std::string out(text.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, &out[0], int(out.size()), "?", nullptr);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

}  // namespace testutil
