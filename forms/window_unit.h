// The `window` unit kind: a top-level (or embedded) platform window of the
// runtime's window class, with the window's events and the reflection of
// its controls' notifications back to them.
#pragma once

#include <cstdint>
#include <string>

#include "forms/unit_object.h"
#include "forms/window_props.h"

struct WindowObject : UnitObject {
    WindowProps props;     // the property block's values, kept up to date
    HICON bigIcon;         // made from the icon byte set, owned ...
    HICON smallIcon;       // ... likewise; null when the default icon is used
    HBRUSH brush;          // the background colour's brush, owned; null: the button face
    bool activatedOnce;    // event 8 has been raised
    HWND lastFocus;        // the control that had the focus when the window went inactive
    std::string openHelp;  // the help file F1 opened, to be closed with the window
};

// Own properties (index as the property services number them).
enum WindowProperty : int32_t {
    kWindowCaption = 8,
    kWindowBorder = 9,
    kWindowBackColour = 10,
    kWindowPicture = 11,
    kWindowPictureMode = 12,
    kWindowMusic = 13,
    kWindowMusicMode = 14,
    kWindowControlBox = 15,
    kWindowMaxButton = 16,
    kWindowMinButton = 17,
    kWindowStartPosition = 18,
    kWindowCloseAllowed = 19,
    kWindowIcon = 20,
    kWindowEnterMovesFocus = 21,
    kWindowEscapeCloses = 22,
    kWindowF1Help = 23,
    kWindowHelpFile = 24,
    kWindowHelpTopic = 25,
    kWindowInTaskBar = 26,
    kWindowOption27 = 27,
    kWindowOption28 = 28,
    kWindowAlwaysOnTop = 29,
    kWindowOption30 = 30,
    kWindowClassName = 31,
};

// The kind's interface function (operation number -> routine).
void* WindowInterface(int32_t operation);

// Styles for a property block: the window's style and extended style.
void WindowStyles(const WindowProps& props, bool embedded, DWORD* style, DWORD* exStyle);
