// Keyboard focus, activation, enabling and mouse capture, with the Win32
// message order: the window losing activation hears first (WM_NCACTIVATE,
// WM_ACTIVATE inactive), then the program if it gains or loses activation
// as a whole (WM_ACTIVATEAPP to every top-level window), then the window
// gaining it (WM_NCACTIVATE, WM_ACTIVATE), whose default handling takes the
// focus. A focus change tells the old window first (WM_KILLFOCUS with the
// new one) and the new one after (WM_SETFOCUS with the old one).
#include "platform/desk/user32/window.h"

namespace {
HWND g_focus = nullptr;
HWND g_active = nullptr;
HWND g_capture = nullptr;
bool g_appActive = false;  // one of the program's windows is active

bool Alive(HWND hwnd) {
    return desk::Find(hwnd) != nullptr;
}

HWND MoveFocus(HWND hwnd) {
    HWND previous = g_focus;
    if (previous == hwnd) return previous;
    g_focus = hwnd;
    if (previous != nullptr && Alive(previous)) {
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    if (hwnd != nullptr && g_focus == hwnd && Alive(hwnd)) {
        SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

void TellAllActivateApp(bool active) {
    for (HWND top : desk::TopLevelWindows()) {
        if (Alive(top)) SendMessageA(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
    }
}

// The activated window comes to the top of its layer (topmost windows stay
// above the others).
void RaiseInLayer(desk::Window& w) {
    std::vector<HWND>& list = desk::SiblingsOf(w);
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == w.handle) {
            list.erase(it);
            break;
        }
    }
    auto at = list.begin();
    if (!(w.exStyle & WS_EX_TOPMOST)) {
        while (at != list.end() && desk::Find(*at) != nullptr &&
               (desk::Find(*at)->exStyle & WS_EX_TOPMOST))
            ++at;
    }
    list.insert(at, w.handle);
}

bool CanTakeActivation(const desk::Window& w) {
    return !w.destroying && (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}
}  // namespace

namespace desk {

bool ActivateWindow(HWND hwnd, int how) {
    if (hwnd != nullptr && !Alive(hwnd)) return false;
    if (hwnd == g_active) {
        if (Window* w = Find(hwnd)) RaiseInLayer(*w);
        return true;
    }
    HWND previous = g_active;
    if (previous != nullptr && Alive(previous)) {
        SendMessageA(previous, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous) ? 1 : 0),
                     reinterpret_cast<LPARAM>(hwnd));
    }
    g_active = hwnd;
    if (hwnd == nullptr) {
        if (g_appActive) {
            g_appActive = false;
            TellAllActivateApp(false);
        }
        MoveFocus(nullptr);
        return true;
    }
    if (Window* w = Find(hwnd)) RaiseInLayer(*w);
    if (!g_appActive) {
        g_appActive = true;
        TellAllActivateApp(true);
    }
    if (g_active != hwnd || !Alive(hwnd)) return false;
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0),
                 reinterpret_cast<LPARAM>(previous));
    // Whatever the window procedure did with WM_ACTIVATE, the focus ends up
    // inside the active window.
    if (g_active == hwnd && Alive(hwnd) && (g_focus == nullptr || RootOf(g_focus) != hwnd)) {
        MoveFocus(IsIconic(hwnd) ? nullptr : hwnd);
    }
    return g_active == hwnd;
}

void FocusLeavesHidden(HWND hwnd) {
    if (g_capture != nullptr && (g_capture == hwnd || IsChild(hwnd, g_capture))) ReleaseCapture();
    if (g_focus == nullptr || (g_focus != hwnd && !IsChild(hwnd, g_focus))) return;
    Window* w = Find(hwnd);
    if (w != nullptr && (w->style & WS_CHILD)) {
        SetFocus(w->parent);
    }
    // A top-level window passes the focus on with the activation.
}

void ActivateOtherThan(HWND hwnd) {
    if (g_active != hwnd) return;
    Window* w = Find(hwnd);
    HWND next = nullptr;
    if (w != nullptr) {
        Window* owner = Find(w->owner);
        if (owner != nullptr && CanTakeActivation(*owner)) next = owner->handle;
    }
    if (next == nullptr) {
        for (HWND top : TopLevelWindows()) {
            Window* t = Find(top);
            if (top != hwnd && t != nullptr && CanTakeActivation(*t)) {
                next = top;
                break;
            }
        }
    }
    ActivateWindow(next, WA_ACTIVE);
}

void ForgetWindow(HWND hwnd) {
    if (g_focus == hwnd) g_focus = nullptr;
    if (g_active == hwnd) g_active = nullptr;
    if (g_capture == hwnd) g_capture = nullptr;
}

}  // namespace desk

// Fails for a window that is disabled or minimised, or inside one; focusing
// a window of an inactive top-level window activates that first.
HWND SetFocus(HWND hwnd) {
    if (hwnd == nullptr) return MoveFocus(nullptr);
    desk::Window* w = desk::Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (hwnd == g_focus) return g_focus;
    for (desk::Window* p = w; p != nullptr;
         p = (p->style & WS_CHILD) ? desk::Find(p->parent) : nullptr) {
        if (p->style & (WS_DISABLED | WS_MINIMIZE)) return nullptr;
    }
    HWND top = desk::RootOf(hwnd);
    if (top != g_active) {
        if (!desk::ActivateWindow(top, WA_ACTIVE) || !Alive(hwnd) || g_active != top)
            return nullptr;
    }
    return MoveFocus(hwnd);
}

HWND GetFocus() {
    return g_focus;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND previous = g_active;
    desk::Window* w = desk::Find(hwnd);
    if (hwnd != nullptr && w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (w != nullptr && (w->style & WS_CHILD)) return previous;  // a child is never active
    desk::ActivateWindow(hwnd, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow() {
    return g_active;
}

BOOL SetForegroundWindow(HWND hwnd) {
    HWND top = desk::RootOf(hwnd);
    if (top == nullptr) return FALSE;
    return desk::ActivateWindow(top, WA_ACTIVE) ? TRUE : FALSE;
}

HWND GetForegroundWindow() {
    return g_active;
}

// Disabling cancels what the window was doing (WM_CANCELMODE) and takes the
// focus away from it, before WM_ENABLE tells it.
BOOL EnableWindow(HWND hwnd, BOOL enable) {
    desk::Window* w = desk::Find(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        w->needsPaint = true;
        SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
        w = desk::Find(hwnd);
        if (w == nullptr) return FALSE;
        w->style |= WS_DISABLED;
        w->needsPaint = true;
        if (g_focus != nullptr && (g_focus == hwnd || IsChild(hwnd, g_focus))) SetFocus(nullptr);
        if (Alive(hwnd)) SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    desk::Window* w = desk::Find(hwnd);
    return w != nullptr && !(w->style & WS_DISABLED);
}

HWND SetCapture(HWND hwnd) {
    HWND previous = g_capture;
    if (hwnd != nullptr && !Alive(hwnd)) return previous;
    g_capture = hwnd;
    if (previous != nullptr && previous != hwnd && Alive(previous)) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous = g_capture;
    g_capture = nullptr;
    if (previous != nullptr && Alive(previous)) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return g_capture;
}
