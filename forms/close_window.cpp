// *close window*. The window is marked as closing first: the queued request
// (private message 0x8065) destroys it only if it is still marked when the
// request is handled, and a load of a window marked as closing replaces it.
// The close query (event 1) is not asked on this path; event 2 still comes.
#include "forms/close_window.h"

#include <vector>

#include "forms/form_requests.h"
#include "forms/loaded_window.h"
#include "forms/private_messages.h"
#include "forms/unit_object.h"
#include "forms/window_loader.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/notify.h"
#include "runtime/runtime_error.h"

namespace {

const char kMissing[] = "指定窗口或窗口组件不存在或尚未载入";

// Takes a control's record out of the unit table, and its id out of every
// container's child list.
void RemoveUnitRecord(WindowTemplate& window, uint32_t unitId) {
    int32_t index = FindUnitIndex(window, unitId);
    if (index <= 0) return;
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitView unit;
        if (!GetUnit(window, i, &unit) || unit.menuItem) continue;
        for (uint32_t c = UnitChildCount(unit); c-- > 0;) {
            if (UnitChild(unit, c) == unitId) RemoveUnitChild(&window, i, c);
            GetUnit(window, i, &unit);
        }
    }
    RemoveUnit(&window, static_cast<uint32_t>(index));
}

}  // namespace

void CmdCloseWindow(ArgValue*, int32_t count, ArgValue* args) {
    if (count < 1) ReportRuntimeError(kMissing);
    uint32_t windowId = args[0].low;
    uint32_t unitId = args[0].high;
    bool atOnce = count >= 2 && args[1].type != DT_NONE && args[1].low != 0;

    UnitObject* window =
        ObjectFromWord(static_cast<Word>(RuntimeNotify(kRequestFindLoadedWindow, windowId, 0)));
    if (window == nullptr) ReportRuntimeError(kMissing);

    if ((unitId >> 28) == 0) {
        MarkWindowClosing(windowId);
        if (atOnce) {
            DestroyWindow(window->hwnd);
        } else {
            PostMessageA(window->hwnd, kMsgCloseRequest, 0, 0);
        }
        return;
    }

    WindowTemplate* table = FindWindowTemplate(windowId);
    int32_t index = table != nullptr ? FindUnitIndex(*table, unitId) : -1;
    UnitObject* control =
        index > 0 ? LiveUnitObject(*table, static_cast<uint32_t>(index)) : nullptr;
    if (control == nullptr || !IsWindow(control->hwnd)) ReportRuntimeError(kMissing);
    HWND windowHwnd = window->hwnd;
    DestroyWindow(control->hwnd);
    table = FindWindowTemplate(windowId);
    if (table != nullptr && IsWindow(windowHwnd) && LiveWindowObject(*table) != nullptr) {
        RemoveUnitRecord(*table, unitId);
    }
}
