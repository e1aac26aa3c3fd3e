// The border styles that labels and edit boxes share: 1 sunken, 2 raised
// frame, 3 thin sunken, 4 both, 5 a plain border as WS_BORDER.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Adds the styles of a border style to *style and *exStyle.
void BorderStyles(int32_t borderStyle, DWORD* style, DWORD* exStyle);

// Changes a live control's frame to a border style and has it redrawn.
void ApplyBorderStyle(HWND hwnd, int32_t borderStyle);
