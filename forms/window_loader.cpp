// The window loader. Loading creates unit 0 and then the controls from the
// last index down, each through its kind's create operation, while events
// are suppressed; then, with events flowing, the window hears events 0, 3
// and 4 and is shown. Any of those events may close the window again, so
// after each the load checks that its window still exists.
#include "forms/window_loader.h"

#include <map>
#include <vector>

#include "forms/application.h"
#include "forms/display_scale.h"
#include "forms/event_dispatch.h"
#include "forms/event_record.h"
#include "forms/loaded_window.h"
#include "forms/private_messages.h"
#include "forms/unit_cursor.h"
#include "forms/unit_kind.h"
#include "forms/unit_object.h"
#include "forms/window_menu.h"
#include "forms/window_numbers.h"
#include "forms/window_props.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/notify.h"
#include "runtime/process_events.h"
#include "runtime/runtime_state.h"

namespace {

constexpr int kFirstControlId = 100;

// Set while a window marked as closing goes to make room for its new load:
// the program is not out of windows then, so no quit message is posted.
bool g_replacing = false;
constexpr int kControlIdStep = 10;

const DataTypeDescriptor* KindOf(WindowTemplate& window, uint32_t index) {
    UnitView unit;
    if (!GetUnit(window, index, &unit) || unit.menuItem) return nullptr;
    return FindUnitKind(UnitType(unit));
}

Word FlagsOf(WindowTemplate& window, uint32_t index) {
    UnitView unit;
    return GetUnit(window, index, &unit) && !unit.menuItem ? UnitFlags(unit) : 0;
}

void SetSlot(WindowTemplate& window, uint32_t index, UnitObject* object) {
    UnitView unit;
    if (GetUnit(window, index, &unit) && !unit.menuItem) SetUnitObjectSlot(unit, ToWord(object));
}

// The platform window a control goes into: the window, or the container
// unit its record names when that one exists.
HWND ParentWindowOf(WindowTemplate& window, uint32_t index, HWND windowHwnd) {
    UnitView unit;
    if (!GetUnit(window, index, &unit) || UnitParent(unit) == 0) return windowHwnd;
    int32_t parentIndex = FindUnitIndex(window, UnitParent(unit));
    UnitObject* container =
        parentIndex > 0 ? LiveUnitObject(window, static_cast<uint32_t>(parentIndex)) : nullptr;
    return container != nullptr ? container->hwnd : windowHwnd;
}

void PlaceControls(WindowTemplate& window, HWND windowHwnd) {
    // Into their parents; a container's second and later pages stay hidden.
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitObject* control = LiveUnitObject(window, i);
        if (control == nullptr) continue;
        HWND parent = ParentWindowOf(window, i, windowHwnd);
        if (GetParent(control->hwnd) != parent) SetParent(control->hwnd, parent);
        const DataTypeDescriptor* kind = KindOf(window, i);
        if (kind == nullptr || !(kind->flags & kTypeContainer)) continue;
        UnitView unit;
        if (!GetUnit(window, i, &unit)) continue;
        bool laterPage = false;
        for (uint32_t c = 0; c < UnitChildCount(unit); ++c) {
            uint32_t child = UnitChild(unit, c);
            if (child == 0) {
                laterPage = true;
                continue;
            }
            int32_t childIndex = FindUnitIndex(window, child);
            UnitObject* object = childIndex > 0
                                     ? LiveUnitObject(window, static_cast<uint32_t>(childIndex))
                                     : nullptr;
            if (laterPage && object != nullptr) object->hiddenPage = true;
        }
    }
    // Z order in unit table order: each control right after the previous
    // one with the same parent, the first at the top.
    std::map<HWND, HWND> lastOfParent;
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitObject* control = LiveUnitObject(window, i);
        if (control == nullptr) continue;
        HWND parent = GetParent(control->hwnd);
        auto it = lastOfParent.find(parent);
        SetWindowPos(control->hwnd, it == lastOfParent.end() ? HWND_TOP : it->second, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        lastOfParent[parent] = control->hwnd;
    }
}

