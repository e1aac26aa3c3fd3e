// Windows and controls on the terminal. Controls are told apart by class:
// EDIT, BUTTON and the up-down control are drawn as such; every other child
// window (a label class of the program's own, for one) shows its text.
#include "platform/desk/frontends/terminal/draw.h"

#include <strings.h>

#include <algorithm>

#include "platform/desk/frontends/terminal/canvas.h"
#include "platform/desk/frontends/terminal/edit.h"
#include "platform/desk/frontends/terminal/text.h"

namespace desk {
namespace {

bool ClassIs(const Window& w, const char* name) {
    return w.cls != nullptr && strcasecmp(w.cls->name.c_str(), name) == 0;
}

// A button's caption marks its access key with "&" ("&&" is an ampersand);
// the terminal shows the caption without the marks.
std::string WithoutPrefix(const std::string& gbk) {
    std::string out;
    for (size_t i = 0; i < gbk.size(); ++i) {
        if (gbk[i] == '&' && i + 1 < gbk.size()) ++i;  // '&' is never a GBK trail byte
        out.push_back(gbk[i]);
    }
    return out;
}

attr_t Dimmed(const Window& w) {
    return IsUsable(w) ? A_NORMAL : A_DIM;
}

// Labels: the caption, left-aligned in the control's cells, its lines around
// the middle row (a single line on it, as DT_VCENTER puts it).
void DrawLabel(const Canvas& canvas, const WindowBox& box, const Window& w) {
    if (w.text.empty()) return;
    CellBox cells = ControlCells(box, w);
    Canvas inside = canvas.Inside(cells);
    std::vector<std::string> lines = WrapText(w.text, std::max(cells.cols, 2));
    int row = TextRow(box, w) - static_cast<int>(lines.size() - 1) / 2;
    for (const std::string& line : lines) {
        inside.Text(cells.col, row++, line, cells.cols, Dimmed(w));
    }
}

void DrawEdit(const Canvas& canvas, const WindowBox& box, const Window& w, CaretSpot* caret) {
    EditView view = ViewOfEdit(box, w);
    bool focused = GetFocus() == w.handle;
    bool editable = IsUsable(w) && !(w.style & ES_READONLY);
    attr_t field = (editable ? A_UNDERLINE : A_NORMAL) | Dimmed(w);
    canvas.Fill(view.field, field);
    if (view.brackets) {
        attr_t frame = (focused ? A_BOLD : A_NORMAL) | Dimmed(w);
        for (int row = view.field.row; row < view.field.row + view.field.rows; ++row) {
            canvas.Put(view.field.col - 1, row, L'[', 1, frame);
            canvas.Put(view.field.col + view.field.cols, row, L']', 1, frame);
        }
    }
    // Like Win32, the selection shows only in the focused box, unless the
    // box asks to keep it visible (ES_NOHIDESEL).
    bool showSelection = focused || (w.style & ES_NOHIDESEL);
    for (const EditCell& cell : view.cells) {
        if (!cell.visible) continue;
        bool selected =
            showSelection && cell.c.offset >= view.selStart && cell.c.offset < view.selEnd;
        canvas.Put(cell.col, cell.row, cell.c.ch, cell.c.cells,
                   field | (selected ? A_REVERSE : A_NORMAL));
    }
    if (focused && view.field.Contains(view.caretCol, view.caretRow)) {
        *caret = CaretSpot{true, view.caretCol, view.caretRow};
    }
}

// Check boxes and radio buttons show their state in front of the text.
const wchar_t* CheckMark(DWORD type, LRESULT state) {
    bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    if (radio) return state == BST_CHECKED ? L"(*)" : L"( )";
    if (state == BST_CHECKED) return L"[x]";
    return state == BST_INDETERMINATE ? L"[-]" : L"[ ]";
}

void DrawButton(const Canvas& canvas, const WindowBox& box, const Window& w) {
    CellBox cells = ControlCells(box, w);
    Canvas inside = canvas.Inside(cells);
    int row = TextRow(box, w);
    bool focused = GetFocus() == w.handle;
    DWORD type = w.style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
        inside.Frame(cells, Dimmed(w));
        inside.Text(cells.col + 1, cells.row, WithoutPrefix(w.text), cells.cols - 2, Dimmed(w));
        return;
    }
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
        type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
        const wchar_t* mark = CheckMark(type, SendMessageA(w.handle, BM_GETCHECK, 0, 0));
        for (int i = 0; i < 3; ++i) inside.Put(cells.col + i, row, mark[i], 1, Dimmed(w));
        inside.Text(cells.col + 4, row, WithoutPrefix(w.text), cells.cols - 4,
                    (focused ? A_REVERSE : A_NORMAL) | Dimmed(w));
        return;
    }
    DrawButtonFace(inside, cells.col, row, cells.cols, WithoutPrefix(w.text), focused, IsUsable(w));
}

