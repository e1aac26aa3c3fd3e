// The EDIT control. Its text is GBK: positions are byte offsets, but the
// caret and the selection never stop inside a double-byte character, and a
// double-byte character is one caret step (so is "\r\n" in a multi-line
// control). The length limit counts bytes, as in an ANSI edit control, and
// binds only what the user types and EM_REPLACESEL; WM_SETTEXT is free of it.
// Notifications reach the parent as WM_COMMAND: EN_UPDATE then EN_CHANGE
// after every change the user makes, after EM_REPLACESEL and after
// WM_SETTEXT (not for a multi-line control), EN_MAXTEXT when the limit or
// the width (single-line without ES_AUTOHSCROLL) refused text,
// EN_SETFOCUS/EN_KILLFOCUS with the focus.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/user32/window.h"

namespace desk {
namespace {

// A fresh edit control lets the user type 30000 bytes.
constexpr size_t kInitialLimit = 30000;
// Left and right margin of the formatting rectangle, in pixels.
constexpr int kMargin = 1;

struct EditState {
    std::string text;   // the content (also mirrored as the window text)
    size_t anchor;      // selection end that stays put
    size_t caret;       // selection end where the caret is
    size_t limit;       // bytes the user may type
    bool multiLine;     // ES_MULTILINE, fixed at creation
    char passwordChar;  // 0: none
    bool modified;      // EM_GETMODIFY
    HFONT font;         // WM_SETFONT; null: the system font
    int scroll;         // single-line: pixels scrolled to the left
    BYTE pendingLead;   // lead byte of a double-byte character being typed
    bool selecting;     // the mouse button is down in the control
    bool focused;
    int leftMargin;
    int rightMargin;
};

EditState* StateOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w != nullptr ? static_cast<EditState*>(w->control) : nullptr;
}

DWORD StyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

bool LeadAt(const std::string& text, size_t i) {
    return i + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[i]));
}

// The size of the character (caret step) starting at i.
size_t StepAt(const EditState& s, size_t i) {
    if (i >= s.text.size()) return 0;
    if (s.multiLine && s.text.compare(i, 2, "\r\n") == 0) return 2;
    return LeadAt(s.text, i) ? 2 : 1;
}

// The character boundary at or before pos.
size_t Snap(const EditState& s, size_t pos) {
    if (pos >= s.text.size()) return s.text.size();
    size_t i = 0;
    while (i < pos) {
        size_t step = StepAt(s, i);
        if (i + step > pos) return i;
        i += step;
    }
    return i;
}

size_t Next(const EditState& s, size_t pos) {
    return std::min(s.text.size(), pos + std::max<size_t>(StepAt(s, pos), 1));
}

size_t Prev(const EditState& s, size_t pos) {
    size_t i = 0;
    size_t last = 0;
    while (i < pos) {
        last = i;
        i += StepAt(s, i);
    }
    return last;
}

size_t SelStart(const EditState& s) {
    return std::min(s.anchor, s.caret);
}
size_t SelEnd(const EditState& s) {
    return std::max(s.anchor, s.caret);
}

// What the control shows: the password character once per character.
std::string Shown(const EditState& s, size_t from, size_t to) {
    if (s.passwordChar == 0) return s.text.substr(from, to - from);
    std::string out;
    for (size_t i = from; i < to; i += std::max<size_t>(StepAt(s, i), 1))
        out.push_back(s.passwordChar);
    return out;
}

size_t LineStart(const EditState& s, size_t pos) {
    size_t nl = pos == 0 ? std::string::npos : s.text.rfind('\n', pos - 1);
    return nl == std::string::npos ? 0 : nl + 1;
}

size_t LineEnd(const EditState& s, size_t pos) {
    size_t nl = s.text.find('\n', pos);
    if (nl == std::string::npos) return s.text.size();
    return (nl > 0 && s.text[nl - 1] == '\r') ? nl - 1 : nl;
}

RECT FormatRect(HWND hwnd, const EditState& s) {
    RECT r;
    GetClientRect(hwnd, &r);
    r.left += s.leftMargin;
    r.right -= s.rightMargin;
    if (r.right < r.left) r.right = r.left;
    return r;
}

