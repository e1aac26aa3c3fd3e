// The user's keys and clicks in a test, with one interface on both sides:
// the desk queues them as its own input; on Windows they are real input
// (SendInput), so they reach whatever window has the focus or lies under
// the pointer, as a player's would. Each call returns once the input waits
// in this thread's queue; the test then lets its program take it.
#pragma once

#include <string>

#include "platform/win32.h"

namespace userinput {

// A key pressed and released, with Shift and/or Ctrl held around it.
void PressKey(BYTE vk, bool shift = false, bool ctrl = false);
// GBK text typed: characters of the US keyboard as key presses (the
// window's WM_CHAR comes from TranslateMessage), every other character as
// the input method delivers it.
void TypeText(const std::string& gbk);
// The mouse moves to a screen point, or its left button goes down or up
// there (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP).
void Mouse(UINT message, POINT screen);
// The mouse moves to a screen point and the left button clicks there.
void Click(POINT screen);
// The centre of a window's rectangle, in screen coordinates.
POINT CentreOf(HWND hwnd);
// A screen point on a top-level window's close box, found by asking the
// window what lies where (WM_NCHITTEST); false when it has none.
bool CloseBoxPoint(HWND hwnd, POINT* screen);

}  // namespace userinput
