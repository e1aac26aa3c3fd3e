// Applying the typed values: the UPDATE batch from the start-up snapshot,
// run as one transaction on "pe.bin", then the write-back into the game file.
#include <cmath>

#include "app/editor_state.h"
#include "app/game_routines.h"
#include "app/kept_original.h"
#include "app/main_window_template.h"
#include "app/pending_write.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"
#include "app/sql_batch.h"
#include "app/tool_files.h"

namespace {

void* Split(const char* text) {
    return FromWord<void>(CallCore(kCmdSplitText, {TextArg(text), TextArg(kTexts.semicolon), MakeOmitted()}).low);
}

double ToNumber(const char* text) { return ValueDouble(CallCore(kCmdToNumber, {TextArg(text)})); }

// (piece ÷ current multiplier) × new multiplier, as the runtime writes doubles.
void AppendScaled(SqlBatch& batch, const char* piece, int32_t current, double typed) {
    double value = ToNumber(piece) / static_cast<double>(current) * typed;
    char* text = FromWord<char>(CallCore(kCmdToText, {MakeDouble(value)}).low);
    batch.Append(text);
    ProgramRelease(text);
}

double ReadBoxNumber(uint32_t unitId) {
    char* text = ReadUnitText(unitId);
    double value = ToNumber(text);
    ProgramRelease(text);
    return value;
}

bool Execute(const char* sql) {
    return ValueInt(CallSqlite(kSqliteExecute, {CacheDbArg(), TextArg(sql)})) != 0;
}

// Pads "pe.bin" with zero bytes to the slot's length and reads it back whole.
// Null when the cache file cannot be opened, padded or read in full.
void* PaddedCacheSlot(int64_t fill) {
    int32_t cache = OpenExclusive(kTexts.cacheFile);
    bool padded = cache > 0 && ValueInt(CallCore(kCmdMoveToEnd, {MakeInt(cache)})) != 0;
    if (padded && fill > 0) {
        void* zeros = FromWord<void>(CallCore(kCmdBlankByteSet, {MakeInt(static_cast<int32_t>(fill))}).low);
        padded = ValueInt(CallCore(kCmdWriteByteSet, {MakeInt(cache), ByteSetArg(zeros)})) != 0;
        ProgramRelease(zeros);
    }
    void* slot = nullptr;
    if (padded && ValueInt(CallCore(kCmdMovePosition, {MakeInt(cache), MakeInt(kFromStart), MakeInt(0)})) != 0) {
        slot = FromWord<void>(
            CallCore(kCmdReadByteSet, {MakeInt(cache), MakeInt(static_cast<int32_t>(g_editor.db_length))}).low);
        if (ByteSetLength(slot) != g_editor.db_length) {
            ProgramRelease(slot);
            slot = nullptr;
        }
    }
    CallCore(kCmdCloseAllFiles);
    return slot;
}

// Writes the kept original back when the boxes hold its values; false when
// they do not (or nothing is kept), so that the apply goes on as usual.
bool RestoreOriginal(double meat, double item) {
    KeptOriginal original;
    ReadKeptOriginal(&original);
    char* kettle = ReadUnitText(kKettleEditId);
    bool isOriginal = IsOriginalInput(original, meat, item, kettle);
    ProgramRelease(kettle);
    if (!isOriginal) return false;
    if (CommitSlot(original.slot, original)) {
        // The cache follows the game file, as after every write-back.
        CallCore(kCmdWriteFile, {TextArg(kTexts.cacheFile), ByteSetArg(original.slot)});
        ShowMessage(kTexts.restored, kBoxOk, kTexts.titleSuccess);
    }
    return true;
}

}  // namespace

