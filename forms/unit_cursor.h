// Loading the mouse cursor a unit's cursor byte set names, and giving it
// back. Standard cursors are shared and never destroyed; cursors made from
// a file image belong to the unit.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Null for an empty set, code 0, or a code that names no cursor.
HCURSOR LoadUnitCursor(const uint8_t* set, uint32_t length);
void ReleaseUnitCursor(HCURSOR cursor);
