// Reading and writing the caption and icon of a window that may belong to
// another application. A hung application must not freeze us: everything
// sent to another thread's window waits a bounded time.
#pragma once

#include <windows.h>

#include <string>

namespace TargetWindow {

// How long one message to another thread's window may take.
constexpr UINT kSendTimeoutMs = 250;

// The caption; empty for a window that no longer exists. Reading never
// waits for the window's thread.
std::string ReadCaption(HWND hWnd);

// Sets the caption; false when the window did not take it in time.
bool WriteCaption(HWND hWnd, const std::string& caption);

// Sends WM_SETICON with ICON_SMALL or ICON_BIG; false on time-out.
bool SendIcon(HWND hWnd, WPARAM type, HICON icon);

// Lower-cases with the platform's ANSI rules (so "Ä" becomes "ä" in 1252).
std::string Lower(std::string text);

// Whether needle occurs in haystack, where a match may only start at a
// character boundary of the ANSI code page (double-byte characters are units).
bool Contains(const std::string& haystack, const std::string& needle);

}  // namespace TargetWindow
