// desk-only: other processes (fork, flock), /dev/full, codes and orders Windows leaves open
// The desk's own side of its file layer: how its share modes reach other
// POSIX processes as flock(2) locks, how a full disk reads, and the order in
// which it lists matches.
#define _FILE_OFFSET_BITS 64  // test files past 4 GiB
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "files_fixture.h"
#include "platform/win32.h"

namespace {

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

class DeskFiles : public ScratchFiles {
  protected:
    DeskFiles() : ScratchFiles("desk_files") {}
};

TEST_F(DeskFiles, AProgramHoldingTheFileMakesDenyingOpensFail) {
    folder_.Put("game", "data");
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
        ExpectOnlySharingOpensGoOn("game");
    }
    HANDLE free = Open("game", kReadWrite, 0, OPEN_EXISTING);
    EXPECT_NE(free, INVALID_HANDLE_VALUE);
    CloseHandle(free);
}

TEST_F(DeskFiles, OurOpensAreLocksOtherProcessesSee) {
    folder_.Put("f", "abc");
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

TEST_F(DeskFiles, AFullDiskIsErrorDiskFull) {
    HANDLE full =
        CreateFileA("/dev/full", GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(full, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_FALSE(WriteFile(full, "abc", 3, &n, nullptr));
    EXPECT_ERROR(ERROR_DISK_FULL);
    CloseHandle(full);
}

// Windows documents no order between a missing file and a missing write
// right, nor a code for reading or writing a folder's handle; the desk
// answers the invalid call first (Wine: ERROR_FILE_NOT_FOUND) and refuses
// data on a folder as access denied (Wine: ERROR_INVALID_HANDLE for writes).
TEST_F(DeskFiles, TheDesksCodesWhereWindowsDocumentsNone) {
    EXPECT_EQ(Open("x", kRead, kShareAll, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(folder_.Exists("x"));
    ASSERT_TRUE(folder_.MakeFolder("sub"));
    HANDLE folder = CreateFileA(Path("sub").c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    char byte = 'x';
    DWORD done = 0;
    EXPECT_FALSE(WriteFile(folder, &byte, 1, &done, nullptr));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(ReadFile(folder, &byte, 1, &done, nullptr));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    CloseHandle(folder);
}

// Windows leaves the order to the file system; the desk lists by name, so
// that every run sees the same first match.
TEST_F(DeskFiles, FindGivesTheFirstMatchByName) {
    folder_.Put("b.bin", "bb");
    folder_.Put("a.bin", "a");
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(Path("*.bin").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_STREQ(data.cFileName, "a.bin");
    EXPECT_EQ(data.nFileSizeLow, 1u);
}

}  // namespace
