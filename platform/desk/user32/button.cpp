// The BUTTON control: push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON), with
// check boxes and radio buttons only as far as keeping their check state.
// A click is a press and a release inside the button (mouse, or Space while
// it has the focus); it ends in WM_COMMAND BN_CLICKED to the parent, after
// the button let go of the mouse capture. With BS_NOTIFY the parent also
// hears BN_SETFOCUS, BN_KILLFOCUS and BN_DOUBLECLICKED.
#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/user32/window.h"

namespace desk {
namespace {

struct ButtonState {
    bool pushed;       // drawn pressed (BST_PUSHED)
    bool focused;      // BST_FOCUS
    bool tracking;     // a press (mouse or Space) is under way
    WPARAM check;      // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    HFONT font;        // WM_SETFONT
    HANDLE images[2];  // BM_SETIMAGE: IMAGE_BITMAP, IMAGE_ICON
};

ButtonState* StateOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr ? static_cast<ButtonState*>(w->control) : nullptr;
}

DWORD TypeOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool Notifies(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY) != 0;
}

// The press ends: the button is drawn up, lets the mouse go and, if the
// release happened inside, is clicked.
void Release(HWND hwnd, bool inside) {
    ButtonState* s = StateOf(hwnd);
    if (s == nullptr || !s->tracking) return;
    s->tracking = false;
    bool wasPushed = s->pushed;
    SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
    if (GetCapture() == hwnd) ReleaseCapture();
    if (!wasPushed || !inside || StateOf(hwnd) == nullptr) return;
    DWORD type = TypeOf(hwnd);
    if (type == BS_AUTOCHECKBOX)
        SendMessageA(hwnd, BM_SETCHECK,
                     StateOf(hwnd)->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    if (type == BS_AUTORADIOBUTTON) SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    NotifyParent(hwnd, BN_CLICKED);
}

void Press(HWND hwnd) {
    SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
    if (ButtonState* s = StateOf(hwnd)) s->tracking = true;
    SetCapture(hwnd);
}

void Paint(HWND hwnd, ButtonState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = AskParentColours(hwnd, dc, WM_CTLCOLORBTN);
    RECT client;
    GetClientRect(hwnd, &client);
    if (brush != nullptr) FillRect(dc, &client, brush);
    HGDIOBJ oldFont = SelectObject(dc, s.font != nullptr ? s.font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    Window* w = Find(hwnd);
    DrawTextA(dc, w->text.c_str(), static_cast<int>(w->text.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    ButtonState* state = StateOf(hwnd);
    if (message == WM_NCCREATE) {
        w->control = new ButtonState();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (state == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    ButtonState& s = *state;
    switch (message) {
        case WM_NCDESTROY:
            delete state;
            w->control = nullptr;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_GETDLGCODE: {
            DWORD type = TypeOf(hwnd);
            if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
                return DLGC_BUTTON | DLGC_RADIOBUTTON;
            return DLGC_BUTTON;
        }
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_SETFONT:
            s.font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s.font);
        case WM_LBUTTONDBLCLK:
            if (Notifies(hwnd)) NotifyParent(hwnd, BN_DOUBLECLICKED);
            [[fallthrough]];
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            if (StateOf(hwnd) != nullptr) Press(hwnd);
            return 0;
        case WM_MOUSEMOVE:
            if (s.tracking && GetCapture() == hwnd) {
                RECT client;
                GetClientRect(hwnd, &client);
                POINT at = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
                bool inside = PtInRect(&client, at) != FALSE;
                if (inside != s.pushed) SendMessageA(hwnd, BM_SETSTATE, inside ? TRUE : FALSE, 0);
            }
            return 0;
        case WM_LBUTTONUP: {
            RECT client;
            GetClientRect(hwnd, &client);
            POINT at = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
            Release(hwnd, PtInRect(&client, at) != FALSE);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !s.tracking) Press(hwnd);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE) Release(hwnd, true);
            return 0;
        case WM_CAPTURECHANGED:
            // Losing the capture in the middle of a press cancels it.
            if (s.tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
                s.tracking = false;
                if (s.pushed) SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
            }
            return 0;
        case WM_SETFOCUS:
            s.focused = true;
            InvalidateRect(hwnd, nullptr, FALSE);
            if (Notifies(hwnd)) NotifyParent(hwnd, BN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s.focused = false;
            if (s.tracking) {
                s.tracking = false;
                SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
                if (GetCapture() == hwnd) ReleaseCapture();
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            if (Notifies(hwnd)) NotifyParent(hwnd, BN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_PAINT:
            Paint(hwnd, s);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted with the parent's brush in WM_PAINT
        case BM_SETSTATE:
            if ((wParam != 0) != s.pushed) {
                s.pushed = wParam != 0;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case BM_GETSTATE:
            return static_cast<LRESULT>(s.check | (s.pushed ? BST_PUSHED : 0) |
                                        (s.focused ? BST_FOCUS : 0));
        case BM_SETCHECK:
            s.check = wParam;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case BM_GETCHECK:
            return static_cast<LRESULT>(s.check);
        case BM_SETSTYLE:
            // Only the button type changes; no style messages, as on Win32.
            w->style = (w->style & ~static_cast<DWORD>(BS_TYPEMASK)) |
                       (static_cast<DWORD>(wParam) & BS_TYPEMASK);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case BM_CLICK:
            // A click on a disabled button does nothing.
            if (!IsWindowEnabled(hwnd)) return 0;
            SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            if (IsWindow(hwnd)) SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
            return 0;
        case BM_SETIMAGE: {
            if (wParam > IMAGE_ICON) return 0;
            HANDLE old = s.images[wParam];
            s.images[wParam] = reinterpret_cast<HANDLE>(lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case BM_GETIMAGE:
            return wParam <= IMAGE_ICON ? reinterpret_cast<LRESULT>(s.images[wParam]) : 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterButtonClass() {
    RegisterSystemClass("Button", ButtonProc, CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC,
                        LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace desk
