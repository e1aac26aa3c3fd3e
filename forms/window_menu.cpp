// Window menus. Menu item records are laid out one after the other in the
// unit table; their nesting is not part of the format the runtime reads,
// so every item is an item of the menu bar itself.
#include "forms/window_menu.h"

#include "forms/event_dispatch.h"
#include "forms/event_record.h"
#include "forms/form_requests.h"
#include "forms/loaded_window.h"
#include "forms/unit_object.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/notify.h"

HMENU BuildWindowMenu(WindowTemplate& window) {
    HMENU menu = nullptr;
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitView item;
        if (!GetUnit(window, i, &item) || !item.menuItem) continue;
        Word flags = MenuItemFlags(item);
        if (flags & kMenuHidden) continue;
        if (menu == nullptr) menu = CreateMenu();
        UINT how = MF_STRING | ((flags & kMenuDisabled) ? MF_GRAYED : 0) |
                   ((flags & kMenuChecked) ? MF_CHECKED : 0);
        AppendMenuA(menu, how, kMenuCommandBase + i, MenuItemCaption(item));
    }
    return menu;
}

void RebuildWindowMenu(WindowTemplate& window) {
    UnitObject* object = LiveWindowObject(window);
    if (object == nullptr) return;
    HMENU old = GetMenu(object->hwnd);
    SetMenu(object->hwnd, BuildWindowMenu(window));
    if (old != nullptr) DestroyMenu(old);
    DrawMenuBar(object->hwnd);
}

bool ChooseMenuItem(uint32_t windowId, UINT command) {
    WindowTemplate* window = FindWindowTemplate(windowId);
    if (window == nullptr || command < kMenuCommandBase + 1 ||
        command >= kMenuCommandBase + window->unitCount) {
        return false;
    }
    UnitView item;
    if (!GetUnit(*window, command - kMenuCommandBase, &item) || !item.menuItem) return false;
    EventRecord record = {};
    record.windowId = windowId;
    record.unitId = item.id;
    RuntimeNotify(kRequestRaiseEvent, ToWord(&record), 0);
    return true;
}
