// The write-back that a crash cannot tear. Before the first byte goes into
// the game file, the slot it replaces ("dropedit-pending-old.bin"), the new
// slot ("dropedit-pending-new.bin") and then a record of the intent ("dropedit-
// pending.txt": which file, offset, length, both checksums) are written and
// flushed to the disk. Then the slot is written and the game file flushed,
// read back and compared, and only then is the intent removed. A start that
// finds the intent writes the new slot again.
#pragma once

struct KeptOriginal;

// Writes `slot` (db_length bytes) into the game file's database slot, keeping
// the original first when none is kept. Shows its own message on failure;
// true when the slot is on the disk and reads back as written.
bool CommitSlot(const void* slot, const KeptOriginal& original);

// At start, before the slot is read: finishes an interrupted write-back, or
// tells the player why it cannot and leaves everything as it is. False when
// the program must not go on.
bool FinishPendingWrite();