void LoadCursors(WindowTemplate& window) {
    for (uint32_t i = 0; i < window.unitCount; ++i) {
        UnitView unit;
        if (!GetUnit(window, i, &unit) || unit.menuItem) continue;
        uint32_t length = 0;
        const uint8_t* set = UnitCursorSet(unit, &length);
        SetUnitCursorSlot(unit, ToWord(LoadUnitCursor(set, length)));
    }
}

void SendToControls(WindowTemplate& window, UINT message) {
    for (uint32_t i = window.unitCount; i-- > 1;) {
        if (UnitObject* control = LiveUnitObject(window, i))
            SendMessageA(control->hwnd, message, 0, 0);
    }
}

void ShowControls(WindowTemplate& window) {
    for (uint32_t i = 1; i < window.unitCount; ++i) {
        UnitObject* control = LiveUnitObject(window, i);
        if (control == nullptr) continue;
        const DataTypeDescriptor* kind = KindOf(window, i);
        bool show = (FlagsOf(window, i) & kUnitVisible) && !control->hiddenPage &&
                    kind != nullptr && !(kind->flags & kTypeNeverShown);
        ShowWindow(control->hwnd, show ? SW_SHOWNA : SW_HIDE);
    }
}

int32_t StartPosition(UnitObject* windowObject) {
    auto options = UnitOperation<WindowOptionsRoutine>(windowObject, kOpWindowOptions);
    const WindowProps* props = options != nullptr ? options(windowObject) : nullptr;
    return props != nullptr ? props->startPosition : 0;
}

// The loader's showing; then the focused unit hears of the focus, unless
// it already did while the window was being shown and activated.
void ShowAsLoaded(LoadedWindow* record, UnitObject* windowObject) {
    record->shown = true;
    int command = SW_SHOW;
    if (g_runtime.programKind != 0) {
        int32_t start = StartPosition(windowObject);
        if (start == 3) command = SW_SHOWMAXIMIZED;
        if (start == 2) command = SW_SHOWMINIMIZED;
    }
    uint32_t windowId = record->windowId;
    uint32_t serial = record->serial;
    HWND hwnd = windowObject->hwnd;
    uint32_t focusEvents = LastFocusEvent().count;
    ShowWindow(hwnd, command);
    if (!LoadStillAlive(windowId, serial)) return;
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != hwnd && !IsChild(hwnd, focus))) return;
    UnitObject* unit = UnitObjectAround(focus);
    if (unit == nullptr) return;
    const FocusEventNote& note = LastFocusEvent();
    if (note.count != focusEvents && note.windowId == unit->windowId && note.unitId == unit->unitId)
        return;
    RaiseUnitEvent(unit, kEventGotFocus);
}

void DisableOtherWindows(LoadedWindow* record, HWND self) {
    for (uint32_t i = 0; i < WindowTableCount(); ++i) {
        UnitObject* other = LiveWindowObject(*WindowTableAt(i));
        if (other == nullptr || other->hwnd == self) continue;
        record->disabledByModal.emplace_back(other->hwnd, IsWindowEnabled(other->hwnd) != FALSE);
        EnableWindow(other->hwnd, FALSE);
    }
}

// A modal window's own loop: it ends when the window is gone. A quit
// message taken here is put back for the program's message loop.
void RunModalLoop(uint32_t windowId, uint32_t serial) {
    MSG msg;
    while (LoadStillAlive(windowId, serial)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOneMessage(&msg);
    }
}

void RestoreFocusAfterNotice(HWND noted) {
    if (noted != nullptr && IsWindow(noted) && GetFocus() != noted) SetFocus(noted);
}

// Where the template puts a unit, in pixels of a display at `dpi`.
RECT PlaceInPixels(const UnitView& unit, int dpi) {
    int left = ToPixels(UnitLeft(unit), dpi);
    int top = ToPixels(UnitTop(unit), dpi);
    return RECT{left, top, left + ToPixels(UnitWidth(unit), dpi),
                top + ToPixels(UnitHeight(unit), dpi)};
}

