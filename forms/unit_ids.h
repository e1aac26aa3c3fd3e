// Window ids and unit ids: the kind in the top byte, a serial number in the
// low 24 bits. The unit types of the four unit kinds are DT_WINDOW, DT_EDIT_BOX,
// DT_LABEL and DT_BUTTON (runtime/value.h).
#pragma once

#include <cstdint>

#include "runtime/value.h"

// Kinds (id >> 24).
constexpr uint32_t kIdKindWindow = 0x52;      // a window of the program
constexpr uint32_t kIdKindWindowUnit = 0x06;  // the window as unit 0 of its own table
constexpr uint32_t kIdKindControl = 0x16;     // a control on a window
constexpr uint32_t kIdKindMenuItem = 0x26;    // an item of the window's menu

inline uint32_t IdKind(uint32_t id) {
    return id >> 24;
}

// Both the serial number and the second nibble must be non-zero; anything
// else (0 above all) names no window or unit.
inline bool IsValidId(uint32_t id) {
    return (id & 0x00FFFFFF) != 0 && ((id >> 24) & 0xF) != 0;
}

// Menu item records have a layout of their own.
inline bool IsMenuItemId(uint32_t id) {
    return ((id >> 24) & 0xF) == 6 && (id >> 28) == 2;
}

// A unit type: 1-based library number high, 1-based data type number low.
inline uint32_t UnitTypeLibrary(uint32_t unitType) {
    return unitType >> 16;
}
inline uint32_t UnitTypeNumber(uint32_t unitType) {
    return unitType & 0xFFFF;
}
