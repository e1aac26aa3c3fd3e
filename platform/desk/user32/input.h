// The input queue's side inside the window manager: the front ends put
// input in through user32.h; the message queue takes it out here.
#pragma once

#include "platform/desk/user32/user32.h"
#include "platform/win32.h"

namespace desk {

// One byte of a character the input method composed: the focus window gets
// it as WM_CHAR (a double-byte character comes as its lead byte, then its
// trail byte, as an ANSI window receives them on Windows).
void InputImeByte(BYTE byte);
// Whether input is waiting.
bool InputPending();

// For the queue: the next input message, if it matches the filter. Taking
// it (remove) updates the key state and the cursor, and runs the mouse
// activation (WM_MOUSEACTIVATE) and WM_SETCURSOR as Win32 does.
bool PeekInput(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, bool remove);

}  // namespace desk
