// The file commands as program code calls them: open modes and share modes,
// sizes by name, whole-file writes, numbered reads and writes with their
// position, the open-file table, and failures reported only as results.
// Sparse test files reach past 4 GiB.
#define _FILE_OFFSET_BITS 64

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <fstream>
#include <sstream>

#include "core_call.h"
#include "runtime/notify.h"
#include "runtime/open_files.h"

namespace {

class FileCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/file_commands_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        CallCore(kCmdCloseAllFiles, {});
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // Names handed to the commands; they must outlive the call.
    const char* Name(const std::string& file) {
        names_.push_back(dir_ + "/" + file);
        return names_.back().c_str();
    }
    void Put(const std::string& file, const std::string& bytes) {
        std::ofstream(dir_ + "/" + file, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& file) {
        std::ifstream in(dir_ + "/" + file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string& file) { return access((dir_ + "/" + file).c_str(), F_OK) == 0; }

    uint32_t OpenFile(const std::string& file, ArgValue mode, ArgValue share) {
        return CallCore(kCmdOpenFile, {MakeText(Name(file)), mode, share}).low;
    }
    uint32_t OpenFile(const std::string& file, int32_t mode, int32_t share) {
        return OpenFile(file, MakeInt(mode), MakeInt(share));
    }
    std::string Read(uint32_t number, int32_t length) {
        return TakeByteSet(
            CallCore(kCmdReadByteSet, {MakeInt(static_cast<int32_t>(number)), MakeInt(length)}));
    }
    bool Move(uint32_t number, ArgValue origin, int32_t offset) {
        return CallCore(kCmdMovePosition,
                        {MakeInt(static_cast<int32_t>(number)), origin, MakeInt(offset)})
                   .low != 0;
    }

    std::string dir_;
    std::deque<std::string> names_;  // stable addresses
};

ArgValue Number(uint32_t fileNumber) {
    return MakeInt(static_cast<int32_t>(fileNumber));
}

// ---- open file ------------------------------------------------------------------

TEST_F(FileCommands, ModesOneToThreeNeedAnExistingFile) {
    for (int32_t mode = 1; mode <= 3; ++mode) {
        EXPECT_EQ(OpenFile("missing", mode, 1), 0u) << "mode " << mode;
    }
    EXPECT_EQ(OpenFile("missing", MakeOmitted(), MakeOmitted()), 0u) << "default mode 3";
    EXPECT_FALSE(Exists("missing"));
}

TEST_F(FileCommands, ModesFourToSixCreateAndOnlyFourEmpties) {
    for (int32_t mode = 4; mode <= 6; ++mode) {
        std::string file = "new" + std::to_string(mode);
        uint32_t number = OpenFile(file, mode, 1);
        EXPECT_GT(static_cast<int32_t>(number), 0) << "mode " << mode;
        EXPECT_TRUE(Exists(file));
        Put("old" + std::to_string(mode), "content");
        EXPECT_NE(OpenFile("old" + std::to_string(mode), mode, 1), 0u);
    }
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(Get("old4"), "");
    EXPECT_EQ(Get("old5"), "content");
    EXPECT_EQ(Get("old6"), "content");
}

TEST_F(FileCommands, ModesAndShareModesOutsideTheTablesTouchNothing) {
    Put("f", "content");
    const int32_t bad[][2] = {{0, 1}, {7, 1}, {-1, 1}, {4, 0}, {4, 5}, {4, -2}};
    for (const auto& pair : bad) {
        EXPECT_EQ(OpenFile("f", pair[0], pair[1]), 0u) << pair[0] << "/" << pair[1];
        EXPECT_EQ(OpenFile("created", pair[0], pair[1]), 0u);
    }
    EXPECT_EQ(Get("f"), "content");
    EXPECT_FALSE(Exists("created"));
    EXPECT_EQ(CallCore(kCmdOpenFile, {MakeText(kEmptyText), MakeInt(4), MakeInt(1)}).low, 0u);
    EXPECT_EQ(CallCore(kCmdOpenFile, {MakeText(nullptr), MakeInt(4), MakeInt(1)}).low, 0u);
}

TEST_F(FileCommands, DefaultModeReadsAndWritesAnExistingFile) {
    Put("f", "abcdef");
    uint32_t number = OpenFile("f", MakeOmitted(), MakeOmitted());
    ASSERT_NE(number, 0u);
    EXPECT_EQ(Read(number, 3), "abc");
    ByteSetArg xy("XY");
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(number), xy}).low, 1u);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(Get("f"), "abcXYf");
}

