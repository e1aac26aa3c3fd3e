// desk-only: another process's POSIX lock seen as a sharing violation is the desk's own mapping
// A game file another program holds with an exclusive flock(2), as the
// desk models a running game across processes: the write-back fails and
// says so instead of reporting success.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "app/game_routines.h"
#include "write_back_fixture.h"

using namespace writeback;

TEST_F(WriteBack, AGameFileLockedByAnotherProcessIsNotWrittenAndNotReportedAsSuccess) {
    WriteCache(kSlot);
    pid_t holder = fork();
    if (holder == 0) {
        int fd = open(kGameFile, O_RDONLY);
        flock(fd, LOCK_EX);
        std::ofstream("held");
        sleep(20);
        _exit(0);
    }
    while (access("held", F_OK) != 0) usleep(10000);
    WriteBackDatabase();
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(ShowedText("写入游戏文件失败，请关闭游戏或其它占用游戏文件的软件后再试。"))
        << Shown();
    EXPECT_FALSE(ShowedText("修改成功")) << Shown();
}
