// The calling convention of program routines bound to events: the routine
// gets the event's argument words and answers whether it returned a value,
// which it then has written to *result.
#pragma once

#include <cstdint>

using EventHandler = bool (*)(const uint32_t* args, int32_t count, uint32_t* result);
