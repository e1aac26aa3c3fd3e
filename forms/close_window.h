// The *close window* command of the core library: closes a loaded window
// (queued or at once, without asking it through event 1) or destroys one of
// its controls.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// Arguments: a unit reference (low word the window id, high word the unit
// id; unit 0's id for the window itself) and an optional logical: close at
// once. A window that is not loaded is a runtime error.
void CmdCloseWindow(ArgValue* result, int32_t count, ArgValue* args);
