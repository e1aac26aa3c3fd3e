// winmm's PlaySoundA, as far as the runtime plays background music.
#pragma once

#include "platform/desk/win32_types.h"

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008

// The desk has no sound output: a sound started from memory is written to
// the transcript as a `sound` line with its length and flags, a stop
// (no sound) as a `sound` line with "stop"; both answer TRUE.
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
