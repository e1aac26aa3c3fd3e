// How the runtime calls a program routine bound to an event. The template
// stores the routine's code address (relocated by the reader); the runtime
// calls it with the event's argument words and learns whether it returned
// a value. Program routines of any other shape are bound through small
// adapters of this type.
#pragma once

#include <cstdint>

#include "runtime/abi.h"

// args: the event's argument words, first argument first (count 0 to 5).
// Answers true when the routine returned a value, which it writes to *result.
using EventHandler = bool (*)(const uint32_t* args, int32_t count, uint32_t* result);

// A routine's code address as a template's event binding holds it once the
// reader has relocated it; a program image whose header has code base 0
// stores exactly this as the handler offset.
inline Word HandlerAddress(EventHandler handler) {
    return static_cast<Word>(reinterpret_cast<uintptr_t>(handler));
}
