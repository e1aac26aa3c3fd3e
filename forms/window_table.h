// The window table: every window template of the program, read once at start
// from the template segment.
#pragma once

#include <cstdint>

#include "runtime/abi.h"

struct WindowTemplate;

// Reads the segment into the window table and relocates its handler offsets
// by the code base. A segment of length 0 gives an empty table. False when the
// segment ends early or is malformed; the table is then left as it was.
bool ReadWindowTable(const uint8_t* segment, uint32_t length, Word codeBase);
// The template with that window id, or null.
WindowTemplate* FindWindowTemplate(uint32_t windowId);
// The templates in segment order, for walks over every window.
uint32_t WindowTableCount();
WindowTemplate* WindowTableAt(uint32_t index);
// Releases the table and its bookkeeping lists.
void ReleaseWindowTable();
