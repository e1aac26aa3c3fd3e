// Moving the keyboard focus among the units of a loaded window. The order
// is the focus order of the units, ties broken by their place in the unit
// table (which is also their Z order); a unit takes part while its control
// is visible, enabled and of a kind that can hold the focus.
#pragma once

#include "platform/win32.h"

struct UnitObject;
struct WindowTemplate;

// The unit that gets the focus when the window is activated afresh: the
// first of the order, or null.
UnitObject* FirstFocusUnit(WindowTemplate& window);

// Moves the focus from `from` (a control of the window, or null) to the
// next or previous unit with a tab stop, wrapping around. Edit boxes reached
// this way have their content selected. False when no unit can take it.
bool MoveFocusByTab(WindowTemplate& window, HWND from, bool backward);

// Gives the focus back to the control that had it when the window went
// inactive, else to the first unit of the order, else to the window.
void RestoreWindowFocus(UnitObject* window, HWND remembered);
