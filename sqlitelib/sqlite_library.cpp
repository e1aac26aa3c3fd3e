// The library record of the SQLite support library, its ten data type
// descriptors (only the first, the SqliteDB unit, is used) and its command
// table.
#include "sqlitelib/sqlite_library.h"

#include "sqlitelib/runtime_link.h"
#include "sqlitelib/sqlite_db.h"

namespace {

const DataTypeDescriptor kTypes[kSqliteTypeCount] = {
    {"Sqlite数据库", "SqliteDB", {0, 0, 0}, 0xC0000000, {0, 0, 0}, 0, nullptr, nullptr, {0, 0}},
};

const CommandEntry kCommands[kSqliteCommandCount] = {
    SqliteDB::Open,    SqliteDB::QueryTable, SqliteDB::Close,   SqliteDB::Execute,
    SqliteDB::Compact, SqliteDB::Construct,  SqliteDB::Destroy,
};

const LibraryRecord kRecord = {
    kLibraryRecordMark,                        // 0
    "{DBAFA981-512B-462E-88E0-79824F0B04C7}",  // 1: identifier
    2,                                         // 2-4: version 2.0, build 2
    0,
    2,
    {3, 7, 3, 7},           // 5-8: the same pairs as the core library's record
    "Sqlite3数据库支持库",  // 9: name
    1,                      // 10: as in the core library's record
    0,                      // 11
    0xC0000000,             // 12: flags
    {0, 0, 0, 0, 0, 0, 0, 0},
    kSqliteTypeCount,  // 21
    kTypes,            // 22
    {0, 0},
    kSqliteCommandCount,  // 25
    0,
    kCommands,  // 27
    {0, 0},
    SqliteLibraryNotify,  // 30
    {0, 0, 0, 0, 0},
};

}  // namespace

const LibraryRecord* SqliteLibraryRecord() {
    return &kRecord;
}

int32_t SqliteLibraryNotify(int32_t code, uint32_t first, uint32_t) {
    switch (code) {
        case kLibraryStart:
            sqlitelib::SetRuntimeNotify(
                reinterpret_cast<NotifyFunction>(static_cast<uintptr_t>(first)));
            return 0;
        case kLibraryEnd:
            return 0;
        default:
            return -1;
    }
}
