// A loaded window moved to a display with another scale (WM_DPICHANGED):
// the window takes the rectangle the system suggests, and every control
// its position, size and font at the new scale.
#pragma once

#include "forms/unit_object.h"

void RescaleWindow(UnitObject* window, int dpi, const RECT& suggested);
