// The file commands as program code calls them: open and share modes, sizes
// by name, whole-file writes, numbered reads and writes with their position,
// and the open-file table.
// desk-only: a second process (fork), a file size cap (setrlimit) and POSIX modes (chmod)
#define _FILE_OFFSET_BITS 64  // sparse test files past 4 GiB

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <sstream>

#include "core_call.h"
#include "runtime/notify.h"
#include "runtime/open_files.h"

namespace {

ArgValue Number(uint32_t fileNumber) {
    return MakeInt(static_cast<int32_t>(fileNumber));
}

class FileCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/file_commands_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        CallCore(kCmdCloseAllFiles, {});
        ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0);
    }

    const char* Name(const std::string& file) {  // lives as long as the test
        return names_.emplace_back(dir_ + "/" + file).c_str();
    }
    void Put(const std::string& file, const std::string& bytes) {
        std::ofstream(Name(file), std::ios::binary) << bytes;
    }
    std::string Get(const std::string& file) {
        std::stringstream bytes;
        bytes << std::ifstream(Name(file), std::ios::binary).rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string& file) { return access(Name(file), F_OK) == 0; }

    uint32_t Open(const std::string& file, ArgValue mode, ArgValue share) {
        return CallCore(kCmdOpenFile, {MakeText(Name(file)), mode, share}).low;
    }
    uint32_t Open(const std::string& file, int32_t mode, int32_t share) {
        return Open(file, MakeInt(mode), MakeInt(share));
    }
    std::string Read(uint32_t number, int32_t length) {
        return TakeByteSet(CallCore(kCmdReadByteSet, {Number(number), MakeInt(length)}));
    }
    bool Write(uint32_t number, std::initializer_list<ArgValue> byteSets) {
        std::vector<ArgValue> args = {Number(number)};
        args.insert(args.end(), byteSets);
        return g_services
                   .CallCoreCommand(CoreCommandEntry(kCmdWriteByteSet),
                                    static_cast<int32_t>(args.size()), args.data())
                   .low != 0;
    }
    bool Move(uint32_t number, ArgValue origin, int32_t offset) {
        return CallCore(kCmdMovePosition, {Number(number), origin, MakeInt(offset)}).low != 0;
    }
    int32_t Size(const std::string& file) {
        return ValueInt(CallCore(kCmdFileSize, {MakeText(Name(file))}));
    }

    std::string dir_;
    std::deque<std::string> names_;
};

TEST_F(FileCommands, OpenModesCreateOnlyFromFourOnAndOnlyFourEmpties) {
    for (int32_t mode = 1; mode <= 3; ++mode) EXPECT_EQ(Open("missing", mode, 1), 0u) << mode;
    EXPECT_EQ(Open("missing", MakeOmitted(), MakeOmitted()), 0u) << "default mode 3";
    EXPECT_FALSE(Exists("missing"));
    for (int32_t mode = 4; mode <= 6; ++mode) {
        std::string suffix = std::to_string(mode);
        EXPECT_GT(static_cast<int32_t>(Open("new" + suffix, mode, 1)), 0) << mode;
        Put("old" + suffix, "content");
        EXPECT_NE(Open("old" + suffix, mode, 1), 0u);
    }
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_TRUE(Exists("new4") && Exists("new5") && Exists("new6"));
    EXPECT_EQ(Get("old4"), "");
    EXPECT_EQ(Get("old5"), "content");
    EXPECT_EQ(Get("old6"), "content");
}

TEST_F(FileCommands, ModesOutsideTheTablesTouchNothing) {
    Put("f", "content");
    const int32_t bad[][2] = {{0, 1}, {7, 1}, {4, 0}, {4, 5}, {4, -2}};
    for (const auto& pair : bad) {
        EXPECT_EQ(Open("f", pair[0], pair[1]), 0u) << pair[0] << "/" << pair[1];
        EXPECT_EQ(Open("created", pair[0], pair[1]), 0u);
    }
    EXPECT_EQ(Get("f"), "content");
    EXPECT_FALSE(Exists("created"));
    EXPECT_EQ(CallCore(kCmdOpenFile, {MakeText(kEmptyText), MakeInt(4), MakeInt(1)}).low, 0u);
}

TEST_F(FileCommands, ExclusiveOpenFailsWhileTheFileIsOpenHereOrElsewhere) {
    Put("f", "x");
    uint32_t reader = Open("f", 1, 1);
    EXPECT_EQ(Open("f", 3, 4), 0u);
    EXPECT_NE(Open("f", 1, 3), 0u) << "denying writers does not hurt a reader";
    EXPECT_EQ(Open("f", 2, 1), 0u) << "but stops a writer";
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, reader, 0), -1);

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

