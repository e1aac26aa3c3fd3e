// The SQLite support library as the runtime sees it: its library record
// (second in the program's library list, after the core library) and its
// notification entry.
#pragma once

#include <cstdint>

#include "runtime/library_record.h"

constexpr int kSqliteTypeCount = 10;
constexpr int kSqliteCommandCount = 7;

// Slots of the command table, in the order the program calls them by.
enum SqliteCommand {
    kSqliteOpen,
    kSqliteQueryTable,
    kSqliteClose,
    kSqliteExecute,
    kSqliteCompact,
    kSqliteConstruct,
    kSqliteDestroy,
};
static_assert(kSqliteDestroy + 1 == kSqliteCommandCount, "seven commands");

const LibraryRecord* SqliteLibraryRecord();

// Request 1 stores the runtime notification function (first parameter) and
// 6 (program end) needs nothing; both answer 0, any other request -1.
int32_t SqliteLibraryNotify(int32_t code, uint32_t first, uint32_t second);
