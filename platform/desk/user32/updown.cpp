// The up-down control (msctls_updown32): a position in a range, moved by
// its two arrows. Each step asks the parent first (WM_NOTIFY UDN_DELTAPOS,
// which may refuse or change the step), then, with UDS_SETBUDDYINT, writes
// the new position into the buddy window's text and reports it with
// WM_VSCROLL (WM_HSCROLL for UDS_HORZ) SB_THUMBPOSITION; releasing the
// mouse ends with SB_ENDSCROLL. A fresh control has the range 100 (lower)
// to 0 (upper), as on Windows, so the up arrow counts down until the range
// is set.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/desk/user32/window.h"

namespace desk {
namespace {

struct UpDownState {
    HWND buddy;
    int lower;
    int upper;
    int pos;
    int base;                    // 10 or 16
    std::vector<UDACCEL> accel;  // only the first step size is used
    bool tracking;               // the mouse is down on an arrow
};

UpDownState* StateOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr ? static_cast<UpDownState*>(w->control) : nullptr;
}

DWORD StyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

bool BuddyIsEdit(HWND buddy) {
    char name[16];
    return GetClassNameA(buddy, name, sizeof name) > 0 && std::string(name) == "Edit";
}

// Decimal with thousands separators unless UDS_NOTHOUSANDS; hexadecimal as
// 0x followed by four digits.
std::string Format(HWND hwnd, const UpDownState& s, int value) {
    char buffer[32];
    if (s.base == 16) {
        std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(value));
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%d", value);
    std::string digits = buffer;
    if (StyleOf(hwnd) & UDS_NOTHOUSANDS) return digits;
    size_t first = digits[0] == '-' ? 1 : 0;
    for (size_t at = digits.size(); at > first + 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

// The buddy's text as a position, thousands separators allowed; false when
// it is not a number.
bool ReadBuddy(const UpDownState& s, int* value) {
    int length = GetWindowTextLengthA(s.buddy);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(s.buddy, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    std::string clean;
    for (char c : text) {
        if (c != ',') clean.push_back(c);
    }
    if (clean.empty()) return false;
    char* end = nullptr;
    long parsed = std::strtol(clean.c_str(), &end, s.base == 16 ? 16 : 10);
    if (end == nullptr || *end != '\0') return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool InRange(const UpDownState& s, int value) {
    int low = s.lower < s.upper ? s.lower : s.upper;
    int high = s.lower < s.upper ? s.upper : s.lower;
    return value >= low && value <= high;
}

int Clamp(const UpDownState& s, int value) {
    int low = s.lower < s.upper ? s.lower : s.upper;
    int high = s.lower < s.upper ? s.upper : s.lower;
    return value < low ? low : value > high ? high : value;
}

void WriteBuddy(HWND hwnd, const UpDownState& s) {
    if (s.buddy != nullptr && IsWindow(s.buddy) && (StyleOf(hwnd) & UDS_SETBUDDYINT)) {
        SetWindowTextA(s.buddy, Format(hwnd, s, s.pos).c_str());
    }
}

// Takes the buddy's number as the position when the buddy holds one.
void SyncFromBuddy(HWND hwnd, UpDownState& s, bool* error) {
    *error = false;
    if (s.buddy == nullptr || !IsWindow(s.buddy) || !(StyleOf(hwnd) & UDS_SETBUDDYINT)) return;
    int value;
    if (ReadBuddy(s, &value) && InRange(s, value)) {
        s.pos = value;
    } else {
        *error = true;
    }
}

void PlaceBesideBuddy(HWND hwnd, const UpDownState& s) {
    DWORD style = StyleOf(hwnd);
    if (s.buddy == nullptr || !(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return;
    Window* self = Find(hwnd);
    Window* buddy = Find(s.buddy);
    if (self == nullptr || buddy == nullptr || buddy->parent != self->parent) return;
    int width = self->rect.right - self->rect.left;
    RECT b = buddy->rect;
    // The buddy gives up the room the arrows take.
    if (style & UDS_ALIGNRIGHT) {
        MoveWindow(s.buddy, b.left, b.top, b.right - b.left - width, b.bottom - b.top, TRUE);
        MoveWindow(hwnd, b.right - width, b.top, width, b.bottom - b.top, TRUE);
    } else {
        MoveWindow(s.buddy, b.left + width, b.top, b.right - b.left - width, b.bottom - b.top,
                   TRUE);
        MoveWindow(hwnd, b.left, b.top, width, b.bottom - b.top, TRUE);
    }
}

HWND SetBuddy(HWND hwnd, UpDownState& s, HWND buddy) {
    HWND old = s.buddy;
    s.buddy = IsWindow(buddy) ? buddy : nullptr;
    PlaceBesideBuddy(hwnd, s);
    return old;
}

void Step(HWND hwnd, bool up) {
    UpDownState* s = StateOf(hwnd);
    if (s == nullptr) return;
    bool error;
    SyncFromBuddy(hwnd, *s, &error);
    int size = s->accel.empty() ? 1 : static_cast<int>(s->accel[0].nInc);
    int delta = (up == (s->upper >= s->lower)) ? size : -size;
    Window* w = Find(hwnd);
    NMUPDOWN nm = {{hwnd, w->id, UDN_DELTAPOS}, s->pos, delta};
    if (SendMessageA(GetParent(hwnd), WM_NOTIFY, w->id, reinterpret_cast<LPARAM>(&nm)) != 0) return;
    s = StateOf(hwnd);
    if (s == nullptr) return;
    int next = s->pos + nm.iDelta;
    if (!InRange(*s, next)) {
        if (StyleOf(hwnd) & UDS_WRAP) {
            next = nm.iDelta > 0 ? (s->lower < s->upper ? s->lower : s->upper)
                                 : (s->lower < s->upper ? s->upper : s->lower);
        } else {
            next = Clamp(*s, next);
        }
    }
    if (next != s->pos) {
        s->pos = next;
        WriteBuddy(hwnd, *s);
    }
    s = StateOf(hwnd);
    if (s == nullptr) return;
    UINT scroll = (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageA(GetParent(hwnd), scroll, MAKEWPARAM(SB_THUMBPOSITION, s->pos),
                 reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    UpDownState* state = StateOf(hwnd);
    if (message == WM_NCCREATE) {
        auto* s = new UpDownState();
        s->lower = 100;
        s->upper = 0;
        s->base = 10;
        w->control = s;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (state == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    UpDownState& s = *state;
    switch (message) {
        case WM_CREATE:
            if (StyleOf(hwnd) & UDS_AUTOBUDDY) SetBuddy(hwnd, s, GetWindow(hwnd, GW_HWNDPREV));
            return 0;
        case WM_NCDESTROY:
            delete state;
            w->control = nullptr;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_LBUTTONDOWN: {
            RECT client;
            GetClientRect(hwnd, &client);
            SHORT x = static_cast<SHORT>(LOWORD(lParam));
            SHORT y = static_cast<SHORT>(HIWORD(lParam));
            bool up = (StyleOf(hwnd) & UDS_HORZ) ? x >= client.right / 2 : y < client.bottom / 2;
            if (s.buddy != nullptr && BuddyIsEdit(s.buddy)) SetFocus(s.buddy);
            if (StateOf(hwnd) == nullptr) return 0;
            StateOf(hwnd)->tracking = true;
            SetCapture(hwnd);
            Step(hwnd, up);
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (s.tracking) {
                s.tracking = false;
                if (message == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
                UINT scroll = (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
                if (StateOf(hwnd) != nullptr) {
                    SendMessageA(GetParent(hwnd), scroll,
                                 MAKEWPARAM(SB_ENDSCROLL, StateOf(hwnd)->pos),
                                 reinterpret_cast<LPARAM>(hwnd));
                }
            }
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case UDM_SETBUDDY:
            return reinterpret_cast<LRESULT>(SetBuddy(hwnd, s, reinterpret_cast<HWND>(wParam)));
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(s.buddy);
        case UDM_SETRANGE:
            s.upper = static_cast<SHORT>(LOWORD(lParam));
            s.lower = static_cast<SHORT>(HIWORD(lParam));
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(s.upper, s.lower);
        case UDM_SETRANGE32:
            s.lower = static_cast<int>(wParam);
            s.upper = static_cast<int>(lParam);
            return 0;
        case UDM_GETRANGE32:
            if (wParam != 0) *reinterpret_cast<int*>(wParam) = s.lower;
            if (lParam != 0) *reinterpret_cast<int*>(lParam) = s.upper;
            return 0;
        case UDM_SETPOS:
        case UDM_SETPOS32: {
            int old = s.pos;
            s.pos = Clamp(s, message == UDM_SETPOS ? static_cast<SHORT>(LOWORD(lParam))
                                                   : static_cast<int>(lParam));
            WriteBuddy(hwnd, s);
            return old;
        }
        case UDM_GETPOS: {
            bool error;
            SyncFromBuddy(hwnd, s, &error);
            return MAKELONG(s.pos, error ? 1 : 0);
        }
        case UDM_GETPOS32: {
            bool error;
            SyncFromBuddy(hwnd, s, &error);
            if (lParam != 0) *reinterpret_cast<BOOL*>(lParam) = error ? TRUE : FALSE;
            return s.pos;
        }
        case UDM_SETBASE: {
            if (wParam != 10 && wParam != 16) return 0;
            int old = s.base;
            s.base = static_cast<int>(wParam);
            return old;
        }
        case UDM_GETBASE:
            return s.base;
        case UDM_SETACCEL: {
            const UDACCEL* list = reinterpret_cast<const UDACCEL*>(lParam);
            if (list == nullptr || wParam == 0) return FALSE;
            s.accel.assign(list, list + wParam);
            return TRUE;
        }
        case UDM_GETACCEL: {
            UDACCEL* out = reinterpret_cast<UDACCEL*>(lParam);
            size_t n = s.accel.empty() ? 1 : s.accel.size();
            for (size_t i = 0; out != nullptr && i < n && i < wParam; ++i)
                out[i] = s.accel.empty() ? UDACCEL{0, 1} : s.accel[i];
            return static_cast<LRESULT>(n);
        }
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterUpDownClass() {
    RegisterSystemClass(UPDOWN_CLASSA, UpDownProc, CS_HREDRAW | CS_VREDRAW,
                        LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace desk
