// Finding a unit's live object from its platform window. The object's
// address rides on the window as a window property, which every window
// class keeps, the system classes (EDIT, BUTTON) included.
#include "forms/unit_object.h"

namespace {
const char kUnitObjectProperty[] = "DropeditUnitObject";
const char kDestroyingProperty[] = "DropeditDestroying";
}  // namespace

void AttachUnitObject(HWND hwnd, UnitObject* object) {
    SetPropA(hwnd, kUnitObjectProperty, reinterpret_cast<HANDLE>(object));
}

void DetachUnitObject(HWND hwnd) {
    RemovePropA(hwnd, kUnitObjectProperty);
}

UnitObject* UnitObjectOf(HWND hwnd) {
    return hwnd != nullptr ? static_cast<UnitObject*>(GetPropA(hwnd, kUnitObjectProperty))
                           : nullptr;
}

UnitObject* UnitObjectAround(HWND hwnd) {
    for (HWND at = hwnd; at != nullptr; at = GetParent(at)) {
        if (UnitObject* object = UnitObjectOf(at)) return object;
        if (!(GetWindowLongA(at, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

void SubclassControl(UnitObject* object, HWND hwnd, WNDPROC proc) {
    object->hwnd = hwnd;
    AttachUnitObject(hwnd, object);
    object->baseProc = reinterpret_cast<WNDPROC>(static_cast<uintptr_t>(
        static_cast<DWORD>(SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(proc)))));
}

LRESULT CallBaseProc(const UnitObject* object, HWND hwnd, UINT message, WPARAM wParam,
                     LPARAM lParam) {
    if (object != nullptr && object->baseProc != nullptr) {
        return CallWindowProcA(object->baseProc, hwnd, message, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MarkBeingDestroyed(HWND hwnd) {
    SetPropA(hwnd, kDestroyingProperty, reinterpret_cast<HANDLE>(1));
}

bool IsBeingDestroyed(HWND hwnd) {
    return hwnd != nullptr && GetPropA(hwnd, kDestroyingProperty) != nullptr;
}
