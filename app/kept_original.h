// The original slot: before the first write-back into the game file, the slot
// as it was is saved once in the tool's folder ("dropedit-original-0.751.bin"),
// with a record of its checksum and of the values the window showed for it
// ("dropedit-original-0.751.txt"). It is never overwritten: typing those
// values back writes it into the game file byte for byte.
#pragma once

#include <cstdint>

enum class OriginalState {
    kKept,     // record and slot file whole and matching
    kNone,     // nothing kept yet, or a first saving a crash cut short
    kUnsure,   // a whole slot file without a valid record: safe to seal only
               // if it is what the game file holds now
    kDamaged,  // something is kept but no longer whole: never replaced
};

struct KeptOriginal {
    OriginalState state;
    void* slot;    // the slot file's bytes (kKept, kUnsure), runtime heap
    void* record;  // the sealed record (kKept), runtime heap

    KeptOriginal();
    ~KeptOriginal();
    KeptOriginal(const KeptOriginal&) = delete;
    KeptOriginal& operator=(const KeptOriginal&) = delete;
};

// Reads what is kept; closes every open file before it returns.
void ReadKeptOriginal(KeptOriginal* kept);

// True when the boxes hold the values the kept original was shown with.
bool IsOriginalInput(const KeptOriginal& kept, double meat, double item, const char* kettle);

enum class KeepResult { kKept, kDamaged, kFailed };
// Saves `current` (the game's slot before the first write-back) unless an
// original is kept already. Files written here stay open until all are
// closed; on kFailed what was written is closed and removed again.
KeepResult KeepOriginal(const KeptOriginal& kept, const void* current, uint32_t currentCrc);
