// Keys and mouse events from curses turned into desk input.
#include "platform/desk/frontends/terminal/keys.h"

#include <algorithm>
#include <string>
#include <strings.h>

#include "platform/desk/frontends/frontend.h"
#include "platform/desk/frontends/terminal/edit.h"
#include "platform/desk/kernel32/text.h"
#include "platform/desk/user32/user32.h"

namespace desk {
namespace {

std::string Utf8Of(wint_t code) {
    std::string out;
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return out;
}

bool Press(BYTE vk, bool shift = false, bool ctrl = false) {
    InputKeyPress(vk, shift, ctrl);
    return true;
}

// At a terminal Enter is the key that presses a button. A Win32 push button
// answers only Space (Enter goes to the window's own key handling, which
// clicks a default button and nothing else), so Enter on a focused push
// button is sent as the Space a desktop user would press there.
bool PressEnter() {
    const Window* focus = Find(GetFocus());
    if (focus != nullptr && focus->cls != nullptr && focus->cls->system &&
        strcasecmp(focus->cls->name.c_str(), "Button") == 0) {
        DWORD type = focus->style & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return Press(VK_SPACE);
    }
    return Press(VK_RETURN);
}

bool InjectCharacter(wint_t ch) {
    switch (ch) {
        case L'\t':
            return Press(VK_TAB);
        case L'\n':
        case L'\r':
            return PressEnter();
        case 0x1B:
            return Press(VK_ESCAPE);
        case 0x7F:
        case 0x08:
            return Press(VK_BACK);
        default:
            break;
    }
    // Ctrl with a letter comes from the terminal as codes 1 to 26.
    if (ch >= 1 && ch <= 26) return Press(static_cast<BYTE>('A' + ch - 1), false, true);
    if (ch < 0x20) return false;
    std::string gbk;
    if (!Utf8ToGbk(Utf8Of(ch), &gbk) || gbk.empty()) return false;  // no GBK form
    InputText(gbk);
    return true;
}

bool InjectKeyCode(wint_t key) {
    if (key >= static_cast<wint_t>(KEY_F(1)) && key <= static_cast<wint_t>(KEY_F(10)))
        return Press(static_cast<BYTE>(VK_F1 + (key - KEY_F(1))));
    switch (key) {
        case KEY_BACKSPACE:
            return Press(VK_BACK);
        case KEY_DC:
            return Press(VK_DELETE);
        case KEY_IC:
            return Press(VK_INSERT);
        case KEY_LEFT:
            return Press(VK_LEFT);
        case KEY_RIGHT:
            return Press(VK_RIGHT);
        case KEY_UP:
            return Press(VK_UP);
        case KEY_DOWN:
            return Press(VK_DOWN);
        case KEY_HOME:
            return Press(VK_HOME);
        case KEY_END:
            return Press(VK_END);
        case KEY_PPAGE:
            return Press(VK_PRIOR);
        case KEY_NPAGE:
            return Press(VK_NEXT);
        case KEY_SLEFT:
            return Press(VK_LEFT, true);
        case KEY_SRIGHT:
            return Press(VK_RIGHT, true);
        case KEY_SHOME:
            return Press(VK_HOME, true);
        case KEY_SEND:
            return Press(VK_END, true);
        case KEY_BTAB:
            return Press(VK_TAB, true);
        case KEY_ENTER:
            return PressEnter();
        default:
            return false;
    }
}

// The pixel a click on a client cell goes to. On an edit box it is the
// character boundary under the cell as the terminal shows the text; on
// another control, the cell's pixel kept inside the control.
POINT ClientPoint(const CellHit& hit, int col, int row) {
    POINT at = PixelOfCell(*hit.box, col, row);
    const Window* control = hit.control != nullptr ? Find(hit.control) : nullptr;
    if (control == nullptr) return at;
    RECT r = ScreenRect(*control);
    if (IsEditControl(*control)) {
        EditView view = ViewOfEdit(*hit.box, *control);
        size_t offset = EditOffsetAt(view, col, row);
        LRESULT pos = SendMessageA(control->handle, EM_POSFROMCHAR, offset, 0);
        if (pos != -1) {
            RECT client;
            GetClientRect(control->handle, &client);
            POINT inClient = {std::clamp<LONG>(static_cast<SHORT>(LOWORD(pos)), 0,
                                               std::max<LONG>(client.right - 1, 0)),
                              std::clamp<LONG>(static_cast<SHORT>(HIWORD(pos)) + 1, 0,
                                               std::max<LONG>(client.bottom - 1, 0))};
            ClientToScreen(control->handle, &inClient);
            return inClient;
        }
    }
    at.x = std::clamp<LONG>(at.x, r.left, std::max(r.left, r.right - 1));
    at.y = std::clamp<LONG>(at.y, r.top, std::max(r.top, r.bottom - 1));
    return at;
}

// A point in the title bar (or the top border of a window without one).
POINT FramePoint(const WindowBox& box) {
    const Window* w = Find(box.hwnd);
    RECT r = ScreenRect(*w);
    int y = box.clientOrigin.y > r.top + 2 ? box.clientOrigin.y - 2 : r.top;
    return POINT{(r.left + r.right) / 2, y};
}

}  // namespace

bool InjectTerminalKey(int status, wint_t key) {
    if (status == OK) return InjectCharacter(key);
    if (status == KEY_CODE_YES) return InjectKeyCode(key);
    return false;
}

bool InjectTerminalMouse(const ScreenLayout& layout, int col, int row, MouseAction action) {
    // Where the button last went down: a release off every window still
    // ends the press there (the control that took the capture gets it).
    static POINT pressedAt = {0, 0};
    CellHit hit = HitCell(layout, col, row);
    if (hit.part == CellHit::kNothing || Find(hit.box->hwnd) == nullptr) {
        if (action != MouseAction::kRelease || GetCapture() == nullptr) return false;
        InputMouse(WM_LBUTTONUP, pressedAt);
        return true;
    }
    if (hit.part == CellHit::kCloseBox) {
        // The close box acts on the whole click; a lone release does nothing.
        return action != MouseAction::kRelease && ClickCloseBox(hit.box->hwnd);
    }
    POINT at = hit.part == CellHit::kClient ? ClientPoint(hit, col, row) : FramePoint(*hit.box);
    switch (action) {
        case MouseAction::kClick:
            InputClick(at);
            break;
        case MouseAction::kPress:
            pressedAt = at;
            InputMouse(WM_MOUSEMOVE, at);
            InputMouse(WM_LBUTTONDOWN, at);
            break;
        case MouseAction::kRelease:
            InputMouse(WM_MOUSEMOVE, at);
            InputMouse(WM_LBUTTONUP, at);
            break;
    }
    return true;
}

}  // namespace desk
