// Committing a slot through the intent files, and finishing one at start.
//
// The order is what makes a crash harmless: the intent record is written
// only when both slot files are whole on the disk, and removed only when the
// game file holds the new slot on the disk. While the record exists, the game
// slot holds the old slot, the new one, or a mix of the two, and writing the
// new one again is always right.
#include "app/pending_write.h"

#include "app/checksum.h"
#include "app/editor_state.h"
#include "app/kept_original.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"
#include "app/slot_record.h"
#include "app/tool_files.h"

namespace {

constexpr int32_t kRecordLimit = 4096;

// An advice sentence, when given, follows the refusal on its own line.
void ShowRefusal(const char* text, const char* advice = nullptr) {
    if (advice == nullptr) {
        ShowMessage(text, kBoxStopIcon, kTexts.titleRefused);
        return;
    }
    LineEnd end;
    char* joined = JoinTexts({text, end.cr, end.lf, advice});
    ShowMessage(joined, kBoxStopIcon, kTexts.titleRefused);
    ProgramRelease(joined);
}


void* IntentRecord(uint32_t oldCrc, uint32_t newCrc) {
    RecordBuilder record;
    record.Note(kTexts.pendingNote);
    record.Field(kTexts.recordFile, g_editor.game_file_path);
    record.Field(kTexts.recordSize, g_editor.expected_file_size);
    record.Field(kTexts.recordOffset, g_editor.db_offset);
    record.Field(kTexts.recordLength, g_editor.db_length);
    record.Crc(kTexts.recordOldCrc, oldCrc);
    record.Crc(kTexts.recordNewCrc, newCrc);
    return record.Seal();
}

bool IntentIsForThisVersion(const void* record) {
    return RecordHas(record, kTexts.recordFile, g_editor.game_file_path) &&
           RecordHas(record, kTexts.recordSize, g_editor.expected_file_size) &&
           RecordHas(record, kTexts.recordOffset, g_editor.db_offset) &&
           RecordHas(record, kTexts.recordLength, g_editor.db_length);
}

// The record first, and its removal made durable before the slot files go:
// a file system may keep later removals and lose earlier ones, and a record
// without its slot files is what a start cannot always finish. Once the
// record is gone for good, the slot files are mere leftovers; when that
// cannot be made sure, they stay for the next start to remove.
void RemoveIntent() {
    DeleteNamedFile(kTexts.pendingRecordFile);
    if (FileSizeOf(kTexts.pendingRecordFile) >= 0 || !FlushToolFolder()) return;
    DeleteNamedFile(kTexts.pendingNewFile);
    DeleteNamedFile(kTexts.pendingOldFile);
}

// Every byte of the slot is that byte of the old or of the new slot: what a
// write of the new slot over the old one leaves, however far it got.
bool IsMixOf(const void* slot, const void* oldSlot, const void* newSlot) {
    int32_t length = ByteSetLength(slot);
    if (length != ByteSetLength(oldSlot) || length != ByteSetLength(newSlot)) return false;
    const uint8_t* s = ByteSetData(slot);
    const uint8_t* o = ByteSetData(oldSlot);
    const uint8_t* n = ByteSetData(newSlot);
    for (int32_t i = 0; i < length; ++i) {
        if (s[i] != o[i] && s[i] != n[i]) return false;
    }
    return true;
}

// Writes the slot at the slot's offset, flushes, and reads it back.
enum class SlotWrite { kDone, kWriteFailed, kDiffers };
SlotWrite WriteAndReadBack(int32_t game, const void* slot) {
    if (!WriteSlotAt(game, g_editor.db_offset, slot)) return SlotWrite::kWriteFailed;
    void* back = ReadSlotAt(game, g_editor.db_offset, g_editor.db_length);
    bool same = back != nullptr && SameBytes(back, slot);
    ProgramRelease(back);
    return same ? SlotWrite::kDone : SlotWrite::kDiffers;
}

// What was left of an intent, read before anything is opened for writing.
struct Intent {
    void* record = nullptr;
    void* oldSlot = nullptr;
    void* newSlot = nullptr;
    ~Intent() {
        ProgramRelease(record);
        ProgramRelease(oldSlot);
        ProgramRelease(newSlot);
    }
};

// The game file held for a repair at start; a program holding it gets the
// start-up's own "file in use" error.
int32_t OpenGameToRepair() {
    int32_t game = OpenExclusive(g_editor.game_file_path);
    if (game <= 0) {
        ShowCodedError(kTexts.gameLocked, kTexts.gameLockedCode, AdviceIfDenied(kTexts.deniedGame));
    }
    return game;
}

// An intent whose record did not survive: cut short while it was written
// (before the game file was touched), or damaged since. Only when the game
// slot is still exactly the old slot is it certain that nothing was begun.
bool DropUnsealedIntent(const Intent& intent) {
    if (intent.oldSlot == nullptr ||
        FileSizeOf(g_editor.game_file_path) != g_editor.expected_file_size) {
        ShowCodedError(kTexts.pendingDamaged, kTexts.pendingDamagedCode);
        return false;
    }
    int32_t game = OpenGameToRepair();
    if (game <= 0) return false;
    void* slot = ReadSlotAt(game, g_editor.db_offset, g_editor.db_length);
    bool untouched = slot != nullptr && SameBytes(slot, intent.oldSlot);
    ProgramRelease(slot);
    CloseAllFiles();
    if (!untouched) {
        ShowCodedError(kTexts.pendingDamaged, kTexts.pendingDamagedCode);
        return false;
    }
    RemoveIntent();
    return true;
}

// A slot file that is there but is not what the record names (another
// length, unreadable, another checksum) is damaged. One that is missing is
// not: a file system may have kept its removal and lost the record's.
bool SlotFileDamaged(const char* name, const void* slotFile, const void* record, const char* field) {
    if (slotFile == nullptr) return FileSizeOf(name) >= 0;
    return !RecordHasCrc(record, field, ByteSetCrc32(slotFile));
}

// What the game slot is, judged against the record's checksums and the slot
// files that survived (each already checked against its checksum).
enum class SlotState {
    kNew,                  // already the new slot: nothing left to write
    kOldNothingToWrite,    // still the old slot, and the new one is lost
    kToFinish,             // the old slot, or a mix, and the new slot at hand
    kUnknownPartsMissing,  // neither, and a slot file is missing to tell
    kChanged,              // neither old, new nor a mix of the two
};

SlotState Judge(const void* slot, const Intent& intent) {
    if (slot == nullptr) return SlotState::kChanged;
    uint32_t crc = ByteSetCrc32(slot);
    // With a slot file at hand the bytes decide; without, the checksum the
    // record names for it.
    bool isNew = intent.newSlot != nullptr
                     ? SameBytes(slot, intent.newSlot)
                     : RecordHasCrc(intent.record, kTexts.recordNewCrc, crc);
    if (isNew) return SlotState::kNew;
    bool isOld = intent.oldSlot != nullptr
                     ? SameBytes(slot, intent.oldSlot)
                     : RecordHasCrc(intent.record, kTexts.recordOldCrc, crc);
    if (isOld) return intent.newSlot != nullptr ? SlotState::kToFinish : SlotState::kOldNothingToWrite;
    if (intent.oldSlot == nullptr || intent.newSlot == nullptr) return SlotState::kUnknownPartsMissing;
    return IsMixOf(slot, intent.oldSlot, intent.newSlot) ? SlotState::kToFinish : SlotState::kChanged;
}

}  // namespace

