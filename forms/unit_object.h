// The live object behind a loaded unit: what every unit kind's object
// starts with. It knows its unit (to fill event records) and its platform
// window, and is found again from that window. The unit record's object
// slot holds its address while the window is loaded.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "runtime/abi.h"

struct UnitObject;

// A notification the window passes back to the control that sent it
// (WM_COMMAND, WM_CTLCOLOR*). Sets *handled when the control answered.
using ReflectRoutine = LRESULT (*)(UnitObject* object, UINT message, WPARAM wParam, LPARAM lParam,
                                   bool* handled);

struct UnitObject {
    Word unitType;           // DT_WINDOW, DT_LABEL, ...
    uint32_t windowId;       // the window the unit lies on
    uint32_t unitId;         // the unit (unit 0's id for the window itself)
    HWND hwnd;               // its platform window
    WNDPROC baseProc;        // the class procedure under the runtime's own (system classes)
    ReflectRoutine reflect;  // null: the kind takes no reflected notifications
    bool focusable;          // the kind can hold the keyboard focus
    bool hiddenPage;         // on a container page that is not shown
    int dpi = 96;            // the display scale its position, size and font are laid out for
    virtual ~UnitObject() = default;
};

// Ties the object to its platform window, and finds it from there; null for
// a window the runtime did not make.
void AttachUnitObject(HWND hwnd, UnitObject* object);
void DetachUnitObject(HWND hwnd);
UnitObject* UnitObjectOf(HWND hwnd);
// The object of the window itself or of the nearest ancestor that has one.
UnitObject* UnitObjectAround(HWND hwnd);

inline UnitObject* ObjectFromWord(Word word) {
    return FromWord<UnitObject>(word);
}

// Puts the runtime's procedure over a system class control (EDIT, BUTTON)
// and ties the object to it; the class's own procedure is kept in baseProc.
void SubclassControl(UnitObject* object, HWND hwnd, WNDPROC proc);
// Passes a message on to the procedure under the runtime's own.
LRESULT CallBaseProc(const UnitObject* object, HWND hwnd, UINT message, WPARAM wParam,
                     LPARAM lParam);

// Set on a window when its destruction begins, so that its controls leave
// their siblings (which go with it) alone.
void MarkBeingDestroyed(HWND hwnd);
bool IsBeingDestroyed(HWND hwnd);
