// Creating and releasing EditorState.
#include "app/editor_state.h"

#include <cstring>

#include "app/program_calls.h"

EditorState g_editor = {};

namespace {

void* NewSnapshotArray() {
    auto* block = static_cast<int32_t*>(ProgramAllocate(8 + 4 * kSnapshotSize));
    block[0] = 1;
    block[1] = kSnapshotSize;
    std::memset(block + 2, 0, 4 * kSnapshotSize);
    return block;
}

void ReleaseSnapshotArray(void*& block) {
    auto* elements = static_cast<Word*>(ArrayElements(block));
    for (int32_t i = 0; i < kSnapshotSize; ++i) ProgramRelease(FromWord<void>(elements[i]));
    ProgramRelease(block);
    block = nullptr;
}

}  // namespace

ArgValue CacheDbArg() { return ArgValue{ToWord(g_editor.cache_db), 0, DT_SQLITEDB}; }

void InitEditorState() {
    g_editor.cache_db = static_cast<SqliteDbState*>(ProgramAllocate(sizeof(SqliteDbState)));
    std::memset(g_editor.cache_db, 0, sizeof(SqliteDbState));
    CallSqlite(kSqliteConstruct, {CacheDbArg()});
    g_editor.monster_ids = NewSnapshotArray();
    g_editor.meat_drops = NewSnapshotArray();
    g_editor.item_drops = NewSnapshotArray();
}

void ReleaseEditorState() {
    ProgramRelease(g_editor.game_file_path);
    g_editor.game_file_path = nullptr;
    ProgramRelease(g_editor.kettle_amount);
    g_editor.kettle_amount = nullptr;
    CallSqlite(kSqliteDestroy, {CacheDbArg()});
    ProgramRelease(g_editor.cache_db);
    g_editor.cache_db = nullptr;
    ReleaseSnapshotArray(g_editor.monster_ids);
    ReleaseSnapshotArray(g_editor.meat_drops);
    ReleaseSnapshotArray(g_editor.item_drops);
}
