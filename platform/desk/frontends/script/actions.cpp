// The scripted user's window actions. Everything a real user would do with
// the mouse and the keyboard goes through the input queue, so the program
// sees the same messages in the same order as on Windows: a click is a
// mouse move, a press and a release over the control; typing is key presses
// (WM_CHAR from TranslateMessage) and, for characters not on the keyboard,
// the input method's WM_CHAR bytes. `focus` is the one action no hand could
// do: the desk moves the focus directly, as an accessibility tool would.
#include "platform/desk/frontends/script/actions.h"

#include <cstdlib>

#include "platform/desk/frontends/frontend.h"
#include "platform/desk/kernel32/log.h"
#include "platform/desk/kernel32/text.h"
#include "platform/desk/user32/user32.h"

namespace desk {
namespace {

HWND FindControl(HWND parent, UINT_PTR id) {
    Window* w = Find(parent);
    if (w == nullptr) return nullptr;
    for (HWND child : w->children) {
        Window* c = Find(child);
        if (c != nullptr && c->id == id) return child;
    }
    for (HWND child : w->children) {
        if (HWND found = FindControl(child, id)) return found;
    }
    return nullptr;
}

// ID (decimal) names a control of the active top-level window; the rest of
// the line after it and one space goes to `rest`.
HWND ControlOf(const ScriptAction& action, std::string* rest) {
    const std::string& line = action.rest;
    size_t end = line.find(' ');
    std::string number = line.substr(0, end);
    if (rest != nullptr) *rest = end == std::string::npos ? "" : line.substr(end + 1);
    char* stop = nullptr;
    unsigned long id = std::strtoul(number.c_str(), &stop, 10);
    if (number.empty() || stop == nullptr || *stop != '\0')
        ScriptError(action, "not a control id: " + number);
    HWND active = GetActiveWindow();
    if (active == nullptr) ScriptError(action, "no window is active");
    HWND control = FindControl(active, static_cast<UINT_PTR>(id));
    if (control == nullptr) ScriptError(action, "the active window has no control " + number);
    return control;
}

POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

// Typing clicks just inside the right end of the control's client area, so
// the caret lands after the visible text.
POINT TypingPointOf(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT at = {client.right > 2 ? client.right - 2 : 0, client.bottom / 2};
    ClientToScreen(hwnd, &at);
    return at;
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

std::string Rect(const RECT& r) {
    return "\"x\":" + std::to_string(r.left) + ",\"y\":" + std::to_string(r.top) +
           ",\"w\":" + std::to_string(r.right - r.left) +
           ",\"h\":" + std::to_string(r.bottom - r.top);
}

void DumpControls(const Window& parent, std::string* out) {
    for (HWND child : parent.children) {
        Window* c = Find(child);
        if (c == nullptr) continue;
        if (out->back() != '[') out->push_back(',');
        *out += "{\"id\":" + std::to_string(c->id) + ",\"class\":" + JsonText(c->className) +
                ",\"text\":" + JsonText(c->text) + ",\"visible\":" + Bool(c->style & WS_VISIBLE) +
                ",\"enabled\":" + Bool(!(c->style & WS_DISABLED)) +
                ",\"focused\":" + Bool(GetFocus() == child) + "," + Rect(c->rect) + "}";
        DumpControls(*c, out);
    }
}

}  // namespace

std::string DumpJson() {
    std::string out = "{\"event\":\"dump\",\"windows\":[";
    bool first = true;
    for (HWND hwnd : TopLevelWindowsByAge()) {
        Window* w = Find(hwnd);
        if (w == nullptr) continue;
        if (!first) out.push_back(',');
        first = false;
        out += "{\"title\":" + JsonText(w->text) + ",\"class\":" + JsonText(w->className) +
               ",\"visible\":" + Bool(w->style & WS_VISIBLE) + "," + Rect(w->rect) +
               ",\"controls\":[";
        DumpControls(*w, &out);
        out += "]}";
    }
    out += "]}";
    return out;
}

bool RunInputAction(const ScriptAction& action) {
    const std::string& verb = action.verb;
    if (verb == "close") {
        HWND active = GetActiveWindow();
        if (active == nullptr || !IsWindowVisible(active))
            ScriptError(action, "no window is active to close");
        if (!ClickCloseBox(active)) ScriptError(action, "the active window has no close box");
    } else if (verb == "dump") {
        LogLine(DumpJson());
    } else if (verb == "click") {
        InputClick(CentreOf(ControlOf(action, nullptr)));
    } else if (verb == "focus") {
        SetFocus(ControlOf(action, nullptr));
    } else if (verb == "type") {
        std::string text;
        HWND control = ControlOf(action, &text);
        std::string gbk;
        if (!Utf8ToGbk(text, &gbk))
            ScriptError(action, "the text has a character GBK cannot write");
        InputClick(TypingPointOf(control));
        InputText(gbk);
    } else if (verb == "clear") {
        // Ctrl+Home, Ctrl+Shift+End selects everything, Delete removes it.
        InputClick(TypingPointOf(ControlOf(action, nullptr)));
        InputKey(VK_CONTROL, true);
        InputKeyPress(VK_HOME, false, false);
        InputKeyPress(VK_END, true, false);
        InputKey(VK_CONTROL, false);
        InputKeyPress(VK_DELETE, false, false);
    } else if (verb == "key") {
        BYTE vk;
        bool shift;
        bool ctrl;
        if (!KeyFromName(action.rest, &vk, &shift, &ctrl))
            ScriptError(action, "unknown key " + action.rest);
        InputKeyPress(vk, shift, ctrl);
    } else {
        return false;
    }
    return true;
}

}  // namespace desk
