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
}  // namespace

int32_t OpenFileKind(uint32_t fileNumber) {
    for (const OpenFileEntry& entry : Table()) {
        if (ToWord(entry.file) == fileNumber) return entry.kind;
    }
    return -1;
}

void AddOpenFile(FileObject* file, uint8_t kind) {
    if (OpenFileKind(ToWord(file)) >= 0) return;
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
