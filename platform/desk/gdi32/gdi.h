// The desk's gdi32 records and its font model. No pixels are drawn; a font
// is its LOGFONTA and these metrics, which text measuring, the controls and
// tests all rely on:
//   - the character height h is |lfHeight|, or 12 when lfHeight is 0;
//   - a single-byte character is h / 2 wide (lfWidth when that is set),
//     a double-byte (GBK) character twice that: h (2 * lfWidth);
//   - tmHeight is h, tmDescent h / 6, tmAscent the rest, no leading.
// DEFAULT_GUI_FONT is 宋体 with lfHeight -12; the font of a fresh DC (and
// of a control that was given none) is SYSTEM_FONT, "System" at 16.
#pragma once

#include <cstddef>

#include "platform/win32.h"

namespace desk {

struct FontMetrics {
    int height;  // character cell height, h
    int narrow;  // width of a single-byte character
    int wide;    // width of a double-byte character
};

// Metrics of a font; a null or unknown handle gives SYSTEM_FONT's.
FontMetrics MetricsOf(HFONT font);
// Width of GBK text in a font; a double-byte character counts once.
int TextWidth(HFONT font, const char* text, size_t length);
// A GBK lead byte: the first of a double-byte character.
inline bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// The screen's size in pixels (DESK_SCREEN=WxH, else 1920 x 1080): the
// display's, which the window manager places windows on.
SIZE ScreenSize();

// The display's pixels per inch (DESK_DPI=N, 96 to 480, else 96): what a
// display scale of 100 % to 500 % gives. The desk has one display, so every
// window has this DPI.
int ScreenDpi();

// Device contexts are records of one window's drawing state.
HDC NewDC(HWND hwnd);
void FreeDC(HDC dc);

// Icons and cursors made from resource bits, and stock ones.
HICON NewIcon(bool icon, bool stock);
bool FreeIcon(HICON icon);

// Fonts, brushes and pens made and not yet deleted (stock objects are not
// counted): tests use it to catch leaks.
size_t LiveGdiObjects();

}  // namespace desk
