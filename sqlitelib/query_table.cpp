// SqliteDB.QueryTable: one query, its whole result handed back as a
// two-dimensional array of GBK texts in runtime memory.
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>

#include "sqlitelib/codepage.h"
#include "sqlitelib/runtime_link.h"
#include "sqlitelib/scratch_buffer.h"
#include "sqlitelib/sqlite_db.h"

namespace {

using namespace sqlitelib;

// A text holding a space or a semicolon is a statement; anything else is
// taken for a bare table name (0x20 and 0x3B are never GBK trail bytes).
bool IsStatement(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == ' ' || *p == ';') return true;
    }
    return false;
}

// One field of the engine's table as a runtime text: null for SQL NULL, for
// the empty string and for a field GBK cannot hold.
char* FieldToRuntime(const char* utf8) {
    if (utf8 == nullptr) return nullptr;
    size_t length = 0;
    bool ascii = true;
    for (; utf8[length] != '\0'; ++length) {
        if (static_cast<unsigned char>(utf8[length]) >= 0x80) ascii = false;
    }
    if (ascii) return CopyToRuntime(utf8, length);
    char* gbk = FromUtf8(utf8);
    if (gbk == nullptr) return nullptr;
    char* copy = CopyToRuntime(gbk, std::strlen(gbk));
    std::free(gbk);
    return copy;
}

// The empty result: one dimension of size 0. Every failure answers it.
int32_t* NewEmptyArray() {
    int32_t* block = static_cast<int32_t*>(RuntimeAllocate(8));
    if (block != nullptr) {
        block[0] = 1;
        block[1] = 0;
    }
    return block;
}

}  // namespace

namespace SqliteDB {

void QueryTable(ArgValue* result, int32_t, ArgValue* args) {
    int32_t* empty = NewEmptyArray();
    result->low = ToWord(empty);

    SqliteDbState* db = FromWord<SqliteDbState>(args[0].low);
    const char* text = ValueText(args[1]);
    bool withNames = args[2].low != 0;  // read without its tag: omitted is false
    if (db->connection == nullptr || TextIsEmpty(text)) return;

    // A bare table name reads the whole table in row-id order. Names too
    // long for the formatting area fail instead of running a cut-off text.
    ScratchBuffer composed;
    const char* statement = text;
    if (!IsStatement(text)) {
        if (!composed.Format("SELECT * FROM %s ORDER BY _ROWID_ ", text)) return;
        statement = composed.Text();
    }
    EngineText sql(statement);
    if (!sql.ok()) return;

    char** table = nullptr;
    int rows = 0;
    int columns = 0;
    int rc = sqlite3_get_table(db->connection, sql.get(), &table, &rows, &columns, nullptr);
    // A query without rows reports no columns either, names or not.
    if (rc != SQLITE_OK || rows < 0 || columns <= 0) {
        sqlite3_free_table(table);
        return;
    }
    // The engine's table starts with the column-name row.
    char** first = withNames ? table : table + columns;
    if (withNames) ++rows;

    uint32_t elements = static_cast<uint32_t>(rows) * static_cast<uint32_t>(columns);
    int32_t* block = static_cast<int32_t*>(RuntimeAllocate(12 + 4 * elements));
    if (block == nullptr) {
        sqlite3_free_table(table);
        return;
    }
    std::memset(block, 0, 12 + 4 * elements);
    block[0] = 2;
    block[1] = rows;
    block[2] = columns;
    Word* cells = reinterpret_cast<Word*>(block + 3);
    for (uint32_t i = 0; i < elements; ++i) cells[i] = ToWord(FieldToRuntime(first[i]));

    sqlite3_free_table(table);
    RuntimeRelease(empty);
    result->low = ToWord(block);
}

}  // namespace SqliteDB
