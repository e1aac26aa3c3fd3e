// The file commands as program code calls them: open and share modes, sizes
// by name, whole-file writes, numbered reads and writes with their position,
// and the open-file table.
#define _FILE_OFFSET_BITS 64  // test files past 4 GiB
#include <gtest/gtest.h>

#include <string>

#include "file_commands_fixture.h"
#include "scratch_folder.h"
#include "tests/support/system_under_test.h"

namespace {

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

TEST_F(FileCommands, ExclusiveOpenFailsWhileTheFileIsOpenHere) {
    Put("f", "x");
    uint32_t reader = Open("f", 1, 1);
    EXPECT_EQ(Open("f", 3, 4), 0u);
    EXPECT_NE(Open("f", 1, 3), 0u) << "denying writers does not hurt a reader";
    EXPECT_EQ(Open("f", 2, 1), 0u) << "but stops a writer";
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(RuntimeNotify(kRequestOpenFileKind, reader, 0), -1);
}

TEST_F(FileCommands, FileSizeIsTheLow32BitsOrMinusOne) {
    EXPECT_EQ(Size("missing"), -1);
    Put("small", "12345");
    EXPECT_EQ(Size("small"), 5);
    EXPECT_EQ(Size("sm*"), 5);
    ASSERT_TRUE(folder_.MakeSparse("huge", 4294967296ULL + 10));
    EXPECT_EQ(Size("huge"), 10);
    ASSERT_TRUE(folder_.MakeFolder("sub"));
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
    ArgValue rest = CallCore(kCmdReadByteSet, {Number(number), MakeInt(100)});
    void* block = FromWord<void>(rest.low);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ArrayDimCount(block), 1);
    EXPECT_EQ(TakeByteSet(rest), "789");
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
    ASSERT_TRUE(folder_.MakeSparse("game", 653572248));
    ASSERT_TRUE(folder_.PutAt("game", 532160740, "SQLite"));
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
    EXPECT_NE(CallCore(kCmdFlushFolder, {MakeText(folder_.dir().c_str())}).low, 0u);
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

// The reason of the last failure tells a file the system will not let
// anybody write from one held by another opener; a success clears it, so
// that an old reason is never read for a new command.
TEST_F(FileCommands, LastFileErrorTellsAccessDeniedForAReadOnlyFile) {
    Put("ro", "x");
    folder_.SetReadOnly("ro", true);
    // Wine leaves the read-only check to the host kernel, which lets root
    // (the bench's user) open the file for writing.
    const char* why = "run as root, Wine opens a read-only file for writing";
    EXPECT_EQ(Open("ro", 3, 4) == 0u, sut::Documented(true, false, why));
    EXPECT_EQ(LastFileError(), sut::Documented(5, 0, why)) << "access denied";
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("ro")), MakeByteSet(kEmptyByteSet)}).low,
              sut::Documented(0u, 1u, why));
    EXPECT_EQ(LastFileError(), sut::Documented(5, 0, why));
    EXPECT_EQ(Get("ro"), sut::Documented<std::string>("x", "", why));
    EXPECT_EQ(CallCore(kCmdDeleteFile, {MakeText(Name("ro"))}).low, 0u);
    EXPECT_EQ(LastFileError(), 5) << "nobody deletes a read-only file";

    uint32_t reader = Open("ro", 1, 1);
    EXPECT_NE(reader, 0u);
    EXPECT_EQ(LastFileError(), 0) << "a success clears the reason";
}

TEST_F(FileCommands, LastFileErrorTellsAHeldFileAndOtherFailures) {
    Put("held", "y");
    EXPECT_NE(Open("held", 1, 4), 0u);
    EXPECT_EQ(Open("held", 3, 4), 0u);
    EXPECT_EQ(LastFileError(), 32) << "a sharing violation, not access denied";
    EXPECT_EQ(CallCore(kCmdWriteFile, {MakeText(Name("held")), MakeByteSet(kEmptyByteSet)}).low,
              0u);
    EXPECT_EQ(LastFileError(), 32);

    EXPECT_EQ(Open("missing", 1, 1), 0u);
    EXPECT_EQ(LastFileError(), 2);
    EXPECT_EQ(CallCore(kCmdFileSize, {MakeText(Name("held"))}).low, 1u);
    EXPECT_EQ(LastFileError(), 0);
    EXPECT_EQ(CallCore(kCmdMoveToEnd, {Number(12345)}).low, 0u);
    EXPECT_EQ(LastFileError(), 6) << "a number that is no open file";
    EXPECT_EQ(Open("held", 7, 1), 0u);
    EXPECT_EQ(LastFileError(), 87);
    CallCore(kCmdCloseAllFiles, {});
    EXPECT_EQ(LastFileError(), 0);
}