bool CommitSlot(const void* slot, const KeptOriginal& original) {
    // The game file may have changed since start-up (an update, a repair):
    // write only into the version this tool knows.
    if (FileSizeOf(g_editor.game_file_path) != g_editor.expected_file_size) {
        ShowCodedError(kTexts.sizeMismatch, kTexts.sizeMismatchCode);
        return false;
    }
    // Held until the end, so that nothing else changes the file meanwhile.
    int32_t game = OpenExclusive(g_editor.game_file_path);
    if (game <= 0) {
        ShowRefusal(kTexts.gameWriteLocked, AdviceIfDenied(kTexts.deniedGame));
        return false;
    }
    void* oldSlot = ReadSlotAt(game, g_editor.db_offset, g_editor.db_length);
    if (oldSlot == nullptr) {
        CloseAllFiles();
        ShowRefusal(kTexts.gameReadFailed);
        return false;
    }
    uint32_t oldCrc = ByteSetCrc32(oldSlot);
    if (oldCrc != g_editor.slot_checksum) {
        ProgramRelease(oldSlot);
        CloseAllFiles();
        ShowRefusal(kTexts.gameChangedSinceStart);
        return false;
    }

    KeepResult kept = KeepOriginal(original, oldSlot, oldCrc);
    if (kept != KeepResult::kKept) {
        ProgramRelease(oldSlot);
        CloseAllFiles();
        if (kept == KeepResult::kDamaged) {
            ShowRefusal(kTexts.originalDamaged);
        } else {
            ShowRefusal(kTexts.toolFilesFailed, LastWriteDenied() ? kTexts.deniedToolFiles : nullptr);
        }
        return false;
    }

    uint32_t newCrc = ByteSetCrc32(slot);
    void* record = IntentRecord(oldCrc, newCrc);
    bool intended = WriteFlushed(kTexts.pendingOldFile, {oldSlot}) &&
                    WriteFlushed(kTexts.pendingNewFile, {slot}) &&
                    WriteFlushed(kTexts.pendingRecordFile, {record});
    ProgramRelease(record);
    ProgramRelease(oldSlot);
    if (!intended) {
        // The game file is untouched: nothing of the intent is needed.
        CloseAllFiles();
        RemoveIntent();
        ShowRefusal(kTexts.toolFilesFailed, LastWriteDenied() ? kTexts.deniedToolFiles : nullptr);
        return false;
    }

    SlotWrite written = WriteAndReadBack(game, slot);
    CloseAllFiles();
    // On failure the intent stays: the next start writes the new slot again.
    if (written == SlotWrite::kWriteFailed) {
        ShowRefusal(kTexts.gameWriteIncomplete);
        return false;
    }
    if (written == SlotWrite::kDiffers) {
        ShowRefusal(kTexts.readBackMismatch);
        return false;
    }
    RemoveIntent();
    g_editor.slot_checksum = newCrc;
    return true;
}

