// The terminal front end: the person at the terminal is the desk's user.
// The program's windows are drawn with curses from the desk's window
// records, and the person's keys and clicks become desk input, so the
// program receives the messages a desktop would send it.
#pragma once

#include <cstdio>
#include <string>

#include "platform/desk/frontends/frontend.h"
#include "platform/desk/frontends/terminal/draw.h"

namespace desk {

class TerminalFrontEnd : public FrontEnd {
  public:
    // Starts curses on a terminal reached through `in` and `out`; `term` is
    // its type (null: $TERM). Null when the terminal cannot be used (an
    // unknown type, no UTF-8 locale on the host).
    static TerminalFrontEnd* Open(FILE* in, FILE* out, const char* term);
    ~TerminalFrontEnd() override;

    // Draws the windows and waits briefly for the user: a key or a click
    // becomes input. Returns false only when no window is left to use.
    bool Idle() override;
    int AnswerMessageBox(const std::string& text, const std::string& title, UINT type,
                         int fallback) override;

    // Draws the windows as they are now (or, on a terminal too small for
    // the active window, says so); returns where the cursor shows the caret.
    CaretSpot Redraw();
    // Waits up to `waitMs` milliseconds (-1: for ever) for one key or mouse
    // event and turns it into desk input. A resize redraws.
    enum class Input {
        kNone,
        kIgnored,
        kTaken
    };  // nothing came; it meant nothing; it became input
    Input TakeInput(int waitMs);
    // Leaves curses: the terminal is as it was before. Safe to call twice.
    void Restore();

  private:
    explicit TerminalFrontEnd(void* screen) : screen_(screen) {}
    void* screen_;        // the curses SCREEN
    bool ended_ = false;  // Restore ran
};

}  // namespace desk
