// Walking unit records and reading or changing their fixed-size fields.
// Every view comes from a record that ParseUnitRecord (or
// ParseMenuItemRecord) accepted, so the places it holds lie inside the record.
#include "forms/unit_record.h"

#include "forms/byte_reader.h"

bool ParseUnitRecord(const uint8_t* record, uint32_t length, UnitRecordLayout* layout) {
    ByteReader r(record, length);
    r.Take(kRecordName);
    r.SkipZText();
    layout->remark = r.Position();
    r.SkipZText();
    layout->objectSlot = r.Position();
    r.Take(kSlotChildCount);
    Word children = r.ReadWord();
    // Compared before multiplying, so that a wild count cannot wrap around.
    if (children > r.Remaining() / 4) return false;
    r.Take(children * 4);
    layout->cursorSet = r.Position();
    r.SkipCounted();
    layout->tag = r.Position();
    r.SkipZText();
    r.Take(4);
    layout->flags = r.Position();
    r.Take(kFlagsEventCount);
    Word events = r.ReadWord();
    if (events > r.Remaining() / 8) return false;
    r.Take(events * 8);
    r.Take(kReservedAfterEvents);
    layout->propertyBlock = r.Position();
    return r.Ok();
}

bool ParseMenuItemRecord(const uint8_t* record, uint32_t length, MenuItemLayout* layout) {
    ByteReader r(record, length);
    r.Take(kRecordName);
    r.SkipZText();
    layout->remark = r.Position();
    r.SkipZText();
    r.Take(8);
    layout->menuFlags = r.Position();
    r.Take(4);
    layout->caption = r.Position();
    r.SkipZText();
    layout->handler = r.Position();
    r.Take(4);
    return r.Ok();
}

namespace {

Word Relocated(Word offset, Word codeBase) {
    return offset == kNoHandler ? 0 : offset + codeBase;
}

uint8_t* SlotWord(const UnitView& unit, uint32_t which) {
    return unit.record + unit.layout.objectSlot + which;
}

uint8_t* FlagsWord(const UnitView& unit, uint32_t which) {
    return unit.record + unit.layout.flags + which;
}

uint8_t* Binding(const UnitView& unit, uint32_t i) {
    return FlagsWord(unit, kFlagsEvents) + 8 * i;
}

const char* TextAt(const UnitView& unit, uint32_t at) {
    return reinterpret_cast<const char*>(unit.record + at);
}

}  // namespace

void RelocateHandlers(const UnitView& unit, Word codeBase) {
    if (unit.menuItem) {
        uint8_t* at = unit.record + unit.menu.handler;
        StoreWord(at, Relocated(LoadWord(at), codeBase));
        return;
    }
    for (uint32_t i = 0, n = UnitEventCount(unit); i < n; ++i) {
        uint8_t* at = Binding(unit, i) + 4;
        StoreWord(at, Relocated(LoadWord(at), codeBase));
    }
}

Word UnitType(const UnitView& unit) {
    return LoadWord(unit.record + kRecordUnitType);
}
uint32_t UnitEventSource(const UnitView& unit) {
    return LoadWord(unit.record + kRecordEventSource);
}
const char* UnitName(const UnitView& unit) {
    return TextAt(unit, kRecordName);
}

const char* UnitRemark(const UnitView& unit) {
    return TextAt(unit, unit.menuItem ? unit.menu.remark : unit.layout.remark);
}

Word UnitObjectSlot(const UnitView& unit) {
    return LoadWord(SlotWord(unit, 0));
}
void SetUnitObjectSlot(const UnitView& unit, Word object) {
    StoreWord(SlotWord(unit, 0), object);
}
int32_t UnitLeft(const UnitView& unit) {
    return static_cast<int32_t>(LoadWord(SlotWord(unit, kSlotLeft)));
}
int32_t UnitTop(const UnitView& unit) {
    return static_cast<int32_t>(LoadWord(SlotWord(unit, kSlotTop)));
}
int32_t UnitWidth(const UnitView& unit) {
    return static_cast<int32_t>(LoadWord(SlotWord(unit, kSlotWidth)));
}
int32_t UnitHeight(const UnitView& unit) {
    return static_cast<int32_t>(LoadWord(SlotWord(unit, kSlotHeight)));
}

void SetUnitRect(const UnitView& unit, int32_t left, int32_t top, int32_t width, int32_t height) {
    StoreWord(SlotWord(unit, kSlotLeft), static_cast<Word>(left));
    StoreWord(SlotWord(unit, kSlotTop), static_cast<Word>(top));
    StoreWord(SlotWord(unit, kSlotWidth), static_cast<Word>(width));
    StoreWord(SlotWord(unit, kSlotHeight), static_cast<Word>(height));
}

Word UnitCursorSlot(const UnitView& unit) {
    return LoadWord(SlotWord(unit, kSlotCursor));
}
void SetUnitCursorSlot(const UnitView& unit, Word cursor) {
    StoreWord(SlotWord(unit, kSlotCursor), cursor);
}
uint32_t UnitParent(const UnitView& unit) {
    return LoadWord(SlotWord(unit, kSlotParent));
}
uint32_t UnitChildCount(const UnitView& unit) {
    return LoadWord(SlotWord(unit, kSlotChildCount));
}

uint32_t UnitChild(const UnitView& unit, uint32_t i) {
    return i < UnitChildCount(unit) ? LoadWord(SlotWord(unit, kSlotChildren) + 4 * i) : 0;
}

const uint8_t* UnitCursorSet(const UnitView& unit, uint32_t* length) {
    *length = LoadWord(unit.record + unit.layout.cursorSet);
    return unit.record + unit.layout.cursorSet + 4;
}

const char* UnitTag(const UnitView& unit) {
    return TextAt(unit, unit.layout.tag);
}
Word UnitFlags(const UnitView& unit) {
    return LoadWord(FlagsWord(unit, 0));
}
void SetUnitFlags(const UnitView& unit, Word flags) {
    StoreWord(FlagsWord(unit, 0), flags);
}
Word UnitFocusOrder(const UnitView& unit) {
    return LoadWord(FlagsWord(unit, kFlagsFocusOrder));
}
uint32_t UnitEventCount(const UnitView& unit) {
    return LoadWord(FlagsWord(unit, kFlagsEventCount));
}

int32_t UnitEventIndex(const UnitView& unit, uint32_t i) {
    return i < UnitEventCount(unit) ? static_cast<int32_t>(LoadWord(Binding(unit, i))) : 0;
}

Word UnitEventHandler(const UnitView& unit, uint32_t i) {
    return i < UnitEventCount(unit) ? LoadWord(Binding(unit, i) + 4) : 0;
}

const uint8_t* UnitPropertyBlock(const UnitView& unit, uint32_t* length) {
    *length = unit.length - unit.layout.propertyBlock;
    return unit.record + unit.layout.propertyBlock;
}

Word FindEventHandler(const UnitView& unit, int32_t eventIndex) {
    if (unit.menuItem) return LoadWord(unit.record + unit.menu.handler);
    for (uint32_t i = 0, n = UnitEventCount(unit); i < n; ++i) {
        if (UnitEventIndex(unit, i) == eventIndex) return UnitEventHandler(unit, i);
    }
    return 0;
}

Word MenuItemFlags(const UnitView& item) {
    return LoadWord(item.record + item.menu.menuFlags);
}
void SetMenuItemFlags(const UnitView& item, Word flags) {
    StoreWord(item.record + item.menu.menuFlags, flags);
}
const char* MenuItemCaption(const UnitView& item) {
    return TextAt(item, item.menu.caption);
}