TEST_F(FileCommands, FileSizeIsTheLow32BitsOrMinusOne) {
    EXPECT_EQ(Size("missing"), -1);
    Put("small", "12345");
    EXPECT_EQ(Size("small"), 5);
    EXPECT_EQ(Size("sm*"), 5);
    int fd = open(Name("huge"), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(ftruncate(fd, 4294967296LL + 10), 0);
    close(fd);
    EXPECT_EQ(Size("huge"), 10);
    ASSERT_EQ(mkdir(Name("sub"), 0755), 0);
    EXPECT_EQ(Size("sub"), 0);
}

TEST_F(FileCommands, WriteFileRewritesWithEveryByteSetAndDeleteFileAnswers) {
    Put("f", "old content that is longer");
    ByteSetArg a("abc"), b("de");
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("f")), a, MakeByteSet(kEmptyByteSet), b}).low,
              1u);
    EXPECT_EQ(Get("f"), "abcde");
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("empty"))}).low, 1u);
    EXPECT_TRUE(Exists("empty"));
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(kEmptyText), a}).low, 0u);
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText("/dev/full"), a}).low, 0u) << "a full disk";
    // Rewriting takes the file exclusively.
    Open("f", 1, 1);
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("f")), a}).low, 0u);
    EXPECT_EQ(Get("f"), "abcde");
    // And an open file cannot be deleted either.
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("f"))}).low, 0u);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("f"))}).low, 1u);
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("f"))}).low, 0u);
    EXPECT_FALSE(Exists("f"));
}

TEST_F(FileCommands, ReadByteSetGivesWhatIsLeftAndNothingAtTheEnd) {
    Put("f", "0123456789");
    uint32_t number = Open("f", 1, 1);
    EXPECT_TRUE(Move(number, MakeInt(1), 7));
    ArgValue near = CallCore(kCmdReadByteSet, {Number(number), MakeInt(100)});
    void* block = FromWord<void>(near.low);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ArrayDimCount(block), 1);
    EXPECT_EQ(TakeByteSet(near), "789");
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(5)}).low, 0u) << "at the end";
    Move(number, MakeInt(1), 0);
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(0)}).low, 0u);
    EXPECT_EQ(CallCore(kCmdReadByteSet, {Number(number), MakeInt(-4)}).low, 0u);
    EXPECT_EQ(Read(number, 2), "01");
}

TEST_F(FileCommands, AFailedReadMovesToTheEnd) {
    Put("f", "0123456789");
    uint32_t writer = Open("f", 2, 1);  // write only: reads fail
    EXPECT_EQ(Read(writer, 4), "");
    ByteSetArg tail("!");
    EXPECT_TRUE(Write(writer, {tail}));
    // So does a length the heap cannot give.
    uint32_t reader = Open("f", 3, 1);
    EXPECT_EQ(Read(reader, 0x7FFFFFFF), "");
    EXPECT_EQ(Read(reader, 4), "");
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(Get("f"), "0123456789!");
}

TEST_F(FileCommands, MovePositionCountsFromTheChosenOrigin) {
    Put("f", "0123456789");
    uint32_t number = Open("f", 1, 1);
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

TEST_F(FileCommands, TheDatabaseSlotOfAGameSizedFileIsReachable) {
    int fd = open(Name("game"), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(ftruncate(fd, 653572248), 0);
    ASSERT_EQ(pwrite(fd, "SQLite", 6, 532160740), 6);
    close(fd);
    uint32_t number = Open("game", 3, 4);
    EXPECT_TRUE(Move(number, MakeInt(1), 532160740));
    EXPECT_EQ(Read(number, 6), "SQLite");
    EXPECT_TRUE(Move(number, MakeInt(1), 532160740));
    ByteSetArg patch("sqlite"), more("!");
    EXPECT_TRUE(Write(number, {patch, MakeByteSet(kEmptyByteSet), more}));
    EXPECT_TRUE(Move(number, MakeInt(1), 532160740));
    EXPECT_EQ(Read(number, 7), "sqlite!");
}

TEST_F(FileCommands, AFailedWriteMovesBackToWhereItBegan) {
    Put("f", "0123456789");
    uint32_t reader = Open("f", 1, 1);
    Move(reader, MakeInt(1), 3);
    ByteSetArg a("xy");
    EXPECT_FALSE(Write(reader, {a}));
    EXPECT_EQ(Read(reader, 2), "34");

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

TEST_F(FileCommands, TheTableKnowsOpenFilesByPositiveNumbers) {
    Put("a", "123");
    uint32_t a = Open("a", 3, 4);
    uint32_t b = Open("b", 4, 1);
    EXPECT_GT(static_cast<int32_t>(a), 0);
    EXPECT_GT(static_cast<int32_t>(b), 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, a, 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, 0, 0), -1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, a + 2, 0), -1);

    FileObject* file = OpenFileByNumber(b);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 0);
    RuntimeNotify(kRequestOpenFileAdd, ToWord(file), 1);
    RuntimeNotify(kRequestOpenFileAdd, ToWord(file), 1);  // once only
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileRemove, ToWord(file), 0), 0);
    RuntimeNotify(kRequestOpenFileAdd, ToWord(file), 1);

    // Closing forgets every number; none of them works as a handle any more.
    RuntimeNotify(kRequestCloseAllFiles, 0, 0);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, a, 0), -1);
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, b, 0), -1);
    EXPECT_EQ(Read(a, 3), "");
    EXPECT_FALSE(Move(a, MakeInt(1), 0));
    ByteSetArg x("x");
    EXPECT_FALSE(Write(a, {x}));
    EXPECT_EQ(Get("a"), "123");
    EXPECT_NE(Open("a", 3, 4), 0u) << "the exclusive open went with it";
    CallCore(kCmdCloseAllFiles, {});
    CallCore(kCmdCloseAllFiles, {});  // nothing open: nothing happens
}

}  // namespace

