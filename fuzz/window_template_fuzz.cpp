// The window template reader on arbitrary segments: a segment is refused or
// read, and a read one gives units whose views stay inside their records,
// ids that find their units, property blocks that read the same after being
// written back, and a table that stays sound when a unit's stored values
// change length.
#include <cstring>
#include <string>
#include <vector>

#include "forms/button_props.h"
#include "forms/byte_reader.h"
#include "forms/editbox_props.h"
#include "forms/label_props.h"
#include "forms/unit_ids.h"
#include "forms/unit_record.h"
#include "forms/window_props.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "fuzz/fuzz_check.h"
#include "runtime/value.h"

namespace {

// Reading what writing a read block gives must give the same block again.
template <typename Props>
void CheckProps(const uint8_t* block, uint32_t length,
                bool (*read)(const uint8_t*, uint32_t, Props*),
                std::vector<uint8_t> (*write)(const Props&)) {
    Props props;
    if (!read(block, length, &props)) return;
    std::vector<uint8_t> written = write(props);
    Props again;
    FUZZ_CHECK(read(written.data(), static_cast<uint32_t>(written.size()), &again), "a written block is refused");
    FUZZ_CHECK(write(again) == written, "a written block reads differently");
}

void CheckUnit(WindowTemplate& window, uint32_t index) {
    UnitView unit;
    FUZZ_CHECK(GetUnit(window, index, &unit), "unit %u of an accepted table is unreachable", index);
    const uint8_t* begin = window.units.data();
    const uint8_t* end = begin + window.units.size();
    FUZZ_CHECK(unit.record >= begin && unit.record + unit.length <= end, "unit %u outside its table", index);
    // A stored id that is no valid id is reached by index only.
    int32_t found = FindUnitIndex(window, unit.id);
    if (IsValidId(unit.id)) {
        FUZZ_CHECK(found >= 0 && TemplateUnitId(window, static_cast<uint32_t>(found)) == unit.id,
                   "unit id %08x does not find a unit with that id", unit.id);
    } else {
        FUZZ_CHECK(found == -1, "invalid unit id %08x finds a unit", unit.id);
    }
    if (unit.menuItem) {
        const MenuItemLayout& m = unit.menu;
        FUZZ_CHECK(m.remark < unit.length && m.menuFlags + 4 <= unit.length && m.caption < unit.length &&
                       m.handler + 4 <= unit.length,
                   "menu item %u: a field past its record", index);
        FUZZ_CHECK(std::memchr(unit.record + m.caption, 0, unit.length - m.caption) != nullptr,
                   "menu item %u: caption unterminated", index);
        return;
    }
    const UnitRecordLayout& l = unit.layout;
    FUZZ_CHECK(l.remark < unit.length && l.tag < unit.length && l.flags + 4 <= unit.length &&
                   l.cursorSet + 4 <= unit.length && l.propertyBlock <= unit.length,
               "unit %u: a field past its record", index);
    FUZZ_CHECK(std::memchr(unit.record + l.tag, 0, unit.length - l.tag) != nullptr, "unit %u: tag unterminated",
               index);
    const uint8_t* block = unit.record + l.propertyBlock;
    uint32_t length = unit.length - l.propertyBlock;
    switch (LoadWord(unit.record + kRecordUnitType)) {
        case DT_WINDOW: CheckProps<WindowProps>(block, length, ReadWindowProps, WriteWindowProps); break;
        case DT_LABEL: CheckProps<LabelProps>(block, length, ReadLabelProps, WriteLabelProps); break;
        case DT_EDIT_BOX: CheckProps<EditBoxProps>(block, length, ReadEditBoxProps, WriteEditBoxProps); break;
        case DT_BUTTON: CheckProps<ButtonProps>(block, length, ReadButtonProps, WriteButtonProps); break;
        default: break;
    }
}

// A stored value that changes length keeps every unit of the table sound.
void CheckChanges(WindowTemplate& window, const std::string& tag) {
    for (uint32_t i = 0; i < window.unitCount; ++i) {
        if (!SetUnitTag(&window, i, tag.c_str())) continue;
        FUZZ_CHECK(CheckUnitTable(window.units.data(), static_cast<uint32_t>(window.units.size()), window.unitCount),
                   "the table is unsound after unit %u's tag changed", i);
        UnitView unit;
        FUZZ_CHECK(GetUnit(window, i, &unit) && std::strcmp(reinterpret_cast<const char*>(unit.record + unit.layout.tag),
                                                             tag.c_str()) == 0,
                   "unit %u does not hold its new tag", i);
        for (uint32_t j = 0; j < window.unitCount; ++j) CheckUnit(window, j);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LiveBlockCheck blocks;
    ReleaseWindowTable();
    if (ReadWindowTable(data, static_cast<uint32_t>(size), 0x1000)) {
        // A tag from the segment's last bytes, so its length varies.
        std::string tag = InputText(data + size - (size < 9 ? size : 9), size < 9 ? size : 9);
        for (uint32_t w = 0; w < WindowTableCount(); ++w) {
            WindowTemplate& window = *WindowTableAt(w);
            FUZZ_CHECK(CheckUnitTable(window.units.data(), static_cast<uint32_t>(window.units.size()),
                                      window.unitCount),
                       "window %u: its own table fails the check", w);
            for (uint32_t i = 0; i < window.unitCount; ++i) CheckUnit(window, i);
            CheckChanges(window, tag);
        }
    } else {
        FUZZ_CHECK(WindowTableCount() == 0, "a refused segment left windows in the table");
    }
    ReleaseWindowTable();
    blocks.Expect(0, "template reading");
    return 0;
}
