// Fatal runtime errors: the "运行时出错!" box, then the process ends with
// exit code 0xFFFFFFFF without the program's end routine.
#pragma once

#include <cstdint>

// Numbered runtime errors 1 to 11 (array checks, type mismatches, ...).
[[noreturn]] void ReportErrorByCode(int32_t number);
// A runtime error with its own message; number 0 stands for none.
[[noreturn]] void ReportRuntimeError(const char* message, int32_t number = 0);

// The message of error number 1 to 11, or null.
const char* RuntimeErrorMessage(int32_t number);

// Filled by no command of this program; tests may set it. A non-zero answer
// means the error was handled and no box is shown.
using UnhandledErrorHook = int32_t (*)(int32_t number, const char* message);
void SetUnhandledErrorHook(UnhandledErrorHook hook);