TEST_F(FileCommands, ExclusiveOpenFailsWhileTheFileIsOpenInThisProcess) {
    Put("f", "x");
    uint32_t first = OpenFile("f", 1, 1);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(OpenFile("f", 3, 4), 0u);
    // Share 3 (others may not write) conflicts with a writer, not a reader.
    EXPECT_NE(OpenFile("f", 1, 3), 0u);
    EXPECT_EQ(OpenFile("f", 2, 1), 0u);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_NE(OpenFile("f", 3, 4), 0u);
}

TEST_F(FileCommands, ExclusiveOpenFailsWhileAnotherProcessHoldsTheFile) {
    Put("game", "data");
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    std::string path = dir_ + "/game";
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(path.c_str(), O_RDONLY);
        char ok = fd >= 0 && flock(fd, LOCK_EX) == 0;
        if (write(ready[1], &ok, 1) != 1) _exit(2);
        char byte;
        close(release[1]);
        while (read(release[0], &byte, 1) > 0) {
        }
        _exit(0);
    }
    close(release[0]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);
    EXPECT_EQ(OpenFile("game", 3, 4), 0u);
    close(release[1]);
    waitpid(pid, nullptr, 0);
    EXPECT_NE(OpenFile("game", 3, 4), 0u);
    EXPECT_EQ(Get("game"), "data");
}

// ---- file size, delete file, write file -----------------------------------------------

TEST_F(FileCommands, FileSizeIsTheLow32BitsOrMinusOne) {
    EXPECT_EQ(ValueInt(CallCore(kCmdFileSize, {MakeText(Name("missing"))})), -1);
    Put("small", "12345");
    EXPECT_EQ(ValueInt(CallCore(kCmdFileSize, {MakeText(Name("small"))})), 5);
    int fd = open((dir_ + "/huge").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 4294967296LL + 10), 0);
    close(fd);
    EXPECT_EQ(ValueInt(CallCore(kCmdFileSize, {MakeText(Name("huge"))})), 10);
    EXPECT_EQ(ValueInt(CallCore(kCmdFileSize, {MakeText(Name("sm*"))})), 5);
    ASSERT_EQ(mkdir((dir_ + "/sub").c_str(), 0755), 0);
    EXPECT_EQ(ValueInt(CallCore(kCmdFileSize, {MakeText(Name("sub"))})), 0);
    EXPECT_EQ(ValueInt(CallCore(kCmdFileSize, {MakeText(kEmptyText)})), -1);
}

TEST_F(FileCommands, DeleteFileAnswersWhetherItDeleted) {
    Put("f", "x");
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("f"))}).low, 1u);
    EXPECT_FALSE(Exists("f"));
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("f"))}).low, 0u);
    Put("open", "x");
    ASSERT_NE(OpenFile("open", 1, 1), 0u);
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("open"))}).low, 0u);
    EXPECT_TRUE(Exists("open"));
}

TEST_F(FileCommands, WriteFileRewritesTheFileWithEveryByteSetInOrder) {
    Put("f", "old content that is longer");
    ByteSetArg a("abc"), b("de");
    ArgValue result =
        CallCore(kCmdWriteFile, {MakeText(Name("f")), a, MakeByteSet(kEmptyByteSet), b});
    EXPECT_EQ(result.low, 1u);
    EXPECT_EQ(Get("f"), "abcde");

    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("empty"))}).low, 1u);
    EXPECT_TRUE(Exists("empty"));
    EXPECT_EQ(Get("empty"), "");

    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(kEmptyText), a}).low, 0u);
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("nofolder/f")), a}).low, 0u);
}

