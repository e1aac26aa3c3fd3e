// The window table. Reading non-empty template segments comes with the
// template reader; until then only the empty segment is accepted.
#include "forms/window_table.h"

bool ReadWindowTable(const uint8_t*, uint32_t length, Word) { return length == 0; }

WindowTemplate* FindWindowTemplate(uint32_t) { return nullptr; }

void ReleaseWindowTable() {}
