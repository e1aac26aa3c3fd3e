// SqliteDB.Construct, Destroy, Open, Close, Execute and Compact: the life of
// one engine connection held in word 0 of the instance's state block.
#include "sqlitelib/sqlite_db.h"

#include <sqlite3.h>

#include <cstring>

#include "sqlitelib/codepage.h"
#include "sqlitelib/scratch_buffer.h"

namespace {

using sqlitelib::EngineText;

SqliteDbState* Instance(const ArgValue* args) {
    return FromWord<SqliteDbState>(args[0].low);
}

// Optional arguments count as given when their tag is not 0; an argument
// beyond the count the caller passed is treated as omitted.
ArgValue Argument(int32_t count, const ArgValue* args, int32_t index) {
    return index < count ? args[index] : MakeOmitted();
}

// Shared by Close, Destroy and both ends of Open. The handle is forgotten
// whatever the engine answers; 0 only for "still busy".
Word CloseConnection(SqliteDbState* db) {
    if (db->connection == nullptr) return 1;
    int rc = sqlite3_close(db->connection);
    db->connection = nullptr;
    return rc == SQLITE_BUSY ? 0 : 1;
}

// Runs program SQL text on an open connection; rows of any SELECT are
// dropped, and the first failing statement ends the run.
bool RunStatements(sqlite3* connection, const char* text) {
    EngineText sql(text);
    if (!sql.ok()) return false;
    return sqlite3_exec(connection, sql.get(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

namespace SqliteDB {

void Construct(ArgValue*, int32_t, ArgValue* args) {
    std::memset(Instance(args), 0, sizeof(SqliteDbState));
}

void Destroy(ArgValue*, int32_t, ArgValue* args) {
    CloseConnection(Instance(args));
}

void Open(ArgValue* result, int32_t count, ArgValue* args) {
    SqliteDbState* db = Instance(args);
    result->low = 0;
    // Whatever follows, the old database is closed first, so a failed open
    // never leaves the previous one in place.
    CloseConnection(db);

    ArgValue nameArg = Argument(count, args, 1);
    ArgValue createArg = Argument(count, args, 2);
    const char* name = nameArg.type != DT_NONE ? ValueText(nameArg) : nullptr;
    bool create = createArg.type != DT_NONE && createArg.low != 0;
    bool memory = TextIsEmpty(name) || sqlitelib::CompareNames(name, ":memory:") == 0;

    int rc;
    if (memory) {
        if (!create) return;
        rc = sqlite3_open(":memory:", &db->connection);
    } else {
        // The name is converted before anything looks for the file, so a
        // name that is not valid GBK never reaches the file system.
        EngineText file(name);
        if (!file.ok()) return;
        // Without create-if-missing the engine opens an existing file only:
        // that is the existence check, made on the same converted name the
        // engine uses and with no window between check and open.
        rc = create ? sqlite3_open(file.get(), &db->connection)
                    : sqlite3_open_v2(file.get(), &db->connection, SQLITE_OPEN_READWRITE, nullptr);
    }
    if (rc != SQLITE_OK) {
        CloseConnection(db);  // the engine may hand back a half-made connection
        return;
    }
    result->low = 1;
}

void Close(ArgValue* result, int32_t, ArgValue* args) {
    result->low = CloseConnection(Instance(args));
}

void Execute(ArgValue* result, int32_t, ArgValue* args) {
    SqliteDbState* db = Instance(args);
    const char* text = ValueText(args[1]);
    result->low = 0;
    if (TextIsEmpty(text) || db->connection == nullptr) return;
    result->low = RunStatements(db->connection, text) ? 1 : 0;
}

void Compact(ArgValue* result, int32_t, ArgValue* args) {
    SqliteDbState* db = Instance(args);
    result->low = 0;
    if (db->connection == nullptr) return;
    result->low = RunStatements(db->connection, "VACUUM") ? 1 : 0;
}

}  // namespace SqliteDB
