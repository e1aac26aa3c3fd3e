// How the runtime calls a program routine bound to an event. The template
// stores the routine's code address (relocated by the reader); the runtime
// calls it with the event's argument words and learns whether it returned
// a value. Program routines of any other shape are bound through small
// adapters of this type.
#pragma once

#include <cstdint>

// args: the event's argument words, first argument first (count 0 to 5).
// Answers true when the routine returned a value, which it writes to *result.
using EventHandler = bool (*)(const uint32_t* args, int32_t count, uint32_t* result);
