// The one entry signature every command has, and the two calling services
// through which program code reaches commands.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// A command writes its result into result->low (and result->high for 64-bit
// values); it never sets the tag and never keeps or releases its arguments.
using CommandEntry = void (*)(ArgValue* result, int32_t count, ArgValue* args);

// Both reserve a zeroed result record, call the entry and hand the record back.
ArgValue CallCoreCommand(CommandEntry entry, int32_t count, ArgValue* args);
ArgValue CallLibraryCommand(CommandEntry entry, int32_t count, ArgValue* args);
