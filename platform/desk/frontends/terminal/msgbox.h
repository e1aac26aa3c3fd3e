// Message boxes on the terminal: a framed box over the windows with the
// box's title, its icon as a word, its text and its buttons. The default
// button has the focus; arrow keys and Tab move it, Enter and Space press
// it, a button's letter presses that button, and Escape cancels where the
// box can be cancelled (it has a Cancel button, or only OK), as on Win32.
#pragma once

#include <string>
#include <vector>

#include "platform/desk/frontends/terminal/curses.h"
#include "platform/desk/frontends/terminal/layout.h"
#include "platform/win32.h"

namespace desk {

struct TermMessageBox {
    std::string title;         // GBK
    std::string icon;          // the icon as a word (GBK), empty for none
    std::string text;          // GBK
    std::vector<int> buttons;  // IDOK ..., left to right
    size_t focus;              // index of the button Enter presses
};

// Where the box and its parts are on a terminal of a given size.
struct TermMessageBoxPlace {
    CellBox frame;                   // the box, frame included
    std::vector<std::string> lines;  // the text, broken to fit
    int textCol;                     // first column of the text lines
    int textRow;                     // row of the first line
    std::vector<CellBox> buttons;    // cells of each button, as in `buttons`
};

TermMessageBox MakeTermMessageBox(const std::string& text, const std::string& title, UINT type,
                                  int fallback);
// Places the box on a `cols` x `rows` terminal, over the anchor window of
// `under` when there is one, else in the middle.
TermMessageBoxPlace PlaceTermMessageBox(const TermMessageBox& box, const ScreenLayout& under,
                                        int cols, int rows);
bool TermMessageBoxFits(const TermMessageBoxPlace& place, int cols, int rows);
void DrawTermMessageBox(const TermMessageBox& box, const TermMessageBoxPlace& place);

// A key pressed while the box is up: the answer it gives (IDOK ...), or 0
// when the box stays up (the focus may have moved).
int TermMessageBoxKey(TermMessageBox* box, int status, wint_t key);
// A click on a cell: the answer of the button under it, or 0.
int TermMessageBoxClick(const TermMessageBoxPlace& place, const TermMessageBox& box, int col,
                        int row);

}  // namespace desk
