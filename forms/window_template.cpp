// Finding units in a window template's unit table, and changing stored
// values in place. Layout of the table: U ids, U offsets (each counted from
// the end of the offset array to the record's length word), then the records,
// each a length word followed by the record.
#include "forms/window_template.h"

#include <cstring>

#include "forms/byte_reader.h"
#include "forms/byte_writer.h"
#include "forms/unit_ids.h"

namespace {

// Where unit `index`'s length word lies, counted from the table's start, and
// the record's length; false when either would reach past the table.
bool LocateRecord(const uint8_t* table, uint32_t length, uint32_t unitCount, uint32_t index,
                  uint32_t* place, uint32_t* recordLength) {
    if (unitCount > length / 8 || index >= unitCount) return false;
    uint32_t recordsStart = 8 * unitCount;
    Word offset = LoadWord(table + 4 * (unitCount + index));
    if (offset > length - recordsStart || length - recordsStart - offset < 4) return false;
    *place = recordsStart + offset;
    *recordLength = LoadWord(table + *place);
    return *recordLength <= length - *place - 4;
}

bool ParseUnit(uint8_t* record, uint32_t length, uint32_t id, UnitView* unit) {
    unit->id = id;
    unit->record = record;
    unit->length = length;
    unit->menuItem = IsMenuItemId(id);
    return unit->menuItem ? ParseMenuItemRecord(record, length, &unit->menu)
                          : ParseUnitRecord(record, length, &unit->layout);
}

}  // namespace

bool CheckUnitTable(const uint8_t* table, uint32_t length, uint32_t unitCount) {
    if (unitCount > length / 8) return false;
    for (uint32_t i = 0; i < unitCount; ++i) {
        uint32_t place = 0, recordLength = 0;
        if (!LocateRecord(table, length, unitCount, i, &place, &recordLength)) return false;
        UnitView unit;
        // The layout parsers only read; the cast lets them share UnitView.
        if (!ParseUnit(const_cast<uint8_t*>(table) + place + 4, recordLength,
                       LoadWord(table + 4 * i), &unit)) {
            return false;
        }
    }
    return true;
}

uint32_t TemplateUnitId(const WindowTemplate& window, uint32_t index) {
    return index < window.unitCount && 4 * index + 4 <= window.units.size()
               ? LoadWord(window.units.data() + 4 * index)
               : 0;
}

bool GetUnit(WindowTemplate& window, uint32_t index, UnitView* unit) {
    // Checked again on every lookup: a table changed in place stays sound
    // only as long as its records do not overlap, which nothing enforces.
    uint32_t place = 0, recordLength = 0;
    uint8_t* table = window.units.data();
    if (!LocateRecord(table, static_cast<uint32_t>(window.units.size()), window.unitCount, index,
                      &place, &recordLength)) {
        return false;
    }
    unit->index = index;
    return ParseUnit(table + place + 4, recordLength, TemplateUnitId(window, index), unit);
}

int32_t FindUnitIndex(const WindowTemplate& window, uint32_t unitId) {
    if (!IsValidId(unitId) || window.unitCount == 0) return -1;
    if (TemplateUnitId(window, 0) == unitId) return 0;
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        if (TemplateUnitId(window, i) == unitId) return static_cast<int32_t>(i);
    }
    return -1;
}

bool FindUnit(WindowTemplate& window, uint32_t unitId, UnitView* unit) {
    int32_t index = FindUnitIndex(window, unitId);
    return index >= 0 && GetUnit(window, static_cast<uint32_t>(index), unit);
}

bool ReplaceUnitBytes(WindowTemplate* window, uint32_t index, uint32_t at, uint32_t oldLength,
                      const void* bytes, uint32_t newLength) {
    UnitView unit;
    if (!GetUnit(*window, index, &unit)) return false;
    if (at > unit.length || oldLength > unit.length - at) return false;
    if (newLength > oldLength && newLength - oldLength > 0x7FFFFFFFu - window->units.size())
        return false;

    // The new bytes may come from the table itself: copy them before it moves.
    const uint8_t* source = static_cast<const uint8_t*>(bytes);
    std::vector<uint8_t> replacement(source, source + newLength);

    uint32_t count = window->unitCount;
    uint32_t place = static_cast<uint32_t>(unit.record - window->units.data()) - 4;
    Word ownOffset = place - 8 * count;
    std::vector<uint8_t>& table = window->units;
    auto first = table.begin() + place + 4 + at;
    first = table.erase(first, first + oldLength);
    table.insert(first, replacement.begin(), replacement.end());

    uint8_t* data = table.data();
    StoreWord(data + place, unit.length - oldLength + newLength);
    Word difference = newLength - oldLength;  // modulo 2^32: adding it moves either way
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* offset = data + 4 * (count + i);
        if (LoadWord(offset) > ownOffset) StoreWord(offset, LoadWord(offset) + difference);
    }
    return true;
}

