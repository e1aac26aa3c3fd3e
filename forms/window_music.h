// A window's background music: its byte set, a RIFF (WAV) image, played
// from memory while the window lives; play mode 0 repeats it, 1 plays it
// once, any other mode is silent. The platform plays one sound at a time,
// so a window starting its music takes over from another's, and a window
// stops the sound only while it is its own.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/window_unit.h"

void StartWindowMusic(WindowObject* window);
void StopWindowMusic(WindowObject* window);

// Whether a byte set is a whole RIFF image: the player reads as many bytes
// as the image's own length word says, so a shorter set is never handed on.
bool IsWholeRiffImage(const std::vector<uint8_t>& bytes);
