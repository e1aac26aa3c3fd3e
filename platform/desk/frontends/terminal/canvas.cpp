// Clipped drawing into the current curses screen.
#include "platform/desk/frontends/terminal/canvas.h"

#include <wchar.h>

#include <algorithm>

#include "platform/desk/frontends/terminal/text.h"

namespace desk {
namespace {

CellBox Intersect(const CellBox& a, const CellBox& b) {
    int left = std::max(a.col, b.col);
    int top = std::max(a.row, b.row);
    int right = std::min(a.col + a.cols, b.col + b.cols);
    int bottom = std::min(a.row + a.rows, b.row + b.rows);
    return CellBox{left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

cchar_t Cell(wchar_t ch, attr_t attr) {
    wchar_t text[2] = {ch, L'\0'};
    cchar_t cell;
    setcchar(&cell, text, attr, 0, nullptr);
    return cell;
}

}  // namespace

Canvas::Canvas() : clip_{0, 0, COLS, LINES} {}

Canvas Canvas::Inside(const CellBox& clip) const {
    return Canvas(Intersect(clip_, clip));
}

void Canvas::PutRaw(int col, int row, const cchar_t* cell) const {
    if (clip_.Contains(col, row)) mvadd_wch(row, col, cell);
}

void Canvas::Put(int col, int row, wchar_t ch, int cells, attr_t attr) const {
    if (!clip_.Contains(col, row) || !clip_.Contains(col + cells - 1, row)) {
        cchar_t blank = Cell(L' ', attr);
        for (int i = 0; i < cells; ++i) PutRaw(col + i, row, &blank);
        return;
    }
    // The terminal's own idea of the width decides how the character is
    // padded: a GBK double-byte character that Unicode calls narrow (a
    // middle dot, a Greek letter) still takes its two cells.
    int width = wcwidth(ch);
    if (width < 1 || width > cells) {
        ch = L'?';
        width = 1;
    }
    cchar_t cell = Cell(ch, attr);
    PutRaw(col, row, &cell);
    cchar_t blank = Cell(L' ', attr);
    for (int i = width; i < cells; ++i) PutRaw(col + i, row, &blank);
}

int Canvas::Text(int col, int row, const std::string& gbk, int maxCells, attr_t attr) const {
    int used = 0;
    for (const TermChar& c : TermChars(gbk)) {
        if (used + c.cells > maxCells) break;
        Put(col + used, row, c.ch, c.cells, attr);
        used += c.cells;
    }
    return used;
}

void Canvas::Fill(const CellBox& area, attr_t attr) const {
    CellBox visible = Intersect(clip_, area);
    cchar_t blank = Cell(L' ', attr);
    for (int r = visible.row; r < visible.row + visible.rows; ++r) {
        for (int c = visible.col; c < visible.col + visible.cols; ++c) mvadd_wch(r, c, &blank);
    }
}

void Canvas::Frame(const CellBox& box, attr_t attr) const {
    if (box.cols < 2 || box.rows < 2) return;
    int right = box.col + box.cols - 1;
    int bottom = box.row + box.rows - 1;
    auto put = [&](int c, int r, const cchar_t* line) {
        wchar_t text[CCHARW_MAX + 1] = {};
        attr_t lineAttr = 0;
        short pair = 0;
        getcchar(line, text, &lineAttr, &pair, nullptr);
        cchar_t cell;
        setcchar(&cell, text, lineAttr | attr, pair, nullptr);
        PutRaw(c, r, &cell);
    };
    for (int c = box.col + 1; c < right; ++c) {
        put(c, box.row, WACS_HLINE);
        put(c, bottom, WACS_HLINE);
    }
    for (int r = box.row + 1; r < bottom; ++r) {
        put(box.col, r, WACS_VLINE);
        put(right, r, WACS_VLINE);
    }
    put(box.col, box.row, WACS_ULCORNER);
    put(right, box.row, WACS_URCORNER);
    put(box.col, bottom, WACS_LLCORNER);
    put(right, bottom, WACS_LRCORNER);
}

}  // namespace desk
