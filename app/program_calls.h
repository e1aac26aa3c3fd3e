// How the drop editor reaches the runtime: every command call, memory
// request and property access goes through the service table, as compiled
// program code does. These helpers only build the argument records.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/core_library.h"
#include "runtime/file_commands.h"
#include "runtime/message_box_command.h"
#include "runtime/value.h"
#include "sqlitelib/sqlite_library.h"

ArgValue CallCore(CoreCommand command, std::initializer_list<ArgValue> args = {});
ArgValue CallSqlite(SqliteCommand command, std::initializer_list<ArgValue> args);

// A text argument; an empty variable is passed as the constant empty text.
inline ArgValue TextArg(const char* text) { return MakeText(text != nullptr ? text : kEmptyText); }
inline ArgValue ByteSetArg(const void* block) { return MakeByteSet(block != nullptr ? block : kEmptyByteSet); }

void* ProgramAllocate(uint32_t size);
void* ProgramReallocate(void* block, uint32_t size);
void ProgramRelease(const void* block);
[[noreturn]] void ProgramRuntimeError(int32_t number);

// Property 8 of a unit on the main window: a label's caption, an edit box's
// content. The text read is a new block owned by the caller.
char* ReadUnitText(uint32_t unitId);
void WriteUnitText(uint32_t unitId, const char* text);

// Shows a message box through the command and answers its result.
int32_t ShowMessage(const char* text, int32_t flags, const char* title);
// The same without a title argument, so the command's default title shows.
int32_t ShowMessageUntitled(const char* text, int32_t flags);
