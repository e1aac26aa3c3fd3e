// The desk's front ends: who the user is. Chosen once, at first need:
// DESK_SCRIPT set -> the scripted user; stdin and stdout terminals -> the
// terminal; otherwise no user. Each is a FrontEnd (user32.h), the user the
// window manager waits on.
#pragma once

#include "platform/desk/user32/user32.h"
#include "platform/win32.h"

namespace desk {

// What every front end does when its user has nothing more to say: click the
// close box of the active window (or else of the topmost visible top-level
// window). False when none is left, or when the program has refused to
// close the same window three times running.
bool CloseOneVisibleWindow();
// Clicks the close box of a top-level window through the input queue; a
// close box that is covered, or on a disabled window, is answered by the
// close command (WM_SYSCOMMAND SC_CLOSE) through the queue instead. False
// when the window has no close box (no caption, no WS_SYSMENU, or SC_CLOSE
// taken out of its system menu).
bool ClickCloseBox(HWND hwnd);

// The front ends the desk offers.
FrontEnd* MakeScriptFrontEnd(const char* scriptPath);
FrontEnd* MakeTerminalFrontEnd();  // null when the terminal cannot be used

}  // namespace desk
