// The runtime notification requests the form runtime answers: units tell
// the runtime that they are gone, commands look up loaded windows, and
// units raise their events.
#pragma once

#include <cstdint>

enum FormRequest : int32_t {
    // first: the unit object of a window or control whose platform window
    // has received its final message.
    kRequestUnitGone = 2000,
    // first: a window id; answers the live window object of its unit 0, or 0.
    kRequestFindLoadedWindow = 2007,
    // first: the address of an event record; answers 1 when a routine ran.
    kRequestRaiseEvent = 2008,
};

// Installed with SetFormRequestHandler at start.
int32_t HandleFormRequest(int32_t request, uint32_t first, uint32_t second, bool* handled);
