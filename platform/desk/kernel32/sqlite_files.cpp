// The shim VFS: SQLite's default VFS with each file wrapped, so that writes,
// syncs and deletions pass the desk's faults under the file's own name, and
// reach the power cut's record of what is not yet on the disk.
#include "platform/desk/kernel32/sqlite_files.h"

#include <sqlite3.h>

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/desk/kernel32/faults.h"
#include "platform/desk/kernel32/power_cut.h"

namespace desk {
namespace {

// A file of the shim: the real VFS's file follows it in the same block,
// which SQLite sizes from the shim's szOsFile.
struct alignas(8) ShimFile {
    sqlite3_file base;  // what SQLite holds; pMethods is the shim's
    sqlite3_file* real;  // the default VFS's file, just after this record
    char name[512];      // the name SQLite opened it under ("" for temporaries)
    // A journal SQLite created: the default VFS flushes its folder at the
    // first sync, so that the journal's name lasts as long as its content.
    bool folderToFlush;
};
static_assert(sizeof(ShimFile) % 8 == 0, "the real file after it keeps SQLite's alignment");

sqlite3_vfs g_shim;
sqlite3_vfs* g_real = nullptr;

sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<ShimFile*>(file)->real; }

int Close(sqlite3_file* file) {
    sqlite3_file* real = Real(file);
    return real->pMethods != nullptr ? real->pMethods->xClose(real) : SQLITE_OK;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}

// A write the fault cuts reaches the file only up to the cut, then the
// process dies as a crash would; a lost one is reported done.
int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    WritePlan plan = PlanWrite(shim->name, static_cast<uint32_t>(amount));
    if (plan.lost) return SQLITE_OK;
    int result = SQLITE_OK;
    if (plan.pass > 0) {
        if (shim->name[0] != '\0') CutWillWrite(shim->name, offset, plan.pass);
        result = shim->real->pMethods->xWrite(shim->real, buffer, static_cast<int>(plan.pass), offset);
    }
    if (plan.crash) CrashNow();
    if (plan.pass > 0 && shim->name[0] != '\0') CutOperationDone("write", shim->name);
    return result;
}

int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    bool named = shim->name[0] != '\0';
    if (named) CutWillTruncate(shim->name, size);
    int result = shim->real->pMethods->xTruncate(shim->real, size);
    if (named) CutOperationDone("truncate", shim->name);
    return result;
}

std::string FolderOf(const char* name) {
    std::string path = name;
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

int Sync(sqlite3_file* file, int flags) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    int result = shim->real->pMethods->xSync(shim->real, flags);
    if (result != SQLITE_OK) return result;
    AfterFlush(shim->name);
    if (shim->name[0] != '\0') {
        CutFlushed(shim->name);
        if (shim->folderToFlush) CutFolderFlushed(FolderOf(shim->name));
        shim->folderToFlush = false;
    }
    return result;
}

int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}

int Lock(sqlite3_file* file, int level) { return Real(file)->pMethods->xLock(Real(file), level); }

int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}

int CheckReservedLock(sqlite3_file* file, int* out) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}

int FileControl(sqlite3_file* file, int op, void* arg) {
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}

int SectorSize(sqlite3_file* file) { return Real(file)->pMethods->xSectorSize(Real(file)); }

int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

// Version 1: no shared memory and no memory mapping, so that every change
// to a file is a write the shim sees. The cache uses a rollback journal,
// which needs neither.
const sqlite3_io_methods kShimMethods = {
    1,     Close,     Read,     Write,     Truncate,          Sync,
    FileSize, Lock, Unlock, CheckReservedLock, FileControl, SectorSize, DeviceCharacteristics,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->base.pMethods = nullptr;
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->name[0] = '\0';
    shim->folderToFlush = false;
    if (name != nullptr) {
        std::strncpy(shim->name, name, sizeof shim->name - 1);
        shim->name[sizeof shim->name - 1] = '\0';
    }
    bool mayCreate = name != nullptr && (flags & SQLITE_OPEN_CREATE) && access(name, F_OK) != 0;
    int result = g_real->xOpen(g_real, name, shim->real, flags, outFlags);
    // SQLite closes a file whose open failed only when pMethods is set.
    if (shim->real->pMethods != nullptr) shim->base.pMethods = &kShimMethods;
    if (result == SQLITE_OK && mayCreate && access(name, F_OK) == 0) {
        shim->folderToFlush = (flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_WAL)) != 0;
        CutCreated(name);
    }
    return result;
}

int Delete(sqlite3_vfs*, const char* name, int syncFolder) {
    CutWillDelete(name);
    int result = g_real->xDelete(g_real, name, syncFolder);
    if (result != SQLITE_OK) return result;
    AfterDelete(name);
    CutOperationDone("delete", name);
    if (syncFolder) CutFolderFlushed(FolderOf(name));
    return result;
}

int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
    return g_real->xAccess(g_real, name, flags, out);
}

int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_real->xFullPathname(g_real, name, size, out);
}

int Randomness(sqlite3_vfs*, int size, char* out) { return g_real->xRandomness(g_real, size, out); }

int Sleep(sqlite3_vfs*, int microseconds) { return g_real->xSleep(g_real, microseconds); }

int CurrentTime(sqlite3_vfs*, double* now) { return g_real->xCurrentTime(g_real, now); }

int LastError(sqlite3_vfs*, int size, char* out) {
    return g_real->xGetLastError != nullptr ? g_real->xGetLastError(g_real, size, out) : 0;
}

}  // namespace

void InstallSqliteShim() {
    if (g_real != nullptr) return;
    g_real = sqlite3_vfs_find(nullptr);
    if (g_real == nullptr) return;
    std::memset(&g_shim, 0, sizeof g_shim);
    g_shim.iVersion = 1;
    g_shim.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    g_shim.mxPathname = g_real->mxPathname;
    g_shim.zName = "desk-faults";
    g_shim.xOpen = Open;
    g_shim.xDelete = Delete;
    g_shim.xAccess = Access;
    g_shim.xFullPathname = FullPathname;
    g_shim.xRandomness = Randomness;
    g_shim.xSleep = Sleep;
    g_shim.xCurrentTime = CurrentTime;
    g_shim.xGetLastError = LastError;
    sqlite3_vfs_register(&g_shim, 1);
}

}  // namespace desk
