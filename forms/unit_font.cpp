// Making and handing over a unit's font.
#include "forms/unit_font.h"

#include "forms/display_scale.h"

void ApplyFont(HWND control, const FontSet& font, int dpi, HFONT* owned) {
    HFONT old = *owned;
    *owned = font.present ? CreateFontForDpi(font.logfont, dpi) : nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(*owned)), TRUE);
    if (old != nullptr) DeleteObject(old);
}

HGDIOBJ FontOrDefault(HFONT owned) {
    return owned != nullptr ? static_cast<HGDIOBJ>(owned) : GetStockObject(DEFAULT_GUI_FONT);
}
