// What drawing into a window's DC leaves behind. The desk draws no pixels,
// so tests and front ends look here to see which colours and text a control
// used. The records live in the window manager's window records; gdi32 sits
// below the window manager and cannot look windows up itself, so user32
// hands it the way to find a window's record when it starts.
#pragma once

#include <string>

#include "platform/win32.h"

namespace desk {

struct PaintRecord {
    int count;           // number of completed paints
    HBRUSH background;   // brush of the last FillRect
    COLORREF textColor;  // DC text colour when text was last drawn
    COLORREF bkColor;    // DC background colour then
    int bkMode;          // TRANSPARENT or OPAQUE then
    HFONT font;          // font selected then
    std::string text;    // the last text drawn (GBK)
};

// The record of a live window, or null (a destroyed window, the screen).
using PaintRecordFinder = PaintRecord* (*)(HWND hwnd);

// Until a finder is set, drawing is recorded nowhere, as on the screen.
void SetPaintRecordFinder(PaintRecordFinder finder);

}  // namespace desk
