// The program's icon: the bytes of app/dropedit.ico (one 32 x 32 picture at
// 32 bits per pixel), embedded at build time. The main window shows it, and
// the Windows executable carries the same file as its icon resource.
#pragma once

#include <cstdint>

extern const uint8_t kDropeditIcon[];
extern const uint32_t kDropeditIconSize;
