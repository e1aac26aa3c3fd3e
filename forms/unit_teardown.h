// The end of a unit's live object, on its platform window's last message
// (WM_NCDESTROY). The same for every kind: what differs (the fonts,
// brushes and icons each kind owns) goes with the object's destructor.
#pragma once

#include "forms/unit_object.h"

// The object leaves its window first, so no message reaches it any more;
// the runtime hears that the unit is gone (it clears the unit record's
// slots); the procedure under the runtime's own sees the message; then the
// object is deleted. Answers what that procedure answered.
LRESULT EndUnitObject(UnitObject* object, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