// The x offset (client coordinates) where the text of a line starts.
int LineOrigin(HWND hwnd, const EditState& s, size_t lineStart) {
    RECT r = FormatRect(hwnd, s);
    std::string line = Shown(s, lineStart, LineEnd(s, lineStart));
    int width = TextWidth(s.font, line.data(), line.size());
    int room = r.right - r.left;
    DWORD align = StyleOf(hwnd) & (ES_CENTER | ES_RIGHT);
    int shift = 0;
    if (width < room && align == ES_CENTER) shift = (room - width) / 2;
    if (width < room && align == ES_RIGHT) shift = room - width;
    return r.left + shift - (s.multiLine ? 0 : s.scroll);
}

POINT PosOfChar(HWND hwnd, const EditState& s, size_t pos) {
    size_t start = s.multiLine ? LineStart(s, pos) : 0;
    int line = 0;
    for (size_t i = 0; i < start; ++i) line += s.text[i] == '\n';
    std::string before = Shown(s, start, pos);
    return POINT{LineOrigin(hwnd, s, start) + TextWidth(s.font, before.data(), before.size()),
                 line * MetricsOf(s.font).height};
}

// The character boundary nearest to a client point.
size_t CharAtPoint(HWND hwnd, const EditState& s, int x, int y) {
    size_t start = 0;
    if (s.multiLine) {
        int line = y < 0 ? 0 : y / MetricsOf(s.font).height;
        for (int n = 0; n < line; ++n) {
            size_t nl = s.text.find('\n', start);
            if (nl == std::string::npos) break;
            start = nl + 1;
        }
    }
    size_t end = s.multiLine ? LineEnd(s, start) : s.text.size();
    int at = LineOrigin(hwnd, s, start);
    for (size_t i = start; i < end;) {
        size_t step = std::max<size_t>(StepAt(s, i), 1);
        std::string one = Shown(s, i, i + step);
        int width = TextWidth(s.font, one.data(), one.size());
        if (x < at + width / 2) return i;
        at += width;
        i += step;
    }
    return end;
}

void ScrollCaret(HWND hwnd, EditState& s) {
    if (s.multiLine || !(StyleOf(hwnd) & ES_AUTOHSCROLL)) {
        s.scroll = 0;
        return;
    }
    RECT r = FormatRect(hwnd, s);
    std::string before = Shown(s, 0, s.caret);
    int x = TextWidth(s.font, before.data(), before.size());
    int room = r.right - r.left;
    if (x < s.scroll) s.scroll = x;
    if (x > s.scroll + room) s.scroll = x - room;
}

// Single-line without ES_AUTOHSCROLL: the text must fit the control.
bool FitsWidth(HWND hwnd, const EditState& s, const std::string& text) {
    if (s.multiLine || (StyleOf(hwnd) & ES_AUTOHSCROLL)) return true;
    RECT r = FormatRect(hwnd, s);
    EditState probe = s;
    probe.text = text;
    std::string shown = Shown(probe, 0, text.size());
    return TextWidth(s.font, shown.data(), shown.size()) <= r.right - r.left;
}

void ApplyCase(DWORD style, std::string* text) {
    if (!(style & (ES_UPPERCASE | ES_LOWERCASE))) return;
    for (size_t i = 0; i < text->size(); ++i) {
        unsigned char c = static_cast<unsigned char>((*text)[i]);
        if (IsLeadByte(c) && i + 1 < text->size()) {
            ++i;  // a trail byte may look like a letter
            continue;
        }
        if ((style & ES_UPPERCASE) && c >= 'a' && c <= 'z')
            (*text)[i] = static_cast<char>(c - 'a' + 'A');
        if ((style & ES_LOWERCASE) && c >= 'A' && c <= 'Z')
            (*text)[i] = static_cast<char>(c - 'A' + 'a');
    }
}

