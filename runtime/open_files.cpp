// The open-file table (runtime requests 2011 to 2014).
#include "runtime/open_files.h"

#include <vector>

#include "runtime/memory.h"
#include "runtime/value.h"

namespace {
struct OpenFileEntry {
    FileObject* file;
    uint8_t kind;
};

std::vector<OpenFileEntry>& Table() {
    static std::vector<OpenFileEntry> table;
    return table;
}

const OpenFileEntry* FindEntry(uint32_t fileNumber) {
    // A number is looked up, never dereferenced: a stale or made-up one is
    // simply not found.
    if (fileNumber == 0) return nullptr;
    for (const OpenFileEntry& entry : Table()) {
        if (FileNumberOf(entry.file) == fileNumber) return &entry;
    }
    return nullptr;
}
}  // namespace

uint32_t FileNumberOf(const FileObject* file) { return ToWord(file) >> 1; }

FileObject* OpenFileByNumber(uint32_t fileNumber) {
    const OpenFileEntry* entry = FindEntry(fileNumber);
    return entry != nullptr ? entry->file : nullptr;
}

int32_t OpenFileKind(uint32_t fileNumber) {
    const OpenFileEntry* entry = FindEntry(fileNumber);
    return entry != nullptr ? entry->kind : -1;
}

void AddOpenFile(FileObject* file, uint8_t kind) {
    if (file == nullptr) return;
    for (const OpenFileEntry& entry : Table()) {
        if (entry.file == file) return;
    }
    Table().push_back(OpenFileEntry{file, kind});
}

bool RemoveOpenFile(FileObject* file) {
    auto& table = Table();
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (it->file == file) {
            table.erase(it);
            return true;
        }
    }
    return false;
}

void ReleaseFileObject(FileObject* file) {
    if (file == nullptr) return;
    CloseHandle(file->handle);
    Release(file->name);
    Release(file);
}

void CloseAllOpenFiles() {
    std::vector<OpenFileEntry> table;
    table.swap(Table());
    for (const OpenFileEntry& entry : table) ReleaseFileObject(entry.file);
}
