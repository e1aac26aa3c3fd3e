// Reading and writing whole files through the file commands.
#include "app/tool_files.h"

#include <cstring>

#include "app/program_calls.h"
#include "app/program_texts.h"
#include "app/program_helpers.h"

namespace {

bool Logical(const ArgValue& value) {
    return ValueInt(value) != 0;
}

bool MoveTo(int32_t file, int64_t offset) {
    return Logical(CallCore(kCmdMovePosition,
                            {MakeInt(file), MakeInt(kFromStart), MakeInt(static_cast<int32_t>(offset))}));
}

void* ReadBytes(int32_t file, int32_t length) {
    return FromWord<void>(CallCore(kCmdReadByteSet, {MakeInt(file), MakeInt(length)}).low);
}

}  // namespace

void* NewByteSet(const void* bytes, uint32_t length) {
    auto* block = static_cast<uint8_t*>(ProgramAllocate(kByteSetHeader + length));
    int32_t header[2] = {1, static_cast<int32_t>(length)};
    std::memcpy(block, header, sizeof header);
    if (length > 0) std::memcpy(block + kByteSetHeader, bytes, length);
    return block;
}

void* TextByteSet(const char* text) {
    return NewByteSet(text, text != nullptr ? static_cast<uint32_t>(std::strlen(text)) : 0);
}

bool SameBytes(const void* a, const void* b) {
    int32_t length = ByteSetLength(a);
    if (length != ByteSetLength(b)) return false;
    return length <= 0 ||
           std::memcmp(ByteSetData(a), ByteSetData(b), static_cast<size_t>(length)) == 0;
}

int32_t FileSizeOf(const char* name) {
    return ValueInt(CallCore(kCmdFileSize, {TextArg(name)}));
}

bool DeleteNamedFile(const char* name) {
    return Logical(CallCore(kCmdDeleteFile, {TextArg(name)}));
}

bool FlushToolFolder() {
    return Logical(CallCore(kCmdFlushFolder, {TextArg(kTexts.toolFolder)}));
}

void CloseAllFiles() {
    CallCore(kCmdCloseAllFiles);
}

int32_t OpenExclusive(const char* name) {
    return ValueInt(CallCore(kCmdOpenFile, {TextArg(name), MakeInt(kOpenReadWrite), MakeInt(kShareNone)}));
}

namespace {
bool g_writeDenied = false;

bool WriteFlushedOnce(const char* name, std::initializer_list<const void*> byteSets) {
    // Mode 4: created when missing, emptied when present.
    int32_t file = ValueInt(CallCore(kCmdOpenFile, {TextArg(name), MakeInt(kOpenRewrite), MakeInt(kShareNone)}));
    if (file <= 0) return false;
    for (const void* bytes : byteSets) {
        if (!Logical(CallCore(kCmdWriteByteSet, {MakeInt(file), ByteSetArg(bytes)}))) return false;
    }
    return Logical(CallCore(kCmdFlushFile, {MakeInt(file)}));
}
}  // namespace

bool WriteFlushed(const char* name, std::initializer_list<const void*> byteSets) {
    bool written = WriteFlushedOnce(name, byteSets);
    g_writeDenied = !written && LastFileAccessDenied();
    return written;
}

bool LastWriteDenied() {
    return g_writeDenied;
}

void* ReadWholeFile(const char* name, int32_t length, bool upTo) {
    int32_t size = FileSizeOf(name);
    if (size < 0 || size > length || (!upTo && size != length)) return nullptr;
    int32_t file = ValueInt(CallCore(kCmdOpenFile, {TextArg(name), MakeInt(kOpenRead), MakeInt(kShareNone)}));
    if (file <= 0) return nullptr;
    void* bytes = size > 0 ? ReadBytes(file, size) : NewByteSet(nullptr, 0);
    if (bytes == nullptr || ByteSetLength(bytes) != size) {
        ProgramRelease(bytes);
        return nullptr;
    }
    return bytes;
}

void* ReadSlotAt(int32_t file, int64_t offset, int64_t length) {
    if (!MoveTo(file, offset)) return nullptr;
    void* slot = ReadBytes(file, static_cast<int32_t>(length));
    if (ByteSetLength(slot) != length) {
        ProgramRelease(slot);
        return nullptr;
    }
    return slot;
}

bool WriteSlotAt(int32_t file, int64_t offset, const void* slot) {
    return MoveTo(file, offset) &&
           Logical(CallCore(kCmdWriteByteSet, {MakeInt(file), ByteSetArg(slot)})) &&
           Logical(CallCore(kCmdFlushFile, {MakeInt(file)}));
}
