// Processing pending events: dispatch what is already queued, up to the quit
// message, without waiting for more.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "runtime/value.h"

void ProcessPendingEvents();

// The *process events* command of the core library (no arguments, no result).
void CmdProcessEvents(ArgValue* result, int32_t count, ArgValue* args);

// Takes a removed message through key pre-translation and dispatch, as the
// message loop does.
void DispatchOneMessage(MSG* msg);
