// The core library: its record (library 1 of every program), its 51 data
// type descriptors, of which four are the form runtime's unit kinds, and its
// command table.
#pragma once

#include "runtime/library_record.h"

// Descriptor numbers (1-based) of the unit kinds.
constexpr int kUnitKindWindow = 1;
constexpr int kUnitKindEditBox = 5;
constexpr int kUnitKindLabel = 10;
constexpr int kUnitKindButton = 11;

constexpr int kCoreTypeCount = 51;
constexpr int kCoreCommandCount = 20;

const LibraryRecord* CoreLibraryRecord();

// The form runtime hands over a unit kind's properties and interface function
// at start; the counts in the descriptor are fixed by the record.
void InstallUnitKind(int number, const PropertyDescriptor* properties, UnitInterface unitInterface);

// Slots of the command table; commands of the form runtime are installed at
// start, the others are the core runtime's own.
enum CoreCommand {
    kCmdDeleteFile,
    kCmdFileSize,
    kCmdWriteFile,
    kCmdOpenFile,
    kCmdCloseAllFiles,
    kCmdMovePosition,
    kCmdMoveToEnd,
    kCmdReadByteSet,
    kCmdWriteByteSet,
    kCmdCharFromCode,
    kCmdToNumber,
    kCmdToText,
    kCmdSplitText,
    kCmdBlankByteSet,
    kCmdMessageBox,
    kCmdProcessEvents,
    kCmdCloseWindow,
    kCmdFlushFile,
    kCmdFlushFolder,
    kCmdLastFileError,
};
static_assert(kCmdLastFileError + 1 == kCoreCommandCount, "twenty commands");

void InstallCoreCommand(CoreCommand slot, CommandEntry entry);
CommandEntry CoreCommandEntry(CoreCommand slot);

// The core library's notification entry (it needs nothing from the runtime).
int32_t CoreLibraryNotify(int32_t code, uint32_t first, uint32_t second);
