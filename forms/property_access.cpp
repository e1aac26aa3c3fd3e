// Property access. Every write goes to the unit record first (for own
// properties through the kind's store operation, after the live control
// took the change), so the record always says what the unit is; the record
// returns to its loaded-time state when the window goes. A kind that cannot
// apply a change to its live control asks for re-creation: the control is
// then made again from the updated record at its place, with events held.
#include "forms/property_access.h"

#include <string>
#include <vector>

#include "forms/display_scale.h"
#include "forms/font_property.h"
#include "forms/loaded_window.h"
#include "forms/mouse_cursor.h"
#include "forms/private_messages.h"
#include "forms/property_kinds.h"
#include "forms/unit_cursor.h"
#include "forms/unit_kind.h"
#include "forms/window_loader.h"
#include "forms/window_menu.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/memory.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/value.h"

namespace {

const char kNoWindow[] = "未载入欲访问窗口组件所在的窗口";
const char kNotLoaded[] = "指定窗口尚未载入";

WindowTemplate& WindowOrError(uint32_t windowId) {
    WindowTemplate* window = FindWindowTemplate(windowId);
    if (window == nullptr) ReportRuntimeError(kNoWindow);
    return *window;
}

int32_t UnitIndex(const WindowTemplate& window, uint32_t unitId) {
    return unitId == 0 ? 0 : FindUnitIndex(window, unitId);
}

// The live object of a unit, when its platform window exists.
UnitObject* LiveObject(WindowTemplate& window, uint32_t index) {
    UnitObject* object = LiveUnitObject(window, index);
    return object != nullptr && IsWindow(object->hwnd) ? object : nullptr;
}

const PropertyDescriptor* Descriptor(const DataTypeDescriptor* kind, int32_t property) {
    if (kind == nullptr || kind->properties == nullptr || property < 0 ||
        static_cast<uint32_t>(property) >= kind->propertyCount) {
        return nullptr;
    }
    return &kind->properties[property];
}

std::vector<uint8_t> ByteSetBytes(Word block) {
    const void* set = FromWord<const void>(block);
    int32_t length = ByteSetLength(set);
    if (length <= 0) return {};
    const uint8_t* data = ByteSetData(set);
    return std::vector<uint8_t>(data, data + length);
}

Word NewByteSet(const std::vector<uint8_t>& bytes) {
    return ToWord(MakeByteSetBlock(bytes.data(), static_cast<uint32_t>(bytes.size())));
}

// Live position: a control in its parent's client co-ordinates, a top-level
// or pop-up window on the screen.
RECT LiveRect(HWND hwnd) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

int32_t ClampPosition(int32_t value) {
    return value < -kPositionLimit  ? -kPositionLimit
           : value > kPositionLimit ? kPositionLimit
                                    : value;
}
int32_t ClampSize(int32_t value) {
    return value < 0 ? 0 : value > kPositionLimit ? kPositionLimit : value;
}

// ---- menu items -------------------------------------------------------------

uint64_t ReadMenuItem(const UnitView& item, int32_t property) {
    Word flags = MenuItemFlags(item);
    switch (property) {
        case 0:
            return ToWord(CopyText(MenuItemCaption(item)));
        case 1:
            return (flags & kMenuChecked) ? 1 : 0;
        case 2:
            return (flags & kMenuDisabled) ? 1 : 0;
        case 3:
            return (flags & kMenuHidden) ? 0 : 1;
        default:
            return 0;
    }
}

void WriteMenuItem(WindowTemplate& window, uint32_t index, int32_t property, Word low) {
    UnitView item;
    if (!GetUnit(window, index, &item)) return;
    if (property == 0) {
        const char* caption = FromWord<const char>(low);
        if (caption == nullptr) caption = "";
        if (std::string(MenuItemCaption(item)) != caption) {
            SetMenuItemCaption(&window, index, caption);
            RebuildWindowMenu(window);
        }
        return;
    }
    Word bit = property == 1   ? kMenuChecked
               : property == 2 ? kMenuDisabled
               : property == 3 ? kMenuHidden
                               : 0;
    if (bit == 0) return;
    bool set = property == 3 ? low == 0 : low != 0;
    Word flags = MenuItemFlags(item);
    Word changed = set ? (flags | bit) : (flags & ~bit);
    if (changed == flags) return;
    SetMenuItemFlags(item, changed);
    RebuildWindowMenu(window);
}

// ---- the common properties ---------------------------------------------------

uint64_t ReadCommon(WindowTemplate& window, uint32_t index, const UnitView& unit,
                    int32_t property) {
    UnitObject* object = LiveObject(window, index);
    if (property <= kPropHeight && object != nullptr) {
        RECT rect = LiveRect(object->hwnd);
        int32_t values[4] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
        return static_cast<Word>(ToUnits(values[property], object->dpi));
    }
    switch (property) {
        case kPropLeft:
            return static_cast<Word>(UnitLeft(unit));
        case kPropTop:
            return static_cast<Word>(UnitTop(unit));
        case kPropWidth:
            return static_cast<Word>(UnitWidth(unit));
        case kPropHeight:
            return static_cast<Word>(UnitHeight(unit));
        case kPropTag:
            return ToWord(CopyText(UnitTag(unit)));
        case kPropVisible:
            if (object != nullptr)
                return (GetWindowLongA(object->hwnd, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
            return (UnitFlags(unit) & kUnitVisible) ? 1 : 0;
        case kPropDisabled:
            if (object != nullptr) return IsWindowEnabled(object->hwnd) ? 0 : 1;
            return (UnitFlags(unit) & kUnitDisabled) ? 1 : 0;
        case kPropCursor: {
            uint32_t length = 0;
            const uint8_t* set = UnitCursorSet(unit, &length);
            return NewByteSet(CursorSetForReading(set, length));
        }
        default:
            return 0;
    }
}

void MoveLive(UnitObject* object, int32_t property, int32_t value) {
    value = ToPixels(value, object->dpi);
    RECT rect = LiveRect(object->hwnd);
    int left = property == kPropLeft ? value : rect.left;
    int top = property == kPropTop ? value : rect.top;
    int width = property == kPropWidth ? value : rect.right - rect.left;
    int height = property == kPropHeight ? value : rect.bottom - rect.top;
    UINT keep = property <= kPropTop ? SWP_NOSIZE : SWP_NOMOVE;
    SetWindowPos(object->hwnd, nullptr, left, top, width, height,
                 keep | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReplaceCursor(WindowTemplate& window, uint32_t index, Word block, bool live) {
    std::vector<uint8_t> given = ByteSetBytes(block);
    std::vector<uint8_t> stored =
        CursorSetForStoring(given.data(), static_cast<uint32_t>(given.size()));
    if (!SetUnitCursorSet(&window, index, stored.data(), static_cast<uint32_t>(stored.size())))
        return;
    UnitView unit;
    if (!GetUnit(window, index, &unit)) return;
    if (!live) return;  // a window that is not loaded keeps no loaded cursors
    ReleaseUnitCursor(reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(UnitCursorSlot(unit))));
    SetUnitCursorSlot(unit,
                      ToWord(LoadUnitCursor(stored.data(), static_cast<uint32_t>(stored.size()))));
    // Putting the mouse where it is makes the new shape show at once.
    POINT at;
    GetCursorPos(&at);
    SetCursorPos(at.x, at.y);
}

void WriteCommon(WindowTemplate& window, uint32_t index, int32_t property, Word low) {
    UnitObject* object = LiveObject(window, index);
    UnitView unit;
    if (!GetUnit(window, index, &unit)) return;
    int32_t value = static_cast<int32_t>(low);
    switch (property) {
        case kPropLeft:
        case kPropTop:
        case kPropWidth:
        case kPropHeight: {
            value = property <= kPropTop ? ClampPosition(value) : ClampSize(value);
            int32_t rect[4] = {UnitLeft(unit), UnitTop(unit), UnitWidth(unit), UnitHeight(unit)};
            rect[property] = value;
            SetUnitRect(unit, rect[0], rect[1], rect[2], rect[3]);
            if (object != nullptr) MoveLive(object, property, value);
            return;
        }
        case kPropTag:
            SetUnitTag(&window, index, FromWord<const char>(low));
            return;
        case kPropVisible: {
            bool visible = low != 0;
            Word flags = UnitFlags(unit);
            SetUnitFlags(unit, visible ? (flags | kUnitVisible) : (flags & ~kUnitVisible));
            if (object == nullptr) return;
            if (!visible) {
                ShowWindow(object->hwnd, SW_HIDE);
            } else if (index == 0) {
                ShowLoadedWindow(window);
            } else if (!object->hiddenPage) {
                ShowWindow(object->hwnd, SW_SHOW);
            }
            return;
        }
        case kPropDisabled: {
            bool disabled = low != 0;
            Word flags = UnitFlags(unit);
            SetUnitFlags(unit, disabled ? (flags | kUnitDisabled) : (flags & ~kUnitDisabled));
            if (object != nullptr) EnableWindow(object->hwnd, disabled ? FALSE : TRUE);
            return;
        }
        case kPropCursor:
            ReplaceCursor(window, index, low, object != nullptr);
            return;
        default:
            return;
    }
}

// ---- own properties ------------------------------------------------------------

uint64_t ValueOut(uint32_t kind, const PropertyValue& v, int32_t subIndex) {
    if (IsTextKind(kind)) return ToWord(CopyText(v.text.c_str()));
    if (IsByteSetKind(kind)) {
        if (kind == kKindCursor) {
            return NewByteSet(
                CursorSetForReading(v.bytes.data(), static_cast<uint32_t>(v.bytes.size())));
        }
        return NewByteSet(v.bytes);
    }
    if (kind == kKindFont) return ReadFontPart(v.font, subIndex);
    if (kind == kKindLogical) return v.low == 1 ? 1 : 0;
    if (IsEightByteKind(kind)) return (static_cast<uint64_t>(v.high) << 32) | v.low;
    return v.low;
}

PropertyValue ValueIn(uint32_t kind, Word low, Word high, int32_t subIndex,
                      const FontSet& currentFont) {
    PropertyValue v;
    if (IsTextKind(kind)) {
        const char* text = FromWord<const char>(low);
        v.text = text != nullptr ? text : "";
    } else if (IsByteSetKind(kind)) {
        v.bytes = ByteSetBytes(low);
        if (kind == kKindCursor)
            v.bytes = CursorSetForStoring(v.bytes.data(), static_cast<uint32_t>(v.bytes.size()));
    } else if (kind == kKindFont) {
        v.font = WriteFontPart(currentFont, subIndex, low);
    } else if (kind == kKindLogical) {
        v.low = low != 0 ? 1 : 0;
    } else if (kind == kKindChoice) {
        v.low = static_cast<int32_t>(low) < 0 ? 0 : low;
    } else {
        v.low = low;
        if (IsEightByteKind(kind)) v.high = high;
    }
    return v;
}

// Makes the control again from its (updated) record, where it was, with
// events held back while the old one goes and the new one comes.
void Recreate(WindowTemplate& window, uint32_t index) {
    UnitObject* old = LiveObject(window, index);
    if (old == nullptr || index == 0) return;
    HWND hwnd = old->hwnd;
    HWND parent = GetParent(hwnd);
    int id = GetDlgCtrlID(hwnd);
    RECT rect = LiveRect(hwnd);
    HWND previous = GetWindow(hwnd, GW_HWNDPREV);
    bool visible = (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    bool hiddenPage = old->hiddenPage;
    bool focused = GetFocus() == hwnd;
    int dpi = old->dpi;  // the old object goes with its window

    ++g_runtime.suppressEvents;
    DestroyWindow(hwnd);  // its final message clears the object and cursor slots
    UnitObject* fresh = CreateUnit(window, index, parent, id, rect, dpi, false, nullptr);
    UnitView unit;
    if (fresh != nullptr && GetUnit(window, index, &unit)) {
        SetUnitObjectSlot(unit, ToWord(fresh));
        fresh->hiddenPage = hiddenPage;
        SetWindowPos(fresh->hwnd, previous != nullptr && IsWindow(previous) ? previous : HWND_TOP,
                     0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        uint32_t length = 0;
        const uint8_t* set = UnitCursorSet(unit, &length);
        SetUnitCursorSlot(unit, ToWord(LoadUnitCursor(set, length)));
        SendMessageA(fresh->hwnd, kMsgControlsMade, 0, 0);
        if (visible) ShowWindow(fresh->hwnd, SW_SHOWNA);
        if (focused) SetFocus(fresh->hwnd);
    }
    if (g_runtime.suppressEvents > 0) --g_runtime.suppressEvents;
}

}  // namespace

uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex) {
    WindowTemplate& window = WindowOrError(windowId);
    int32_t index = UnitIndex(window, unitId);
    UnitView unit;
    // A unit the window does not hold reads as 0.
    if (index < 0 || !GetUnit(window, static_cast<uint32_t>(index), &unit)) return 0;
    if (unit.menuItem) return ReadMenuItem(unit, property);
    if (property < kFirstOwnProperty)
        return ReadCommon(window, static_cast<uint32_t>(index), unit, property);

    UnitObject* object = LiveObject(window, static_cast<uint32_t>(index));
    if (object == nullptr) ReportRuntimeError(kNotLoaded);
    const PropertyDescriptor* descriptor = Descriptor(FindUnitKind(UnitType(unit)), property);
    auto get = UnitOperation<GetPropertyRoutine>(object, kOpGetProperty);
    PropertyValue value;
    if (descriptor == nullptr || get == nullptr ||
        !get(object, property - kFirstOwnProperty, &value))
        return 0;
    return ValueOut(PropertyKind(*descriptor), value, subIndex);
}

void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t subIndex,
                   uint32_t low, uint32_t high) {
    WindowTemplate& window = WindowOrError(windowId);
    int32_t found = UnitIndex(window, unitId);
    UnitView unit;
    // A unit the window does not hold is left alone.
    if (found < 0 || !GetUnit(window, static_cast<uint32_t>(found), &unit)) return;
    uint32_t index = static_cast<uint32_t>(found);
    if (unit.menuItem) {
        WriteMenuItem(window, index, property, low);
        return;
    }
    if (property < kFirstOwnProperty) {
        WriteCommon(window, index, property, low);
        return;
    }

    UnitObject* object = LiveObject(window, index);
    if (object == nullptr) ReportRuntimeError(kNotLoaded);
    const PropertyDescriptor* descriptor = Descriptor(FindUnitKind(UnitType(unit)), property);
    auto set = UnitOperation<SetPropertyRoutine>(object, kOpSetProperty);
    if (descriptor == nullptr || set == nullptr) return;
    uint32_t kind = PropertyKind(*descriptor);
    FontSet currentFont = {};
    if (kind == kKindFont) {
        auto get = UnitOperation<GetPropertyRoutine>(object, kOpGetProperty);
        PropertyValue current;
        if (get != nullptr && get(object, property - kFirstOwnProperty, &current))
            currentFont = current.font;
    }
    HWND hwnd = object->hwnd;
    bool recreate =
        set(object, property - kFirstOwnProperty, ValueIn(kind, low, high, subIndex, currentFont));
    // The change may have raised events that closed the window.
    WindowTemplate* again = FindWindowTemplate(windowId);
    found = again != nullptr ? UnitIndex(*again, unitId) : -1;
    if (found < 0 || !IsWindow(hwnd)) return;
    index = static_cast<uint32_t>(found);
    if (LiveObject(*again, index) != object) return;
    auto store = UnitOperation<StoreBlockRoutine>(object, kOpStoreBlock);
    if (store != nullptr) {
        std::vector<uint8_t> block = store(object);
        SetUnitPropertyBlock(again, index, block.data(), static_cast<uint32_t>(block.size()));
    }
    if (recreate) Recreate(*again, index);
}
