// The end of the program: the end routine registered by program code, and
// the end sequence that releases everything and exits the process.
#pragma once

#include <cstdint>

using EndRoutine = void (*)();

void RegisterEndRoutine(EndRoutine routine);
// Runs the end sequence and exits with the code; from another thread the
// request is handed to the hidden runtime window first.
[[noreturn]] void EndProgram(int32_t exitCode);
// Forgets the end routine, so that an error path never runs it.
void ForgetEndRoutine();

// What the form runtime releases at the end (windows and templates; icons
// and loaded libraries). Installed at start.
struct FormEndHooks {
    void (*releaseWindows)();
    void (*releaseResources)();
};
void SetFormEndHooks(const FormEndHooks& hooks);
