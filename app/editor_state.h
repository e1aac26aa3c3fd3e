// EditorState: the drop editor's global state for the whole run, and its
// creation and release.
#pragma once

#include <cstdint>

#include "sqlitelib/sqlite_db.h"

constexpr int32_t kSnapshotSize = 9999;  // elements of each snapshot array

struct EditorState {
    const char* game_file_path;   // "PE_Client_Data\resources.assets" once checked
    int64_t db_offset;            // byte offset of the database slot in the game file
    int64_t expected_file_size;   // the one accepted game file size
    int64_t db_length;            // length of the database slot
    SqliteDbState* cache_db;      // the SqliteDB instance on "pe.bin"
    int32_t row_count;            // ai_data rows read at start-up
    void* monster_ids;            // text array [9999]: ai_data column 1
    void* meat_drops;             // text array [9999]: ai_data column 23
    void* item_drops;             // text array [9999]: ai_data column 40
    int32_t meat_multiplier;      // current meat multiplier, read at start-up
    int32_t item_multiplier;      // current item multiplier, read at start-up
    const char* kettle_amount;    // the kettle amount shown at start-up
    uint32_t slot_checksum;       // CRC-32 of the slot as this run last read or wrote it
    uint32_t start_checksum;      // CRC-32 of the slot the window's values were read from
};

extern EditorState g_editor;

void InitEditorState();
// The program's end routine: runs once when the program ends in order.
void ReleaseEditorState();

// The instance argument of SqliteDB commands for `cache_db`.
ArgValue CacheDbArg();
