// desk-only: a second process (fork, flock), a file size cap (setrlimit) and /dev/full
// The file commands where only POSIX can stage the world: another program
// holding the file, and a disk that fills part way through a write.
#define _FILE_OFFSET_BITS 64  // test files past 4 GiB
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "file_commands_fixture.h"
#include "scratch_folder.h"

namespace {

using FileCommandsDesk = FileCommands;

TEST_F(FileCommandsDesk, ExclusiveOpenFailsWhileAnotherProgramHoldsTheFile) {
    Put("f", "x");
    // A running game holds its file (-o: only flock itself holds the lock,
    // so it is gone once flock has been waited for).
    std::string path = Name("f");
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        execlp("flock", "flock", "-o", path.c_str(), "sh", "-c", "touch \"$0.held\"; sleep 30",
               path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 500 && !Exists("f.held"); ++i) usleep(10000);
    ASSERT_TRUE(Exists("f.held"));
    EXPECT_EQ(Open("f", 3, 4), 0u);
    kill(-pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    EXPECT_NE(Open("f", 3, 4), 0u);
    EXPECT_EQ(Get("f"), "x");
}

TEST_F(FileCommandsDesk, AFullDiskFailsWriteFile) {
    ByteSetArg a("abc");
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText("/dev/full"), a}).low, 0u);
}

TEST_F(FileCommandsDesk, AWriteStoppedPartWayMovesBackToWhereItBegan) {
    // The file size limit stands in for a full disk: the second byte set
    // stops part way, after the first went in whole.
    const char* path = Name("limited");
    auto child = [&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {12, 12};
        setrlimit(RLIMIT_FSIZE, &limit);
        uint32_t number = CallCore(kCmdOpenFile, {MakeText(path), MakeInt(6), MakeInt(1)}).low;
        ByteSetArg head("0123"), first("AAAAA"), second("BBBBBBBBBB");
        if (!Write(number, {head}) || Write(number, {first, second})) _exit(1);
        _exit(Read(number, 100) == "AAAAABBB" ? 0 : 2);
    };
    EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
