// Loading window templates into live windows, the end of a loaded window,
// and the program's account of which of its windows are alive.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct UnitObject;
struct WindowTemplate;

// Creates the window of a template: 1 on success, 0 on failure. A window
// that is loaded already is only activated (restored when minimised),
// unless it is marked as closing: then it goes first and loads afresh.
int32_t LoadWindow(WindowTemplate* window, int32_t secondInstance, int32_t modal, HWND parent);
// Whether any window template's unit 0 holds a live platform window.
bool AnyWindowLoaded();
// True while a load destroys the earlier window of its template (one marked
// as closing): its end does not leave the program without windows.
bool WindowBeingReplaced();
// Raises event 7 (idle) of every loaded window that has not declined in this
// idle phase; true while at least one handler asked for more.
bool RaiseIdleEvents(uint32_t elapsedMs);

// Creates one unit of a template through its kind's create operation, with
// the style bits its flags choose (and, for the window, its menu), at a
// place in pixels laid out for `dpi`. Null when the kind has no create
// operation or creation fails.
UnitObject* CreateUnit(WindowTemplate& window, uint32_t index, HWND parent, int controlId,
                       const RECT& place, int dpi, bool modal, HMENU menu);

// Shows a loaded window: the first time the way the loader does (a modal
// window then runs its modal loop), later with SW_SHOW.
void ShowLoadedWindow(WindowTemplate& window);

// *close window* marks a window before it goes.
void MarkWindowClosing(uint32_t windowId);
bool IsWindowClosing(uint32_t windowId);

// Request 2000: a unit's platform window has received its final message.
// For a window: its units' cursors are destroyed, its unit table returns to
// the copy kept at load, and after the last window the message loop is
// asked to end. For a control: its cursor and object slot are cleared.
void OnUnitGone(UnitObject* object);

// The cursor loaded for a unit, or null.
HCURSOR UnitCursorOf(const UnitObject* object);

// At program end: destroys every loaded window.
void DestroyAllWindows();
