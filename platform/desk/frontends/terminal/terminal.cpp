// The terminal front end: curses set-up, the user's turn when the program
// waits for input, modal message boxes, and the note that the terminal is
// too small. The terminal is redrawn from the window records at every turn,
// so whatever the program changed since is shown.
#include "platform/desk/frontends/terminal/terminal.h"

#include <algorithm>
#include <cstdio>

#include "platform/desk/frontends/terminal/curses.h"
#include "platform/desk/frontends/terminal/draw.h"
#include "platform/desk/frontends/terminal/keys.h"
#include "platform/desk/frontends/terminal/msgbox.h"
#include "platform/desk/frontends/terminal/restore.h"
#include "platform/desk/frontends/terminal/text.h"

namespace desk {
namespace {

// The person waits for nobody: after this long without a key the program
// looks at its queue again (another thread may have posted to it).
constexpr int kIdleWaitMs = 100;
// Escape alone is a key; the terminal's escape sequences come faster.
constexpr int kEscapeDelayMs = 25;

SCREEN* ScreenOf(void* screen) {
    return static_cast<SCREEN*>(screen);
}

// The terminal cannot show what needs `cols` x `rows`: say so, in the
// middle, and wait for the person to make it larger.
void DrawTooSmall(int cols, int rows) {
    Canvas screen;
    screen.Fill(CellBox{0, 0, COLS, LINES}, A_NORMAL);
    std::string lines[] = {
        "终端太小",
        "需要 " + std::to_string(cols) + " x " + std::to_string(rows) + "，现在 " +
            std::to_string(COLS) + " x " + std::to_string(LINES),
        "请把终端放大",
    };
    int row = std::max(0, LINES / 2 - 1);
    for (const std::string& line : lines) {
        int col = std::max(0, (COLS - CellsOf(line)) / 2);
        screen.Text(col, row++, line, COLS - col, A_BOLD);
    }
}

void ShowCursorAt(const CaretSpot& caret) {
    if (caret.shown) {
        curs_set(1);
        move(caret.row, caret.col);
    } else {
        curs_set(0);
    }
}

bool AnyWindowVisible() {
    for (HWND hwnd : TopLevelWindows()) {
        if (IsWindowVisible(hwnd)) return true;
    }
    return false;
}

}  // namespace

TerminalFrontEnd* TerminalFrontEnd::Open(FILE* in, FILE* out, const char* term) {
    // Without a screen the program would run unseen and end at once; a
    // person at the terminal is told why. The locale and the terminal
    // description come from the host at run time, also for a static build.
    if (!TerminalLocale::Available()) {
        std::fprintf(stderr, "dropedit: no UTF-8 locale to draw with (try LANG=C.UTF-8)\n");
        return nullptr;
    }
    TerminalLocale utf8;
    SCREEN* screen = newterm(term, out, in);
    if (screen == nullptr) {
        std::fprintf(stderr, "dropedit: no terminal description for TERM=%s (terminfo)\n",
                     term != nullptr ? term : "");
        return nullptr;
    }
    set_term(screen);
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(kEscapeDelayMs);
    // Presses and releases come one by one, as the desk's input takes them.
    mousemask(BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON1_CLICKED, nullptr);
    mouseinterval(0);
    return new TerminalFrontEnd(screen);
}

TerminalFrontEnd::~TerminalFrontEnd() {
    Restore();
    TerminalLocale utf8;
    delscreen(ScreenOf(screen_));
}

void TerminalFrontEnd::Restore() {
    if (ended_) return;
    ended_ = true;
    TerminalLocale utf8;
    set_term(ScreenOf(screen_));
    curs_set(1);
    endwin();
}

CaretSpot TerminalFrontEnd::Redraw() {
    TerminalLocale utf8;
    set_term(ScreenOf(screen_));
    ScreenLayout layout = LayOutScreen(COLS, LINES);
    CaretSpot caret = {false, 0, 0};
    if (!AnchorFits(layout, COLS, LINES)) {
        DrawTooSmall(layout.needCols, layout.needRows);
    } else {
        caret = DrawWindows(layout);
    }
    ShowCursorAt(caret);
    refresh();
    return caret;
}

TerminalFrontEnd::Input TerminalFrontEnd::TakeInput(int waitMs) {
    TerminalLocale utf8;
    set_term(ScreenOf(screen_));
    wtimeout(stdscr, waitMs);
    wint_t key = 0;
    int status = wget_wch(stdscr, &key);
    if (status == ERR) return Input::kNone;
    if (status == KEY_CODE_YES && key == KEY_RESIZE) {
        Redraw();
        return Input::kIgnored;
    }
    ScreenLayout layout = LayOutScreen(COLS, LINES);
    // What the person cannot see, they do not mean to act on.
    if (!AnchorFits(layout, COLS, LINES)) return Input::kIgnored;
    bool taken = false;
    if (status == KEY_CODE_YES && key == KEY_MOUSE) {
        MEVENT event;
        if (getmouse(&event) == OK) {
            MouseAction action = (event.bstate & BUTTON1_PRESSED)    ? MouseAction::kPress
                                 : (event.bstate & BUTTON1_RELEASED) ? MouseAction::kRelease
                                                                     : MouseAction::kClick;
            taken = (event.bstate & (BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON1_CLICKED)) &&
                    InjectTerminalMouse(layout, event.x, event.y, action);
        }
    } else {
        taken = InjectTerminalKey(status, key);
    }
    return taken ? Input::kTaken : Input::kIgnored;
}

bool TerminalFrontEnd::Idle() {
    if (!AnyWindowVisible()) return false;  // nothing left that the person could use
    Redraw();
    TakeInput(kIdleWaitMs);
    return true;
}

int TerminalFrontEnd::AnswerMessageBox(const std::string& text, const std::string& title, UINT type,
                                       int fallback) {
    TerminalLocale utf8;
    set_term(ScreenOf(screen_));
    TermMessageBox box = MakeTermMessageBox(text, title, type, fallback);
    for (;;) {
        ScreenLayout layout = LayOutScreen(COLS, LINES);
        TermMessageBoxPlace place = PlaceTermMessageBox(box, layout, COLS, LINES);
        bool fits = TermMessageBoxFits(place, COLS, LINES);
        if (fits) {
            DrawWindows(layout);
            DrawTermMessageBox(box, place);
        } else {
            DrawTooSmall(place.frame.cols, place.frame.rows);
        }
        curs_set(0);
        refresh();
        // The box is modal: nothing else runs until it is answered.
        wtimeout(stdscr, -1);
        wint_t key = 0;
        int status = wget_wch(stdscr, &key);
        if (status == ERR || !fits) continue;
        int answer = 0;
        if (status == KEY_CODE_YES && key == KEY_MOUSE) {
            MEVENT event;
            if (getmouse(&event) == OK && (event.bstate & (BUTTON1_RELEASED | BUTTON1_CLICKED)))
                answer = TermMessageBoxClick(place, box, event.x, event.y);
        } else {
            answer = TermMessageBoxKey(&box, status, key);
        }
        if (answer != 0) return answer;
    }
}

FrontEnd* MakeTerminalFrontEnd() {
    InstallTerminalRestore();
    TerminalFrontEnd* frontEnd = TerminalFrontEnd::Open(stdin, stdout, nullptr);
    SetTerminalToRestore(frontEnd);
    return frontEnd;
}

}  // namespace desk
