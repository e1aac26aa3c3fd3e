// The desk's window records, shared by the window manager, the built-in
// control classes and the front ends. Handles are small numbers that are
// never reused, so a stale handle is told apart from a live one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace desk {

struct WindowClass {
    std::string name;  // compared case-insensitively, as Win32 does
    WNDCLASSEXA wc;    // lpszClassName points at `name`
    bool system;       // one of the desk's built-in control classes
};

// What a window's last paint left behind: the desk draws no pixels, but
// tests and front ends can see which colours and text a control used.
struct PaintRecord {
    int count;           // number of completed paints
    HBRUSH background;   // brush of the last FillRect
    COLORREF textColor;  // DC text colour when text was last drawn
    COLORREF bkColor;    // DC background colour then
    int bkMode;          // TRANSPARENT or OPAQUE then
    HFONT font;          // font selected then
    std::string text;    // the last text drawn (GBK)
};

struct Window {
    HWND handle;
    DWORD thread;           // the thread that created it; sent messages run there
    const WindowClass* cls;
    std::string className;  // as the creator named it (the dump shows it)
    WNDPROC proc;           // current window procedure (subclassing changes it)
    HINSTANCE instance;
    DWORD style;
    DWORD exStyle;
    RECT rect;         // outer rectangle: screen coordinates for top-level
                       // windows, parent client coordinates for children
    RECT restoreRect;  // outer rectangle before minimising or maximising
    RECT lastClient;   // client area at the last placement, in window coordinates
    HWND parent;       // WS_CHILD windows: the parent
    HWND owner;        // top-level windows: the owner, or null
    HMENU menu;        // top-level windows: the menu (only its presence counts)
    UINT_PTR id;       // child control id
    std::string text;  // GBK
    bool shownOnce;    // the log's "show" line was written
    bool sizeSent;    // WM_SIZE/WM_MOVE were sent once (overlapped windows wait for the first show)
    bool destroying;  // DestroyWindow is under way
    bool needsPaint;  // has an update region
    bool needsErase;  // WM_ERASEBKGND is due at the next BeginPaint
    bool closeArmed;  // the mouse went down on the close box
    LONG_PTR userData;                    // GWL_USERDATA
    std::vector<BYTE> extra;              // cbWndExtra bytes
    std::map<std::string, HANDLE> props;  // SetPropA; integer atoms as "#n"
    HICON bigIcon;
    HICON smallIcon;
    void* control;               // state of a built-in control, owned by its class
    std::vector<HWND> children;  // in Z order, top first
    PaintRecord paint;
};

// The live window of a handle, or null. The desktop window is not found.
Window* Find(HWND hwnd);
// Live top-level windows of the process, in Z order, top first.
std::vector<HWND> TopLevelWindows();
// Live top-level windows in creation order, oldest first.
std::vector<HWND> TopLevelWindowsByAge();
// Whether the window and all its ancestors are visible.
bool IsShown(const Window& w);
// Whether the window and all its ancestors are enabled.
bool IsUsable(const Window& w);
// The top-level window a window belongs to (itself for a top-level one).
HWND RootOf(HWND hwnd);
// The list that holds the window in Z order: its parent's children or the
// top-level list.
std::vector<HWND>& SiblingsOf(const Window& w);

// Non-client frame of a window, in pixels from each edge of the outer
// rectangle to the client area.
RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu);
// The client area in the window's own coordinates (from its outer top-left).
RECT ClientArea(const Window& w);
// The client area's top-left corner in screen coordinates.
POINT ClientOrigin(const Window& w);
// Outer rectangle in screen coordinates.
RECT ScreenRect(const Window& w);
// Which part of a top-level or child window a screen point falls on (HT*).
int HitTest(const Window& w, POINT screen);
// The screen point at the centre of the close box, or false when the window
// has none.
bool CloseBoxPoint(const Window& w, POINT* screen);

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

// The screen size (DESK_SCREEN=WxH, else 1920 x 1080).
SIZE ScreenSize();

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
