// desk-only: not yet written against the public boundary
// The desk's kernel32 file layer: creation rules, reads and writes, the file
// pointer past 4 GiB, share modes within the process and against other
// processes, deletion and FindFirstFileA, each with its Win32 error code.
#define _FILE_OFFSET_BITS 64

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32.h"

namespace {

constexpr DWORD kRead = GENERIC_READ;
constexpr DWORD kWrite = GENERIC_WRITE;
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

#define EXPECT_ERROR(code) EXPECT_EQ(GetLastError(), static_cast<DWORD>(code))

// Whether another process could take that flock now: what a second desk
// program, or the flock tool, sees of the file.
bool OtherProcessCanLock(const std::string& path, int operation) {
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(path.c_str(), O_RDONLY);
        _exit(fd >= 0 && flock(fd, operation | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// `flock -o [-s] FILE ...` holding the file the way a running game would,
// in its own process group; ended by the destructor. With -o only flock
// itself holds the lock, and the command marks when it has started, so that
// no copy of the lock's descriptor outlives flock.
class FlockTool {
  public:
    FlockTool(const std::string& path, bool shared) : marker_(path + ".held") {
        pid_ = fork();
        if (pid_ == 0) {
            setpgid(0, 0);
            execlp("flock", "flock", "-o", shared ? "-s" : "-x", path.c_str(), "sh", "-c",
                   "touch \"$0\"; exec sleep 30", marker_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 500 && access(marker_.c_str(), F_OK) != 0; ++i) usleep(10000);
    }
    bool started() const { return access(marker_.c_str(), F_OK) == 0; }
    ~FlockTool() {
        kill(-pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        unlink(marker_.c_str());
    }

  private:
    std::string marker_;
    pid_t pid_;
};

class DeskFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/desk_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::stringstream bytes;
        bytes << std::ifstream(Path(name), std::ios::binary).rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string& name) const { return access(Path(name).c_str(), F_OK) == 0; }
    HANDLE Open(const std::string& name, DWORD access, DWORD share, DWORD disposition) const {
        return CreateFileA(Path(name).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    void MakeHugeFile(const std::string& name) const {  // 4 GiB + 10 bytes, sparse
        int fd = open(Path(name).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_EQ(ftruncate(fd, 4294967296LL + 10), 0);
        close(fd);
    }

    std::string dir_;
};

TEST_F(DeskFiles, CreationRulesAndTheirErrorCodes) {
    EXPECT_EQ(Open("missing", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("nofolder/new", kWrite, kShareAll, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Open("x", kRead, kShareAll, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_INVALID_PARAMETER);
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    EXPECT_EQ(Open("sub", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Exists("missing") || Exists("x"));

    Put("old", "content");
    EXPECT_EQ(Open("old", kWrite, kShareAll, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_FILE_EXISTS);
    CloseHandle(Open("old", kReadWrite, kShareAll, OPEN_ALWAYS));
    EXPECT_EQ(Get("old"), "content");
    HANDLE h = Open("old", kWrite, kShareAll, CREATE_ALWAYS);
    EXPECT_ERROR(ERROR_ALREADY_EXISTS);
    CloseHandle(h);
    EXPECT_EQ(Get("old"), "");
    Open("fresh", kWrite, kShareAll, OPEN_ALWAYS);
    EXPECT_ERROR(ERROR_SUCCESS);
    EXPECT_TRUE(Exists("fresh"));
}

TEST_F(DeskFiles, AFolderOpensOnlyWithBackupSemanticsAndCanOnlyBeFlushed) {
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    HANDLE folder = CreateFileA(Path("sub").c_str(), kWrite, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FlushFileBuffers(folder));
    char byte = 'x';
    DWORD done = 0;
    EXPECT_FALSE(WriteFile(folder, &byte, 1, &done, nullptr));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(ReadFile(folder, &byte, 1, &done, nullptr));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    // It takes no part in sharing: a file in it opens exclusively.
    HANDLE file = Open("sub/f", kReadWrite, 0, CREATE_ALWAYS);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(CloseHandle(folder));
    // Backup semantics do not turn a file into a folder, nor create one.
    EXPECT_EQ(CreateFileA(Path("nothing").c_str(), kWrite, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
}

// Windows honours the read-only attribute for everyone; tests run as root,
// whom the host kernel would let write.
TEST_F(DeskFiles, AReadOnlyFileIsReadButNeverWrittenEmptiedOrDeleted) {
    Put("ro", "kept");
    ASSERT_EQ(chmod(Path("ro").c_str(), 0444), 0);
    for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
        EXPECT_EQ(Open("ro", kReadWrite, kShareAll, disposition), INVALID_HANDLE_VALUE) << disposition;
        EXPECT_ERROR(ERROR_ACCESS_DENIED);
        EXPECT_EQ(Open("ro", kWrite, 0, disposition), INVALID_HANDLE_VALUE) << disposition;
        EXPECT_ERROR(ERROR_ACCESS_DENIED);
    }
    EXPECT_FALSE(DeleteFileA(Path("ro").c_str()));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    HANDLE h = Open("ro", kRead, kShareAll, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "reading stays allowed";
    CloseHandle(h);
    EXPECT_EQ(Get("ro"), "kept");
    ASSERT_EQ(chmod(Path("ro").c_str(), 0644), 0);
    EXPECT_TRUE(DeleteFileA(Path("ro").c_str())) << "once the attribute is cleared";
}

TEST_F(DeskFiles, WindowsPathsInGbkReachTheHostFile) {
    ASSERT_EQ(mkdir(Path(u8"数据").c_str(), 0755), 0);
    std::string name = dir_ + "\\数据\\缓存.bin";  // GBK at run time
    HANDLE h = CreateFileA(name.c_str(), kWrite, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "abc", 3, &n, nullptr));
    CloseHandle(h);
    EXPECT_EQ(Get(u8"数据/缓存.bin"), "abc");
}

TEST_F(DeskFiles, ReadsWritesAndTheFilePointer) {
    HANDLE h = Open("f", kReadWrite, kShareAll, CREATE_ALWAYS);
    DWORD n = 0;
    char buffer[16] = {};
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
    EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(std::string(buffer, n), "6789");
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 0u) << "at the end a read succeeds with nothing";
    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_END), 7u);
    EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_CURRENT), 5u);
    ASSERT_TRUE(WriteFile(h, "xy", 2, &n, nullptr));
    // A negative result or an unknown method fails and keeps the position.
    EXPECT_EQ(SetFilePointer(h, -8, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_ERROR(ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_ERROR(ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 7u);
    CloseHandle(h);
    EXPECT_EQ(Get("f"), "01234xy789");

    HANDLE reader = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_FALSE(WriteFile(reader, "z", 1, &n, nullptr));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    CloseHandle(reader);
    HANDLE full = CreateFileA("/dev/full", kWrite, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(WriteFile(full, "abc", 3, &n, nullptr));
    EXPECT_ERROR(ERROR_DISK_FULL);
    CloseHandle(full);
}

TEST_F(DeskFiles, PositionsAndSizesPastFourGibibytesUseTheHighWord) {
    MakeHugeFile("huge");
    HANDLE h = Open("huge", kReadWrite, kShareAll, OPEN_EXISTING);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 1u);
    // Without a high word the new position must fit in 32 bits.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_ERROR(ERROR_INVALID_PARAMETER);
    LONG distanceHigh = 1;
    EXPECT_EQ(SetFilePointer(h, 5, &distanceHigh, FILE_BEGIN), 5u);
    EXPECT_EQ(distanceHigh, 1);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "Z", 1, &n, nullptr));
    distanceHigh = -1;  // back by 2^32 - 4, from 2^32 + 6 to 10
    EXPECT_EQ(SetFilePointer(h, 4, &distanceHigh, FILE_CURRENT), 10u);
    EXPECT_EQ(distanceHigh, 0);
    CloseHandle(h);
    std::ifstream in(Path("huge"), std::ios::binary);
    in.seekg(4294967296LL + 5);
    EXPECT_EQ(in.get(), 'Z');
}

TEST_F(DeskFiles, ShareModesFollowTheWin32RuleInBothDirections) {
    struct Case {
        DWORD heldAccess, heldShare, newAccess, newShare;
        bool allowed;
    };
    const Case cases[] = {
        {kReadWrite, kShareAll, kReadWrite, kShareAll, true},
        {kRead, kShareAll, kReadWrite, 0, false},  // the new open denies what is held
        {kReadWrite, 0, kRead, kShareAll, false},  // the holder denies everything
        {kRead, FILE_SHARE_READ, kRead, kShareAll, true},
        {kRead, FILE_SHARE_READ, kWrite, kShareAll, false},
        {kWrite, FILE_SHARE_WRITE, kRead, kShareAll, false},
        {kRead, kShareAll, kRead, FILE_SHARE_READ, true},  // the holder only reads
        {kWrite, kShareAll, kRead, FILE_SHARE_READ, false},
    };
    Put("f", "keep me");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.heldAccess << "/" << c.heldShare
                                          << " then " << c.newAccess << "/" << c.newShare);
        HANDLE held = Open("f", c.heldAccess, c.heldShare, OPEN_EXISTING);
        HANDLE second = Open("f", c.newAccess, c.newShare, OPEN_EXISTING);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.allowed);
        if (!c.allowed) {
            EXPECT_ERROR(ERROR_SHARING_VIOLATION);
        }
        CloseHandle(second);
        CloseHandle(held);
    }
    // A refused rewrite must not have emptied the file first.
    HANDLE held = Open("f", kRead, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(Open("f", kWrite, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    CloseHandle(held);
    EXPECT_EQ(Get("f"), "keep me");
}

TEST_F(DeskFiles, AProgramHoldingTheFileMakesDenyingOpensFail) {
    Put("game", "data");
    {
        FlockTool game(Path("game"), false);
        ASSERT_TRUE(game.started());
        EXPECT_EQ(Open("game", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
        EXPECT_ERROR(ERROR_SHARING_VIOLATION);
        EXPECT_EQ(Open("game", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    }
    {
        // Another program that shares: sharing opens go on, denying ones fail.
        FlockTool reader(Path("game"), true);
        ASSERT_TRUE(reader.started());
        HANDLE shared = Open("game", kRead, kShareAll, OPEN_EXISTING);
        EXPECT_NE(shared, INVALID_HANDLE_VALUE);
        CloseHandle(shared);
        EXPECT_EQ(Open("game", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(DeleteFileA(Path("game").c_str()));
        EXPECT_ERROR(ERROR_SHARING_VIOLATION);
    }
    HANDLE free = Open("game", kReadWrite, 0, OPEN_EXISTING);
    EXPECT_NE(free, INVALID_HANDLE_VALUE);
    CloseHandle(free);
}

TEST_F(DeskFiles, OurOpensAreLocksOtherProcessesSee) {
    Put("f", "abc");
    std::string path = Path("f");
    HANDLE sharing = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_TRUE(OtherProcessCanLock(path, LOCK_SH));
    EXPECT_FALSE(OtherProcessCanLock(path, LOCK_EX));
    // A second handle that denies writing makes the process's lock exclusive,
    // and closing it makes it shared again.
    HANDLE denying = Open("f", kRead, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(denying, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(OtherProcessCanLock(path, LOCK_SH));
    CloseHandle(denying);
    EXPECT_TRUE(OtherProcessCanLock(path, LOCK_SH));
    CloseHandle(sharing);
    EXPECT_TRUE(OtherProcessCanLock(path, LOCK_EX));
}

TEST_F(DeskFiles, DeleteRefusesOpenFilesFoldersAndMissingOnes) {
    Put("f", "abc");
    HANDLE h = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_ERROR(ERROR_SHARING_VIOLATION);
    CloseHandle(h);
    h = Open("f", kRead, kShareAll | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_TRUE(DeleteFileA(Path("f").c_str()));
    CloseHandle(h);
    EXPECT_FALSE(Exists("f"));
    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA(Path("nofolder/f").c_str()));
    EXPECT_ERROR(ERROR_PATH_NOT_FOUND);
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    EXPECT_FALSE(DeleteFileA(Path("sub").c_str()));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
}

TEST_F(DeskFiles, FindTreatsTheLastComponentAsAPatternAndReportsFullSizes) {
    MakeHugeFile("huge");
    Put("b.bin", "bb");
    Put("a.bin", "a");
    Put("c.txt", "ccc");
    Put(u8"中a", "x");
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    WIN32_FIND_DATAA data;
    auto first = [&](const std::string& pattern) -> std::string {
        HANDLE search = FindFirstFileA(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return "<none>";
        FindClose(search);
        return data.cFileName;
    };
    EXPECT_EQ(first(Path("huge")), "huge");
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 10u);
    EXPECT_EQ(first(Path("sub")), "sub");
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(first(Path("*.bin")), "a.bin") << "the first by name, every run";
    EXPECT_EQ(data.nFileSizeLow, 1u);
    EXPECT_EQ(first(Path("?.TXT")), "c.txt") << "without case";
    EXPECT_EQ(first(Path("hug?.*")), "huge") << "'.*' also matches no extension";
    EXPECT_EQ(first(dir_ + "\\?a"), "中a") << "a double-byte character is one";
    EXPECT_EQ(first(Path("*.doc")), "<none>");
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(first(Path("nofolder/*.bin")), "<none>");
    EXPECT_ERROR(ERROR_PATH_NOT_FOUND);
}

}  // namespace
