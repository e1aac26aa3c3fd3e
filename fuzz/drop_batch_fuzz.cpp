// Splitting the drop texts and building the UPDATE batch from arbitrary
// monster ids and drop texts, run for real: the rows go into a scratch
// "pe.bin", the drop editor reads them as at start and applies two typed
// multipliers. Whatever the texts hold, the batch must stay one statement a
// row: afterwards every row holds exactly what its own statement wrote (the
// last one for its id), nothing else in the database changed, and a run
// that ends early changed nothing at all.
//
// Input: a first line "meat\titem" (the typed boxes), then up to 12 rows
// "monster_ID\tmeat_drop\titem_drop", lines split at '\n'.
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/main_window_template.h"
#include "app/program_calls.h"
#include "app/program_texts.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/live_program.h"
#include "runtime/number_text.h"
#include "sqlitelib/codepage.h"

namespace {

using Field = std::optional<std::string>;  // GBK text; none for SQL NULL

struct Row {
    Field id, meat, item;
};

const char* const kBaseFile = "base.db";
const char* const kCache = "pe.bin";
constexpr int kMaxRows = 12;

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The pieces *split text* gives at ";" for a text read from the database
// (always whole GBK characters, and ';' is never a trail byte): an empty
// text has none, and an empty last piece is dropped.
std::vector<std::string> DropPieces(const std::string& text) {
    if (text.empty()) return {};
    std::vector<std::string> pieces = SplitAt(text, ';');
    if (pieces.back().empty()) pieces.pop_back();
    return pieces;
}

// A GBK text as the database holds it: converted to UTF-8, NULL when it
// cannot be.
Field Stored(const std::string& gbk) {
    char* utf8 = sqlitelib::ToUtf8(gbk.c_str());
    if (utf8 == nullptr) return std::nullopt;
    std::free(utf8);
    return gbk;
}

std::string Utf8(const std::string& gbk) {
    char* utf8 = sqlitelib::ToUtf8(gbk.c_str());
    std::string out = utf8 != nullptr ? utf8 : "";
    std::free(utf8);
    return out;
}

std::string Gbk(const unsigned char* utf8) {
    char* gbk = sqlitelib::FromUtf8(reinterpret_cast<const char*>(utf8));
    std::string out = gbk != nullptr ? gbk : "";
    std::free(gbk);
    return out;
}

void Exec(sqlite3* db, const char* sql) {
    FUZZ_CHECK(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, "scratch database: %s",
               sqlite3_errmsg(db));
}

// ai_data with the three columns at 1, 23 and 40 and the skill table with
// the kettle's row at 385, made once.
void MakeBase() {
    std::filesystem::remove(kBaseFile);
    sqlite3* db = nullptr;
    FUZZ_CHECK(sqlite3_open(kBaseFile, &db) == SQLITE_OK, "cannot make the scratch database");
    std::string ai = "CREATE TABLE ai_data(monster_ID";
    for (int c = 2; c <= 40; ++c) ai += c == 23 ? ", meat_drop" : c == 40 ? ", item_drop" : ", c" + std::to_string(c);
    Exec(db, (ai + ");").c_str());
    std::string skill = "CREATE TABLE skill(_id";
    for (int c = 2; c <= 38; ++c) skill += c == 38 ? ", _itemsGot" : ", s" + std::to_string(c);
    Exec(db, (skill + ");").c_str());
    Exec(db, "BEGIN;");
    for (int r = 1; r <= 385; ++r) {
        std::string insert = "INSERT INTO skill(_id, _itemsGot) VALUES(" + std::to_string(r == 385 ? 10441 : r) +
                             ", '" + (r == 385 ? "0;40010028,5" : "1;2,3") + "');";
        Exec(db, insert.c_str());
    }
    Exec(db, "COMMIT;");
    sqlite3_close(db);
}

void WriteRows(const std::vector<Row>& rows) {
    std::filesystem::copy_file(kBaseFile, kCache, std::filesystem::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    FUZZ_CHECK(sqlite3_open(kCache, &db) == SQLITE_OK, "cannot open the scratch database");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO ai_data(monster_ID, meat_drop, item_drop) VALUES(?1, ?2, ?3)", -1, &insert,
                       nullptr);
    for (const Row& row : rows) {
        const Field* fields[] = {&row.id, &row.meat, &row.item};
        for (int i = 0; i < 3; ++i) {
            if (fields[i]->has_value()) {
                sqlite3_bind_text(insert, i + 1, Utf8(**fields[i]).c_str(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(insert, i + 1);
            }
        }
        FUZZ_CHECK(sqlite3_step(insert) == SQLITE_DONE, "insert: %s", sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

// Everything the database holds, as text: the schema, every ai_data row's
// three columns and the kettle's row.
struct Contents {
    std::string schema;
    std::vector<Row> rows;
    std::string kettle;
    int64_t skillRows = 0;
};

Field Column(sqlite3_stmt* statement, int i) {
    if (sqlite3_column_type(statement, i) == SQLITE_NULL) return std::nullopt;
    return Gbk(sqlite3_column_text(statement, i));
}

Contents ReadContents() {
    Contents c;
    sqlite3* db = nullptr;
    FUZZ_CHECK(sqlite3_open_v2(kCache, &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK, "cannot read pe.bin");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_master ORDER BY name", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int i = 0; i < 3; ++i) c.schema += Column(s, i).value_or("NULL") + "|";
    }
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db, "SELECT monster_ID, meat_drop, item_drop FROM ai_data ORDER BY rowid", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) c.rows.push_back(Row{Column(s, 0), Column(s, 1), Column(s, 2)});
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db, "SELECT count(*), (SELECT _itemsGot FROM skill WHERE _id = 10441) FROM skill", -1, &s,
                       nullptr);
    if (sqlite3_step(s) == SQLITE_ROW) {
        c.skillRows = sqlite3_column_int64(s, 0);
        c.kettle = Column(s, 1).value_or("NULL");
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return c;
}

bool SameRows(const std::vector<Row>& a, const std::vector<Row>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].id != b[i].id || a[i].meat != b[i].meat || a[i].item != b[i].item) return false;
    }
    return true;
}

// (piece ÷ current) × typed, as the drop editor writes it.
std::string Scaled(const std::string& piece, int32_t current, double typed) {
    char text[kNumberTextSize];
    FormatDouble(TextToNumber(piece.c_str()) / static_cast<double>(current) * typed, text);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartLiveProgram();
    static bool based = false;
    if (!based) {
        MakeBase();
        based = true;
    }
    std::vector<std::string> lines = SplitAt(std::string(reinterpret_cast<const char*>(data), size), '\n');
    if (lines.back().empty()) lines.pop_back();  // the last line's end
    if (lines.size() < 2 || lines.size() > kMaxRows + 1) return -1;
    std::vector<std::string> typed = SplitAt(lines[0], '\t');
    if (typed.size() != 2) return -1;
    std::vector<Row> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> f = SplitAt(lines[i], '\t');
        if (f.size() != 3) return -1;
        // Texts stop at a zero byte, as every text does.
        rows.push_back(Row{Stored(f[0].c_str()), Stored(f[1].c_str()), Stored(f[2].c_str())});
    }

    ResetEditor();
    WriteRows(rows);
    Contents before = ReadContents();
    FUZZ_CHECK(SameRows(before.rows, rows), "the scratch rows did not go in as written");
    LiveBlockCheck blocks;
    RoutineRun read = RunRoutine(LoadDropValues);
    if (std::getenv("FUZZ_VERBOSE") != nullptr) {
        std::fprintf(stderr, "read: error %d, %u boxes\n", read.errorNumber, static_cast<unsigned>(read.boxes.size()));
    }
    if (read.runtimeError || !read.boxes.empty()) return 0;  // the start-up target's ground
    uint32_t kept = SnapshotTextCount();

    WriteUnitText(kMeatEditId, std::string(typed[0]).c_str());
    WriteUnitText(kItemEditId, std::string(typed[1]).c_str());
    int32_t meatNow = g_editor.meat_multiplier;
    int32_t itemNow = g_editor.item_multiplier;
    char* box = ReadUnitText(kMeatEditId);
    double meat = TextToNumber(box);
    ProgramRelease(box);
    box = ReadUnitText(kItemEditId);
    double item = TextToNumber(box);
    ProgramRelease(box);

    RoutineRun apply = RunRoutine(ApplyChanges);
    if (std::getenv("FUZZ_VERBOSE") != nullptr) {
        std::fprintf(stderr, "apply: error %d, %s\n", apply.errorNumber, apply.boxes.empty() ? "" : apply.boxes[0].c_str());
    }
    Contents after = ReadContents();
    FUZZ_CHECK(after.schema == before.schema, "the schema changed: %s", after.schema.c_str());
    FUZZ_CHECK(after.skillRows == before.skillRows, "skill rows %lld, were %lld",
               static_cast<long long>(after.skillRows), static_cast<long long>(before.skillRows));
    bool applied = !apply.runtimeError && !ShowedBox(apply, kTexts.batchFailed) &&
                   !ShowedBox(apply, kTexts.zeroMultiplier) && !ShowedBox(apply, kTexts.noData);
    if (!applied) {
        FUZZ_CHECK(SameRows(after.rows, before.rows) && after.kettle == before.kettle,
                   "a refused or failed apply changed the database");
        FUZZ_CHECK(apply.runtimeError || !ShowedBox(apply, kTexts.batchFailed),
                   "the batch failed on texts read from the database");
        blocks.Expect(kept, "a refused apply");
        return 0;
    }

    // Each row holds what the last statement for its id wrote.
    std::vector<Row> expected = before.rows;
    for (size_t i = 0; i < before.rows.size(); ++i) {
        std::string id = before.rows[i].id.value_or("");
        std::vector<std::string> m = DropPieces(before.rows[i].meat.value_or(""));
        std::vector<std::string> t = DropPieces(before.rows[i].item.value_or(""));
        FUZZ_CHECK(m.size() >= 2 && t.size() >= 2, "row %u applied without two pieces", static_cast<unsigned>(i));
        std::string newMeat = Scaled(m[0], meatNow, meat) + ";" + Scaled(m[1], meatNow, meat);
        std::string newItem = Scaled(t[0], itemNow, item) + ";" + t[1];
        for (Row& row : expected) {
            if (row.id.has_value() && *row.id == id) {
                row.meat = newMeat;
                row.item = newItem;
            }
        }
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        FUZZ_CHECK(after.rows[i].id == expected[i].id && after.rows[i].meat == expected[i].meat &&
                       after.rows[i].item == expected[i].item,
                   "row %u holds \"%s\" / \"%s\", expected \"%s\" / \"%s\"", static_cast<unsigned>(i),
                   after.rows[i].meat.value_or("NULL").c_str(), after.rows[i].item.value_or("NULL").c_str(),
                   expected[i].meat.value_or("NULL").c_str(), expected[i].item.value_or("NULL").c_str());
    }
    FUZZ_CHECK(after.kettle == "0;40010028,5", "kettle row \"%s\"", after.kettle.c_str());
    blocks.Expect(kept, "apply");
    return 0;
}
