// The desk's kernel32 file layer: creation rules, reads and writes, the file
// pointer past 4 GiB, share modes within the process and against other
// processes, deletion and FindFirstFileA, each with its Win32 error code.
#define _FILE_OFFSET_BITS 64

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32.h"

namespace {

class DeskFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/desk_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string& name) const { return access(Path(name).c_str(), F_OK) == 0; }

    HANDLE Open(const std::string& name, DWORD access, DWORD share, DWORD disposition) const {
        return CreateFileA(Path(name).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    // A sparse file of 4 GiB plus 10 bytes.
    void MakeHugeFile(const std::string& name) const {
        int fd = open(Path(name).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, 4294967296LL + 10), 0);
        close(fd);
    }

    std::string dir_;
};

constexpr DWORD kRead = GENERIC_READ;
constexpr DWORD kWrite = GENERIC_WRITE;
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Another process that holds a flock on a file until it is destroyed, as a
// running game (or `flock FILE sleep 60`) would.
class LockHolder {
  public:
    LockHolder(const std::string& path, int operation) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(release_) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(release_[1]);
            int fd = open(path.c_str(), O_RDONLY);
            char ok = (fd >= 0 && flock(fd, operation | LOCK_NB) == 0) ? 1 : 0;
            if (write(ready[1], &ok, 1) != 1) _exit(2);
            char byte;
            while (read(release_[0], &byte, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(release_[0]);
        char ok = 0;
        held_ = read(ready[0], &ok, 1) == 1 && ok == 1;
        close(ready[0]);
    }
    ~LockHolder() {
        close(release_[1]);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    bool held() const { return held_; }

  private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
    bool held_ = false;
};

// Whether another process could take the lock now: the view a second desk
// program (or the flock tool) has of the file.
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

// ---- Creation rules -------------------------------------------------------

TEST_F(DeskFiles, OpenExistingFailsOnMissingFileOrFolderWithTheirOwnCodes) {
    EXPECT_EQ(Open("missing", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open("nofolder/missing", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open("nofolder/new", kWrite, kShareAll, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(Exists("missing"));
}

TEST_F(DeskFiles, CreationRulesCreateEmptyOrKeepAsWin32Does) {
    Put("old", "content");
    HANDLE h = Open("old", kWrite, kShareAll, CREATE_NEW);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    h = Open("old", kReadWrite, kShareAll, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(h);
    EXPECT_EQ(Get("old"), "content");

    h = Open("old", kWrite, kShareAll, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(h);
    EXPECT_EQ(Get("old"), "");

    Put("old", "content");
    h = Open("old", kWrite, kShareAll, TRUNCATE_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(Get("old"), "");

    h = Open("fresh", kWrite, kShareAll, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(h);
    EXPECT_TRUE(Exists("fresh"));
}

TEST_F(DeskFiles, FolderIsNoFileAndBadArgumentsAreRefused) {
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    EXPECT_EQ(Open("sub", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open("x", kRead, kShareAll, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Open("x", kRead, kShareAll, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(Exists("x"));
}

TEST_F(DeskFiles, WindowsPathsInGbkReachTheHostFile) {
    ASSERT_EQ(mkdir(Path(u8"数据").c_str(), 0755), 0);
    // The literal is GBK at run time, with Windows separators.
    std::string name = dir_ + "\\数据\\缓存.bin";
    HANDLE h = CreateFileA(name.c_str(), kWrite, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, "abc", 3, &written, nullptr));
    CloseHandle(h);
    EXPECT_EQ(Get(u8"数据/缓存.bin"), "abc");
}

// ---- Reading, writing and the file pointer ----------------------------------

TEST_F(DeskFiles, ReadsAndWritesMoveOnePositionAndStopAtTheEnd) {
    HANDLE h = Open("f", kReadWrite, kShareAll, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
    EXPECT_EQ(n, 10u);
    EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(std::string(buffer, n), "6789");
    // At the end a read succeeds with nothing.
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_END), 7u);
    EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_CURRENT), 5u);
    ASSERT_TRUE(WriteFile(h, "xy", 2, &n, nullptr));
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 0u);
    CloseHandle(h);
    EXPECT_EQ(Get("f"), "01234xy789");
}

TEST_F(DeskFiles, AccessIsCheckedPerHandle) {
    Put("f", "abc");
    HANDLE reader = Open("f", kRead, kShareAll, OPEN_EXISTING);
    HANDLE writer = Open("f", kWrite, kShareAll, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD n = 7;
    char buffer[4];
    EXPECT_FALSE(WriteFile(reader, "z", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(ReadFile(writer, buffer, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(reader);
    CloseHandle(writer);
    EXPECT_EQ(Get("f"), "abc");
}

TEST_F(DeskFiles, NegativeSeekFailsAndLeavesThePosition) {
    Put("f", "0123456789");
    HANDLE h = Open("f", kRead, kShareAll, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    EXPECT_EQ(SetFilePointer(h, -5, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 4u);
    // Past the end is allowed, as on Windows.
    EXPECT_EQ(SetFilePointer(h, 100, nullptr, FILE_BEGIN), 100u);
    CloseHandle(h);
}

TEST_F(DeskFiles, PositionsAndSizesPastFourGibibytesUseTheHighWord) {
    MakeHugeFile("huge");
    HANDLE h = Open("huge", kReadWrite, kShareAll, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 1u);

    // Without a high word the distance is signed and the result must fit.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    LONG distanceHigh = 1;
    EXPECT_EQ(SetFilePointer(h, 5, &distanceHigh, FILE_BEGIN), 5u);
    EXPECT_EQ(distanceHigh, 1);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "Z", 1, &n, nullptr));
    distanceHigh = -1;  // back by 2^32 - 4 from 2^32 + 6: to 10
    EXPECT_EQ(SetFilePointer(h, 4, &distanceHigh, FILE_CURRENT), 10u);
    EXPECT_EQ(distanceHigh, 0);

    distanceHigh = 1;
    SetFilePointer(h, 5, &distanceHigh, FILE_BEGIN);
    char c = 0;
    ASSERT_TRUE(ReadFile(h, &c, 1, &n, nullptr));
    EXPECT_EQ(c, 'Z');
    CloseHandle(h);
}

TEST_F(DeskFiles, FullDiskFailsTheWrite) {
    HANDLE h = CreateFileA("/dev/full", kWrite, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 5;
    EXPECT_FALSE(WriteFile(h, "abc", 3, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(n, 0u);
    CloseHandle(h);
}

// ---- Handles ------------------------------------------------------------------

TEST_F(DeskFiles, ClosedAndForeignHandlesAreInvalid) {
    Put("f", "abc");
    HANDLE h = Open("f", kRead, kShareAll, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    // A later open never brings the old handle back to life.
    HANDLE again = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_NE(again, h);
    char c;
    DWORD n;
    EXPECT_FALSE(ReadFile(h, &c, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SetFilePointer(nullptr, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // Search handles and file handles are closed by their own functions.
    EXPECT_FALSE(FindClose(again));
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(Path("f").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CloseHandle(search));
    EXPECT_TRUE(FindClose(search));
    EXPECT_TRUE(CloseHandle(again));
}

// ---- Share modes within the process --------------------------------------------

struct SharingCase {
    DWORD heldAccess, heldShare, newAccess, newShare;
    bool allowed;
};

TEST_F(DeskFiles, ShareModesFollowTheWin32RuleInBothDirections) {
    const SharingCase cases[] = {
        {kReadWrite, kShareAll, kReadWrite, kShareAll, true},
        {kRead, kShareAll, kReadWrite, 0, false},             // the new open denies what is held
        {kReadWrite, 0, kRead, kShareAll, false},             // the holder denies everything
        {kRead, FILE_SHARE_READ, kRead, kShareAll, true},     // readers among readers
        {kRead, FILE_SHARE_READ, kWrite, kShareAll, false},   // others may not write
        {kWrite, FILE_SHARE_WRITE, kRead, kShareAll, false},  // others may not read
        {kWrite, FILE_SHARE_WRITE, kWrite, kShareAll, true},
        {kRead, kShareAll, kRead, FILE_SHARE_READ, true},    // holder only reads
        {kWrite, kShareAll, kRead, FILE_SHARE_READ, false},  // holder writes, new one denies it
    };
    Put("f", "abc");
    for (const SharingCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << std::hex << "held " << c.heldAccess << "/" << c.heldShare << " new "
                     << c.newAccess << "/" << c.newShare);
        HANDLE held = Open("f", c.heldAccess, c.heldShare, OPEN_EXISTING);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        HANDLE second = Open("f", c.newAccess, c.newShare, OPEN_EXISTING);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.allowed);
        if (second != INVALID_HANDLE_VALUE) {
            CloseHandle(second);
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
        CloseHandle(held);
    }
}

TEST_F(DeskFiles, RefusedRewriteLeavesTheHoldersData) {
    Put("f", "keep me");
    HANDLE held = Open("f", kRead, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("f", kWrite, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    EXPECT_EQ(Get("f"), "keep me");
    HANDLE now = Open("f", kWrite, 0, CREATE_ALWAYS);
    EXPECT_NE(now, INVALID_HANDLE_VALUE);
    CloseHandle(now);
}

// ---- Other processes -------------------------------------------------------------

TEST_F(DeskFiles, AnotherProcessHoldingTheFileMakesADenyingOpenFail) {
    Put("game", "data");
    {
        LockHolder other(Path("game"), LOCK_EX);
        ASSERT_TRUE(other.held());
        EXPECT_EQ(Open("game", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(Open("game", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    }
    {
        // A sharing opener elsewhere: sharing opens go on, denying ones fail.
        LockHolder other(Path("game"), LOCK_SH);
        ASSERT_TRUE(other.held());
        HANDLE shared = Open("game", kRead, kShareAll, OPEN_EXISTING);
        EXPECT_NE(shared, INVALID_HANDLE_VALUE);
        CloseHandle(shared);
        EXPECT_EQ(Open("game", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    HANDLE free = Open("game", kReadWrite, 0, OPEN_EXISTING);
    EXPECT_NE(free, INVALID_HANDLE_VALUE);
    CloseHandle(free);
}

TEST_F(DeskFiles, TheFlockToolHoldingTheFileMakesAnExclusiveOpenFail) {
    Put("game", "data");
    std::string lockFile = Path("game");
    std::string started = Path("started");
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // so that the lock's holders all go with the group
        execlp("flock", "flock", lockFile.c_str(), "sh", "-c",
               ("touch '" + started + "'; sleep 30").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 500 && !Exists("started"); ++i) usleep(10000);
    ASSERT_TRUE(Exists("started")) << "flock(1) did not start";
    EXPECT_EQ(Open("game", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    kill(-pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

TEST_F(DeskFiles, OurOpensAreVisibleToOtherProcessesAsLocks) {
    Put("f", "abc");
    std::string path = Path("f");
    HANDLE sharing = Open("f", kRead, kShareAll, OPEN_EXISTING);
    ASSERT_NE(sharing, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(OtherProcessCanLock(path, LOCK_SH));
    EXPECT_FALSE(OtherProcessCanLock(path, LOCK_EX));

    // A second handle that denies writing upgrades the process's lock ...
    HANDLE denying = Open("f", kRead, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(denying, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(OtherProcessCanLock(path, LOCK_SH));
    // ... and closing it gives the shared lock back.
    CloseHandle(denying);
    EXPECT_TRUE(OtherProcessCanLock(path, LOCK_SH));
    CloseHandle(sharing);
    EXPECT_TRUE(OtherProcessCanLock(path, LOCK_EX));
}

TEST_F(DeskFiles, SpawnedProgramsDoNotInheritOurHandles) {
    Put("f", "abc");
    HANDLE h = Open("f", kRead, 0, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    // A program started while the file is open must not keep the lock alive.
    pid_t pid = fork();
    if (pid == 0) {
        execlp("sleep", "sleep", "2", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Between fork and exec the child still shares everything; wait until
    // it runs the new program.
    std::string comm = "/proc/" + std::to_string(pid) + "/comm";
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(comm);
        std::string name;
        if (std::getline(in, name) && name == "sleep") break;
        usleep(10000);
    }
    CloseHandle(h);
    EXPECT_TRUE(OtherProcessCanLock(Path("f"), LOCK_EX));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// ---- Deletion ----------------------------------------------------------------------

TEST_F(DeskFiles, DeleteRefusesOpenFilesFoldersAndMissingOnes) {
    Put("f", "abc");
    HANDLE h = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(h);
    h = Open("f", kRead, kShareAll | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_TRUE(DeleteFileA(Path("f").c_str()));
    CloseHandle(h);
    EXPECT_FALSE(Exists("f"));

    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(Path("nofolder/f").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    EXPECT_FALSE(DeleteFileA(Path("sub").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    Put("held", "x");
    {
        LockHolder other(Path("held"), LOCK_SH);
        ASSERT_TRUE(other.held());
        EXPECT_FALSE(DeleteFileA(Path("held").c_str()));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_TRUE(DeleteFileA(Path("held").c_str()));
}

// ---- FindFirstFileA ------------------------------------------------------------------

TEST_F(DeskFiles, FindReportsTheEntryWithItsFullSize) {
    MakeHugeFile("huge");
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(Path("huge").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 10u);
    EXPECT_STREQ(data.cFileName, "huge");
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(search);

    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    search = FindFirstFileA(Path("sub").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(data.nFileSizeLow, 0u);
    FindClose(search);
}

TEST_F(DeskFiles, FindTreatsTheLastComponentAsAPattern) {
    Put("b.bin", "bb");
    Put("a.bin", "a");
    Put("c.txt", "ccc");
    Put("ab", "4444");
    WIN32_FIND_DATAA data;
    auto firstMatch = [&](const std::string& pattern) -> std::string {
        HANDLE search = FindFirstFileA(Path(pattern).c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return "<none>";
        FindClose(search);
        return data.cFileName;
    };
    EXPECT_EQ(firstMatch("*.bin"), "a.bin");  // the first by name, every run
    EXPECT_EQ(data.nFileSizeLow, 1u);
    EXPECT_EQ(firstMatch("?.txt"), "c.txt");
    EXPECT_EQ(firstMatch("*.BIN"), "a.bin");  // names match without case
    EXPECT_EQ(firstMatch("b*"), "b.bin");
    EXPECT_EQ(firstMatch("a?"), "ab");
    EXPECT_EQ(firstMatch("ab.*"), "ab");  // ".*" also matches no extension
    EXPECT_EQ(firstMatch("*.doc"), "<none>");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(firstMatch("nofolder/*.bin"), "<none>");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(firstMatch("missing"), "<none>");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(DeskFiles, WildcardsCountADoubleByteCharacterAsOne) {
    Put(u8"中a", "x");
    WIN32_FIND_DATAA data;
    std::string pattern = dir_ + "\\?a";
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "中a");  // GBK, as the program sees it
    FindClose(search);
}

}  // namespace
