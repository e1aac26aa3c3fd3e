// Giving the terminal back however the program ends: at ExitProcess (a
// normal end or a runtime error), at a plain exit, and on a signal that
// ends the process (Ctrl+C, a crash), the terminal leaves curses mode.
#pragma once

namespace desk {

class TerminalFrontEnd;

// The front end whose terminal is restored at the end (null: none).
void SetTerminalToRestore(TerminalFrontEnd* frontEnd);
// Installs the exit hook and the signal handlers (once per process).
void InstallTerminalRestore();

}  // namespace desk
