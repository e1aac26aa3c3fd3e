#include "forms/border_style.h"

void BorderStyles(int32_t borderStyle, DWORD* style, DWORD* exStyle) {
    switch (borderStyle) {
        case kBorderSunken:
            *exStyle |= WS_EX_CLIENTEDGE;
            break;
        case kBorderRaised:
            *exStyle |= WS_EX_DLGMODALFRAME;
            break;
        case kBorderThinSunken:
            *exStyle |= WS_EX_STATICEDGE;
            break;
        case kBorderBoth:
            *exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
            break;
        case kBorderPlain:
            *style |= WS_BORDER;
            break;
        default:
            break;
    }
}

void ApplyBorderStyle(HWND hwnd, int32_t borderStyle) {
    DWORD style = 0;
    DWORD exStyle = 0;
    BorderStyles(borderStyle, &style, &exStyle);
    constexpr DWORD kExMask = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    DWORD oldStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    DWORD oldEx = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
    SetWindowLongA(hwnd, GWL_STYLE,
                   static_cast<LONG>((oldStyle & ~static_cast<DWORD>(WS_BORDER)) | style));
    SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<LONG>((oldEx & ~kExMask) | exStyle));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
