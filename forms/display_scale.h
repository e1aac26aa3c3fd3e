// Display scale. Templates and programs state positions, sizes and font
// heights for a 96-DPI display; on a display with another scale the form
// runtime lays a window out in that display's pixels, so that it is drawn
// sharp at its real size instead of being stretched as a bitmap. What a
// program reads back is again in 96-DPI units.
#pragma once

#include "platform/win32.h"

constexpr int kTemplateDpi = 96;

// The DPI a new top-level window starts at: the screen's.
int StartingDpi();
// The DPI the window is drawn for; kTemplateDpi when the system cannot say.
int WindowDpi(HWND hwnd);

inline int ToPixels(int units, int dpi) {
    return dpi == kTemplateDpi ? units : MulDiv(units, dpi, kTemplateDpi);
}
inline int ToUnits(int pixels, int dpi) {
    return dpi == kTemplateDpi ? pixels : MulDiv(pixels, kTemplateDpi, dpi);
}

// A unit's font at a display's scale: the stored height and width are
// 96-DPI pixels.
HFONT CreateFontForDpi(const LOGFONTA& font, int dpi);
