// The border styles that labels and edit boxes share.
#pragma once

#include <cstdint>

#include "platform/win32.h"

enum BorderStyle : int32_t {
    kBorderNone = 0,
    kBorderSunken = 1,      // WS_EX_CLIENTEDGE
    kBorderRaised = 2,      // WS_EX_DLGMODALFRAME
    kBorderThinSunken = 3,  // WS_EX_STATICEDGE
    kBorderBoth = 4,        // sunken inside a raised frame
    kBorderPlain = 5,       // a one-pixel line (WS_BORDER)
};

// Adds the styles of a border style to *style and *exStyle.
void BorderStyles(int32_t borderStyle, DWORD* style, DWORD* exStyle);

// Changes a live control's frame to a border style and has it redrawn.
void ApplyBorderStyle(HWND hwnd, int32_t borderStyle);
