// How an EDIT control shows on the terminal: its text in a bracketed field,
// aligned as its style says, scrolled so that the caret is in view, with
// the selection and the caret; and which character a clicked cell holds.
#pragma once

#include <string>
#include <vector>

#include "platform/desk/frontends/terminal/layout.h"
#include "platform/desk/frontends/terminal/text.h"

namespace desk {

struct EditCell {
    TermChar c;  // the character as shown (a password character for a password box)
    int col;     // where it is drawn
    int row;
    bool visible;  // inside the field (scrolled off or a line break: not drawn)
};

struct EditLine {
    int row;       // where it is drawn (off the field when scrolled away)
    size_t start;  // its bytes in the text, line break excluded
    size_t end;
};

struct EditView {
    CellBox field;                // the cells the text is drawn in
    bool brackets;                // "[" and "]" just left and right of the field
    std::vector<EditCell> cells;  // every character of the text, in order
    std::vector<EditLine> lines;  // one for a single-line control
    size_t selStart;              // selection, byte offsets
    size_t selEnd;
    int caretCol;  // where the caret is; off the field when it is scrolled away
    int caretRow;
};

// Whether a window is of the desk's EDIT class.
bool IsEditControl(const Window& w);

// The view of an EDIT control (a live window of that class) in its box.
EditView ViewOfEdit(const WindowBox& box, const Window& edit);
// The byte offset a click on the cell puts the caret at: the nearest
// character boundary on the cell's line.
size_t EditOffsetAt(const EditView& view, int col, int row);

}  // namespace desk
