// The Win32 file functions the runtime relies on: creation rules, reads and
// writes, the file pointer past 4 GiB, share modes, deletion and
// FindFirstFileA, each with its error code. Written against the public
// boundary, so the desk and Windows are held to the same answers.
#define _FILE_OFFSET_BITS 64  // test files past 4 GiB
#include <gtest/gtest.h>

#include <string>

#include "files_fixture.h"
#include "platform/win32.h"
#include "tests/support/system_under_test.h"

namespace {

class Files : public ScratchFiles {
  protected:
    Files() : ScratchFiles("files") {}
};

TEST_F(Files, CreationRulesAndTheirErrorCodes) {
    EXPECT_EQ(Open("missing", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("nofolder/new", kWrite, kShareAll, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Open("x", kWrite, kShareAll, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(folder_.MakeFolder("sub"));
    EXPECT_EQ(Open("sub", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(folder_.Exists("missing") || folder_.Exists("x"));

    folder_.Put("old", "content");
    EXPECT_EQ(Open("old", kWrite, kShareAll, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_FILE_EXISTS);
    CloseHandle(Open("old", kReadWrite, kShareAll, OPEN_ALWAYS));
    EXPECT_EQ(folder_.Get("old"), "content");
    HANDLE h = Open("old", kWrite, kShareAll, CREATE_ALWAYS);
    EXPECT_ERROR(ERROR_ALREADY_EXISTS);
    CloseHandle(h);
    EXPECT_EQ(folder_.Get("old"), "");
    h = Open("fresh", kWrite, kShareAll, OPEN_ALWAYS);
    EXPECT_ERROR(ERROR_SUCCESS);
    CloseHandle(h);
    EXPECT_TRUE(folder_.Exists("fresh"));
}

TEST_F(Files, AFolderOpensOnlyWithBackupSemanticsAndCanOnlyBeFlushed) {
    ASSERT_TRUE(folder_.MakeFolder("sub"));
    HANDLE folder = CreateFileA(Path("sub").c_str(), kWrite, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FlushFileBuffers(folder));
    // Windows documents no error code for these (the desk's are checked in
    // files_desk_test.cpp).
    char byte = 'x';
    DWORD done = 0;
    EXPECT_FALSE(WriteFile(folder, &byte, 1, &done, nullptr));
    EXPECT_FALSE(ReadFile(folder, &byte, 1, &done, nullptr));
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

// Windows honours the read-only attribute for everyone (the desk's tests run
// as root, whom the host kernel would let write).
TEST_F(Files, AReadOnlyFileIsReadButNeverWrittenEmptiedOrDeleted) {
    folder_.Put("ro", "kept");
    folder_.SetReadOnly("ro", true);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(Path("ro").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    ASSERT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY, 0u) << "the attribute is set";

    // Wine maps the attribute to the host file's write bits and leaves the
    // check to the host kernel, which lets root (the bench's user) write.
    const char* why = "run as root, Wine opens a read-only file for writing";
    for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
        for (DWORD share : {kShareAll, DWORD{0}}) {
            SetLastError(0);
            HANDLE h = Open("ro", share == 0 ? kWrite : kReadWrite, share, disposition);
            EXPECT_EQ(h == INVALID_HANDLE_VALUE, sut::Documented(true, false, why)) << disposition;
            EXPECT_EQ(GetLastError(),
                      sut::Documented<DWORD>(ERROR_ACCESS_DENIED,
                                        disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS
                                            ? ERROR_ALREADY_EXISTS
                                            : 0,
                                        why))
                << disposition;
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    }
    EXPECT_FALSE(DeleteFileA(Path("ro").c_str()));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    HANDLE h = Open("ro", kRead, kShareAll, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "reading stays allowed";
    CloseHandle(h);
    EXPECT_EQ(folder_.Get("ro"), sut::Documented<std::string>("kept", "", why));
    folder_.SetReadOnly("ro", false);
    EXPECT_TRUE(DeleteFileA(Path("ro").c_str())) << "once the attribute is cleared";
}

TEST_F(Files, WindowsPathsInGbkReachTheFile) {
    ASSERT_TRUE(folder_.MakeFolder(u8"数据"));
    std::string name = folder_.dir() + "\\数据\\缓存.bin";  // GBK at run time
    HANDLE h = CreateFileA(name.c_str(), kWrite, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "abc", 3, &n, nullptr));
    CloseHandle(h);
    EXPECT_EQ(folder_.Get(u8"数据/缓存.bin"), "abc");
}

TEST_F(Files, ReadsWritesAndTheFilePointer) {
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
    EXPECT_EQ(folder_.Get("f"), "01234xy789");

    HANDLE reader = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_FALSE(WriteFile(reader, "z", 1, &n, nullptr));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
    CloseHandle(reader);
}

TEST_F(Files, PositionsAndSizesPastFourGibibytesUseTheHighWord) {
    ASSERT_TRUE(folder_.MakeSparse("huge", 4294967296ULL + 10));
    HANDLE h = Open("huge", kReadWrite, kShareAll, OPEN_EXISTING);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 1u);
    // Without a high word the new position must fit in 32 bits; Wine
    // answers the low word of the new position instead.
    const char* why = "SetFilePointer without a high word gives the low word past 4 GiB";
    SetLastError(0);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END),
              sut::Documented<DWORD>(INVALID_SET_FILE_POINTER, 10, why));
    EXPECT_EQ(GetLastError(), sut::Documented<DWORD>(ERROR_INVALID_PARAMETER, 0, why));
    LONG distanceHigh = 1;
    EXPECT_EQ(SetFilePointer(h, 5, &distanceHigh, FILE_BEGIN), 5u);
    EXPECT_EQ(distanceHigh, 1);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "Z", 1, &n, nullptr));
    distanceHigh = -1;  // back by 2^32 - 4, from 2^32 + 6 to 10
    EXPECT_EQ(SetFilePointer(h, 4, &distanceHigh, FILE_CURRENT), 10u);
    EXPECT_EQ(distanceHigh, 0);
    CloseHandle(h);
    EXPECT_EQ(folder_.ByteAt("huge", 4294967296ULL + 5), 'Z');
}

TEST_F(Files, ShareModesFollowTheWin32RuleInBothDirections) {
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
    folder_.Put("f", "keep me");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.heldAccess << "/" << c.heldShare
                                          << " then " << c.newAccess << "/" << c.newShare);
        HANDLE held = Open("f", c.heldAccess, c.heldShare, OPEN_EXISTING);
        HANDLE second = Open("f", c.newAccess, c.newShare, OPEN_EXISTING);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.allowed);
        if (!c.allowed) {
            EXPECT_ERROR(ERROR_SHARING_VIOLATION);
        }
        if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
        CloseHandle(held);
    }
    // A refused rewrite must not have emptied the file first.
    HANDLE held = Open("f", kRead, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(Open("f", kWrite, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    CloseHandle(held);
    EXPECT_EQ(folder_.Get("f"), "keep me");
}

// What the program meets when a running game holds the file: share modes
// apply per handle, so a second handle of this process stands for the game
// (the desk's test against a real second process is in files_desk_test.cpp).
TEST_F(Files, AHolderMakesDenyingOpensAndDeletionFail) {
    folder_.Put("game", "data");
    HANDLE game = Open("game", kReadWrite, 0, OPEN_EXISTING);
    ASSERT_NE(game, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("game", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Open("game", kRead, kShareAll, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_ERROR(ERROR_SHARING_VIOLATION);
    CloseHandle(game);

    // A holder that shares: sharing opens go on, denying ones fail.
    HANDLE reader = Open("game", kRead, kShareAll, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ExpectOnlySharingOpensGoOn("game");
    CloseHandle(reader);

    HANDLE free = Open("game", kReadWrite, 0, OPEN_EXISTING);
    EXPECT_NE(free, INVALID_HANDLE_VALUE);
    CloseHandle(free);
    EXPECT_EQ(folder_.Get("game"), "data");
}

TEST_F(Files, DeleteRefusesOpenFilesFoldersAndMissingOnes) {
    folder_.Put("f", "abc");
    HANDLE h = Open("f", kRead, kShareAll, OPEN_EXISTING);
    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_ERROR(ERROR_SHARING_VIOLATION);
    CloseHandle(h);
    h = Open("f", kRead, kShareAll | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_TRUE(DeleteFileA(Path("f").c_str()));
    CloseHandle(h);
    EXPECT_FALSE(folder_.Exists("f"));
    EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA(Path("nofolder/f").c_str()));
    EXPECT_ERROR(ERROR_PATH_NOT_FOUND);
    ASSERT_TRUE(folder_.MakeFolder("sub"));
    EXPECT_FALSE(DeleteFileA(Path("sub").c_str()));
    EXPECT_ERROR(ERROR_ACCESS_DENIED);
}

// Which match comes first is the file system's choice on Windows, so only
// what every match must be is checked here (the desk's own order, by name,
// is checked in files_desk_test.cpp).
TEST_F(Files, FindTreatsTheLastComponentAsAPatternAndReportsFullSizes) {
    ASSERT_TRUE(folder_.MakeSparse("huge", 4294967296ULL + 10));
    folder_.Put("b.bin", "bb");
    folder_.Put("a.bin", "a");
    folder_.Put("c.txt", "ccc");
    folder_.Put(u8"中a", "x");
    ASSERT_TRUE(folder_.MakeFolder("sub"));
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
    std::string bin = first(Path("*.bin"));
    EXPECT_TRUE(bin == "a.bin" || bin == "b.bin") << bin;
    EXPECT_EQ(data.nFileSizeLow, bin == "a.bin" ? 1u : 2u) << "the size is the match's own";
    EXPECT_EQ(first(Path("?.TXT")), "c.txt") << "without case";
    EXPECT_EQ(first(Path("hug?.*")), "huge") << "'.*' also matches no extension";
    EXPECT_EQ(first(folder_.dir() + "\\?a"), "中a") << "a double-byte character is one";
    EXPECT_EQ(first(Path("*.doc")), "<none>");
    EXPECT_ERROR(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(first(Path("nofolder/*.bin")), "<none>");
    EXPECT_ERROR(ERROR_PATH_NOT_FOUND);
}

}  // namespace
