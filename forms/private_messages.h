// The runtime's private window messages (WM_APP range): what the loader
// sends its units, the queued close request, and the requests units take
// from outside.
#pragma once

#include "platform/win32.h"

constexpr UINT kMsgWindowLoaded = 0x8004;  // to the window, once its controls exist
constexpr UINT kMsgTrayIcon = 0x8064;      // notification-area callback; lParam: the mouse action
constexpr UINT kMsgCloseRequest = 0x8065;  // destroys the window if it is still marked as closing
constexpr UINT kMsgControlsMade = 0x806F;  // to each control, last first, after all are made
constexpr UINT kMsgLabelRequest = 0x8075;  // a label raises its event 0 with both parameters
constexpr UINT kMsgLoadFinished = 0x8076;  // to each control, last first, when loading ends
constexpr UINT kMsgScaleChanged = 0x8077;  // to each control whose dpi changed: make its font anew