TEST_F(FileCommands, WriteFileFailsWhileAnyoneHasTheFileOpen) {
    Put("f", "keep");
    ASSERT_NE(OpenFile("f", 1, 1), 0u);
    ByteSetArg a("new");
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("f")), a}).low, 0u);
    EXPECT_EQ(Get("f"), "keep");
}

TEST_F(FileCommands, WriteFileToAFullDiskIsFalse) {
    ByteSetArg a("abc");
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText("/dev/full"), a}).low, 0u);
}

// ---- positions, reads and writes -------------------------------------------------------

TEST_F(FileCommands, ReadByteSetGivesWhatIsLeftAndNothingAtTheEnd) {
    Put("f", "0123456789");
    uint32_t number = OpenFile("f", 1, 1);
    ASSERT_NE(number, 0u);
    EXPECT_TRUE(Move(number, MakeInt(1), 7));
    ArgValue near = CallCore(kCmdReadByteSet, {Number(number), MakeInt(100)});
    void* block = FromWord<void>(near.low);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ArrayDimCount(block), 1);
    EXPECT_EQ(ByteSetLength(block), 3);
    EXPECT_FALSE(IsConstantBlock(block));
    EXPECT_EQ(TakeByteSet(near), "789");
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(5)}).low, 0u)
        << "at the end: null";
    EXPECT_TRUE(Move(number, MakeOmitted(), 0));
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(0)}).low, 0u);
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(-4)}).low, 0u);
    EXPECT_EQ(Read(number, 2), "01") << "length 0 or less reads nothing";
}

TEST_F(FileCommands, AFailedReadMovesToTheEnd) {
    Put("f", "0123456789");
    uint32_t number = OpenFile("f", 2, 1);  // write only: every read fails
    ASSERT_NE(number, 0u);
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(4)}).low, 0u);
    ByteSetArg tail("!");
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(number), tail}).low, 1u);
    // So does a length the heap cannot give.
    Move(number, MakeInt(1), 0);
    uint32_t reader = OpenFile("f", 3, 1);
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(reader), MakeInt(0x7FFFFFFF)}).low, 0u);
    EXPECT_EQ(Read(reader, 4), "");
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(Get("f"), "0123456789!");
}

TEST_F(FileCommands, MovePositionCountsFromTheChosenOrigin) {
    Put("f", "0123456789");
    uint32_t number = OpenFile("f", 1, 1);
    ASSERT_NE(number, 0u);
    EXPECT_TRUE(Move(number, MakeOmitted(), 4));
    EXPECT_EQ(Read(number, 1), "4");
    EXPECT_TRUE(Move(number, MakeInt(2), -2));
    EXPECT_EQ(Read(number, 1), "8");
    EXPECT_TRUE(Move(number, MakeInt(3), -4));
    EXPECT_EQ(Read(number, 1), "5");
    EXPECT_FALSE(Move(number, MakeInt(4), 0));
    EXPECT_FALSE(Move(number, MakeInt(0), 0));
    EXPECT_FALSE(Move(number, MakeInt(1), -1));
    EXPECT_EQ(Read(number, 1), "6") << "failed moves leave the position";
    EXPECT_EQ(CallCore(kCmdMoveToEnd, {Number(number)}).low, 1u);
    EXPECT_EQ(Read(number, 1), "");
}

TEST_F(FileCommands, MovePositionReachesTheDatabaseSlotOfAGameSizedFile) {
    int fd = open((dir_ + "/game").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 653572248), 0);
    ASSERT_EQ(pwrite(fd, "SQLite", 6, 532160740), 6);
    close(fd);
    uint32_t number = OpenFile("game", 3, 4);
    ASSERT_NE(number, 0u);
    EXPECT_TRUE(Move(number, MakeInt(1), 532160740));
    EXPECT_EQ(Read(number, 6), "SQLite");
    EXPECT_TRUE(Move(number, MakeInt(1), 532160740));
    ByteSetArg patch("sqlite");
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(number), patch}).low, 1u);
    EXPECT_TRUE(Move(number, MakeInt(1), 532160740));
    EXPECT_EQ(Read(number, 6), "sqlite");
}

