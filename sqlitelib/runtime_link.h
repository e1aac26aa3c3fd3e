// The library's one link to the runtime: the notification function handed
// over with request 1, and the runtime memory requests made through it.
// Every text and array given to program code is runtime memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/notify.h"

namespace sqlitelib {

// Replaces the stored runtime notification function (request 1).
void SetRuntimeNotify(NotifyFunction notify);

// Request 2024 with the checked flag: the runtime ends the program itself on
// an exhausted heap, so the answer is only null when no runtime is linked.
void* RuntimeAllocate(uint32_t size);
// Request 2025; null is passed on like any block.
void RuntimeRelease(const void* block);

// A runtime copy of `length` bytes plus a terminating zero; an empty source
// gives null, the empty text of program code.
char* CopyToRuntime(const char* bytes, size_t length);

}  // namespace sqlitelib