void Changed(HWND hwnd, EditState& s) {
    if (Window* w = Find(hwnd)) w->text = s.text;
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Replaces the selection; `limited` applies the length limit and the width
// of a control without ES_AUTOHSCROLL, cutting the inserted text at a
// character boundary. False when nothing changed.
bool ReplaceSelection(HWND hwnd, EditState& s, std::string insert, bool limited) {
    ApplyCase(StyleOf(hwnd), &insert);
    size_t start = SelStart(s);
    size_t end = SelEnd(s);
    size_t keep = s.text.size() - (end - start);
    bool refused = false;
    if (limited) {
        size_t room = s.limit > keep ? s.limit - keep : 0;
        while (insert.size() > room ||
               !FitsWidth(hwnd, s, s.text.substr(0, start) + insert + s.text.substr(end))) {
            EditState cut = s;
            cut.text = insert;
            insert.resize(Prev(cut, insert.size()));
            refused = true;
            if (insert.empty()) break;
        }
    }
    if (refused) {
        NotifyParent(hwnd, EN_MAXTEXT);
        if (StateOf(hwnd) != &s) return false;  // the parent destroyed the control
    }
    if (insert.empty() && start == end) return false;
    // The parent may have changed the text on EN_MAXTEXT.
    start = std::min(start, s.text.size());
    end = std::min(std::max(end, start), s.text.size());
    s.text.replace(start, end - start, insert);
    s.anchor = s.caret = start + insert.size();
    s.modified = true;
    ScrollCaret(hwnd, s);
    Changed(hwnd, s);
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
    return true;
}

bool ReadOnly(HWND hwnd) {
    return (StyleOf(hwnd) & ES_READONLY) != 0;
}

void DeleteChar(HWND hwnd, EditState& s, bool backward) {
    if (ReadOnly(hwnd)) {
        MessageBeep(0);
        return;
    }
    if (s.anchor == s.caret) {
        if (backward) {
            if (s.caret == 0) return;
            s.anchor = Prev(s, s.caret);
        } else {
            if (s.caret >= s.text.size()) return;
            s.anchor = Next(s, s.caret);
        }
    }
    ReplaceSelection(hwnd, s, "", false);
}

void TypeText(HWND hwnd, EditState& s, const std::string& typed) {
    if (ReadOnly(hwnd)) {
        MessageBeep(0);
        return;
    }
    if (StyleOf(hwnd) & ES_NUMBER) {
        for (char c : typed) {
            if (c < '0' || c > '9') {
                MessageBeep(0);  // Windows shows "unacceptable character" here
                return;
            }
        }
    }
    if (!ReplaceSelection(hwnd, s, typed, true)) MessageBeep(0);
}

void OnChar(HWND hwnd, EditState& s, BYTE c) {
    if (s.pendingLead != 0) {
        std::string pair = {static_cast<char>(s.pendingLead), static_cast<char>(c)};
        s.pendingLead = 0;
        TypeText(hwnd, s, pair);
        return;
    }
    if (IsLeadByte(c)) {
        s.pendingLead = c;  // the trail byte follows in the next WM_CHAR
        return;
    }
    switch (c) {
        case '\b':
            DeleteChar(hwnd, s, true);
            return;
        case '\r':
        case '\n':
            if (s.multiLine) {
                TypeText(hwnd, s, "\r\n");
            } else {
                MessageBeep(0);
            }
            return;
        case '\t':
            if (s.multiLine) TypeText(hwnd, s, "\t");
            return;
        default:
            if (c < 0x20 || c == 0x7F) return;  // other control characters type nothing
            TypeText(hwnd, s, std::string(1, static_cast<char>(c)));
            return;
    }
}

size_t WordLeft(const EditState& s, size_t pos) {
    while (pos > 0 && std::isspace(static_cast<unsigned char>(s.text[Prev(s, pos)])))
        pos = Prev(s, pos);
    while (pos > 0 && !std::isspace(static_cast<unsigned char>(s.text[Prev(s, pos)])))
        pos = Prev(s, pos);
    return pos;
}

size_t WordRight(const EditState& s, size_t pos) {
    while (pos < s.text.size() && !std::isspace(static_cast<unsigned char>(s.text[pos])))
        pos = Next(s, pos);
    while (pos < s.text.size() && std::isspace(static_cast<unsigned char>(s.text[pos])))
        pos = Next(s, pos);
    return pos;
}

size_t LineMove(HWND hwnd, const EditState& s, size_t pos, int lines) {
    POINT at = PosOfChar(hwnd, s, pos);
    int height = MetricsOf(s.font).height;
    int y = at.y + lines * height;
    if (y < 0) return pos;
    return CharAtPoint(hwnd, s, at.x, y);
}

void OnKeyDown(HWND hwnd, EditState& s, WPARAM vk) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    size_t to = s.caret;
    bool collapse = s.anchor != s.caret && !shift;
    switch (vk) {
        case VK_LEFT:
            to = ctrl ? WordLeft(s, s.caret) : collapse ? SelStart(s) : Prev(s, s.caret);
            break;
        case VK_RIGHT:
            to = ctrl ? WordRight(s, s.caret) : collapse ? SelEnd(s) : Next(s, s.caret);
            break;
        case VK_HOME:
            to = (s.multiLine && !ctrl) ? LineStart(s, s.caret) : 0;
            break;
        case VK_END:
            to = (s.multiLine && !ctrl) ? LineEnd(s, s.caret) : s.text.size();
            break;
        case VK_UP:
            if (!s.multiLine) return;
            to = LineMove(hwnd, s, s.caret, -1);
            break;
        case VK_DOWN:
            if (!s.multiLine) return;
            to = LineMove(hwnd, s, s.caret, 1);
            break;
        case VK_DELETE:
            DeleteChar(hwnd, s, false);
            return;
        default:
            return;
    }
    s.caret = to;
    if (!shift) s.anchor = to;
    ScrollCaret(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Paint(HWND hwnd, EditState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    bool greyed = ReadOnly(hwnd) || !IsWindowEnabled(hwnd);
    // Read-only and disabled edit controls ask for static colours.
    HBRUSH brush = AskParentColours(hwnd, dc, greyed ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    RECT client;
    GetClientRect(hwnd, &client);
    if (brush != nullptr) FillRect(dc, &client, brush);
    HGDIOBJ oldFont = SelectObject(dc, s.font != nullptr ? s.font : GetStockObject(SYSTEM_FONT));
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    std::string shown = Shown(s, 0, s.text.size());
    RECT r = FormatRect(hwnd, s);
    DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &r,
              DT_NOPREFIX | (s.multiLine ? DT_EDITCONTROL : DT_SINGLELINE));
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CopyOut(const std::string& text, WPARAM size, LPARAM buffer) {
    if (size == 0 || buffer == 0) return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
    reinterpret_cast<char*>(buffer)[n] = '\0';
    return static_cast<LRESULT>(n);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    EditState* state = StateOf(hwnd);
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* s = new EditState();
        s->multiLine = (cs->style & ES_MULTILINE) != 0;
        s->limit = kInitialLimit;
        s->passwordChar = (!s->multiLine && (cs->style & ES_PASSWORD)) ? '*' : 0;
        s->leftMargin = s->rightMargin = kMargin;
        w->control = s;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (state == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    EditState& s = *state;
    switch (message) {
        case WM_CREATE: {
            // The initial text is taken without notifications; the caret
            // starts at the beginning.
            const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            s.text = cs->lpszName != nullptr ? cs->lpszName : "";
            w->text = s.text;
            return 0;
        }
        case WM_NCDESTROY:
            delete state;
            w->control = nullptr;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_SETTEXT:
            s.text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            s.anchor = s.caret = 0;
            s.scroll = 0;
            s.modified = false;
            s.pendingLead = 0;
            Changed(hwnd, s);
            if (!s.multiLine) {
                NotifyParent(hwnd, EN_UPDATE);
                NotifyParent(hwnd, EN_CHANGE);
            }
            return TRUE;
        case WM_GETTEXT:
            return CopyOut(s.text, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(s.text.size());
        case WM_SETFONT:
            s.font = reinterpret_cast<HFONT>(wParam);
            ScrollCaret(hwnd, s);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(s.font);
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
            if (s.multiLine) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_SETFOCUS:
            s.focused = true;
            InvalidateRect(hwnd, nullptr, FALSE);
            NotifyParent(hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s.focused = false;
            s.pendingLead = 0;
            InvalidateRect(hwnd, nullptr, FALSE);
            NotifyParent(hwnd, EN_KILLFOCUS);
            return 0;
        case WM_CHAR:
            OnChar(hwnd, s, static_cast<BYTE>(wParam));
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(hwnd, s, wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (GetFocus() != hwnd) SetFocus(hwnd);
            EditState* again = StateOf(hwnd);
            if (again == nullptr) return 0;
            size_t at = CharAtPoint(hwnd, *again, static_cast<SHORT>(LOWORD(lParam)),
                                    static_cast<SHORT>(HIWORD(lParam)));
            again->caret = at;
            if (!(wParam & MK_SHIFT)) again->anchor = at;
            again->selecting = true;
            SetCapture(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (s.selecting) {
                s.caret = CharAtPoint(hwnd, s, static_cast<SHORT>(LOWORD(lParam)),
                                      static_cast<SHORT>(HIWORD(lParam)));
                ScrollCaret(hwnd, s);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONUP:
            if (s.selecting) {
                s.selecting = false;
                if (GetCapture() == hwnd) ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            s.selecting = false;
            return 0;
        case WM_PAINT:
            Paint(hwnd, s);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted with the parent's brush in WM_PAINT
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SIZE:
            ScrollCaret(hwnd, s);
            return 0;
        case WM_CLEAR:
        case WM_CUT:
            if (!ReadOnly(hwnd) && s.anchor != s.caret) ReplaceSelection(hwnd, s, "", false);
            return 0;
        case EM_GETSEL: {
            size_t start = SelStart(s);
            size_t end = SelEnd(s);
            if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
            if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
            return (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELONG(start, end);
        }
        case EM_SETSEL: {
            int start = static_cast<int>(wParam);
            int end = static_cast<int>(lParam);
            if (start == -1) {
                s.anchor = s.caret;  // -1 only drops the selection
            } else {
                size_t length = s.text.size();
                size_t from = start < 0 ? length : std::min(static_cast<size_t>(start), length);
                size_t to = end < 0 ? length : std::min(static_cast<size_t>(end), length);
                s.anchor = Snap(s, from);
                s.caret = Snap(s, to);
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case EM_REPLACESEL: {
            std::string insert = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            ReplaceSelection(hwnd, s, insert, true);
            return 0;
        }
        case EM_SCROLLCARET:
            ScrollCaret(hwnd, s);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case EM_LIMITTEXT:
            s.limit = wParam != 0 ? static_cast<size_t>(wParam)
                                  : (s.multiLine ? 0xFFFFFFFFu : 0x7FFFFFFEu);
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(s.limit);
        case EM_SETPASSWORDCHAR:
            if (s.multiLine) return 0;
            s.passwordChar = static_cast<char>(wParam);
            SetWindowLongA(hwnd, GWL_STYLE,
                           static_cast<LONG>(wParam != 0 ? (StyleOf(hwnd) | ES_PASSWORD)
                                                         : (StyleOf(hwnd) & ~ES_PASSWORD)));
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case EM_GETPASSWORDCHAR:
            return static_cast<unsigned char>(s.passwordChar);
        case EM_SETREADONLY:
            SetWindowLongA(hwnd, GWL_STYLE,
                           static_cast<LONG>(wParam ? (StyleOf(hwnd) | ES_READONLY)
                                                    : (StyleOf(hwnd) & ~ES_READONLY)));
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        case EM_GETMODIFY:
            return s.modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            s.modified = wParam != 0;
            return 0;
        case EM_GETLINECOUNT:
            return s.multiLine ? 1 + std::count(s.text.begin(), s.text.end(), '\n') : 1;
        case EM_CANUNDO:
        case EM_UNDO:
            return FALSE;
        case EM_EMPTYUNDOBUFFER:
            return 0;
        case EM_GETRECT:
            if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = FormatRect(hwnd, s);
            return 0;
        case EM_SETMARGINS:
            if (wParam & EC_LEFTMARGIN)
                s.leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? kMargin : LOWORD(lParam);
            if (wParam & EC_RIGHTMARGIN)
                s.rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? kMargin : HIWORD(lParam);
            return 0;
        case EM_GETMARGINS:
            return MAKELONG(s.leftMargin, s.rightMargin);
        case EM_POSFROMCHAR: {
            size_t pos = static_cast<size_t>(wParam);
            if (pos > s.text.size()) return -1;
            POINT at = PosOfChar(hwnd, s, Snap(s, pos));
            return MAKELONG(at.x, at.y);
        }
        case EM_CHARFROMPOS: {
            size_t pos = CharAtPoint(hwnd, s, static_cast<SHORT>(LOWORD(lParam)),
                                     static_cast<SHORT>(HIWORD(lParam)));
            size_t line =
                s.multiLine
                    ? static_cast<size_t>(std::count(s.text.begin(), s.text.begin() + pos, '\n'))
                    : 0;
            return MAKELONG(pos, line);
        }
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterEditClass() {
    RegisterSystemClass("Edit", EditProc, CS_DBLCLKS | CS_PARENTDC, LoadCursorA(nullptr, IDC_IBEAM),
                        nullptr);
}

}  // namespace desk
