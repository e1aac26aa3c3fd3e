// Focus order among a window's units.
#include "forms/window_focus.h"

#include <algorithm>
#include <vector>

#include "forms/loaded_window.h"
#include "forms/unit_object.h"
#include "forms/unit_record.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/value.h"

namespace {

struct FocusEntry {
    UnitObject* unit;
    Word order;      // the unit's focus order
    uint32_t index;  // its place in the unit table
};

std::vector<FocusEntry> FocusChain(WindowTemplate& window, bool tabStopsOnly) {
    std::vector<FocusEntry> chain;
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitView unit;
        if (!GetUnit(window, i, &unit) || unit.menuItem) continue;
        UnitObject* object = LiveUnitObject(window, i);
        if (object == nullptr || !object->focusable) continue;
        if (!IsWindowVisible(object->hwnd) || !IsWindowEnabled(object->hwnd)) continue;
        if (tabStopsOnly && !(GetWindowLongA(object->hwnd, GWL_STYLE) & WS_TABSTOP)) continue;
        chain.push_back(FocusEntry{object, UnitFocusOrder(unit), i});
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](const FocusEntry& a, const FocusEntry& b) { return a.order < b.order; });
    return chain;
}

void FocusUnit(UnitObject* unit, bool selectContent) {
    SetFocus(unit->hwnd);
    // A box reached with Tab is ready to be typed over.
    if (selectContent && unit->unitType == DT_EDIT_BOX && GetFocus() == unit->hwnd) {
        SendMessageA(unit->hwnd, EM_SETSEL, 0, -1);
    }
}

}  // namespace

UnitObject* FirstFocusUnit(WindowTemplate& window) {
    std::vector<FocusEntry> chain = FocusChain(window, false);
    return chain.empty() ? nullptr : chain.front().unit;
}

bool MoveFocusByTab(WindowTemplate& window, HWND from, bool backward) {
    std::vector<FocusEntry> chain = FocusChain(window, true);
    if (chain.empty()) return false;
    UnitObject* current = UnitObjectAround(from);
    size_t at = chain.size();
    for (size_t i = 0; i < chain.size(); ++i) {
        if (chain[i].unit == current) at = i;
    }
    size_t next;
    if (at == chain.size()) {
        next = backward ? chain.size() - 1 : 0;
    } else {
        next = backward ? (at + chain.size() - 1) % chain.size() : (at + 1) % chain.size();
    }
    FocusUnit(chain[next].unit, true);
    return true;
}

void RestoreWindowFocus(UnitObject* window, HWND remembered) {
    HWND hwnd = window->hwnd;
    if (remembered != nullptr && IsWindow(remembered) && IsChild(hwnd, remembered) &&
        IsWindowVisible(remembered) && IsWindowEnabled(remembered)) {
        SetFocus(remembered);
        return;
    }
    WindowTemplate* table = FindWindowTemplate(window->windowId);
    UnitObject* first = table != nullptr ? FirstFocusUnit(*table) : nullptr;
    if (first != nullptr) {
        FocusUnit(first, false);
    } else {
        SetFocus(hwnd);
    }
}
