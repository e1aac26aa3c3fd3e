// Where windows go on the terminal's character grid. Pixels become cells at
// a fixed scale; each visible top-level window becomes a framed box whose
// inside is its client area, and its controls keep their places in it.
#pragma once

#include <vector>

#include "platform/desk/user32/user32.h"
#include "platform/win32.h"

namespace desk {

// One cell is as wide as a single-byte character of the default GUI font
// (12 pixels high, so 6 wide; a double-byte character takes two cells, as in
// the font model) and as tall as a line of it. The main window, 337 x 222,
// becomes a box of 58 x 19 cells: it fits an 80 x 24 terminal.
constexpr int kPixelsPerColumn = 6;
constexpr int kPixelsPerRow = 12;

struct CellBox {
    int col;   // left column
    int row;   // top row
    int cols;  // width in cells
    int rows;  // height in cells
    bool Contains(int c, int r) const {
        return c >= col && c < col + cols && r >= row && r < row + rows;
    }
};

struct WindowBox {
    HWND hwnd;
    CellBox frame;       // the box, its frame included
    CellBox client;      // the client area inside the frame
    POINT clientOrigin;  // the client area's top-left pixel on the desk's screen
    bool closeBox;       // the frame shows a close box, [X], in its top line
};

struct ScreenLayout {
    std::vector<WindowBox> windows;  // visible top-level windows, bottom first
    int anchor;                      // index of the window the terminal is centred on, -1 for none
    int needCols;                    // cells the anchor window needs
    int needRows;
};

// Lays out the visible top-level windows on a terminal of `cols` x `rows`:
// the active window (else the topmost visible one) is the anchor, centred;
// the others keep their pixel offsets from it.
ScreenLayout LayOutScreen(int cols, int rows);
// Whether the anchor window fits the terminal.
bool AnchorFits(const ScreenLayout& layout, int cols, int rows);

// The cells a child window (at any depth) covers inside its top-level box.
CellBox ControlCells(const WindowBox& box, const Window& control);
// The row a control's single line of text is drawn on: its middle row, as
// single-line controls centre their text vertically.
int TextRow(const WindowBox& box, const Window& control);
// The pixel (desk screen coordinates) at the middle of a client cell.
POINT PixelOfCell(const WindowBox& box, int col, int row);

// What lies under a cell.
struct CellHit {
    enum Part { kNothing, kFrame, kCloseBox, kClient } part;
    const WindowBox* box;  // the top-level window's box (null for nothing)
    HWND control;          // the deepest visible child under the cell, or null
};
CellHit HitCell(const ScreenLayout& layout, int col, int row);

}  // namespace desk
