// Drawing on the terminal: characters, texts, blanks and frames put into
// the current curses screen, each clipped to a box of cells and to the
// screen, so that a window partly off the terminal is simply cut.
#pragma once

#include <string>

#include "platform/desk/frontends/terminal/curses.h"
#include "platform/desk/frontends/terminal/layout.h"

namespace desk {

class Canvas {
  public:
    // The whole screen.
    Canvas();
    // Only the cells of `clip` that are also on this canvas.
    Canvas Inside(const CellBox& clip) const;

    // One character taking `cells` cells. A character that does not fit the
    // clip whole leaves blanks where it would have been.
    void Put(int col, int row, wchar_t ch, int cells, attr_t attr) const;
    // A GBK text from (col, row), at most `maxCells` cells of it; returns the
    // cells drawn.
    int Text(int col, int row, const std::string& gbk, int maxCells, attr_t attr) const;
    // Blanks over an area.
    void Fill(const CellBox& area, attr_t attr) const;
    // A line frame around the edge cells of `box`.
    void Frame(const CellBox& box, attr_t attr) const;

  private:
    explicit Canvas(const CellBox& clip) : clip_(clip) {}
    void PutRaw(int col, int row, const cchar_t* cell) const;
    CellBox clip_;
};

}  // namespace desk
