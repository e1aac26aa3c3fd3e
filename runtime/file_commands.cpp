// The file commands over the Win32 file functions and the open-file table.
// File numbers are looked up in the table before anything uses them, so a
// closed or made-up number is a failure, never a handle.
#include "runtime/file_commands.h"

#include <cstring>

#include "platform/win32.h"
#include "runtime/memory.h"
#include "runtime/open_files.h"

namespace {

// What the last file command met; every file command sets it.
DWORD g_lastFileError = 0;

// Every file command ends through here, so that the error kept is its own
// and not one left over from an earlier command.
void SetLogical(ArgValue* result, bool value) {
    result->low = value ? 1 : 0;
    g_lastFileError = value ? 0 : GetLastError();
}

void NoteFailure() {
    g_lastFileError = GetLastError();
}

void NoteSuccess() {
    g_lastFileError = 0;
}

const char* NameOf(const ArgValue& arg) {
    const char* name = ValueText(arg);
    return name != nullptr ? name : "";
}

// The byte set arguments from `first` on that hold bytes. Only DT_BIN values
// are read as blocks: anything else in the list would be read as a length
// and an address it is not.
template <typename WriteBytes>
bool WriteEachByteSet(int32_t count, const ArgValue* args, int32_t first, WriteBytes write) {
    for (int32_t i = first; i < count; ++i) {
        if (args[i].type != DT_BIN) continue;
        const void* block = FromWord<const void>(args[i].low);
        int32_t length = ByteSetLength(block);
        if (length <= 0) continue;
        if (!write(ByteSetData(block), static_cast<DWORD>(length))) return false;
    }
    return true;
}

// A whole write or nothing: a short write (a full disk) is a failure too.
bool WriteAll(HANDLE handle, const void* bytes, DWORD length) {
    DWORD written = 0;
    return WriteFile(handle, bytes, length, &written, nullptr) && written == length;
}

void MoveToEnd(HANDLE handle) {
    SetFilePointer(handle, 0, nullptr, FILE_END);
}

struct OpenRule {
    DWORD access;
    DWORD disposition;
};

// Indexed by OpenMode - kOpenRead.
const OpenRule kOpenRules[kOpenReadWriteKeep] = {
    {GENERIC_READ, OPEN_EXISTING},
    {GENERIC_WRITE, OPEN_EXISTING},
    {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},
    {GENERIC_WRITE, CREATE_ALWAYS},
    {GENERIC_WRITE, OPEN_ALWAYS},
    {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
};

// Indexed by ShareMode - kShareAll.
const DWORD kShareFlags[kShareNone] = {
    FILE_SHARE_READ | FILE_SHARE_WRITE,
    FILE_SHARE_WRITE,
    FILE_SHARE_READ,
    0,
};

bool MovePosition(uint32_t fileNumber, LONG offset, DWORD origin) {
    FileObject* file = OpenFileByNumber(fileNumber);
    if (file == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return SetFilePointer(file->handle, offset, nullptr, origin) != INVALID_SET_FILE_POINTER;
}

}  // namespace

void CmdDeleteFile(ArgValue* result, int32_t, ArgValue* args) {
    SetLogical(result, DeleteFileA(NameOf(args[0])) != FALSE);
}

void CmdFileSize(ArgValue* result, int32_t, ArgValue* args) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(NameOf(args[0]), &found);
    if (search == INVALID_HANDLE_VALUE) {
        NoteFailure();
        result->low = static_cast<Word>(-1);
        return;
    }
    FindClose(search);
    NoteSuccess();
    result->low = found.nFileSizeLow;
}

void CmdWriteFile(ArgValue* result, int32_t count, ArgValue* args) {
    result->low = 0;
    const char* name = NameOf(args[0]);
    if (name[0] == '\0') {
        g_lastFileError = ERROR_INVALID_PARAMETER;
        return;
    }
    HANDLE handle =
        CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        NoteFailure();
        return;
    }
    bool written = WriteEachByteSet(count, args, 1, [handle](const uint8_t* bytes, DWORD length) {
        return WriteAll(handle, bytes, length);
    });
    // The write's error, not the close's, says what went wrong.
    DWORD writeError = written ? 0 : GetLastError();
    bool closed = CloseHandle(handle) != FALSE;
    SetLogical(result, written && closed);
    if (!written) g_lastFileError = writeError;
}

