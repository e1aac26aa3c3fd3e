// Raising events: the runtime's side (RaiseEvent, request 2008) finds the
// bound routine through the window table and calls it; the units' side
// fills an event record and hands it over through the notification
// function, as a separately shipped unit kind would.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "forms/event_record.h"

struct UnitObject;

// 1 when a routine was called, 0 when events are suppressed or nothing is
// bound. A window id or unit that is not in the window table, or a unit kind
// that raises no events, is a runtime error.
int32_t RaiseEvent(EventRecord* record);

// What came of an event a unit raised.
struct EventOutcome {
    bool called;         // a routine ran
    bool resultPresent;  // it returned a value ...
    uint32_t result;     // ... this one
};

// The unit that last heard of getting the focus (event -7 raised while
// events flowed), and how many such events there were: a window shown at
// load tells its focused unit once, not again if the showing already did.
struct FocusEventNote {
    uint32_t count;
    uint32_t windowId;
    uint32_t unitId;
};
const FocusEventNote& LastFocusEvent();

EventOutcome RaiseUnitEvent(const UnitObject* object, int32_t eventIndex,
                            std::initializer_list<uint32_t> args = {});