TEST_F(FileCommands, WriteByteSetWritesInOrderAndEmptyOnesAreNothing) {
    uint32_t number = OpenFile("f", 4, 1);
    ASSERT_NE(number, 0u);
    ByteSetArg a("ab"), b("cd");
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(number), MakeByteSet(kEmptyByteSet)}).low, 1u);
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(number), a, MakeByteSet(kEmptyByteSet), b}).low,
              1u);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(Get("f"), "abcd");
}

TEST_F(FileCommands, AFailedWriteMovesBackAndAnswersFalse) {
    Put("f", "0123456789");
    uint32_t number = OpenFile("f", 1, 1);  // read only: the write fails
    ASSERT_NE(number, 0u);
    Move(number, MakeInt(1), 3);
    ByteSetArg a("xy");
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(number), a}).low, 0u);
    EXPECT_EQ(Read(number, 2), "34");
}

TEST_F(FileCommands, AShortWriteMovesBackToWhereTheWriteBegan) {
    // The process's file size limit stands in for a full disk: the second
    // byte set stops part way, after the first went in whole.
    std::string path = dir_ + "/f";
    auto child = [&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {12, 12};
        setrlimit(RLIMIT_FSIZE, &limit);
        uint32_t number =
            CallCore(kCmdOpenFile, {MakeText(path.c_str()), MakeInt(6), MakeInt(1)}).low;
        if (number == 0) _exit(1);
        ByteSetArg head("0123"), first("AAAAA"), second("BBBBBBBBBB");
        if (CallCore(kCmdWriteByteSet, {Number(number), head}).low != 1) _exit(2);
        if (CallCore(kCmdWriteByteSet, {Number(number), first, second}).low != 0) _exit(3);
        std::string rest = TakeByteSet(CallCore(kCmdReadByteSet, {Number(number), MakeInt(100)}));
        _exit(rest == "AAAAABBB" ? 0 : 4);
    };
    EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
}

// ---- the open-file table ------------------------------------------------------------------

TEST_F(FileCommands, NumbersAreDistinctPositiveAndKnownToTheTable) {
    Put("a", "1");
    Put("b", "2");
    uint32_t a = OpenFile("a", 1, 1);
    uint32_t b = OpenFile("b", 1, 1);
    EXPECT_GT(static_cast<int32_t>(a), 0);
    EXPECT_GT(static_cast<int32_t>(b), 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, a, 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, b, 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, 0, 0), -1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, a + 2, 0), -1);
}

TEST_F(FileCommands, CloseAllFilesForgetsEveryNumber) {
    CallCore(kCmdCloseAllFiles, {});  // nothing open: nothing happens
    Put("a", "123");
    uint32_t a = OpenFile("a", 3, 4);
    ASSERT_NE(a, 0u);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, a, 0), -1);
    EXPECT_EQ(Read(a, 3), "");
    EXPECT_FALSE(Move(a, MakeInt(1), 0));
    EXPECT_EQ(CallCore(kCmdMoveToEnd, {Number(a)}).low, 0u);
    ByteSetArg x("x");
    EXPECT_EQ(CallCore(kCmdWriteByteSet, {Number(a), x}).low, 0u);
    EXPECT_EQ(Get("a"), "123");
    // The exclusive open is gone with it.
    EXPECT_NE(OpenFile("a", 3, 4), 0u);
}

TEST_F(FileCommands, TableRequestsAddRemoveAndCloseFileObjects) {
    Put("a", "1");
    uint32_t number = OpenFile("a", 1, 4);
    ASSERT_NE(number, 0u);
    FileObject* file = OpenFileByNumber(number);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 0);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, number, 0), -1);
    RuntimeNotify(kRequestOpenFileAdd, ToWord(file), 1);
    RuntimeNotify(kRequestOpenFileAdd, ToWord(file), 1);  // once only
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 0);
    RuntimeNotify(kRequestOpenFileAdd, ToWord(file), 1);
    RuntimeNotify(kRequestCloseAllFiles, 0, 0);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, number, 0), -1);
    EXPECT_NE(OpenFile("a", 3, 4), 0u) << "request 2014 closed the handle";
}

}  // namespace
