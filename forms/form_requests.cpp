// The form runtime's answers to runtime notification requests.
#include "forms/form_requests.h"

#include "forms/event_dispatch.h"
#include "forms/loaded_window.h"
#include "forms/unit_object.h"
#include "forms/window_loader.h"
#include "forms/window_table.h"
#include "forms/window_template.h"

int32_t HandleFormRequest(int32_t request, uint32_t first, uint32_t, bool* handled) {
    *handled = true;
    switch (request) {
        case kRequestUnitGone:
            OnUnitGone(ObjectFromWord(first));
            return 0;
        case kRequestFindLoadedWindow: {
            WindowTemplate* window = FindWindowTemplate(first);
            UnitObject* object = window != nullptr ? LiveWindowObject(*window) : nullptr;
            return static_cast<int32_t>(ToWord(object));
        }
        case kRequestRaiseEvent:
            return RaiseEvent(FromWord<EventRecord>(first));
        default:
            *handled = false;
            return 0;
    }
}