// Loading failed half way: what was made goes (the window's final message
// puts the unit table back), events flow again.
int32_t FailLoad(uint32_t windowId, UnitObject* windowObject) {
    if (windowObject != nullptr) DestroyWindow(windowObject->hwnd);
    DropLoadedWindow(windowId);
    RuntimeNotify(kRequestAllowEvents, 0, 0);
    return 0;
}

}  // namespace

UnitObject* CreateUnit(WindowTemplate& window, uint32_t index, HWND parent, int controlId,
                       const RECT& place, int dpi, bool modal, HMENU menu) {
    UnitView unit;
    if (!GetUnit(window, index, &unit) || unit.menuItem) return nullptr;
    const DataTypeDescriptor* kind = FindUnitKind(UnitType(unit));
    CreateRoutine create = KindOperation<CreateRoutine>(kind, kOpCreate);
    if (create == nullptr) return nullptr;
    DWORD style = 0;
    if (!(kind->flags & kTypeNeverShown)) {
        if (UnitFlags(unit) & kUnitDisabled) style |= WS_DISABLED;
        if (UnitFlags(unit) & kUnitTabStop) style |= WS_TABSTOP;
    }
    uint32_t length = 0;
    const uint8_t* block = UnitPropertyBlock(unit, &length);
    // Creation sends messages; the block is copied so that nothing it
    // triggers can move the table under it.
    std::vector<uint8_t> copy(block, block + length);
    CreateParams params = {copy.data(),
                           length,
                           style,
                           parent,
                           controlId,
                           menu,
                           place.left,
                           place.top,
                           place.right - place.left,
                           place.bottom - place.top,
                           window.windowId,
                           TemplateUnitId(window, index),
                           false,
                           modal,
                           dpi};
    return create(params);
}

