// The core library's *message box* command: a synchronous Win32 message box
// whose answer comes back as the program's button number.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// The flags are Win32's message box flags, handed on as they are; these
// are the ones a program names.
enum MessageBoxFlags : int32_t {
    kBoxOk = 0x00,         // an OK button and no icon
    kBoxStopIcon = 0x10,   // the stop sign (MB_ICONSTOP)
};

// 1 message (any system type); 2 flags (default 0); 3 title (default
// "信息：") -> 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No.
void CmdMessageBox(ArgValue* result, int32_t count, ArgValue* args);

// The program's button number for a MessageBoxA answer; 0 for anything
// that is not a known button.
int32_t MessageBoxResult(int answer);
