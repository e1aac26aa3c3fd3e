// The core library record. Descriptors other than the four unit kinds are
// all zero, as the record defines them.
#include "runtime/core_library.h"

#include "runtime/file_commands.h"
#include "runtime/message_box_command.h"
#include "runtime/process_events.h"
#include "runtime/text_commands.h"

namespace {
struct UnitKindInfo {
    int number;
    const char* chineseName;
    const char* englishName;
    Word flags;
    Word propertyCount;
};

const UnitKindInfo kUnitKinds[] = {
    {kUnitKindWindow, "窗口", "window", 0x800000D0, 32},
    {kUnitKindEditBox, "编辑框", "EditBox", 0x80000040, 29},
    {kUnitKindLabel, "标签", "Label", 0x84012040, 29},
    {kUnitKindButton, "按钮", "Button", 0x80000840, 14},
};

DataTypeDescriptor g_types[kCoreTypeCount] = {};
CommandEntry g_commands[kCoreCommandCount] = {};
LibraryRecord g_record = {};

void BuildRecord() {
    for (const UnitKindInfo& kind : kUnitKinds) {
        DataTypeDescriptor& d = g_types[kind.number - 1];
        d.chineseName = kind.chineseName;
        d.englishName = kind.englishName;
        d.flags = kind.flags;
        d.propertyCount = kind.propertyCount;
    }
    g_commands[kCmdDeleteFile] = CmdDeleteFile;
    g_commands[kCmdFileSize] = CmdFileSize;
    g_commands[kCmdWriteFile] = CmdWriteFile;
    g_commands[kCmdOpenFile] = CmdOpenFile;
    g_commands[kCmdCloseAllFiles] = CmdCloseAllFiles;
    g_commands[kCmdMovePosition] = CmdMovePosition;
    g_commands[kCmdMoveToEnd] = CmdMoveToEnd;
    g_commands[kCmdReadByteSet] = CmdReadByteSet;
    g_commands[kCmdWriteByteSet] = CmdWriteByteSet;
    g_commands[kCmdCharFromCode] = CmdCharFromCode;
    g_commands[kCmdToNumber] = CmdToNumber;
    g_commands[kCmdToText] = CmdToText;
    g_commands[kCmdSplitText] = CmdSplitText;
    g_commands[kCmdBlankByteSet] = CmdBlankByteSet;
    g_commands[kCmdMessageBox] = CmdMessageBox;
    g_commands[kCmdProcessEvents] = CmdProcessEvents;
    g_commands[kCmdFlushFile] = CmdFlushFile;
    g_commands[kCmdFlushFolder] = CmdFlushFolder;
    g_commands[kCmdLastFileError] = CmdLastFileError;

    g_record.mark = kLibraryRecordMark;
    g_record.identifier = "c546dc33c6ff45aa902f16f7df0805f4";
    g_record.versionMajor = 5;
    g_record.versionMinor = 0;
    g_record.build = 64;
    g_record.versionPairs[0] = 3;
    g_record.versionPairs[1] = 7;
    g_record.versionPairs[2] = 3;
    g_record.versionPairs[3] = 7;
    g_record.name = "核心运行支持库";
    g_record.word10 = 1;
    g_record.word11 = 0;
    g_record.flags = 0xC0000001;
    g_record.typeCount = kCoreTypeCount;
    g_record.types = g_types;
    g_record.commandCount = kCoreCommandCount;
    g_record.commands = g_commands;
    g_record.notify = CoreLibraryNotify;
}
}  // namespace

const LibraryRecord* CoreLibraryRecord() {
    if (g_record.mark == 0) BuildRecord();
    return &g_record;
}

void InstallUnitKind(int number, const PropertyDescriptor* properties, UnitInterface unitInterface) {
    CoreLibraryRecord();
    DataTypeDescriptor& d = g_types[number - 1];
    d.properties = properties;
    d.unitInterface = unitInterface;
}

void InstallCoreCommand(CoreCommand slot, CommandEntry entry) {
    CoreLibraryRecord();
    g_commands[slot] = entry;
}

CommandEntry CoreCommandEntry(CoreCommand slot) {
    CoreLibraryRecord();
    return g_commands[slot];
}

int32_t CoreLibraryNotify(int32_t, uint32_t, uint32_t) { return 0; }
