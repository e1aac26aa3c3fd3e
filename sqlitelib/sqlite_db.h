// The SqliteDB unit: its state block and its seven commands. Argument 0 of
// every command is the instance, an ArgValue whose low word is the address
// of the state block (tag DT_SQLITEDB, not checked).
#pragma once

#include <cstdint>

#include "runtime/abi.h"
#include "runtime/value.h"

struct sqlite3;

// Forty bytes, allocated and zero-filled by program code, released by it
// after SqliteDB.Destroy.
struct SqliteDbState {
    sqlite3* connection;  // the engine connection; null while closed
    Word reserved[9];     // zero; no command touches them
};
static_assert(sizeof(SqliteDbState) == 40, "ten words");

namespace SqliteDB {

// No result.
void Construct(ArgValue* result, int32_t count, ArgValue* args);
void Destroy(ArgValue* result, int32_t count, ArgValue* args);
// 1: file name (text, optional), 2: create-if-missing (logical, optional)
// -> logical.
void Open(ArgValue* result, int32_t count, ArgValue* args);
// -> logical: 0 only when the engine reported the connection busy.
void Close(ArgValue* result, int32_t count, ArgValue* args);
// 1: SQL text, one or more statements -> logical: every statement succeeded.
void Execute(ArgValue* result, int32_t count, ArgValue* args);
// 1: table name or statement, 2: with column names (logical, optional)
// -> address of a text array block in runtime memory, never null.
void QueryTable(ArgValue* result, int32_t count, ArgValue* args);
// -> logical: the database was rebuilt with VACUUM.
void Compact(ArgValue* result, int32_t count, ArgValue* args);

}  // namespace SqliteDB
