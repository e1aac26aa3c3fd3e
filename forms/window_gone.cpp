// The end of a loaded window (request 2000) and of all of them at program
// end. When a window's platform window receives its final message, the
// cursors its units loaded are destroyed and its unit table returns to the
// copy kept when loading began: property changes made while it was loaded
// do not outlive it, and the next load starts from the template as it was.
#include "forms/application.h"
#include "forms/loaded_window.h"
#include "forms/unit_cursor.h"
#include "forms/unit_object.h"
#include "forms/window_loader.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/runtime_state.h"

namespace {

HCURSOR SlotCursor(const UnitView& unit) {
    return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(UnitCursorSlot(unit)));
}

void WindowGone(WindowTemplate& window, UnitObject* object) {
    for (uint32_t i = 0; i < window.unitCount; ++i) {
        UnitView unit;
        if (!GetUnit(window, i, &unit) || unit.menuItem) continue;
        ReleaseUnitCursor(SlotCursor(unit));
        SetUnitCursorSlot(unit, 0);
    }
    if (LoadedWindow* record = FindLoadedWindow(window.windowId)) {
        for (const auto& other : record->disabledByModal) {
            if (other.second && IsWindow(other.first)) EnableWindow(other.first, TRUE);
        }
        window.units = record->keptUnits;
        window.unitCount = record->keptUnitCount;
        DropLoadedWindow(window.windowId);
    } else {
        UnitView unit;
        if (GetUnit(window, 0, &unit) && UnitObjectSlot(unit) == ToWord(object))
            SetUnitObjectSlot(unit, 0);
    }
    if (g_app.loopStarted && !AnyWindowLoaded() && !WindowBeingReplaced()) PostQuitMessage(0);
}

void ControlGone(WindowTemplate& window, UnitObject* object) {
    UnitView unit;
    if (!FindUnit(window, object->unitId, &unit) || unit.menuItem ||
        UnitObjectSlot(unit) != ToWord(object))
        return;
    ReleaseUnitCursor(SlotCursor(unit));
    SetUnitCursorSlot(unit, 0);
    SetUnitObjectSlot(unit, 0);
}

}  // namespace

void OnUnitGone(UnitObject* object) {
    if (object == nullptr) return;
    WindowTemplate* window = FindWindowTemplate(object->windowId);
    if (window == nullptr) return;
    if (g_runtime.ending) {
        // The end sequence keeps the table as it is; only the slot that
        // would name a freed object is cleared.
        UnitView unit;
        if (FindUnit(*window, object->unitId, &unit) && !unit.menuItem &&
            UnitObjectSlot(unit) == ToWord(object)) {
            SetUnitObjectSlot(unit, 0);
        }
        return;
    }
    if (object->unitId == TemplateUnitId(*window, 0)) {
        WindowGone(*window, object);
    } else {
        ControlGone(*window, object);
    }
}

void DestroyAllWindows() {
    for (uint32_t i = 0; i < WindowTableCount(); ++i) {
        if (UnitObject* window = LiveWindowObject(*WindowTableAt(i))) DestroyWindow(window->hwnd);
    }
}
