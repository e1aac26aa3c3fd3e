// Building template segments from readable sources: the records of units
// and menu items, a window's unit table, and the segment with its window
// table head. Programs build their windows with it, and tests build
// segments to read back. Handler offsets are written as given (distances
// from the code base, kNoHandler for none); the reader relocates them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/unit_record.h"
#include "runtime/abi.h"

struct EventBinding {
    int32_t eventIndex;  // 0 and up: the kind's own events; negative: common ones
    Word handlerOffset;  // from the code base; kNoHandler binds nothing
};

// A control, or the window itself as unit 0, as a template source states it.
struct UnitSource {
    uint32_t id = 0;
    Word unitType = 0;         // DT_WINDOW, DT_LABEL, ...
    uint32_t eventSource = 0;  // unit whose bindings this one uses
    std::string name;          // GBK; empty for the window itself
    std::string remark;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t parent = 0;             // 0: the window
    std::vector<uint32_t> children;  // a container's units, pages split by 0
    std::vector<uint8_t> cursor = std::vector<uint8_t>(4, 0);  // code 0: none of its own
    std::string tag;
    Word flags = kUnitVisible;
    Word focusOrder = 0;
    std::vector<EventBinding> events;
    std::vector<uint8_t> propertyBlock;  // from WriteWindowProps, WriteLabelProps, ...
};

struct MenuItemSource {
    uint32_t id = 0;  // kind 0x26
    Word unitType = 0;
    uint32_t eventSource = 0;
    std::string name;
    std::string remark;
    Word words[2] = {0, 0};  // the two words before the flags, kept
    Word menuFlags = 0;      // kMenuHidden, kMenuDisabled, kMenuChecked
    std::string caption;
    Word handlerOffset = kNoHandler;
};

struct WindowSource {
    uint32_t windowId = 0;
    Word keptWords[2] = {0, 0};                 // stored, not interpreted
    std::string keptTexts[2];                   // likewise
    std::vector<uint32_t> unitIds;              // index 0: the window itself
    std::vector<std::vector<uint8_t>> records;  // one per id, in the same order
};

std::vector<uint8_t> WriteUnitRecord(const UnitSource& unit);
std::vector<uint8_t> WriteMenuItemRecord(const MenuItemSource& item);
// Appends a unit (or menu item) at the next index of the window's table.
void AddUnit(WindowSource* window, const UnitSource& unit);
void AddMenuItem(WindowSource* window, const MenuItemSource& item);

// The unit table's bytes: ids, offsets, then each record after its length.
std::vector<uint8_t> WriteUnitTable(const WindowSource& window);
// The whole segment, windows in the given order.
std::vector<uint8_t> WriteTemplateSegment(const std::vector<WindowSource>& windows);
