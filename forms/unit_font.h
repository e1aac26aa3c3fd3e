// A unit's font: made from the font its property block describes, owned by
// the unit's object, and handed to its control. Every unit kind makes its
// font here and nowhere else.
#pragma once

#include "forms/font_set.h"
#include "platform/win32.h"

// Makes the described font at the display scale `dpi` (none when the
// description is absent: the default GUI font), tells the control with
// WM_SETFONT, then releases the font *owned held before, so the control
// never holds a released font.
void ApplyFont(HWND control, const FontSet& font, int dpi, HFONT* owned);

// What to draw with: the owned font, or the default GUI font without one.
HGDIOBJ FontOrDefault(HFONT owned);
