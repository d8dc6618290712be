#include "tests/TestUtil.h"

namespace testutil {

std::string BesideMe(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    size_t slash = dir.find_last_of("\\/");
    dir.resize(slash == std::string::npos ? 0 : slash + 1);
    return dir + fileName;
}

long UserObjectWatermark() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counted) return static_cast<long>(counted);
    BYTE andBits[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    BYTE xorBits[4] = {};
    HICON probe = CreateIcon(nullptr, 1, 1, 1, 1, andBits, xorBits);
    long slot = static_cast<long>(reinterpret_cast<UINT_PTR>(probe) & 0xFFFF) / 2;
    DestroyIcon(probe);
    return slot;
}

void FlushMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace testutil
