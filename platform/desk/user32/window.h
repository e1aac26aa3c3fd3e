// The window manager's own bookkeeping over the window records of
// user32.h, shared by its files and the built-in control classes; the front
// ends never see it.
#pragma once

#include <vector>

#include "platform/desk/user32/user32.h"
#include "platform/win32.h"

namespace desk {

// Whether the window and all its ancestors are visible.
bool IsShown(const Window& w);
// The top-level window a window belongs to (itself for a top-level one).
HWND RootOf(HWND hwnd);
// The list that holds the window in Z order: its parent's children or the
// top-level list.
std::vector<HWND>& SiblingsOf(const Window& w);

// Non-client frame of a window, in pixels from each edge of the outer
// rectangle to the client area.
RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu);

// Takes the minimised (SW_MINIMIZE) or maximised (SW_MAXIMIZE) state, or
// restores (SW_RESTORE): style bits and outer rectangle only, no messages.
void EnterMinMax(Window& w, int command);
// WM_SIZE then WM_MOVE with the current client area, as creation and the
// first showing send them.
void SendSizeAndMove(HWND hwnd);
// DefWindowProc's answer to WM_WINDOWPOSCHANGED: WM_MOVE and WM_SIZE when
// the client area moved or changed size.
void SendPosChangedMessages(HWND hwnd, const WINDOWPOS& pos);
// Marks the window and its descendants as needing a paint.
void InvalidateTree(HWND hwnd);

// Whether the window's system menu still offers an enabled close command
// (a program may remove SC_CLOSE, which takes the close box away).
bool CloseCommandEnabled(HWND hwnd);

// Focus and activation bookkeeping the window manager keeps up to date.
void ForgetWindow(HWND hwnd);       // the window is gone
void FocusLeavesHidden(HWND hwnd);  // the window was hidden or is being destroyed
void ActivateOtherThan(HWND hwnd);  // the active window goes away
// Activates a top-level window as a mouse click or a show does; `how` is
// WA_ACTIVE or WA_CLICKACTIVE.
bool ActivateWindow(HWND hwnd, int how);

// Registers the built-in EDIT and BUTTON classes (once); the up-down class
// comes with InitCommonControls, as on Windows.
void EnsureSystemClasses();
void RegisterEditClass();
void RegisterButtonClass();
void RegisterUpDownClass();
// Registers a built-in class; `name` is its real Win32 class name.
void RegisterSystemClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor,
                         HBRUSH background);

// Sends WM_COMMAND (id, code) from a control to its parent.
void NotifyParent(HWND control, UINT code);
// Asks a control's parent for its colours (WM_CTLCOLOR*) on the DC; returns
// the brush to paint with.
HBRUSH AskParentColours(HWND control, HDC dc, UINT message);

}  // namespace desk
