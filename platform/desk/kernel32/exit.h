// Leaving the process: front ends register what must be restored (the
// terminal) before the exit line is written and the process ends.
#pragma once

namespace desk {

void AddExitHook(void (*hook)());
// Runs the hooks, writes {"event":"exit","code":N} and ends the process.
[[noreturn]] void ExitWithCode(unsigned code);

}  // namespace desk
