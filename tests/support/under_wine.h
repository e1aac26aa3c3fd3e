// Whether a test runs under Wine rather than Windows (never on the desk):
// for the few expectations where Wine is known to answer otherwise than
// Windows documents, which the test then states and still checks.
#pragma once

#include "platform/win32.h"

inline bool UnderWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}
