// The numbers of a `window` unit: its own properties as the property
// services index them, and its events.
#pragma once

#include <cstdint>

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

enum WindowEvent : int32_t {
    kWindowCreated = 0,
    kWindowCloseQuery = 1,
    kWindowDestroyed = 2,
    kWindowMoved = 3,
    kWindowSized = 4,
    kWindowActivated = 5,
    kWindowDeactivated = 6,
    kWindowIdle = 7,
    kWindowFirstActivation = 8,
    kWindowTrayIcon = 9,
    kWindowShown = 10,
    kWindowHidden = 11,
};