int32_t LoadWindow(WindowTemplate* window, int32_t secondInstance, int32_t modal, HWND parent) {
    if (window == nullptr || window->unitCount == 0) return 0;
    (void)secondInstance;  // every load of a template shares its one unit table

    if (UnitObject* live = LiveWindowObject(*window)) {
        LoadedWindow* record = FindLoadedWindow(window->windowId);
        if (record == nullptr || !record->closing) {
            if (IsIconic(live->hwnd)) {
                ShowWindow(live->hwnd, SW_RESTORE);
            } else {
                SetForegroundWindow(live->hwnd);
            }
            return 1;
        }
        g_replacing = true;
        DestroyWindow(live->hwnd);
        g_replacing = false;
        if (LiveWindowObject(*window) != nullptr) return 0;
    }
    if (modal) {
        parent = nullptr;
    } else if (parent != nullptr && !IsWindow(parent)) {
        return 0;
    }

    RuntimeNotify(kRequestSuppressEvents, 0, 0);
    uint32_t windowId = window->windowId;
    LoadedWindow* record = AddLoadedWindow(*window, modal != 0);
    uint32_t serial = record->serial;

    UnitView unit0;
    if (!GetUnit(*window, 0, &unit0)) return FailLoad(windowId, nullptr);
    HMENU menu = BuildWindowMenu(*window);
    int dpi = StartingDpi();
    UnitObject* windowObject =
        CreateUnit(*window, 0, parent, 0, PlaceInPixels(unit0, dpi), dpi, modal != 0, menu);
    if (windowObject == nullptr) {
        if (menu != nullptr) DestroyMenu(menu);
        return FailLoad(windowId, nullptr);
    }
    SetSlot(*window, 0, windowObject);
    HWND hwnd = windowObject->hwnd;
    if (WindowDpi(hwnd) != dpi) {
        // Opened on a display whose scale is not the screen's main one.
        dpi = WindowDpi(hwnd);
        RECT place = PlaceInPixels(unit0, dpi);
        SetWindowPos(hwnd, nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        windowObject->dpi = dpi;
    }

    int controlId = kFirstControlId;
    for (uint32_t i = window->unitCount; i-- > 1;) {
        UnitView unit;
        if (!GetUnit(*window, i, &unit)) return FailLoad(windowId, windowObject);
        if (unit.menuItem) continue;
        UnitObject* control =
            CreateUnit(*window, i, hwnd, controlId, PlaceInPixels(unit, dpi), dpi, false, nullptr);
        if (control == nullptr) return FailLoad(windowId, windowObject);
        SetSlot(*window, i, control);
        controlId += kControlIdStep;
    }

    PlaceControls(*window, hwnd);
    LoadCursors(*window);
    SendToControls(*window, kMsgControlsMade);
    SendMessageA(hwnd, kMsgWindowLoaded, 0, 0);
    ShowControls(*window);
    RuntimeNotify(kRequestAllowEvents, 0, 0);

    // From here on every event may close the window.
    RaiseUnitEvent(windowObject, kWindowCreated);
    if (LoadStillAlive(windowId, serial)) RaiseUnitEvent(windowObject, kWindowMoved);
    if (LoadStillAlive(windowId, serial)) RaiseUnitEvent(windowObject, kWindowSized);
    window = FindWindowTemplate(windowId);
    if (window == nullptr || !LoadStillAlive(windowId, serial)) return 1;
    if (FlagsOf(*window, 0) & kUnitVisible) ShowAsLoaded(FindLoadedWindow(windowId), windowObject);
    if (!LoadStillAlive(windowId, serial)) return 1;

    record = FindLoadedWindow(windowId);
    if (modal) DisableOtherWindows(record, hwnd);
    HWND noted = GetFocus();
    SendToControls(*window, kMsgLoadFinished);
    RestoreFocusAfterNotice(noted);
    if (LoadStillAlive(windowId, serial)) FindLoadedWindow(windowId)->loaded = true;
    return 1;
}

bool WindowBeingReplaced() {
    return g_replacing;
}

bool AnyWindowLoaded() {
    for (uint32_t i = 0; i < WindowTableCount(); ++i) {
        if (LiveWindowObject(*WindowTableAt(i)) != nullptr) return true;
    }
    return false;
}

bool RaiseIdleEvents(uint32_t elapsedMs) {
    bool more = false;
    for (uint32_t i = 0; i < WindowTableCount(); ++i) {
        UnitObject* window = LiveWindowObject(*WindowTableAt(i));
        if (window == nullptr) continue;
        HWND hwnd = window->hwnd;
        bool declined = false;
        for (HWND d : g_app.declinedIdle) declined = declined || d == hwnd;
        if (declined) continue;
        EventOutcome outcome = RaiseUnitEvent(window, kWindowIdle, {elapsedMs});
        if (outcome.resultPresent && outcome.result != 0) {
            more = true;
        } else {
            g_app.declinedIdle.push_back(hwnd);
        }
    }
    return more;
}

void ShowLoadedWindow(WindowTemplate& window) {
    UnitObject* object = LiveWindowObject(window);
    LoadedWindow* record = FindLoadedWindow(window.windowId);
    if (object == nullptr || record == nullptr) return;
    if (record->shown) {
        ShowWindow(object->hwnd, SW_SHOW);
        return;
    }
    uint32_t serial = record->serial;
    bool modal = record->modal;
    ShowAsLoaded(record, object);
    if (modal) RunModalLoop(window.windowId, serial);
}

void MarkWindowClosing(uint32_t windowId) {
    if (LoadedWindow* record = FindLoadedWindow(windowId)) record->closing = true;
}

bool IsWindowClosing(uint32_t windowId) {
    LoadedWindow* record = FindLoadedWindow(windowId);
    return record != nullptr && record->closing;
}

HCURSOR UnitCursorOf(const UnitObject* object) {
    if (object == nullptr) return nullptr;
    WindowTemplate* window = FindWindowTemplate(object->windowId);
    UnitView unit;
    if (window == nullptr || !FindUnit(*window, object->unitId, &unit) || unit.menuItem)
        return nullptr;
    return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(UnitCursorSlot(unit)));
}
