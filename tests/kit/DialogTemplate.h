// Reads a dialog template (classic or extended) out of a module's resources,
// so tests can compare it control by control with what the dialog must be.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testutil {

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;   // "Button", "Edit", "Static" for the predefined ordinals
    std::string text;        // Windows-1252
    int textOrdinal = -1;    // a resource number given as text (icons of SS_ICON)
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;
    std::string className;
    std::string title;
    int pointSize = 0;
    std::string face;
    std::vector<DialogItem> items;
};

// False when the resource is missing or malformed.
bool LoadDialogTemplate(HMODULE module, UINT id, DialogTemplate* out);

// The languages a resource exists in.
std::vector<WORD> ResourceLanguages(HMODULE module, LPCSTR type, UINT id);

}  // namespace testutil
