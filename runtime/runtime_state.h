// The core runtime's part of the application object: the state that memory,
// runtime errors, the end sequence and the notification function share.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "runtime/library_record.h"
#include "runtime/program_end.h"
#include "runtime/runtime_error.h"

struct ConstantRange {
    const uint8_t* start;  // inclusive
    const uint8_t* end;    // exclusive
};

constexpr int kMaxConstantRanges = 4;

struct RuntimeState {
    HANDLE heap;                                  // the process heap, taken at start
    ConstantRange constants[kMaxConstantRanges];  // program and runtime constant data
    int constantCount;
    int32_t suppressEvents;          // while above 0 no event reaches a handler
    EndRoutine endRoutine;           // the program's end routine, or null
    bool ending;                     // the end sequence has begun
    UnhandledErrorHook errorHook;    // empty in this program
    bool errorHookRunning;
    DWORD mainThreadId;              // the thread that initialised the runtime
    HWND hiddenWindow;               // the hidden runtime window, or null
    bool objectServicesStarted;      // CoInitialize succeeded at start
    int32_t programKind;             // header word 0
    const LibraryRecord* const* libraries;  // the program's library list
    int32_t libraryCount;
    uint32_t* libraryData;           // one zeroed word per library
    FormEndHooks formEnd;            // releases owned by the form runtime
    // Lets the form runtime pre-translate keys before a message is dispatched;
    // answers true when it consumed the message.
    bool (*preTranslate)(MSG* msg);
};

extern RuntimeState g_runtime;

// The private message the hidden window takes from other threads to end the
// program on the main thread (first parameter: the exit code).
constexpr UINT kEndProgramMessage = 0x83E7;
