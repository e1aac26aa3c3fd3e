// The input queue, the key state, the US keyboard layout and
// TranslateMessage.
#include "platform/desk/user32/input.h"

#include <cstring>
#include <deque>

#include "platform/desk/user32/window.h"

namespace desk {
namespace {

struct InputEvent {
    enum Kind { kKey, kImeByte, kMouse } kind;
    UINT message;  // mouse: WM_MOUSEMOVE, WM_LBUTTONDOWN or WM_LBUTTONUP
    BYTE vk;       // key: the virtual key
    bool down;     // key: pressed (true) or released
    BYTE byte;     // IME byte
    POINT pt;      // mouse: screen point
};

std::deque<InputEvent> g_input;
BYTE g_keys[256];  // 0x80 down, 0x01 toggled
POINT g_cursor = {0, 0};

// The US keyboard: the character of each key without and with Shift.
struct KeyChar {
    BYTE vk;
    char plain;
    char shifted;
};
const KeyChar kLayout[] = {
    {VK_SPACE, ' ', ' '},     {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},
    {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
    {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
    {VK_BACK, '\b', '\b'},    {VK_TAB, '\t', '\t'},     {VK_RETURN, '\r', '\r'},
    {VK_ESCAPE, 0x1B, 0x1B},
};
const char kShiftedDigits[] = ")!@#$%^&*(";

bool Down(BYTE vk) {
    return (g_keys[vk] & 0x80) != 0;
}

// The character a key makes with the current key state, or 0.
char CharOfKey(BYTE vk) {
    bool shift = Down(VK_SHIFT);
    bool ctrl = Down(VK_CONTROL);
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<char>(vk - 'A' + 1);
        bool upper = shift != ((g_keys[VK_CAPITAL] & 1) != 0);
        return static_cast<char>(upper ? vk : vk - 'A' + 'a');
    }
    if (ctrl) {
        if (vk == VK_BACK) return 0x7F;
        if (vk == VK_RETURN) return '\n';
        if (vk == VK_ESCAPE) return 0x1B;
        return 0;
    }
    if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
    for (const KeyChar& k : kLayout) {
        if (k.vk == vk) return shift ? k.shifted : k.plain;
    }
    return 0;
}

// The key (and Shift) that types an ASCII character, or false.
bool KeyOfChar(char c, BYTE* vk, bool* shift) {
    if (c >= 'a' && c <= 'z') {
        *vk = static_cast<BYTE>(c - 'a' + 'A');
        *shift = false;
        return true;
    }
    if (c >= 'A' && c <= 'Z') {
        *vk = static_cast<BYTE>(c);
        *shift = true;
        return true;
    }
    if (c >= '0' && c <= '9') {
        *vk = static_cast<BYTE>(c);
        *shift = false;
        return true;
    }
    for (int d = 0; d < 10; ++d) {
        if (kShiftedDigits[d] == c) {
            *vk = static_cast<BYTE>('0' + d);
            *shift = true;
            return true;
        }
    }
    if (c == '\n') c = '\r';
    for (const KeyChar& k : kLayout) {
        if (k.plain == c || k.shifted == c) {
            *vk = k.vk;
            *shift = k.plain != c;
            return true;
        }
    }
    return false;
}

// Set-1 scan codes of the keys the desk's users press; cosmetic, but a
// program may look at them.
BYTE ScanCode(BYTE vk) {
    static const char kRows[] = "QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM";
    if (vk >= 'A' && vk <= 'Z') {
        const char* at = static_cast<const char*>(std::memchr(kRows, vk, sizeof kRows));
        return static_cast<BYTE>(0x10 + (at - kRows));
    }
    if (vk >= '1' && vk <= '9') return static_cast<BYTE>(vk - '1' + 2);
    if (vk >= VK_F1 && vk <= VK_F10) return static_cast<BYTE>(0x3B + vk - VK_F1);
    switch (vk) {
        case '0':
            return 0x0B;
        case VK_ESCAPE:
            return 0x01;
        case VK_OEM_MINUS:
            return 0x0C;
        case VK_OEM_PLUS:
            return 0x0D;
        case VK_BACK:
            return 0x0E;
        case VK_TAB:
            return 0x0F;
        case VK_OEM_4:
            return 0x1A;
        case VK_OEM_6:
            return 0x1B;
        case VK_RETURN:
            return 0x1C;
        case VK_CONTROL:
            return 0x1D;
        case VK_OEM_1:
            return 0x27;
        case VK_OEM_7:
            return 0x28;
        case VK_OEM_3:
            return 0x29;
        case VK_SHIFT:
            return 0x2A;
        case VK_OEM_5:
            return 0x2B;
        case VK_OEM_COMMA:
            return 0x33;
        case VK_OEM_PERIOD:
            return 0x34;
        case VK_OEM_2:
            return 0x35;
        case VK_MENU:
            return 0x38;
        case VK_SPACE:
            return 0x39;
        case VK_HOME:
            return 0x47;
        case VK_UP:
            return 0x48;
        case VK_PRIOR:
            return 0x49;
        case VK_LEFT:
            return 0x4B;
        case VK_RIGHT:
            return 0x4D;
        case VK_END:
            return 0x4F;
        case VK_DOWN:
            return 0x50;
        case VK_NEXT:
            return 0x51;
        case VK_INSERT:
            return 0x52;
        case VK_DELETE:
            return 0x53;
        default:
            return 0;
    }
}

bool Extended(BYTE vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
}

// Repeat count 1, scan code, extended flag, Alt (context), previous state
// and transition, as Win32 packs them.
LPARAM KeyLParam(BYTE vk, bool down) {
    DWORD value = 1u | (static_cast<DWORD>(ScanCode(vk)) << 16);
    if (Extended(vk)) value |= 1u << 24;
    if (Down(VK_MENU)) value |= 1u << 29;
    if (!down || Down(vk)) value |= 1u << 30;
    if (!down) value |= 1u << 31;
    return static_cast<LPARAM>(value);
}

void SetKey(BYTE vk, bool down) {
    if (down) {
        if (!Down(vk)) g_keys[vk] ^= 0x01;  // each press toggles
        g_keys[vk] |= 0x80;
    } else {
        g_keys[vk] &= static_cast<BYTE>(~0x80);
    }
    // The generic keys follow their left-hand keys.
    if (vk == VK_SHIFT || vk == VK_LSHIFT)
        g_keys[vk == VK_SHIFT ? VK_LSHIFT : VK_SHIFT] = g_keys[vk];
    if (vk == VK_CONTROL || vk == VK_LCONTROL)
        g_keys[vk == VK_CONTROL ? VK_LCONTROL : VK_CONTROL] = g_keys[vk];
    if (vk == VK_MENU || vk == VK_LMENU) g_keys[vk == VK_MENU ? VK_LMENU : VK_MENU] = g_keys[vk];
}

WPARAM MouseKeys() {
    WPARAM keys = 0;
    if (Down(VK_LBUTTON)) keys |= MK_LBUTTON;
    if (Down(VK_RBUTTON)) keys |= MK_RBUTTON;
    if (Down(VK_SHIFT)) keys |= MK_SHIFT;
    if (Down(VK_CONTROL)) keys |= MK_CONTROL;
    return keys;
}

bool Matches(const MSG& msg, HWND filter, UINT filterMin, UINT filterMax) {
    if (filter != nullptr && msg.hwnd != filter && !IsChild(filter, msg.hwnd)) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

// Builds the message an input event becomes now; false when it has nowhere
// to go (no focus and no active window, or nothing under the mouse).
bool Route(const InputEvent& e, MSG* msg, int* hit) {
    *msg = MSG{};
    msg->time = GetTickCount();
    msg->pt = e.kind == InputEvent::kMouse ? e.pt : g_cursor;
    if (e.kind == InputEvent::kKey) {
        HWND focus = GetFocus();
        HWND target = focus != nullptr ? focus : GetActiveWindow();
        if (target == nullptr) return false;
        // Without a focus window, or with Alt held, keys are system keys.
        bool sys = focus == nullptr || Down(VK_MENU) || e.vk == VK_MENU || e.vk == VK_F10;
        msg->hwnd = target;
        msg->message = e.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        msg->wParam = e.vk;
        msg->lParam = KeyLParam(e.vk, e.down);
        return true;
    }
    if (e.kind == InputEvent::kImeByte) {
        if (GetFocus() == nullptr) return false;
        msg->hwnd = GetFocus();
        msg->message = WM_CHAR;
        msg->wParam = e.byte;
        msg->lParam = 1;
        return true;
    }
    HWND target = GetCapture();
    *hit = HTCLIENT;
    if (target == nullptr) {
        target = WindowFromPoint(e.pt);
        Window* w = Find(target);
        if (w == nullptr || !IsUsable(*w)) return false;  // a disabled window takes no clicks
        *hit = HitTest(*w, e.pt);
    }
    msg->hwnd = target;
    if (*hit == HTCLIENT) {
        POINT client = e.pt;
        ScreenToClient(target, &client);
        msg->message = e.message;
        msg->wParam = MouseKeys();
        if (e.message == WM_LBUTTONDOWN) msg->wParam |= MK_LBUTTON;
        if (e.message == WM_LBUTTONUP) msg->wParam &= ~static_cast<WPARAM>(MK_LBUTTON);
        msg->lParam = MAKELPARAM(client.x, client.y);
    } else {
        msg->message = e.message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        msg->wParam = static_cast<WPARAM>(*hit);
        msg->lParam = MAKELPARAM(e.pt.x, e.pt.y);
    }
    return true;
}

// A button going down in a child window is told to its parents
// (WM_PARENTNOTIFY), each with the point in its own client area, up to a
// top-level window or a child that asked for no notifications.
void TellParentsOfClick(HWND hwnd, POINT screen) {
    Window* w = Find(hwnd);
    while (w != nullptr && (w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        HWND parent = w->parent;
        POINT at = screen;
        ScreenToClient(parent, &at);
        SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0),
                     MAKELPARAM(at.x, at.y));
        w = Find(parent);
    }
}

}  // namespace

void InputKey(BYTE vk, bool down) {
    g_input.push_back(InputEvent{InputEvent::kKey, 0, vk, down, 0, {0, 0}});
}

void InputKeyPress(BYTE vk, bool shift, bool ctrl) {
    if (ctrl) InputKey(VK_CONTROL, true);
    if (shift) InputKey(VK_SHIFT, true);
    InputKey(vk, true);
    InputKey(vk, false);
    if (shift) InputKey(VK_SHIFT, false);
    if (ctrl) InputKey(VK_CONTROL, false);
}

void InputImeByte(BYTE byte) {
    g_input.push_back(InputEvent{InputEvent::kImeByte, 0, 0, false, byte, {0, 0}});
}

void InputText(const std::string& gbk) {
    for (size_t i = 0; i < gbk.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        BYTE vk;
        bool shift;
        if (c < 0x80 && KeyOfChar(static_cast<char>(c), &vk, &shift)) {
            InputKeyPress(vk, shift, false);
        } else if (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) {
            InputImeByte(c);
            InputImeByte(static_cast<BYTE>(gbk[++i]));
        } else {
            InputImeByte(c);
        }
    }
}

void InputMouse(UINT message, POINT screen) {
    g_input.push_back(InputEvent{InputEvent::kMouse, message, 0, false, 0, screen});
}

void InputClick(POINT screen) {
    InputMouse(WM_MOUSEMOVE, screen);
    InputMouse(WM_LBUTTONDOWN, screen);
    InputMouse(WM_LBUTTONUP, screen);
}

bool KeyFromName(const std::string& fullName, BYTE* vk, bool* shift, bool* ctrl) {
    std::string name = fullName;
    *shift = false;
    *ctrl = false;
    for (;;) {
        if (name.compare(0, 6, "Shift+") == 0) {
            *shift = true;
            name.erase(0, 6);
        } else if (name.compare(0, 5, "Ctrl+") == 0) {
            *ctrl = true;
            name.erase(0, 5);
        } else {
            break;
        }
    }
    static const struct {
        const char* name;
        BYTE vk;
    } kNames[] = {{"Tab", VK_TAB},        {"Enter", VK_RETURN},  {"Escape", VK_ESCAPE},
                  {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Home", VK_HOME},
                  {"End", VK_END},        {"Left", VK_LEFT},     {"Right", VK_RIGHT},
                  {"Up", VK_UP},          {"Down", VK_DOWN},     {"Space", VK_SPACE},
                  {"F1", VK_F1},          {"F2", VK_F2},         {"F3", VK_F3},
                  {"F4", VK_F4},          {"F10", VK_F10}};
    for (const auto& entry : kNames) {
        if (name == entry.name) {
            *vk = entry.vk;
            return true;
        }
    }
    return false;
}

bool InputPending() {
    return !g_input.empty();
}

bool PeekInput(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
    while (!g_input.empty()) {
        InputEvent e = g_input.front();
        int hit = HTCLIENT;
        MSG m;
        if (!Route(e, &m, &hit)) {
            g_input.pop_front();  // input with nowhere to go is lost
            continue;
        }
        if (!Matches(m, filter, filterMin, filterMax)) return false;
        if (!remove) {
            *msg = m;
            return true;
        }
        g_input.pop_front();
        if (e.kind == InputEvent::kKey) SetKey(e.vk, e.down);
        if (e.kind == InputEvent::kMouse) {
            g_cursor = e.pt;
            if (e.message == WM_LBUTTONDOWN) SetKey(VK_LBUTTON, true);
            if (e.message == WM_LBUTTONUP) SetKey(VK_LBUTTON, false);
            if (GetCapture() == nullptr) {
                SendMessageA(m.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m.hwnd),
                             MAKELPARAM(hit, m.message));
                if (Find(m.hwnd) == nullptr) continue;
            }
            // The parents hear of the click when it is taken, before any
            // activation it causes (as Windows orders them).
            if (e.message == WM_LBUTTONDOWN && hit == HTCLIENT) {
                TellParentsOfClick(m.hwnd, e.pt);
                if (Find(m.hwnd) == nullptr) continue;
            }
            // A click into an inactive window activates it first.
            HWND root = RootOf(m.hwnd);
            if (e.message == WM_LBUTTONDOWN && root != GetActiveWindow()) {
                LRESULT how = SendMessageA(m.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                                           MAKELPARAM(hit, m.message));
                if (how == MA_ACTIVATE || how == MA_ACTIVATEANDEAT)
                    ActivateWindow(root, WA_CLICKACTIVE);
                if (how == MA_ACTIVATEANDEAT || how == MA_NOACTIVATEANDEAT ||
                    Find(m.hwnd) == nullptr)
                    continue;
            }
        }
        *msg = m;
        return true;
    }
    return false;
}

}  // namespace desk

// WM_CHAR (or WM_SYSCHAR) for a key that makes a character, posted behind
// the messages already posted and so ahead of the next input.
BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr) return FALSE;
    switch (msg->message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            char c = desk::CharOfKey(static_cast<BYTE>(msg->wParam));
            if (c != 0) {
                PostMessageA(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                             static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam);
            }
            return TRUE;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return TRUE;
        default:
            return FALSE;
    }
}

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    BYTE state = desk::g_keys[virtualKey];
    return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) return FALSE;
    *point = desk::g_cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    desk::g_cursor = POINT{x, y};
    return TRUE;
}

namespace {
HCURSOR g_cursorShape = nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = g_cursorShape;
    g_cursorShape = cursor;
    return previous;
}

HCURSOR GetCursor() {
    return g_cursorShape;
}

BOOL MessageBeep(UINT) {
    return TRUE;
}