TEST_F(FileCommands, FlushFileAnswersForWritableOpenFilesOnly) {
    Put("f", "0123456789");
    uint32_t writer = Open("f", 3, 1);
    ByteSetArg a("ab");
    ASSERT_TRUE(Write(writer, {a}));
    EXPECT_NE(CallCore(kCmdFlushFile, {Number(writer)}).low, 0u);
    EXPECT_EQ(Get("f"), "ab23456789") << "what was flushed is in the file";
    // A handle that cannot write cannot be flushed, as on Windows.
    uint32_t reader = Open("f", 1, 1);
    EXPECT_EQ(CallCore(kCmdFlushFile, {Number(reader)}).low, 0u);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(CallCore(kCmdFlushFile, {Number(writer)}).low, 0u) << "a closed file is no file";
    EXPECT_EQ(CallCore(kCmdFlushFile, {Number(12345)}).low, 0u);
}

TEST_F(FileCommands, FlushFolderAnswersForFoldersOnlyAndLeavesTheirFilesAlone) {
    Put("f", "kept");
    EXPECT_NE(CallCore(kCmdFlushFolder, {MakeText(dir_.c_str())}).low, 0u);
    EXPECT_EQ(Get("f"), "kept");
    // A missing folder and an empty name are nothing to flush.
    EXPECT_EQ(CallCore(kCmdFlushFolder, {MakeText(Name("nofolder"))}).low, 0u);
    EXPECT_EQ(CallCore(kCmdFlushFolder, {MakeText("")}).low, 0u);
    // The folder's handle holds nothing of its files: an exclusive open of
    // one still succeeds.
    EXPECT_GT(Open("f", 3, 4), 0u);
}

namespace {
int32_t LastFileError() {
    return static_cast<int32_t>(CallCore(kCmdLastFileError, {}).low);
}
}  // namespace

// The reason of the last failure tells a file held by another opener from
// one the system will not let anybody write; a success clears it, so that an
// old reason is never read for a new command.
TEST_F(FileCommands, LastFileErrorTellsAccessDeniedFromAHeldFile) {
    Put("ro", "x");
    ASSERT_EQ(chmod(Name("ro"), 0444), 0);
    EXPECT_EQ(Open("ro", 3, 4), 0u);
    EXPECT_EQ(LastFileError(), 5) << "access denied";
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("ro")), MakeByteSet(kEmptyByteSet)}).low, 0u);
    EXPECT_EQ(LastFileError(), 5);
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("ro"))}).low, 0u);
    EXPECT_EQ(LastFileError(), 5);
    EXPECT_EQ(Get("ro"), "x");

    uint32_t reader = Open("ro", 1, 1);
    EXPECT_NE(reader, 0u);
    EXPECT_EQ(LastFileError(), 0) << "a success clears the reason";

    Put("held", "y");
    EXPECT_NE(Open("held", 1, 4), 0u);
    EXPECT_EQ(Open("held", 3, 4), 0u);
    EXPECT_EQ(LastFileError(), 32) << "a sharing violation, not access denied";
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("held")), MakeByteSet(kEmptyByteSet)}).low, 0u);
    EXPECT_EQ(LastFileError(), 32);

    EXPECT_EQ(Open("missing", 1, 1), 0u);
    EXPECT_EQ(LastFileError(), 2);
    EXPECT_EQ(CallCore(kCmdFileSize, {MakeText(Name("ro"))}).low, 1u);
    EXPECT_EQ(LastFileError(), 0);
    EXPECT_EQ(CallCore(kCmdMoveToEnd, {Number(12345)}).low, 0u);
    EXPECT_EQ(LastFileError(), 6) << "a number that is no open file";
    EXPECT_EQ(Open("ro", 7, 1), 0u);
    EXPECT_EQ(LastFileError(), 87);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(LastFileError(), 0);
    ASSERT_EQ(chmod(Name("ro"), 0644), 0);
}
