// The windows of TargetApp.exe, the other program the retitling tests,
// benchmarks and the long run work on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/TargetAppControl.h"
#include "tests/kit/Process.h"

namespace testutil {

// Starts "TargetApp.exe COUNT CAPTION OPTIONS" and waits until all its
// windows exist and answer; they come in Z order from the top. Empty when
// they do not come within timeoutMs.
std::vector<HWND> StartTargets(ChildProcess& app, int count, const std::string& caption,
                               const std::string& options = "", DWORD timeoutMs = 30000);

// The program's windows of TargetApp's class, in Z order, as they are now.
std::vector<HWND> TargetWindows(const ChildProcess& app);

// Tells the window's thread to stop answering for ms (INFINITE: for good)
// and waits until it has; false when it went on answering.
bool MakeBusy(HWND hWnd, DWORD ms);

// The caption as the system holds it, read without asking the window's
// thread, which may be busy on purpose.
std::string HeldCaption(HWND hWnd);
std::wstring HeldCaptionW(HWND hWnd);

}  // namespace testutil
