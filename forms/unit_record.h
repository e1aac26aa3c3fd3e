// One unit record of a window's unit table: the common part every unit has
// (name, place, mouse cursor, tag, flags, event bindings) followed by the
// unit kind's property block, or the shorter record of a menu item. A
// UnitView points into the stored table; it is valid until the table next
// changes length (see window_template.h).
#pragma once

#include <cstdint>

#include "runtime/abi.h"

// Bits of the flags word.
constexpr Word kUnitVisible = 1;
constexpr Word kUnitDisabled = 2;
constexpr Word kUnitTabStop = 4;

// Bits of a menu item's flags word.
constexpr Word kMenuHidden = 1;
constexpr Word kMenuDisabled = 2;
constexpr Word kMenuChecked = 4;

// A stored handler offset that binds no routine; it reads as address 0.
constexpr Word kNoHandler = 0xFFFFFFFF;

// Fixed places, counted from the record's first field (after its length word).
constexpr uint32_t kRecordUnitType = 0;
constexpr uint32_t kRecordEventSource = 4;
constexpr uint32_t kRecordName = 24;  // after four reserved words

// Places of a unit record's variable fields, found by walking its texts and lists.
struct UnitRecordLayout {
    uint32_t remark;         // zero-terminated remark
    uint32_t objectSlot;     // object slot; the words below follow it
    uint32_t cursorSet;      // length word of the mouse cursor byte set
    uint32_t tag;            // zero-terminated tag
    uint32_t flags;          // flags word; focus order, event count, bindings follow
    uint32_t propertyBlock;  // start of the property block; it runs to the record's end
};
// Words after the object slot.
constexpr uint32_t kSlotLeft = 4;
constexpr uint32_t kSlotTop = 8;
constexpr uint32_t kSlotWidth = 12;
constexpr uint32_t kSlotHeight = 16;
constexpr uint32_t kSlotCursor = 20;  // loaded mouse cursor while the window lives
constexpr uint32_t kSlotParent = 24;  // 0 or the container's unit id
constexpr uint32_t kSlotChildCount = 28;
constexpr uint32_t kSlotChildren = 32;  // child ids, pages separated by 0
// Words after the flags word.
constexpr uint32_t kFlagsFocusOrder = 4;
constexpr uint32_t kFlagsEventCount = 8;
constexpr uint32_t kFlagsEvents = 12;  // (event index, handler) pairs
constexpr uint32_t kReservedAfterEvents = 20;

// Places of a menu item record's fields.
struct MenuItemLayout {
    uint32_t remark;     // zero-terminated remark
    uint32_t menuFlags;  // the third of the three words after the remark
    uint32_t caption;    // zero-terminated caption
    uint32_t handler;    // the item's one handler word
};

// A unit of a window template as stored.
struct UnitView {
    uint32_t index;           // place in the unit table (0: the window itself)
    uint32_t id;              // its unit id
    uint8_t* record;          // the record's first field
    uint32_t length;          // the record's byte length
    bool menuItem;            // which of the two layouts holds
    UnitRecordLayout layout;  // when !menuItem
    MenuItemLayout menu;      // when menuItem
};

// Walk a record; false when it ends before its fixed fields do.
bool ParseUnitRecord(const uint8_t* record, uint32_t length, UnitRecordLayout* layout);
bool ParseMenuItemRecord(const uint8_t* record, uint32_t length, MenuItemLayout* layout);

// Replaces every handler offset of the unit by its routine's address
// (offset + code base), the no-handler value by 0. Done once, at reading.
void RelocateHandlers(const UnitView& unit, Word codeBase);

// ---- the common part ----------------------------------------------------
Word UnitType(const UnitView& unit);
uint32_t UnitEventSource(const UnitView& unit);
const char* UnitName(const UnitView& unit);
const char* UnitRemark(const UnitView& unit);
Word UnitObjectSlot(const UnitView& unit);
void SetUnitObjectSlot(const UnitView& unit, Word object);
int32_t UnitLeft(const UnitView& unit);
int32_t UnitTop(const UnitView& unit);
int32_t UnitWidth(const UnitView& unit);
int32_t UnitHeight(const UnitView& unit);
void SetUnitRect(const UnitView& unit, int32_t left, int32_t top, int32_t width, int32_t height);
Word UnitCursorSlot(const UnitView& unit);
void SetUnitCursorSlot(const UnitView& unit, Word cursor);
uint32_t UnitParent(const UnitView& unit);
uint32_t UnitChildCount(const UnitView& unit);
uint32_t UnitChild(const UnitView& unit, uint32_t i);
const uint8_t* UnitCursorSet(const UnitView& unit, uint32_t* length);
const char* UnitTag(const UnitView& unit);
Word UnitFlags(const UnitView& unit);
void SetUnitFlags(const UnitView& unit, Word flags);
Word UnitFocusOrder(const UnitView& unit);
uint32_t UnitEventCount(const UnitView& unit);
int32_t UnitEventIndex(const UnitView& unit, uint32_t i);
Word UnitEventHandler(const UnitView& unit, uint32_t i);
const uint8_t* UnitPropertyBlock(const UnitView& unit, uint32_t* length);

// The routine bound to an event: the first binding with that index (a menu
// item has its one handler for every event). 0 when none is bound.
Word FindEventHandler(const UnitView& unit, int32_t eventIndex);

// ---- menu items ---------------------------------------------------------
Word MenuItemFlags(const UnitView& item);
void SetMenuItemFlags(const UnitView& item, Word flags);
const char* MenuItemCaption(const UnitView& item);
