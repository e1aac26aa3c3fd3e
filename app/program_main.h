// The drop editor's entry routine.
#pragma once

#include <cstdint>

// Initialises the runtime, loads the main window and runs the message loop;
// returns 0 when the last window is gone.
int32_t ProgramMain();
