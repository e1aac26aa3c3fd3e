// The desk's window records, shared by the window manager, the built-in
// control classes and the front ends. Handles are small numbers that are
// never reused, so a stale handle is told apart from a live one.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace desk {

struct WindowClass {
    std::string name;  // compared case-insensitively, as Win32 does
    WNDCLASSA wc;
};

struct Window {
    HWND handle;
    const WindowClass* cls;
    WNDPROC proc;
    DWORD style;
    DWORD exStyle;
    RECT rect;            // outer rectangle: screen coordinates for top-level
                          // windows, parent client coordinates for children
    HWND parent;          // WS_CHILD windows: the parent
    HWND owner;           // top-level windows: the owner, or null
    UINT_PTR id;          // child control id
    std::string text;     // GBK
    bool shownOnce;       // the log's "show" line was written
    bool destroying;
    LONG_PTR userData;    // GWLP_USERDATA
    std::vector<HWND> children;  // in Z order, top first
};

// The live window of a handle, or null.
Window* Find(HWND hwnd);
// Live top-level windows of the process, in Z order, top first.
std::vector<HWND> TopLevelWindows();
// Whether the window and all its ancestors are visible.
bool IsShown(const Window& w);

}  // namespace desk
