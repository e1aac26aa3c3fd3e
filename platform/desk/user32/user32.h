// The window manager's public side: what the desk's front ends may use
// beyond the Win32 API itself. The front ends look at the windows through their records, give
// input as a user's hands would, answer message boxes, and are the user the
// window manager waits on; everything else of user32 stays inside it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/desk/gdi32/paint_record.h"
#include "platform/win32.h"

namespace desk {

// ---- The window records. Handles are small numbers that are never reused,
// so a stale handle is told apart from a live one. Only the window manager
// changes a record; everyone else reads it.

struct WindowClass {
    std::string name;  // compared case-insensitively, as Win32 does
    WNDCLASSEXA wc;    // lpszClassName points at `name`
    bool system;       // one of the desk's built-in control classes
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
    PaintRecord paint;  // filled by gdi32 through the finder window.cpp sets
};

// The live window of a handle, or null. The desktop window is not found.
Window* Find(HWND hwnd);
// Live top-level windows of the process, in Z order, top first.
std::vector<HWND> TopLevelWindows();
// Live top-level windows in creation order, oldest first.
std::vector<HWND> TopLevelWindowsByAge();
// Whether the window and all its ancestors are enabled.
bool IsUsable(const Window& w);

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

// ---- The user's input: keys and mouse clicks the front ends produce. Input
// waits in its own queue and is taken after the posted messages, as Win32
// takes hardware input; where it goes (the focus window, the window under
// the mouse or the capture window) is decided when it is taken, and so is
// the key state GetKeyState reports.

// A key goes down or up.
void InputKey(BYTE vk, bool down);
// A key is pressed and released, with Shift and Ctrl held around it.
void InputKeyPress(BYTE vk, bool shift, bool ctrl);
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

// ---- Message boxes: their buttons and answers by name.

// The buttons a box of that type shows, left to right (IDOK ...).
std::vector<int> MessageBoxButtons(UINT type);
// "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No".
const char* AnswerName(int answer);
// 0 when the name is none of those.
int AnswerFromName(const std::string& name);

// ---- The user. The window manager asks the front end when the program
// waits on an empty queue and when a message box opens; which front end
// that is, frontends/ decides.

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;
    // The program waits for input and its queue is empty: the user takes
    // the next step. False when the user will never do anything again.
    virtual bool Idle() = 0;
    // Chooses the answer (IDOK ...) of a message box; `fallback` is its
    // default button.
    virtual int AnswerMessageBox(const std::string& text, const std::string& title, UINT type,
                                 int fallback) = 0;
};

// Chosen once, at first need (frontends/frontend.cpp).
FrontEnd& CurrentFrontEnd();

}  // namespace desk
