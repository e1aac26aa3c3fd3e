// The one way into curses for the desk: the wide-character ncurses without
// its function-like macros (so names such as `erase` or `timeout` stay plain
// C++ names), and the UTF-8 locale the terminal is drawn and read in.
#pragma once

#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#ifndef NCURSES_NOMACROS
#define NCURSES_NOMACROS 1
#endif
#include <locale.h>
#include <ncursesw/curses.h>

namespace desk {

// Curses converts between wide characters and the terminal's bytes with the
// C library, in the calling thread's locale. The terminal speaks UTF-8, but
// the program's own locale must stay what the program made it, so every
// stretch of curses calls runs under this guard: a thread locale whose
// character type is UTF-8 (the user's own when it is UTF-8, else C.UTF-8).
class TerminalLocale {
  public:
    TerminalLocale();
    ~TerminalLocale();
    TerminalLocale(const TerminalLocale&) = delete;
    TerminalLocale& operator=(const TerminalLocale&) = delete;
    // False when the host offers no UTF-8 locale at all: then the terminal
    // cannot be used.
    static bool Available();

  private:
    locale_t previous_;
};

}  // namespace desk
