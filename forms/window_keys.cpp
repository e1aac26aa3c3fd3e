// Window keys. A focused control that takes Enter itself (a multi-line
// edit box that is not read-only) keeps it.
#include "forms/window_keys.h"

#include "forms/button_numbers.h"
#include "forms/event_dispatch.h"
#include "forms/event_record.h"
#include "forms/loaded_window.h"
#include "forms/unit_kind.h"
#include "forms/window_focus.h"
#include "forms/window_help.h"
#include "forms/window_props.h"
#include "forms/window_table.h"
#include "forms/window_template.h"

namespace {

bool Holds(UnitObject* unit, UnitOperationNumber operation) {
    auto routine = UnitOperation<bool (*)(UnitObject*)>(unit, operation);
    return routine != nullptr && routine(unit);
}

// Enter without a focused default button: the first visible, enabled
// default button in unit table order is clicked.
void ClickDefaultButton(WindowTemplate& window) {
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitObject* unit = LiveUnitObject(window, i);
        if (unit == nullptr || !Holds(unit, kOpIsDefaultButton)) continue;
        if (!IsWindowVisible(unit->hwnd) || !IsWindowEnabled(unit->hwnd)) continue;
        RaiseUnitEvent(unit, kButtonClick);
        return;
    }
}

}  // namespace

bool PreTranslateWindowKeys(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->hwnd == nullptr) return false;
    HWND root = GetAncestor(msg->hwnd, GA_ROOT);
    UnitObject* windowObject = UnitObjectOf(root);
    if (windowObject == nullptr || windowObject->unitType != DT_WINDOW) return false;
    WindowTemplate* window = FindWindowTemplate(windowObject->windowId);
    auto options = UnitOperation<WindowOptionsRoutine>(windowObject, kOpWindowOptions);
    const WindowProps* props = options != nullptr ? options(windowObject) : nullptr;
    if (window == nullptr || props == nullptr) return false;

    HWND focus = GetFocus();
    UnitObject* focused = focus != nullptr && (focus == root || IsChild(root, focus))
                              ? UnitObjectAround(focus)
                              : nullptr;
    switch (msg->wParam) {
        case VK_TAB:
            MoveFocusByTab(*window, focus, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_RETURN:
            if (focused != nullptr && Holds(focused, kOpTakesEnter)) return false;
            if (focused != nullptr && Holds(focused, kOpIsDefaultButton)) {
                RaiseUnitEvent(focused, kButtonClick);
            } else if (props->enterMovesFocus) {
                MoveFocusByTab(*window, focus, false);
            } else {
                ClickDefaultButton(*window);
            }
            return true;
        case VK_ESCAPE:
            if (!props->escapeCloses) return false;
            SendMessageA(root, WM_CLOSE, 0, 0);
            return true;
        case VK_F1:
            return OpenWindowHelp(static_cast<WindowObject*>(windowObject));
        default:
            return false;
    }
}
