// Loading window templates into live windows, and the program's account of
// which of its windows are alive.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct WindowTemplate;

// Creates the window of a template: 1 on success, 0 on failure.
int32_t LoadWindow(WindowTemplate* window, int32_t secondInstance, int32_t modal, HWND parent);
// Whether any window template's unit 0 holds a live platform window.
bool AnyWindowLoaded();
// Raises event 7 (idle) of every loaded window that has not declined in this
// idle phase; true while at least one handler asked for more.
bool RaiseIdleEvents(uint32_t elapsedMs);
