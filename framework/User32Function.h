// A function of user32.dll that later Windows versions added, found at run
// time so that the program still starts where it is missing (nullptr then).
#pragma once

#include <windows.h>

template <class Fn>
Fn User32Function(const char* name) {
    // By way of the generic function type, which casts to any other.
    auto generic = reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name));
    return reinterpret_cast<Fn>(generic);
}
