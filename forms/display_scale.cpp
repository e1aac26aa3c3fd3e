#include "forms/display_scale.h"

int StartingDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kTemplateDpi;
}

int WindowDpi(HWND hwnd) {
    UINT dpi = GetDpiForWindow(hwnd);
    return dpi > 0 ? static_cast<int>(dpi) : kTemplateDpi;
}

HFONT CreateFontForDpi(const LOGFONTA& font, int dpi) {
    LOGFONTA scaled = font;
    scaled.lfHeight = ToPixels(font.lfHeight, dpi);
    scaled.lfWidth = ToPixels(font.lfWidth, dpi);
    return CreateFontIndirectA(&scaled);
}
