// The form runtime's part of the runtime application object, and the
// application framework that starts and ends the process around the
// program's entry routine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/program_header.h"
#include "platform/win32.h"

// Routine called on every empty queue while its window exists.
struct IdleCallback {
    HWND window;
    void (*routine)(uint32_t argument);
    uint32_t argument;
};

struct Application {
    const ProgramImage* image;   // the program being run
    HINSTANCE instance;
    Word headerWord1;            // stored, not interpreted
    Word headerWord2PlusOne;     // stored, not interpreted
    std::string folder;          // the program's folder, no trailing backslash
    std::string folderSlash;     // the same with a trailing backslash
    std::string fileName;        // the program file's name
    std::vector<IdleCallback> idleCallbacks;
    uint32_t eventSourceWindow;  // the event being dispatched: window id ...
    uint32_t eventSourceUnit;    // ... and unit id
    bool loopStarted;            // RunMessageLoop has begun
    std::vector<HWND> declinedIdle;  // windows that declined idle events this phase
    DWORD idleStart;             // milliseconds at the start of the idle phase
    bool quitTaken;              // the message loop took the quit message ...
    int32_t quitCode;            // ... with this code, the process exit code
};

extern Application g_app;

// Runs a program image: the framework's start, the entry routine inside the
// instance initialisation, then the instance exit with its end sequence.
// Never returns.
[[noreturn]] void RunProgram(const ProgramImage& image, HINSTANCE instance);

// The entry point of an executable that runs a program image.
#ifdef _WIN32
#define DROPEDIT_PROGRAM_ENTRY(image) \
    int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { RunProgram(image, instance); }
#else
#define DROPEDIT_PROGRAM_ENTRY(image) \
    int main() { RunProgram(image, nullptr); }
#endif

// Splits a full program path at its last backslash (the folder may be empty).
void SplitProgramPath(const std::string& path, std::string* folder, std::string* fileName);
