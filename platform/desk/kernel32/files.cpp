// kernel32's file functions on POSIX files: CreateFileA and its share modes,
// reads, writes and the file pointer with 64-bit offsets, deletion and the
// first match of a file search, all with Win32 results and error codes.
//
// Share modes are checked exactly among the handles of this process. Other
// processes are kept apart with flock(2): each file open here holds one lock
// for the whole process, exclusive while any handle denies reading or
// writing to others, shared otherwise, so that a program holding the file
// (`flock FILE sleep 60`, a running game) makes a denying open fail.

// The game file is 650 MB and tests use files past 4 GiB: every offset here
// must be 64 bits wide on the 32-bit build.
#define _FILE_OFFSET_BITS 64

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/desk/kernel32/faults.h"
#include "platform/desk/kernel32/power_cut.h"
#include "platform/desk/kernel32/text.h"
#include "platform/win32.h"

static_assert(sizeof(off_t) == 8, "file offsets must be 64-bit");

namespace {

// ---- Handles ------------------------------------------------------------
// Handles are numbers that are never reused, so that a closed handle stays
// invalid instead of naming a later file.

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator<(const FileId& other) const {
        return device != other.device ? device < other.device : inode < other.inode;
    }
};

struct OpenFile {
    int fd;        // the host descriptor (close-on-exec)
    DWORD access;  // GENERIC_READ and GENERIC_WRITE bits asked for
    DWORD share;   // FILE_SHARE_* bits granted to other openers
    FileId id;     // the file it is open on
    std::string name;  // the name the program opened it under (for DESK_FAULT)
    // The host folder of a file this open created, until a flush has made
    // its entry there durable too.
    std::string createdIn;
    // A folder opened with backup semantics: it can only be flushed, and
    // takes no part in sharing.
    bool folder = false;
    std::string host;  // its path on the host (for DESK_POWER_CUT)
};

enum class HandleKind { kFile, kFind };

struct HandleEntry {
    HandleKind kind;
    OpenFile file;  // for kFile only
};

std::map<uintptr_t, HandleEntry>& Handles() {
    static std::map<uintptr_t, HandleEntry> handles;
    return handles;
}

uintptr_t g_nextHandle = 0x1000;

HANDLE NewHandle(const HandleEntry& entry) {
    uintptr_t value = g_nextHandle;
    g_nextHandle += 4;  // Win32 handles are multiples of four
    Handles()[value] = entry;
    return reinterpret_cast<HANDLE>(value);
}

HandleEntry* FindHandle(HANDLE handle, HandleKind kind) {
    auto it = Handles().find(reinterpret_cast<uintptr_t>(handle));
    if (it == Handles().end() || it->second.kind != kind) return nullptr;
    return &it->second;
}

