// DefWindowProcA: the default answer to every message, as Win32 gives it
// for the messages the runtime's windows leave to it. Also the two helpers
// every built-in control uses to talk to its parent.
#include <cstring>

#include "platform/desk/user32/window.h"

using desk::Find;
using desk::Window;

namespace desk {

void NotifyParent(HWND control, UINT code) {
    Window* w = Find(control);
    if (w == nullptr || !(w->style & WS_CHILD)) return;
    SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

// A parent that answers 0 leaves the control the default colours.
HBRUSH AskParentColours(HWND control, HDC dc, UINT message) {
    Window* w = Find(control);
    if (w == nullptr) return nullptr;
    HWND parent = (w->style & WS_CHILD) ? w->parent : control;
    LRESULT brush = SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(control));
    if (brush == 0)
        brush = DefWindowProcA(parent, message, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(control));
    return reinterpret_cast<HBRUSH>(brush);
}

}  // namespace desk

namespace {

LRESULT DefaultColours(UINT message, HDC dc) {
    bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(field ? COLOR_WINDOW : COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(field ? COLOR_WINDOW : COLOR_3DFACE));
}

LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer) {
    if (size == 0 || buffer == 0) return 0;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
    reinterpret_cast<char*>(buffer)[n] = '\0';
    return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (w == nullptr) return 0;
    switch (message) {
        case WM_NCCREATE: {
            // The window text comes from CreateWindowEx's name here, so a
            // class that never passes WM_NCCREATE on has no text.
            const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (cs != nullptr && cs->lpszName != nullptr) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_GETTEXT:
            return CopyText(w->text, wParam, lParam);
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    SendMessageA(hwnd, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(hwnd, SW_MINIMIZE);
                    break;
                case SC_MAXIMIZE:
                    ShowWindow(hwnd, SW_MAXIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(hwnd, SW_RESTORE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) SetFocus(hwnd);
            return 0;
        case WM_NCACTIVATE:
            return TRUE;
        case WM_MOUSEACTIVATE:
            if (w->style & WS_CHILD) {
                LRESULT answer = SendMessageA(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
                if (answer != 0) return answer;
            }
            return MA_ACTIVATE;
        case WM_SETCURSOR:
            if (w->style & WS_CHILD) {
                if (SendMessageA(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
            }
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(w->cls->wc.hCursor);
                return TRUE;
            }
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return FALSE;
        case WM_WINDOWPOSCHANGED:
            desk::SendPosChangedMessages(hwnd, *reinterpret_cast<const WINDOWPOS*>(lParam));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = w->cls->wc.hbrBackground;
            if (brush == nullptr) return 0;
            RECT client;
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            return 1;
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return DefaultColours(message, reinterpret_cast<HDC>(wParam));
        case WM_SETICON: {
            HICON icon = reinterpret_cast<HICON>(lParam);
            HICON old = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
            (wParam == ICON_BIG ? w->bigIcon : w->smallIcon) = icon;
            return reinterpret_cast<LRESULT>(old);
        }
        case WM_GETICON:
            if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(w->bigIcon);
            if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(w->smallIcon);
            return reinterpret_cast<LRESULT>(w->smallIcon != nullptr ? w->smallIcon : w->bigIcon);
        case WM_CANCELMODE:
            if (GetCapture() == hwnd) ReleaseCapture();
            return 0;
        case WM_NCHITTEST: {
            POINT screen = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
            return desk::HitTest(*w, screen);
        }
        case WM_NCLBUTTONDOWN:
            // Win32 tracks the press on the close box until the button comes
            // up; the desk remembers it and closes on the matching release.
            w->closeArmed = wParam == HTCLOSE;
            return 0;
        case WM_NCLBUTTONUP:
            if (wParam == HTCLOSE && w->closeArmed) {
                w->closeArmed = false;
                SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
            }
            return 0;
        case WM_SYSKEYDOWN:
            // Alt+F4 closes the top-level window.
            if (wParam == VK_F4 && (lParam & (1 << 29))) {
                SendMessageA(desk::RootOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        default:
            return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc != nullptr ? proc(hwnd, message, wParam, lParam) : 0;
}
