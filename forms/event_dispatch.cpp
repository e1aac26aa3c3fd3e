// Event dispatch. Dispatch is re-entrant: a routine may raise further events
// (writing a property whose change the unit reports, closing a window); the
// current event source then names the innermost routine's unit until that
// routine returns, and is cleared after it.
#include "forms/event_dispatch.h"

#include "forms/application.h"
#include "forms/event_handler.h"
#include "forms/form_requests.h"
#include "forms/unit_kind.h"
#include "forms/unit_object.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/notify.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"

namespace {

FocusEventNote g_focusNote = {};

// Follows the event source chain: a unit may use the bindings of another
// unit of the same type. Bounded by the unit count, so a chain that loops
// back on itself ends.
UnitView FollowEventSource(WindowTemplate& window, UnitView unit) {
    for (uint32_t step = 0; step < window.unitCount; ++step) {
        uint32_t source = UnitEventSource(unit);
        UnitView next;
        if (source == 0 || !FindUnit(window, source, &next) || UnitType(next) != UnitType(unit))
            break;
        unit = next;
    }
    return unit;
}

}  // namespace

int32_t RaiseEvent(EventRecord* record) {
    if (g_runtime.suppressEvents >= 1) return 0;
    WindowTemplate* window = FindWindowTemplate(record->windowId);
    if (window == nullptr) ReportRuntimeError("未找到引发事件的窗口");
    int32_t index = record->unitId == 0 ? 0 : FindUnitIndex(*window, record->unitId);
    UnitView unit;
    if (index < 0 || !GetUnit(*window, static_cast<uint32_t>(index), &unit)) {
        ReportRuntimeError("未找到引发事件的窗口组件");
    }
    unit = FollowEventSource(*window, unit);
    // Menu items are no unit kind of a library; every one of them has its
    // one routine.
    if (!unit.menuItem) {
        const DataTypeDescriptor* kind = FindUnitKind(UnitType(unit));
        if (kind == nullptr || (kind->flags & kTypeRaisesEvents) == 0)
            ReportRuntimeError("引发事件的窗口组件无效");
    }

    Word address = FindEventHandler(unit, record->eventIndex);
    if (address == 0) return 0;
    EventHandler handler = reinterpret_cast<EventHandler>(static_cast<uintptr_t>(address));

    g_app.eventSourceWindow = record->windowId;
    g_app.eventSourceUnit = record->unitId != 0 ? record->unitId : TemplateUnitId(*window, 0);
    uint32_t count = record->argCount < kMaxEventArgs ? record->argCount : kMaxEventArgs;
    uint32_t value = 0;
    bool returned = handler(record->args, static_cast<int32_t>(count), &value);
    g_app.eventSourceWindow = 0;
    if (returned) {
        record->resultPresent = 1;
        record->result = value;
    }
    return 1;
}

const FocusEventNote& LastFocusEvent() {
    return g_focusNote;
}

EventOutcome RaiseUnitEvent(const UnitObject* object, int32_t eventIndex,
                            std::initializer_list<uint32_t> args) {
    if (eventIndex == kEventGotFocus && g_runtime.suppressEvents == 0) {
        g_focusNote = FocusEventNote{g_focusNote.count + 1, object->windowId, object->unitId};
    }
    EventRecord record = {};
    record.windowId = object->windowId;
    record.unitId = object->unitId;
    record.eventIndex = eventIndex;
    for (uint32_t arg : args) {
        if (record.argCount == kMaxEventArgs) break;
        record.args[record.argCount++] = arg;
    }
    int32_t called = RuntimeNotify(kRequestRaiseEvent, ToWord(&record), 0);
    return EventOutcome{called != 0, record.resultPresent != 0, record.result};
}
