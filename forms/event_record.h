// The event record a unit fills and hands to the runtime (request 2008),
// and the event numbers of the four unit kinds.
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

// Events of a `window`.
enum WindowEvent : int32_t {
    kWindowCreated = 0,
    kWindowCloseQuery = 1,
    kWindowDestroyed = 2,
    kWindowMoved = 3,
    kWindowSized = 4,
    kWindowActivated = 5,
    kWindowDeactivated = 6,
    kWindowIdle = 7,
    kWindowFirstActivation = 8,
    kWindowTrayIcon = 9,
    kWindowShown = 10,
    kWindowHidden = 11,
};

// Event 0 of the other kinds: a button's click, an edit box's change, a
// label's private request.
constexpr int32_t kEventClick = 0;
constexpr int32_t kEventChange = 0;
constexpr int32_t kEventLabelRequest = 0;
