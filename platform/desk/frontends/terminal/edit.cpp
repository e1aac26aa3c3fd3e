// The terminal's view of an EDIT control. The control's own text, style and
// selection (EM_GETSEL) decide it; the desk's EDIT keeps no caret of its
// own that could be asked for, so the caret is drawn at the end of the
// selection, where typing, Home and End and a click leave it.
#include "platform/desk/frontends/terminal/edit.h"

#include <strings.h>

#include <algorithm>

namespace desk {
namespace {

// The lines of the text: a single-line control has one, a multi-line one
// breaks at CR LF (or a lone LF).
std::vector<EditLine> SplitLines(const std::string& text, bool multiLine) {
    std::vector<EditLine> lines;
    size_t start = 0;
    for (;;) {
        size_t nl = multiLine ? text.find('\n', start) : std::string::npos;
        if (nl == std::string::npos) {
            lines.push_back(EditLine{0, start, text.size()});
            return lines;
        }
        size_t end = (nl > start && text[nl - 1] == '\r') ? nl - 1 : nl;
        lines.push_back(EditLine{0, start, end});
        start = nl + 1;
    }
}

// Where the first character of a line of `width` cells goes in a field of
// `room` cells, when it fits.
int AlignedShift(DWORD style, int width, int room) {
    if (width >= room) return 0;
    if (style & ES_CENTER) return (room - width) / 2;
    if (style & ES_RIGHT) return room - width;
    return 0;
}

}  // namespace

bool IsEditControl(const Window& w) {
    return w.cls != nullptr && w.cls->system && strcasecmp(w.cls->name.c_str(), "Edit") == 0;
}

EditView ViewOfEdit(const WindowBox& box, const Window& edit) {
    EditView view = {};
    bool multiLine = (edit.style & ES_MULTILINE) != 0;
    CellBox cells = ControlCells(box, edit);
    view.field = cells;
    view.brackets = cells.cols >= 3;
    if (view.brackets) {
        view.field.col += 1;
        view.field.cols -= 2;
    }
    if (!multiLine) {
        view.field.row = TextRow(box, edit);
        view.field.rows = 1;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit.handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    view.selStart = std::min<size_t>(start, edit.text.size());
    view.selEnd = std::min<size_t>(end, edit.text.size());
    wchar_t password = static_cast<wchar_t>(
        static_cast<unsigned char>(SendMessageA(edit.handle, EM_GETPASSWORDCHAR, 0, 0)));
    std::vector<TermChar> chars = TermChars(edit.text);
    view.lines = SplitLines(edit.text, multiLine);

    // The caret's line comes into view first, then its column.
    size_t caret = view.selEnd;
    size_t caretLine = 0;
    for (size_t i = 0; i < view.lines.size(); ++i) {
        if (caret >= view.lines[i].start) caretLine = i;
    }
    int firstLine = std::max(0, static_cast<int>(caretLine) - view.field.rows + 1);
    int room = view.field.cols;
    view.caretCol = view.field.col;
    view.caretRow = view.field.row;
    for (size_t i = 0; i < view.lines.size(); ++i) {
        EditLine& line = view.lines[i];
        line.row = view.field.row + static_cast<int>(i) - firstLine;
        int width = 0;
        int caretX = 0;
        std::vector<EditCell> lineCells;
        for (TermChar c : chars) {
            if (c.offset < line.start || c.offset >= line.end) continue;
            if (password != 0) {
                c.ch = password;
                c.cells = 1;
            }
            if (c.offset < caret) caretX = width + c.cells;
            lineCells.push_back(EditCell{c, width, line.row, false});
            width += c.cells;
        }
        int shift = AlignedShift(edit.style, width, room);
        if (!multiLine && caretX >= room) shift = room - 1 - caretX;  // scrolled
        for (EditCell& cell : lineCells) {
            cell.col += view.field.col + shift;
            cell.visible = view.field.Contains(cell.col, cell.row) &&
                           view.field.Contains(cell.col + cell.c.cells - 1, cell.row);
            view.cells.push_back(cell);
        }
        if (i == caretLine) {
            view.caretCol =
                std::min(view.field.col + shift + caretX, view.field.col + std::max(room, 1) - 1);
            view.caretRow = line.row;
        }
    }
    return view;
}

size_t EditOffsetAt(const EditView& view, int col, int row) {
    // The line on the row; above or below the text, the nearest one.
    const EditLine* line = &view.lines.front();
    for (const EditLine& l : view.lines) {
        if (l.row <= row) line = &l;
    }
    for (const EditCell& cell : view.cells) {
        if (cell.c.offset < line->start || cell.c.offset >= line->end) continue;
        // The left half of a character puts the caret before it.
        if (col < cell.col + (cell.c.cells + 1) / 2) return cell.c.offset;
    }
    return line->end;
}

}  // namespace desk