namespace {

uint32_t ZTextSize(const uint8_t* at) {
    return static_cast<uint32_t>(std::strlen(reinterpret_cast<const char*>(at))) + 1;
}

bool ReplaceZText(WindowTemplate* window, uint32_t index, uint32_t at, const uint8_t* old,
                  const char* text) {
    if (text == nullptr) text = "";
    return ReplaceUnitBytes(window, index, at, ZTextSize(old), text,
                            ZTextSize(reinterpret_cast<const uint8_t*>(text)));
}

}  // namespace

bool SetUnitTag(WindowTemplate* window, uint32_t index, const char* tag) {
    UnitView unit;
    if (!GetUnit(*window, index, &unit) || unit.menuItem) return false;
    return ReplaceZText(window, index, unit.layout.tag, unit.record + unit.layout.tag, tag);
}

bool SetUnitCursorSet(WindowTemplate* window, uint32_t index, const uint8_t* bytes,
                      uint32_t length) {
    UnitView unit;
    if (!GetUnit(*window, index, &unit) || unit.menuItem) return false;
    uint32_t oldLength = 0;
    UnitCursorSet(unit, &oldLength);
    ByteWriter set;
    set.Counted(bytes, length);
    return ReplaceUnitBytes(window, index, unit.layout.cursorSet, 4 + oldLength, set.Data().data(),
                            set.Size());
}

bool SetUnitPropertyBlock(WindowTemplate* window, uint32_t index, const uint8_t* block,
                          uint32_t length) {
    UnitView unit;
    if (!GetUnit(*window, index, &unit) || unit.menuItem) return false;
    uint32_t oldLength = 0;
    UnitPropertyBlock(unit, &oldLength);
    return ReplaceUnitBytes(window, index, unit.layout.propertyBlock, oldLength, block, length);
}

bool SetMenuItemCaption(WindowTemplate* window, uint32_t index, const char* caption) {
    UnitView item;
    if (!GetUnit(*window, index, &item) || !item.menuItem) return false;
    return ReplaceZText(window, index, item.menu.caption, item.record + item.menu.caption, caption);
}

bool RemoveUnit(WindowTemplate* window, uint32_t index) {
    if (index == 0 || index >= window->unitCount) return false;
    std::vector<uint32_t> ids;
    std::vector<std::vector<uint8_t>> records;
    for (uint32_t i = 0; i < window->unitCount; ++i) {
        if (i == index) continue;
        UnitView unit;
        if (!GetUnit(*window, i, &unit)) return false;
        ids.push_back(unit.id);
        records.emplace_back(unit.record, unit.record + unit.length);
    }
    ByteWriter w;
    for (uint32_t id : ids) w.Word32(id);
    Word offset = 0;
    for (const auto& record : records) {
        w.Word32(offset);
        offset += 4 + static_cast<Word>(record.size());
    }
    for (const auto& record : records)
        w.Counted(record.data(), static_cast<uint32_t>(record.size()));
    window->units = w.Take();
    window->unitCount -= 1;
    return true;
}

bool RemoveUnitChild(WindowTemplate* window, uint32_t index, uint32_t position) {
    UnitView unit;
    if (!GetUnit(*window, index, &unit) || unit.menuItem || position >= UnitChildCount(unit))
        return false;
    // The count and the list change together, so the record is rebuilt
    // whole and replaced in one step.
    std::vector<uint8_t> record(unit.record, unit.record + unit.length);
    StoreWord(record.data() + unit.layout.objectSlot + kSlotChildCount, UnitChildCount(unit) - 1);
    auto at = record.begin() + unit.layout.objectSlot + kSlotChildren + 4 * position;
    record.erase(at, at + 4);
    return ReplaceUnitBytes(window, index, 0, unit.length, record.data(),
                            static_cast<uint32_t>(record.size()));
}
