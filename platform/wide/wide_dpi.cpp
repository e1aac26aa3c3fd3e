// The per-window DPI, where the system can tell it.
#define DROPEDIT_WIDE_LAYER
#include "platform/win32_wide.h"

namespace wide {

UINT GetDpiForWindow(HWND hwnd) {
    using Routine = UINT(WINAPI*)(HWND);
    static const Routine routine = reinterpret_cast<Routine>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (routine != nullptr) return routine(hwnd);
    if (!IsWindow(hwnd)) return 0;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

}  // namespace wide
