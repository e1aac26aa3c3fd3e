// The two property services of the service table (slots 4 and 5): program
// code reads and changes a unit's properties by window id, unit id and
// property index. Properties 0 to 7 are kept in the unit record and work
// whether or not the window is loaded; 8 and up belong to the unit kind and
// need the live control.
#pragma once

#include <cstdint>

// One or two words (floating-point and date-time values fill both). Texts,
// byte sets and font records are new blocks owned by the caller.
uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex);
// For texts and byte sets `low` is the address of the value (null: empty).
void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex,
                   uint32_t low, uint32_t high);

// The limits of stored positions and sizes.
constexpr int32_t kPositionLimit = 32627;