void DrawUpDown(const Canvas& canvas, const WindowBox& box, const Window& w) {
    CellBox cells = ControlCells(box, w);
    int row = TextRow(box, w);
    bool horizontal = (w.style & UDS_HORZ) != 0;
    canvas.Put(cells.col, row, horizontal ? L'<' : L'^', 1, Dimmed(w));
    if (cells.cols > 1) canvas.Put(cells.col + 1, row, horizontal ? L'>' : L'v', 1, Dimmed(w));
}

void DrawChildren(const Canvas& canvas, const WindowBox& box, const Window& parent,
                  CaretSpot* caret) {
    // Bottom of the Z order first, so that the top one is seen where they overlap.
    for (auto it = parent.children.rbegin(); it != parent.children.rend(); ++it) {
        const Window* w = Find(*it);
        if (w == nullptr || !(w->style & WS_VISIBLE)) continue;
        if (IsEditControl(*w)) {
            DrawEdit(canvas, box, *w, caret);
        } else if (ClassIs(*w, "Button")) {
            DrawButton(canvas, box, *w);
        } else if (ClassIs(*w, "msctls_updown32")) {
            DrawUpDown(canvas, box, *w);
        } else {
            DrawLabel(canvas, box, *w);
        }
        DrawChildren(canvas, box, *w, caret);
    }
}

void DrawFrame(const Canvas& canvas, const WindowBox& box, const Window& w, bool active) {
    attr_t frame = active ? A_BOLD : A_NORMAL;
    canvas.Fill(box.frame, A_NORMAL);
    canvas.Frame(box.frame, frame);
    int right = box.frame.col + box.frame.cols - 1;
    int room = box.frame.cols - 4 - (box.closeBox ? 4 : 0);
    if (!w.text.empty() && room > 2) {
        int col = box.frame.col + 1;
        canvas.Put(col++, box.frame.row, L' ', 1, frame);
        col += canvas.Text(col, box.frame.row, w.text, room - 2, active ? A_REVERSE : A_NORMAL);
        canvas.Put(col, box.frame.row, L' ', 1, frame);
    }
    if (box.closeBox) {
        const wchar_t* close = L"[X]";
        for (int i = 0; i < 3; ++i) canvas.Put(right - 3 + i, box.frame.row, close[i], 1, frame);
    }
}

}  // namespace

void DrawButtonFace(const Canvas& canvas, int col, int row, int cols, const std::string& gbk,
                    bool focused, bool enabled) {
    attr_t attr = (focused ? A_REVERSE | A_BOLD : A_NORMAL) | (enabled ? A_NORMAL : A_DIM);
    int textCells = std::min(CellsOf(gbk), std::max(cols - 4, 0));
    int width = textCells + 4;
    int left = col + std::max(0, (cols - width) / 2);
    canvas.Put(left, row, L'[', 1, attr);
    canvas.Put(left + 1, row, focused ? L'>' : L' ', 1, attr);
    canvas.Text(left + 2, row, gbk, textCells, attr);
    canvas.Put(left + 2 + textCells, row, focused ? L'<' : L' ', 1, attr);
    canvas.Put(left + 3 + textCells, row, L']', 1, attr);
}

CaretSpot DrawWindows(const ScreenLayout& layout) {
    CaretSpot caret = {false, 0, 0};
    Canvas screen;
    screen.Fill(CellBox{0, 0, COLS, LINES}, A_NORMAL);
    HWND active = GetActiveWindow();
    for (const WindowBox& box : layout.windows) {
        const Window* w = Find(box.hwnd);
        if (w == nullptr) continue;
        DrawFrame(screen, box, *w, box.hwnd == active);
        // A window drawn over the focused one hides its caret.
        caret.shown = caret.shown && !box.frame.Contains(caret.col, caret.row);
        DrawChildren(screen.Inside(box.client), box, *w, &caret);
    }
    return caret;
}

}  // namespace desk
