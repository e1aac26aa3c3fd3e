// The terminal user's keys and mouse as desk input: the same key presses,
// characters and clicks a desktop would give the program (user32/input.h),
// so the program's own windows decide what they mean.
#pragma once

#include "platform/desk/frontends/terminal/curses.h"
#include "platform/desk/frontends/terminal/layout.h"

namespace desk {

// A key as get_wch read it (`status` OK: a character; KEY_CODE_YES: a key
// code). False when the key means nothing on the desk; it is dropped.
bool InjectTerminalKey(int status, wint_t key);

// What the mouse did at a cell.
enum class MouseAction { kPress, kRelease, kClick };
// A mouse button on a cell of the laid-out screen: on a control it lands on
// that control (on the character under it, in an edit box); on the close
// box, "[X]", it clicks the window's close box; on the rest of a frame it
// lands on the title bar. False when nothing is under the cell.
bool InjectTerminalMouse(const ScreenLayout& layout, int col, int row, MouseAction action);

}  // namespace desk
