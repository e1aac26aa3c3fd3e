// The `window` unit kind: a top-level (or embedded) platform window of the
// runtime's window class, with the window's events and the reflection of
// its controls' notifications back to them.
#pragma once

#include <cstdint>
#include <string>

#include "forms/unit_object.h"
#include "forms/unit_routines.h"
#include "forms/window_numbers.h"
#include "forms/window_props.h"

struct WindowObject : UnitObject {
    WindowProps props;           // the property block's values, kept up to date
    HICON bigIcon = nullptr;     // made from the icon byte set, owned ...
    HICON smallIcon = nullptr;   // ... likewise; null when the default icon is used
    HBRUSH brush = nullptr;      // the background colour's brush, owned; null: the button face
    bool activatedOnce = false;  // the first-activation event has been raised
    HWND lastFocus = nullptr;    // the control that had the focus when the window went inactive
    std::string openHelp;        // the help file F1 opened, to be closed with the window
    ~WindowObject() override;
};

// Its descriptor rows and interface function for the core library record.
extern const UnitKindEntry kWindowKind;

// Styles for a property block: the window's style and extended style.
void WindowStyles(const WindowProps& props, bool embedded, DWORD* style, DWORD* exStyle);
