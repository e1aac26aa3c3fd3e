// Reading, checking and making the kept original.
#include "app/kept_original.h"

#include "app/checksum.h"
#include "app/editor_state.h"
#include "app/program_calls.h"
#include "app/program_helpers.h"
#include "app/program_texts.h"
#include "app/slot_record.h"
#include "app/tool_files.h"

namespace {

constexpr int32_t kRecordLimit = 4096;  // records are a few hundred bytes

// The record names the game file and slot it belongs to.
bool BelongsToThisVersion(const void* record) {
    return RecordHas(record, kTexts.recordFile, g_editor.game_file_path) &&
           RecordHas(record, kTexts.recordSize, g_editor.expected_file_size) &&
           RecordHas(record, kTexts.recordOffset, g_editor.db_offset) &&
           RecordHas(record, kTexts.recordLength, g_editor.db_length);
}

// The number on a "key=" line; false when the record has no such line.
bool RecordNumber(const void* record, const char* key, double* value) {
    char* text = RecordValue(record, key);
    if (text == nullptr) return false;
    *value = ValueDouble(CallCore(kCmdToNumber, {TextArg(text)}));
    ProgramRelease(text);
    return true;
}

// The values shown at start-up describe the slot only while it is the one
// they were read from; a slot kept later (its files moved away mid-run) is
// kept without them, and only the file itself leads back to it.
void* OriginalRecord(uint32_t crc) {
    bool described = crc == g_editor.start_checksum;
    char* meat = FromWord<char>(CallCore(kCmdToText, {MakeInt(g_editor.meat_multiplier)}).low);
    char* item = FromWord<char>(CallCore(kCmdToText, {MakeInt(g_editor.item_multiplier)}).low);
    char* how = JoinTexts({kTexts.restoreHowStart, meat, kTexts.restoreHowItem, item,
                           kTexts.restoreHowKettle, g_editor.kettle_amount, kTexts.restoreHowEnd});
    RecordBuilder record;
    record.Note(kTexts.originalNote);
    if (described) record.Note(how);
    record.Field(kTexts.recordFile, g_editor.game_file_path);
    record.Field(kTexts.recordSize, g_editor.expected_file_size);
    record.Field(kTexts.recordOffset, g_editor.db_offset);
    record.Field(kTexts.recordLength, g_editor.db_length);
    record.Crc(kTexts.recordSlotCrc, crc);
    if (described) {
        record.Field(kTexts.recordMeat, meat);
        record.Field(kTexts.recordItem, item);
        record.Field(kTexts.recordKettle, g_editor.kettle_amount);
    }
    ProgramRelease(how);
    ProgramRelease(meat);
    ProgramRelease(item);
    return record.Seal();
}

}  // namespace

KeptOriginal::KeptOriginal() : state(OriginalState::kNone), slot(nullptr), record(nullptr) {}

KeptOriginal::~KeptOriginal() {
    ProgramRelease(slot);
    ProgramRelease(record);
}

void ReadKeptOriginal(KeptOriginal* kept) {
    auto length = static_cast<int32_t>(g_editor.db_length);
    void* record = ReadWholeFile(kTexts.originalRecordFile, kRecordLimit, true);
    int32_t slotSize = FileSizeOf(kTexts.originalSlotFile);
    if (RecordIsSealed(record) && BelongsToThisVersion(record)) {
        // The record is written only once the slot file is whole and on the
        // disk: from here on any difference is damage.
        void* slot = ReadWholeFile(kTexts.originalSlotFile, length);
        if (slot != nullptr && RecordHasCrc(record, kTexts.recordSlotCrc, ByteSetCrc32(slot))) {
            kept->state = OriginalState::kKept;
            kept->slot = slot;
            kept->record = record;
        } else {
            kept->state = OriginalState::kDamaged;
            ProgramRelease(slot);
            ProgramRelease(record);
        }
    } else if (FileSizeOf(kTexts.originalRecordFile) >= 0 && record == nullptr) {
        // A record too large to be ours.
        kept->state = OriginalState::kDamaged;
    } else {
        ProgramRelease(record);
        if (slotSize < length) {
            // Missing, or cut short while it was first written.
            kept->state = OriginalState::kNone;
        } else if (slotSize == length) {
            kept->slot = ReadWholeFile(kTexts.originalSlotFile, length);
            kept->state = kept->slot != nullptr ? OriginalState::kUnsure : OriginalState::kDamaged;
        } else {
            kept->state = OriginalState::kDamaged;
        }
    }
    CloseAllFiles();
}

bool IsOriginalInput(const KeptOriginal& kept, double meat, double item, const char* kettle) {
    if (kept.state != OriginalState::kKept) return false;
    double keptMeat = 0;
    double keptItem = 0;
    return RecordNumber(kept.record, kTexts.recordMeat, &keptMeat) && keptMeat == meat &&
           RecordNumber(kept.record, kTexts.recordItem, &keptItem) && keptItem == item &&
           RecordHas(kept.record, kTexts.recordKettle, kettle);
}

KeepResult KeepOriginal(const KeptOriginal& kept, const void* current, uint32_t currentCrc) {
    switch (kept.state) {
        case OriginalState::kKept:
            return KeepResult::kKept;
        case OriginalState::kDamaged:
            return KeepResult::kDamaged;
        case OriginalState::kUnsure:
            // Sealing it is safe only when it is the game's slot as it is.
            if (!SameBytes(kept.slot, current)) return KeepResult::kDamaged;
            break;
        case OriginalState::kNone:
            break;
    }
    void* record = OriginalRecord(currentCrc);
    // The slot file first and flushed, the record last: a record on the disk
    // always speaks of a whole slot file.
    bool saved = WriteFlushed(kTexts.originalSlotFile, {current}) &&
                 WriteFlushed(kTexts.originalRecordFile, {record});
    ProgramRelease(record);
    if (saved) return KeepResult::kKept;
    CloseAllFiles();
    DeleteNamedFile(kTexts.originalRecordFile);
    DeleteNamedFile(kTexts.originalSlotFile);
    return KeepResult::kFailed;
}