void CmdOpenFile(ArgValue* result, int32_t, ArgValue* args) {
    result->low = 0;
    const char* name = NameOf(args[0]);
    int32_t mode = args[1].type != DT_NONE ? ValueInt(args[1]) : kOpenReadWrite;
    int32_t share = args[2].type != DT_NONE ? ValueInt(args[2]) : kShareAll;
    if (name[0] == '\0' || mode < kOpenRead || mode > kOpenReadWriteKeep || share < kShareAll ||
        share > kShareNone) {
        g_lastFileError = ERROR_INVALID_PARAMETER;
        return;
    }

    FileObject* file = static_cast<FileObject*>(Allocate(sizeof(FileObject)));
    file->name = CopyText(name);
    const OpenRule& rule = kOpenRules[mode - kOpenRead];
    file->handle = CreateFileA(name, rule.access, kShareFlags[share - kShareAll], nullptr,
                               rule.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file->handle == INVALID_HANDLE_VALUE) {
        NoteFailure();
        Release(file->name);
        Release(file);
        return;
    }
    NoteSuccess();
    AddOpenFile(file, kDiskFile);
    result->low = FileNumberOf(file);
}

void CmdCloseAllFiles(ArgValue*, int32_t, ArgValue*) {
    CloseAllOpenFiles();
    NoteSuccess();
}

void CmdMovePosition(ArgValue* result, int32_t, ArgValue* args) {
    SetLogical(result, false);
    DWORD origin;
    switch (args[1].type != DT_NONE ? ValueInt(args[1]) : kFromStart) {
        case kFromStart:
            origin = FILE_BEGIN;
            break;
        case kFromEnd:
            origin = FILE_END;
            break;
        case kFromCurrent:
            origin = FILE_CURRENT;
            break;
        default:
            g_lastFileError = ERROR_INVALID_PARAMETER;
            return;
    }
    SetLogical(result, MovePosition(args[0].low, ValueInt(args[2]), origin));
}

void CmdMoveToEnd(ArgValue* result, int32_t, ArgValue* args) {
    SetLogical(result, MovePosition(args[0].low, 0, FILE_END));
}

void CmdReadByteSet(ArgValue* result, int32_t, ArgValue* args) {
    result->low = 0;
    int32_t length = ValueInt(args[1]);
    FileObject* file = OpenFileByNumber(args[0].low);
    if (length <= 0 || file == nullptr) {
        g_lastFileError = file == nullptr ? ERROR_INVALID_HANDLE : 0;
        return;
    }

    // The block is read into directly and trimmed to what arrived. A length
    // the heap cannot give is treated like a failed read: the position goes
    // to the end, so that a reading loop stops.
    uint8_t* block =
        static_cast<uint8_t*>(TryAllocate(kByteSetHeader + static_cast<uint32_t>(length)));
    if (block == nullptr) {
        MoveToEnd(file->handle);
        g_lastFileError = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    DWORD read = 0;
    if (!ReadFile(file->handle, block + kByteSetHeader, static_cast<DWORD>(length), &read,
                  nullptr)) {
        NoteFailure();
        Release(block);
        MoveToEnd(file->handle);
        return;
    }
    NoteSuccess();
    if (read == 0) {
        Release(block);
        return;
    }
    if (read < static_cast<DWORD>(length)) {
        block = static_cast<uint8_t*>(Reallocate(block, kByteSetHeader + read));
    }
    int32_t header[2] = {1, static_cast<int32_t>(read)};
    std::memcpy(block, header, sizeof header);
    result->low = ToWord(block);
}

void CmdWriteByteSet(ArgValue* result, int32_t count, ArgValue* args) {
    result->low = 0;
    FileObject* file = OpenFileByNumber(args[0].low);
    if (file == nullptr) {
        g_lastFileError = ERROR_INVALID_HANDLE;
        return;
    }
    HANDLE handle = file->handle;
    // The full 64-bit position, so that it can be restored exactly.
    LONG startHigh = 0;
    DWORD startLow = SetFilePointer(handle, 0, &startHigh, FILE_CURRENT);
    bool written = WriteEachByteSet(count, args, 1, [handle](const uint8_t* bytes, DWORD length) {
        return WriteAll(handle, bytes, length);
    });
    if (!written) {
        NoteFailure();
        SetFilePointer(handle, static_cast<LONG>(startLow), &startHigh, FILE_BEGIN);
        return;
    }
    SetLogical(result, true);
}

void CmdFlushFile(ArgValue* result, int32_t, ArgValue* args) {
    FileObject* file = OpenFileByNumber(args[0].low);
    if (file == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    SetLogical(result, file != nullptr && FlushFileBuffers(file->handle) != FALSE);
}

void CmdFlushFolder(ArgValue* result, int32_t, ArgValue* args) {
    const char* name = NameOf(args[0]);
    if (name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        SetLogical(result, false);
        return;
    }
    // Only a handle with backup semantics opens a folder; flushing it needs
    // write access.
    HANDLE folder = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        SetLogical(result, false);
        return;
    }
    bool flushed = FlushFileBuffers(folder) != FALSE;
    // The flush's own reason, not whatever closing the handle leaves.
    DWORD error = GetLastError();
    CloseHandle(folder);
    SetLastError(error);
    SetLogical(result, flushed);
}

void CmdLastFileError(ArgValue* result, int32_t, ArgValue*) {
    result->low = g_lastFileError;
}