bool FinishPendingWrite() {
    if (FileSizeOf(kTexts.pendingRecordFile) < 0) {
        // Slot files without a record are what a crash before the record was
        // sealed, or after it was removed, leaves: the game file is whole.
        DeleteNamedFile(kTexts.pendingNewFile);
        DeleteNamedFile(kTexts.pendingOldFile);
        return true;
    }
    auto length = static_cast<int32_t>(g_editor.db_length);
    Intent intent;
    intent.record = ReadWholeFile(kTexts.pendingRecordFile, kRecordLimit, true);
    intent.oldSlot = ReadWholeFile(kTexts.pendingOldFile, length);
    intent.newSlot = ReadWholeFile(kTexts.pendingNewFile, length);
    CloseAllFiles();

    if (!RecordIsSealed(intent.record)) return DropUnsealedIntent(intent);
    if (!IntentIsForThisVersion(intent.record)) {
        ShowCodedError(kTexts.pendingStale, kTexts.pendingStaleCode);
        return false;
    }
    if (SlotFileDamaged(kTexts.pendingOldFile, intent.oldSlot, intent.record, kTexts.recordOldCrc) ||
        SlotFileDamaged(kTexts.pendingNewFile, intent.newSlot, intent.record, kTexts.recordNewCrc)) {
        ShowCodedError(kTexts.pendingDamaged, kTexts.pendingDamagedCode);
        return false;
    }
    if (FileSizeOf(g_editor.game_file_path) != g_editor.expected_file_size) {
        ShowCodedError(kTexts.pendingStale, kTexts.pendingStaleCode);
        return false;
    }
    int32_t game = OpenGameToRepair();
    if (game <= 0) return false;
    void* slot = ReadSlotAt(game, g_editor.db_offset, g_editor.db_length);
    SlotState state = Judge(slot, intent);
    if (state != SlotState::kNew && state != SlotState::kToFinish) {
        ProgramRelease(slot);
        CloseAllFiles();
        if (state == SlotState::kOldNothingToWrite) {
            // Not begun, and the new slot is lost: the game file keeps the
            // database it had, whole, and the window shows it.
            RemoveIntent();
            return true;
        }
        if (state == SlotState::kUnknownPartsMissing) {
            ShowCodedError(kTexts.pendingDamaged, kTexts.pendingDamagedCode);
        } else {
            ShowCodedError(kTexts.pendingStale, kTexts.pendingStaleCode);
        }
        return false;
    }
    // A slot that already reads as the new one may still sit only in the
    // system's cache (the run that wrote it died before its flush): it is
    // written and flushed again before the intent goes, from the new slot
    // file or, when that is lost, from the very bytes just read.
    SlotWrite written = WriteAndReadBack(game, intent.newSlot != nullptr ? intent.newSlot : slot);
    ProgramRelease(slot);
    CloseAllFiles();
    if (written != SlotWrite::kDone) {
        ShowCodedError(kTexts.pendingRepairFailed, kTexts.pendingRepairFailedCode);
        return false;
    }
    RemoveIntent();
    ShowMessage(kTexts.pendingCompleted, kBoxOk, kTexts.titleSuccess);
    return true;
}
