// Making and handing over a unit's font.
#include "forms/unit_font.h"

void ApplyFont(HWND control, const FontSet& font, HFONT* owned) {
    HFONT old = *owned;
    *owned = font.present ? CreateFontIndirectA(&font.logfont) : nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(*owned)), TRUE);
    if (old != nullptr) DeleteObject(old);
}

HGDIOBJ FontOrDefault(HFONT owned) {
    return owned != nullptr ? static_cast<HGDIOBJ>(owned) : GetStockObject(DEFAULT_GUI_FONT);
}
