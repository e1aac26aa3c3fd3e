// Whether a Windows test runs under Wine, for the few expectations where
// Wine is known to answer otherwise than the documented Win32 behaviour.
// Such an expectation still checks Wine's own answer and says why it
// differs, so that a change in Wine shows as a failure instead of passing
// unseen.
#pragma once

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

inline bool UnderWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// The value to expect: the documented one, or under Wine Wine's, printing
// the reason once per call so the log says which expectations were Wine's.
template <typename T>
T Documented(T documented, T wine, const char* whyWineDiffers) {
    if (!UnderWine()) return documented;
    std::printf("Wine differs: %s\n", whyWineDiffers);
    return wine;
}