OpenFile* FileFromHandle(HANDLE handle) {
    HandleEntry* entry = FindHandle(handle, HandleKind::kFile);
    if (entry == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &entry->file;
}

// ---- The process's lock on each open file -------------------------------

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kDataAccess = GENERIC_READ | GENERIC_WRITE;

struct ProcessLock {
    int fd;            // a descriptor kept only to hold the flock
    int opens;         // handles of this process on the file
    int denyingOpens;  // of those, the ones that deny reading or writing
};

std::map<FileId, ProcessLock>& Locks() {
    static std::map<FileId, ProcessLock> locks;
    return locks;
}

bool Denies(DWORD share) {
    return (share & kShareReadWrite) != kShareReadWrite;
}

// flock conversions are not atomic: a failed upgrade can lose the old lock,
// so the shared one is taken back at once.
bool TakeLock(int fd, bool exclusive) {
    int result;
    do {
        result = flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// Joins a new handle to the process's lock on the file; false when another
// process holds the file in a way that conflicts.
bool JoinProcessLock(const FileId& id, int fd, bool denying) {
    auto it = Locks().find(id);
    if (it == Locks().end()) {
        int lockFd = fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lockFd < 0) return false;
        if (!TakeLock(lockFd, denying)) {
            close(lockFd);
            return false;
        }
        Locks()[id] = ProcessLock{lockFd, 1, denying ? 1 : 0};
        return true;
    }
    ProcessLock& lock = it->second;
    if (denying && lock.denyingOpens == 0 && !TakeLock(lock.fd, true)) {
        TakeLock(lock.fd, false);
        return false;
    }
    ++lock.opens;
    if (denying) ++lock.denyingOpens;
    return true;
}

void LeaveProcessLock(const FileId& id, bool denying) {
    auto it = Locks().find(id);
    if (it == Locks().end()) return;
    ProcessLock& lock = it->second;
    --lock.opens;
    if (denying) --lock.denyingOpens;
    if (lock.opens == 0) {
        close(lock.fd);  // releases the flock
        Locks().erase(it);
    } else if (denying && lock.denyingOpens == 0) {
        TakeLock(lock.fd, false);
    }
}

// Win32's sharing rule between a new open and one already holding the file:
// each side's access must be granted by the other side's share mode. Handles
// without read or write access take no part.
bool ConflictsWith(const OpenFile& held, DWORD access, DWORD share) {
    if ((held.access & kDataAccess) == 0 || (access & kDataAccess) == 0) return false;
    if ((access & GENERIC_READ) && !(held.share & FILE_SHARE_READ)) return true;
    if ((access & GENERIC_WRITE) && !(held.share & FILE_SHARE_WRITE)) return true;
    if ((held.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
    if ((held.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
    return false;
}

std::vector<const OpenFile*> OpenFilesOn(const FileId& id) {
    std::vector<const OpenFile*> files;
    for (const auto& pair : Handles()) {
        const HandleEntry& entry = pair.second;
        if (entry.kind == HandleKind::kFile && !(entry.file.id < id) && !(id < entry.file.id)) {
            files.push_back(&entry.file);
        }
    }
    return files;
}

// ---- Errors and paths ---------------------------------------------------

std::string ParentOf(const std::string& host) {
    size_t slash = host.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return host.substr(0, slash);
}

// FlushFileBuffers writes a file's metadata with its data. fsync(2) of a
// new file does not cover its entry in the folder, so after a power cut the
// file could be gone with all it held: the first flush of a file this
// process created flushes its folder too.
// False when the folder's flush fails; a file system that cannot flush a
// folder (EINVAL) or a folder that cannot be opened to read counts as done.
bool FlushFolder(const std::string& host) {
    int fd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    int result;
    do {
        result = fsync(fd);
    } while (result != 0 && errno == EINTR);
    bool flushed = result == 0 || errno == EINVAL;
    close(fd);
    return flushed;
}

// The desk's read-only attribute is the owner's missing write permission
// (FindFirstFileA reports it so).
bool IsReadOnly(const struct stat& info) {
    return (info.st_mode & S_IWUSR) == 0;
}

bool IsFolder(const std::string& host) {
    struct stat info;
    return stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Win32 tells a missing file from a missing folder on the way to it.
DWORD ErrorFromErrno(int error, const std::string& host) {
    switch (error) {
        case ENOENT:
            return IsFolder(ParentOf(host)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EWOULDBLOCK:
            return ERROR_SHARING_VIOLATION;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        default:
            return ERROR_INVALID_PARAMETER;
    }
}

int HostOpenFlags(DWORD access) {
    int flags = O_CLOEXEC | O_NOCTTY;
    switch (access & kDataAccess) {
        case GENERIC_WRITE:
            return flags | O_WRONLY;
        case GENERIC_READ | GENERIC_WRITE:
            return flags | O_RDWR;
        default:
            return flags | O_RDONLY;
    }
}

int RetryOpen(const std::string& host, int flags) {
    int fd;
    do {
        fd = open(host.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens per the Win32 creation rule; `existed` tells whether the file was
// already there. Answers -1 with errno set on failure.
int OpenForDisposition(const std::string& host, int flags, DWORD disposition, bool* existed) {
    *existed = true;
    switch (disposition) {
        case CREATE_NEW: {
            int fd = RetryOpen(host, flags | O_CREAT | O_EXCL);
            *existed = fd < 0;
            return fd;
        }
        case OPEN_EXISTING:
        case TRUNCATE_EXISTING:
            return RetryOpen(host, flags);
        default:
            // CREATE_ALWAYS and OPEN_ALWAYS: open what is there, else create
            // it, and try again when another process creates it in between.
            for (int attempt = 0; attempt < 8; ++attempt) {
                int fd = RetryOpen(host, flags);
                if (fd >= 0 || errno != ENOENT) return fd;
                fd = RetryOpen(host, flags | O_CREAT | O_EXCL);
                if (fd >= 0) {
                    *existed = false;
                    return fd;
                }
                if (errno != EEXIST) return fd;
            }
            errno = EEXIST;
            return -1;
    }
}

// 100-nanosecond intervals since 1601-01-01, as Windows stamps files.
FILETIME ToFileTime(const timespec& time) {
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    int64_t ticks = (static_cast<int64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000LL +
                    time.tv_nsec / 100;
    if (ticks < 0) ticks = 0;
    return FILETIME{static_cast<DWORD>(ticks),
                    static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32)};
}

void FillFindData(const struct stat& info, const std::string& programName, WIN32_FIND_DATAA* data) {
    std::memset(data, 0, sizeof *data);
    if (S_ISDIR(info.st_mode)) {
        data->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    } else {
        data->dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
        if (IsReadOnly(info)) data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    }
    data->ftCreationTime = ToFileTime(info.st_mtim);
    data->ftLastAccessTime = ToFileTime(info.st_atim);
    data->ftLastWriteTime = ToFileTime(info.st_mtim);
    // Folders have no size on Windows.
    uint64_t size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    size_t length = std::min(programName.size(), static_cast<size_t>(MAX_PATH - 1));
    std::memcpy(data->cFileName, programName.data(), length);
}

// ---- Wildcards ----------------------------------------------------------
// Names are matched as the program sees them (GBK), one character at a time,
// ignoring ASCII case as Windows file systems do.

size_t CharLength(const std::string& text, size_t at) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    return (c >= 0x81 && at + 1 < text.size()) ? 2 : 1;
}

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameChar(const std::string& a, size_t i, size_t lengthA, const std::string& b, size_t j,
              size_t lengthB) {
    if (lengthA != lengthB) return false;
    if (lengthA == 1) return FoldCase(a[i]) == FoldCase(b[j]);
    return a.compare(i, 2, b, j, 2) == 0;
}

bool MatchFrom(const std::string& pattern, size_t p, const std::string& name, size_t n) {
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*') ++p;
            if (p == pattern.size()) return true;
            for (size_t at = n; at <= name.size();
                 at += (at < name.size() ? CharLength(name, at) : 1)) {
                if (MatchFrom(pattern, p, name, at)) return true;
            }
            return false;
        }
        if (n >= name.size()) return false;
        size_t pl = CharLength(pattern, p);
        size_t nl = CharLength(name, n);
        if (!(pl == 1 && pattern[p] == '?') && !SameChar(pattern, p, pl, name, n, nl)) return false;
        p += pl;
        n += nl;
    }
    return n == name.size();
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
    if (MatchFrom(pattern, 0, name, 0)) return true;
    // "*.*" and "name.*" also match names without an extension.
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos) {
        return MatchFrom(pattern.substr(0, pattern.size() - 2), 0, name, 0);
    }
    return false;
}

bool HasWildcard(const std::string& text) {
    return text.find_first_of("*?") != std::string::npos;
}

std::string FoldedName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = FoldCase(c);
    return folded;
}

}  // namespace

namespace {

// A folder handle, as Windows gives one with backup semantics: what the
// program flushes so that the creations and removals in it last.
HANDLE OpenFolder(LPCSTR name, const std::string& host, DWORD access) {
    int fd = RetryOpen(host, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno, host));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    OpenFile file = {fd, access & kDataAccess, kShareReadWrite | FILE_SHARE_DELETE,
                     FileId{info.st_dev, info.st_ino}, name, std::string(), true, host};
    SetLastError(ERROR_SUCCESS);
    return NewHandle(HandleEntry{HandleKind::kFile, file});
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD flags, HANDLE) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string host = desk::HostPath(name);
    if (host.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }

    if ((flags & FILE_FLAG_BACKUP_SEMANTICS) && disposition == OPEN_EXISTING && IsFolder(host)) {
        return OpenFolder(name, host, access);
    }

    bool existed = false;
    int fd = OpenForDisposition(host, HostOpenFlags(access), disposition, &existed);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno, host));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        // A folder is not a file to CreateFileA without backup semantics.
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if ((access & GENERIC_WRITE) && IsReadOnly(info)) {
        // Windows refuses writing to a read-only file whoever asks; the host
        // kernel lets root write anyway, so the attribute is checked here.
        // Nothing has been changed yet: emptying comes later.
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }

    OpenFile file = {fd, access & kDataAccess, share, FileId{info.st_dev, info.st_ino}, name,
                     existed ? std::string() : ParentOf(host), false, host};
    if (!existed) desk::CutCreated(host);
    bool takesPart = file.access != 0;
    if (takesPart) {
        for (const OpenFile* held : OpenFilesOn(file.id)) {
            if (ConflictsWith(*held, file.access, share)) {
                close(fd);
                SetLastError(ERROR_SHARING_VIOLATION);
                return INVALID_HANDLE_VALUE;
            }
        }
        if (!JoinProcessLock(file.id, fd, Denies(share))) {
            close(fd);
            SetLastError(ERROR_SHARING_VIOLATION);
            return INVALID_HANDLE_VALUE;
        }
    }

    // Emptying waits until the sharing checks have passed, so that a refused
    // open never touches another opener's data.
    bool empties = disposition == TRUNCATE_EXISTING || (disposition == CREATE_ALWAYS && existed);
    if (empties) desk::CutWillTruncate(host, 0);
    if (empties && ftruncate(fd, 0) != 0) {
        DWORD error = ErrorFromErrno(errno, host);
        if (takesPart) LeaveProcessLock(file.id, Denies(share));
        close(fd);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }

    if (empties) desk::CutOperationDone("truncate", host);

    HANDLE handle = NewHandle(HandleEntry{HandleKind::kFile, file});
    bool reportsExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

namespace {

// The open file a read or write goes to: a known handle, opened with the
// access the transfer needs, and no overlapped I/O (the desk has none).
// Null, with the last error set, otherwise.
OpenFile* FileForTransfer(HANDLE handle, LPOVERLAPPED overlapped, DWORD access) {
    OpenFile* file = FileFromHandle(handle);
    if (file == nullptr) return nullptr;
    if (overlapped != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!(file->access & access) || file->folder) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return file;
}

}  // namespace

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read != nullptr) *read = 0;
    OpenFile* file = FileForTransfer(handle, overlapped, GENERIC_READ);
    if (file == nullptr) return FALSE;
    // A regular file answers short only at its end; keep reading until then.
    DWORD done = 0;
    while (done < toRead) {
        ssize_t n = ::read(file->fd, static_cast<char*>(buffer) + done,
                           std::min<DWORD>(toRead - done, 1u << 30));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (read != nullptr) *read = done;
            SetLastError(errno == EISDIR ? ERROR_ACCESS_DENIED : ERROR_READ_FAULT);
            return FALSE;
        }
        if (n == 0) break;
        done += static_cast<DWORD>(n);
    }
    if (read != nullptr) *read = done;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written,
               LPOVERLAPPED overlapped) {
    if (written != nullptr) *written = 0;
    OpenFile* file = FileForTransfer(handle, overlapped, GENERIC_WRITE);
    if (file == nullptr) return FALSE;
    desk::WritePlan plan = desk::PlanWrite(file->name, toWrite);
    if (plan.lost) {
        if (written != nullptr) *written = toWrite;
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    if (plan.pass > 0) desk::CutWillWrite(file->host, lseek(file->fd, 0, SEEK_CUR), plan.pass);
    DWORD done = 0;
    while (done < plan.pass) {
        ssize_t n = ::write(file->fd, static_cast<const char*>(buffer) + done,
                            std::min<DWORD>(plan.pass - done, 1u << 30));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A full disk (or the process's file size limit) stops the write
            // part way; the caller learns how much reached the file.
            if (written != nullptr) *written = done;
            int error = n < 0 ? errno : ENOSPC;
            SetLastError(error == ENOSPC || error == EDQUOT || error == EFBIG ? ERROR_DISK_FULL
                                                                              : ERROR_WRITE_FAULT);
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (plan.crash) desk::CrashNow();
    if (plan.pass > 0) desk::CutOperationDone("write", file->host);
    if (written != nullptr) *written = done;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
    OpenFile* file = FileFromHandle(handle);
    if (file == nullptr) return FALSE;
    // Windows refuses to flush a handle that cannot write.
    if (!(file->access & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    int result;
    do {
        result = fsync(file->fd);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    if (file->folder) {
        desk::CutFolderFlushed(file->host);
    } else {
        desk::CutFlushed(file->host);
    }
    if (!file->createdIn.empty()) {
        if (!FlushFolder(file->createdIn)) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        desk::CutFolderFlushed(file->createdIn);
    }
    file->createdIn.clear();
    desk::AfterFlush(file->name);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
    OpenFile* file = FileFromHandle(handle);
    if (file == nullptr) return INVALID_SET_FILE_POINTER;
    // Without a high word the distance is a signed 32-bit number.
    int64_t offset = distanceHigh == nullptr
                         ? static_cast<int64_t>(distance)
                         : static_cast<int64_t>(
                               (static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32) |
                               static_cast<uint32_t>(distance));
    int64_t base;
    switch (method) {
        case FILE_BEGIN:
            base = 0;
            break;
        case FILE_CURRENT:
            base = lseek(file->fd, 0, SEEK_CUR);
            break;
        case FILE_END: {
            struct stat info;
            base = fstat(file->fd, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
            break;
        }
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t position = base + offset;
    if (distanceHigh == nullptr && position > static_cast<int64_t>(0xFFFFFFFFu)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(file->fd, position, SEEK_SET) < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr)
        *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
    // Callers tell a position whose low word is 0xFFFFFFFF from a failure
    // by the last error.
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(position);
}

DWORD GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
    OpenFile* file = FileFromHandle(handle);
    if (file == nullptr) return INVALID_FILE_SIZE;
    struct stat info;
    if (fstat(file->fd, &info) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    uint64_t size = static_cast<uint64_t>(info.st_size);
    if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size);
}

BOOL CloseHandle(HANDLE handle) {
    auto it = Handles().find(reinterpret_cast<uintptr_t>(handle));
    // A search handle is closed with FindClose, never here.
    if (it == Handles().end() || it->second.kind != HandleKind::kFile) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    OpenFile file = it->second.file;
    Handles().erase(it);
    if (file.access != 0 && !file.folder) LeaveProcessLock(file.id, Denies(file.share));
    if (close(file.fd) != 0 && errno != EINTR) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFileA(LPCSTR name) {
    std::string host = desk::HostPath(name);
    struct stat info;
    if (host.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (lstat(host.c_str(), &info) != 0) {
        SetLastError(ErrorFromErrno(errno, host));
        return FALSE;
    }
    // A folder is not deleted by DeleteFileA, nor is a read-only file, even
    // by an administrator.
    if (S_ISDIR(info.st_mode) || (S_ISREG(info.st_mode) && IsReadOnly(info))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // Windows keeps an open file unless every opener allowed its deletion.
    struct stat target;
    if (stat(host.c_str(), &target) == 0) {
        std::vector<const OpenFile*> held = OpenFilesOn(FileId{target.st_dev, target.st_ino});
        for (const OpenFile* file : held) {
            if (!(file->share & FILE_SHARE_DELETE)) {
                SetLastError(ERROR_SHARING_VIOLATION);
                return FALSE;
            }
        }
        if (held.empty()) {
            // Nothing of ours holds it: any lock is another program's.
            int fd = RetryOpen(host, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
            if (fd >= 0) {
                bool free = TakeLock(fd, true);
                close(fd);
                if (!free) {
                    SetLastError(ERROR_SHARING_VIOLATION);
                    return FALSE;
                }
            }
        }
    }
    desk::CutWillDelete(host);
    if (unlink(host.c_str()) != 0) {
        SetLastError(ErrorFromErrno(errno, host));
        return FALSE;
    }
    desk::CutOperationDone("delete", host);
    desk::AfterDelete(name);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    if (pattern == nullptr || data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string host = desk::HostPath(pattern);
    size_t slash = host.find_last_of('/');
    std::string last = slash == std::string::npos ? host : host.substr(slash + 1);
    std::string folder = ParentOf(host);
    if (last.empty()) {
        // An empty name or a trailing separator names no entry.
        SetLastError(host.empty() ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    struct stat info;
    std::string found;
    if (!HasWildcard(last)) {
        if (stat(host.c_str(), &info) != 0 && lstat(host.c_str(), &info) != 0) {
            SetLastError(ErrorFromErrno(errno, host));
            return INVALID_HANDLE_VALUE;
        }
        found = last;
    } else {
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) {
            SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                             : ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        // The host lists entries in no fixed order; the desk answers the
        // first match by name so that every run sees the same one.
        std::string programPattern = desk::ProgramPath(last);
        std::string best;
        std::string bestKey;
        while (dirent* entry = readdir(dir)) {
            std::string programName = desk::ProgramPath(entry->d_name);
            if (!MatchesPattern(programPattern, programName)) continue;
            std::string key = FoldedName(programName);
            if (best.empty() || key < bestKey) {
                best = entry->d_name;
                bestKey = key;
            }
        }
        closedir(dir);
        std::string path = folder + "/" + best;
        if (best.empty() || (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        found = best;
    }

    FillFindData(info, desk::ProgramPath(found), data);
    SetLastError(ERROR_SUCCESS);
    return NewHandle(HandleEntry{HandleKind::kFind, OpenFile{-1, 0, 0, FileId{0, 0}, "", "", false, ""}});
}

BOOL FindClose(HANDLE find) {
    if (FindHandle(find, HandleKind::kFind) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Handles().erase(reinterpret_cast<uintptr_t>(find));
    return TRUE;
}
