// A window template as the window table holds it: the words and texts kept
// from the segment, and the window's unit table exactly as stored (ids,
// offsets, records) with its handlers relocated. Units are found by index or
// by id; a stored value that changes length is replaced in place, keeping the
// record's length word and every later offset of the table right.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/unit_record.h"
#include "runtime/abi.h"

struct WindowTemplate {
    uint32_t windowId;
    Word keptWords[2];           // stored and written back, not interpreted
    std::string keptTexts[2];    // likewise (two counted texts)
    uint32_t unitCount;          // units in the table, the window itself included
    std::vector<uint8_t> units;  // the unit table: ids, offsets, records
};

// Checks a unit table's ids, offsets and every record's layout. A table
// accepted here gives views that stay inside their records.
bool CheckUnitTable(const uint8_t* table, uint32_t length, uint32_t unitCount);

uint32_t TemplateUnitId(const WindowTemplate& window, uint32_t index);
// The unit at an index of the table; false past its end.
bool GetUnit(WindowTemplate& window, uint32_t index, UnitView* unit);
// The index of a unit id, compared with unit 0's id first; -1 for an invalid
// id or one the window does not hold.
int32_t FindUnitIndex(const WindowTemplate& window, uint32_t unitId);
bool FindUnit(WindowTemplate& window, uint32_t unitId, UnitView* unit);

// Replaces `oldLength` bytes at `at` (counted from the record's first field)
// of unit `index` by `newLength` bytes. The record's length word and the
// offsets of the records stored behind it move by the difference, so every
// unit stays reachable. Views taken before the call are stale afterwards.
bool ReplaceUnitBytes(WindowTemplate* window, uint32_t index, uint32_t at, uint32_t oldLength,
                      const void* bytes, uint32_t newLength);
// The stored values that change length.
bool SetUnitTag(WindowTemplate* window, uint32_t index, const char* tag);
bool SetUnitCursorSet(WindowTemplate* window, uint32_t index, const uint8_t* bytes,
                      uint32_t length);
bool SetUnitPropertyBlock(WindowTemplate* window, uint32_t index, const uint8_t* block,
                          uint32_t length);
bool SetMenuItemCaption(WindowTemplate* window, uint32_t index, const char* caption);

// Takes unit `index` (not unit 0) out of the table: its id, its offset and
// its record; the units behind it move up by one index.
bool RemoveUnit(WindowTemplate* window, uint32_t index);
// Takes entry `position` out of a container unit's child list.
bool RemoveUnitChild(WindowTemplate* window, uint32_t index, uint32_t position);
