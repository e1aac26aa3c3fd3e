// The user's input: keys and mouse clicks the front ends produce. Input
// waits in its own queue and is taken after the posted messages, as Win32
// takes hardware input; where it goes (the focus window, the window under
// the mouse or the capture window) is decided when it is taken, and so is
// the key state GetKeyState reports.
#pragma once

#include <string>

#include "platform/win32.h"

namespace desk {

// A key goes down or up.
void InputKey(BYTE vk, bool down);
// A key is pressed and released, with Shift and Ctrl held around it.
void InputKeyPress(BYTE vk, bool shift, bool ctrl);
// One byte of a character the input method composed: the focus window gets
// it as WM_CHAR (a double-byte character comes as its lead byte, then its
// trail byte, as an ANSI window receives them on Windows).
void InputImeByte(BYTE byte);
// Types GBK text: characters of the US keyboard as key presses (WM_CHAR
// comes from TranslateMessage), every other character through the input
// method.
void InputText(const std::string& gbk);
// The mouse moves to a screen point, or its left button goes down or up
// there (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP).
void InputMouse(UINT message, POINT screen);
// Moves the mouse to a screen point and clicks the left button. The desk's
// user never clicks fast enough to make a double click.
void InputClick(POINT screen);
// The key a script names: "Tab", "Enter", "Escape", "Backspace", "Delete",
// "Home", "End", "Left", "Right", "Up", "Down", "Space", "F1" ... "F10",
// optionally prefixed "Shift+" and/or "Ctrl+". False for an unknown name.
bool KeyFromName(const std::string& name, BYTE* vk, bool* shift, bool* ctrl);
// Whether input is waiting.
bool InputPending();

// For the queue: the next input message, if it matches the filter. Taking
// it (remove) updates the key state and the cursor, and runs the mouse
// activation (WM_MOUSEACTIVATE) and WM_SETCURSOR as Win32 does.
bool PeekInput(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, bool remove);

}  // namespace desk
