// The hidden runtime window: an invisible tool window that owns the windows
// kept out of the task bar and takes end requests from other threads.
#pragma once

#include "platform/win32.h"

// Creates the window and records it in the runtime state; false on failure.
bool CreateHiddenRuntimeWindow(HINSTANCE instance);
