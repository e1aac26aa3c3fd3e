// The event record a unit fills and hands to the runtime (request 2008),
// and the events every focusable unit has. Each kind's own events are
// named in its numbers header (forms/window_numbers.h, ...).
#pragma once

#include <cstdint>

constexpr uint32_t kMaxEventArgs = 5;

struct EventRecord {
    uint32_t windowId;             // the window of the unit
    uint32_t unitId;               // the unit; unit 0's id (or 0) for the window itself
    int32_t eventIndex;            // 0 and up: the kind's own events; negative: common ones
    uint32_t argCount;             // 0 to kMaxEventArgs
    uint32_t args[kMaxEventArgs];  // the arguments, in order
    uint32_t resultPresent;        // set to 1 by the runtime when the handler returned a value
    uint32_t result;               // the handler's value
};
static_assert(sizeof(EventRecord) == 44, "eleven words");

// Events every focusable unit has.
constexpr int32_t kEventGotFocus = -7;
constexpr int32_t kEventLostFocus = -8;
