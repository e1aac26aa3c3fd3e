// The exit status a test sees from a process that a runtime error ended.
// The runtime ends it with 0xFFFFFFFF; Windows hands a parent the whole
// 32-bit code (-1 as googletest reads it), a POSIX system only its low
// 8 bits (255).
#pragma once

#ifdef _WIN32
constexpr int kRuntimeErrorExitStatus = -1;
#else
constexpr int kRuntimeErrorExitStatus = 255;
#endif