void ApplyChanges() {
    if (g_editor.row_count < 1) {
        ShowMessage(kTexts.noData, kBoxStopIcon, kTexts.titleRefused);
        return;
    }
    // The boxes cannot change while this handler runs; read them once.
    double meat = ReadBoxNumber(kMeatEditId);
    double item = ReadBoxNumber(kItemEditId);
    // A negative multiplier would write negative drop counts into the game;
    // "-0" is refused with them, as it would be written as "-0".
    if (std::signbit(meat) || std::signbit(item)) {
        ShowMessage(kTexts.negativeMultiplier, kBoxStopIcon, kTexts.titleRefused);
        return;
    }
    // The original values typed back restore the kept original exactly,
    // without rescaling: the way back from any apply, an apply with 0 too.
    if (RestoreOriginal(meat, item)) return;
    // A current multiplier of 0 cannot be scaled from: refuse before
    // anything is written rather than store infinities or NaN.
    if (g_editor.meat_multiplier == 0 || g_editor.item_multiplier == 0) {
        ShowMessage(kTexts.zeroMultiplier, kBoxStopIcon, kTexts.titleRefused);
        return;
    }

    SqlBatch batch;
    batch.Append(kTexts.sqlBegin);
    batch.Append(kTexts.sqlIndex);
    LineEnd end;
    for (int32_t i = 1; i <= g_editor.row_count; ++i) {
        void* meatPieces = Split(TextAt(g_editor.meat_drops, {i}));
        void* itemPieces = Split(TextAt(g_editor.item_drops, {i}));
        batch.Append(kTexts.sqlMeatStart);
        AppendScaled(batch, TextAt(meatPieces, {1}), g_editor.meat_multiplier, meat);
        batch.Append(kTexts.semicolon);
        AppendScaled(batch, TextAt(meatPieces, {2}), g_editor.meat_multiplier, meat);
        batch.Append(kTexts.sqlItemStart);
        AppendScaled(batch, TextAt(itemPieces, {1}), g_editor.item_multiplier, item);
        batch.Append(kTexts.semicolon);
        batch.AppendLiteral(TextAt(itemPieces, {2}));
        batch.Append(kTexts.sqlMonsterStart);
        batch.AppendLiteral(TextAt(g_editor.monster_ids, {i}));
        batch.Append(kTexts.sqlEnd);
        batch.Append(end.cr);
        batch.Append(end.lf);
        ReleaseTextArray(meatPieces);
        ReleaseTextArray(itemPieces);
    }

    if (ValueInt(CallSqlite(kSqliteOpen, {CacheDbArg(), TextArg(kTexts.cacheFile), MakeOmitted()})) == 0) {
        ShowMessageUntitled(kTexts.cacheOpenFailed, kBoxOk);
        return;
    }
    char* kettle = ReadUnitText(kKettleEditId);
    batch.Append(kTexts.sqlSkillStart);
    batch.AppendLiteral(kettle);
    batch.Append(kTexts.sqlSkillEnd);
    ProgramRelease(kettle);
    // The lookup index lives only inside the transaction: the game's schema
    // is left as it was.
    batch.Append(kTexts.sqlDropIndex);
    batch.Append(kTexts.sqlCommit);

    // All or nothing: a failed statement must not leave half the rows
    // rescaled in a database that is then written into the game.
    if (!Execute(batch.Text())) {
        Execute(kTexts.sqlRollback);
        CallSqlite(kSqliteClose, {CacheDbArg()});
        ShowMessage(kTexts.batchFailed, kBoxStopIcon, kTexts.titleRefused);
        return;
    }
    CallSqlite(kSqliteCompact, {CacheDbArg()});
    CallSqlite(kSqliteClose, {CacheDbArg()});
    WriteBackDatabase();
}

void WriteBackDatabase() {
    int32_t size = ValueInt(CallCore(kCmdFileSize, {TextArg(kTexts.cacheFile)}));
    int64_t fill = TruncToInt64(static_cast<double>(g_editor.db_length) - static_cast<double>(size));
    if (fill < 0) {
        ShowMessage(kTexts.tooLarge, kBoxStopIcon, kTexts.titleFatal);
        CallCore(kCmdCloseAllFiles);
        return;
    }

    void* slot = PaddedCacheSlot(fill);
    if (slot == nullptr) {
        ShowMessageUntitled(kTexts.cacheOpenFailed, kBoxOk);
        return;
    }
    KeptOriginal original;
    ReadKeptOriginal(&original);
    bool committed = CommitSlot(slot, original);
    ProgramRelease(slot);
    if (committed) ShowMessage(kTexts.applied, kBoxOk, kTexts.titleSuccess);
}
