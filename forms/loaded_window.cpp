// The loaded-window records, one per window template that is loaded.
#include "forms/loaded_window.h"

#include <map>

#include "forms/unit_object.h"
#include "forms/unit_record.h"
#include "forms/window_template.h"

namespace {

std::map<uint32_t, LoadedWindow>& Records() {
    static std::map<uint32_t, LoadedWindow> records;
    return records;
}

uint32_t g_nextSerial = 1;

}  // namespace

LoadedWindow* FindLoadedWindow(uint32_t windowId) {
    auto it = Records().find(windowId);
    return it == Records().end() ? nullptr : &it->second;
}

LoadedWindow* AddLoadedWindow(const WindowTemplate& window, bool modal) {
    LoadedWindow& record = Records()[window.windowId];
    record = LoadedWindow{};
    record.windowId = window.windowId;
    record.serial = g_nextSerial++;
    record.keptUnits = window.units;
    record.keptUnitCount = window.unitCount;
    record.modal = modal;
    return &record;
}

void DropLoadedWindow(uint32_t windowId) {
    Records().erase(windowId);
}

bool LoadStillAlive(uint32_t windowId, uint32_t serial) {
    LoadedWindow* record = FindLoadedWindow(windowId);
    return record != nullptr && record->serial == serial;
}

UnitObject* LiveUnitObject(WindowTemplate& window, uint32_t index) {
    UnitView unit;
    if (!GetUnit(window, index, &unit) || unit.menuItem) return nullptr;
    return ObjectFromWord(UnitObjectSlot(unit));
}

UnitObject* LiveWindowObject(WindowTemplate& window) {
    UnitObject* object = LiveUnitObject(window, 0);
    return object != nullptr && IsWindow(object->hwnd) ? object : nullptr;
}
