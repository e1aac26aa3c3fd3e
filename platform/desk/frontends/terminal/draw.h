// Drawing the program's windows on the terminal from the desk's window
// records: each visible top-level window as a framed box with its caption,
// and in it its labels, edit boxes and buttons by class, text, style and
// focus. Paint records are not used: a control's own painting draws no
// pixels on the desk, and its window record says all the terminal can show.
#pragma once

#include <string>

#include "platform/desk/frontends/terminal/canvas.h"
#include "platform/desk/frontends/terminal/layout.h"

namespace desk {

// Where the terminal's cursor goes: the caret of the focused edit box.
struct CaretSpot {
    bool shown;  // an edit box has the focus and its caret is in view
    int col;
    int row;
};

// Draws every window of the layout into the current curses screen, bottom
// first, over a blank screen.
CaretSpot DrawWindows(const ScreenLayout& layout);

// How a button's text is framed: "[ 确认修改 ]", or "[>确认修改<]" while
// it has the focus. Message boxes draw their buttons the same way.
void DrawButtonFace(const Canvas& canvas, int col, int row, int cols, const std::string& gbk,
                    bool focused, bool enabled);

}  // namespace desk
