// The start-up check of the game file and the copy of its database slot
// into the cache file "pe.bin".
#include "app/checksum.h"
#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/main_window_template.h"
#include "app/pending_write.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"
#include "app/tool_files.h"

void CloseMainWindow() {
    ArgValue window{kMainWindowId, kMainWindowUnitId, DT_WINDOW};
    CallCore(kCmdCloseWindow, {window, MakeOmitted()});
    CallCore(kCmdProcessEvents);
}

// The one game version the tool knows: the size of its data file and where
// in it the SQLite database (the slot) lies.
constexpr int64_t kGameFileSize = 653572248;
constexpr int64_t kSlotOffset = 532160740;
constexpr int64_t kSlotLength = 2136068;

void CheckGameFile() {
    ProgramRelease(g_editor.game_file_path);
    g_editor.game_file_path = kTexts.gamePath;
    g_editor.db_offset = kSlotOffset;
    g_editor.expected_file_size = kGameFileSize;
    g_editor.db_length = kSlotLength;

    WriteUnitText(kVersionLabelId, kTexts.versionText);

    // A write-back that a crash cut short is finished before anything reads
    // the slot; when it cannot be, the program stops here and touches nothing.
    if (!FinishPendingWrite()) {
        CloseMainWindow();
        return;
    }

    int64_t size = ValueInt(CallCore(kCmdFileSize, {TextArg(g_editor.game_file_path)}));
    if (size == g_editor.expected_file_size) {
        ExtractDatabase();
        return;
    }
    ShowCodedError(kTexts.sizeMismatch, kTexts.sizeMismatchCode);
    CloseMainWindow();
}

namespace {

// SQLite's companion files of the cache: a journal (or a write-ahead log
// and its index, should another journal mode ever be used) left by a run
// that died inside a transaction, or brought back by a power cut after its
// removal. SQLite rolls a journal it finds into the database it sits next
// to, so one left beside the fresh copy would tear it. They go with the
// cache itself; true when none is left.
bool RemoveCacheCompanions() {
    bool gone = true;
    for (const char* name : {kTexts.cacheJournalFile, kTexts.cacheWalFile, kTexts.cacheShmFile}) {
        DeleteNamedFile(name);
        if (FileSizeOf(name) >= 0) gone = false;
    }
    return gone;
}

}  // namespace

void ExtractDatabase() {
    bool companionsGone = RemoveCacheCompanions();
    CallCore(kCmdDeleteFile, {TextArg(kTexts.cacheFile)});
    int32_t file = ValueInt(
        CallCore(kCmdOpenFile, {TextArg(g_editor.game_file_path), MakeInt(kOpenReadWrite), MakeInt(kShareNone)}));
    bool written = false;
    // Why an open or the cache's write failed, asked before anything else
    // runs a file command.
    const char* gameAdvice = file > 0 ? nullptr : AdviceIfDenied(kTexts.deniedGame);
    const char* cacheAdvice = nullptr;
    if (file > 0) {
        CallCore(kCmdMovePosition, {MakeInt(file), MakeInt(kFromStart), MakeInt(static_cast<int32_t>(g_editor.db_offset))});
        void* slot = FromWord<void>(
            CallCore(kCmdReadByteSet, {MakeInt(file), MakeInt(static_cast<int32_t>(g_editor.db_length))}).low);
        // What the slot held when this run read it: the write-back writes
        // only over that, never over a change made behind the tool's back.
        g_editor.slot_checksum = ByteSetCrc32(slot);
        g_editor.start_checksum = g_editor.slot_checksum;
        // A companion that would not go (another program holding it) is a
        // cache that cannot be written: the copy is never made beside it.
        written = companionsGone &&
                  ValueInt(CallCore(kCmdWriteFile, {TextArg(kTexts.cacheFile), ByteSetArg(slot)})) != 0;
        if (!written) cacheAdvice = AdviceIfDenied(kTexts.deniedCache);
        ProgramRelease(slot);
        CallCore(kCmdCloseAllFiles);
        LoadDropValues();
    }
    if (file <= 0) {
        ShowCodedError(kTexts.gameLocked, kTexts.gameLockedCode, gameAdvice);
        CloseMainWindow();
    } else if (!written) {
        ShowCodedError(kTexts.cacheBusy, kTexts.cacheBusyCode, cacheAdvice);
        CloseMainWindow();
    }
}
