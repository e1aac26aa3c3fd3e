// What the file tests share: the access and share words they use most, an
// error-code check, and a fixture opening files in the test's own folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "scratch_folder.h"

constexpr DWORD kRead = GENERIC_READ;
constexpr DWORD kWrite = GENERIC_WRITE;
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

#define EXPECT_ERROR(code) EXPECT_EQ(GetLastError(), static_cast<DWORD>(code))

class ScratchFiles : public ::testing::Test {
  protected:
    explicit ScratchFiles(const char* folderName) : folder_(folderName) {}
    void SetUp() override { ASSERT_TRUE(folder_.Made()) << folder_.dir(); }

    std::string Path(const std::string& name) const { return folder_.Path(name); }
    HANDLE Open(const std::string& name, DWORD access, DWORD share, DWORD disposition) const {
        return CreateFileA(Path(name).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    // While someone holds `name` sharing reading and writing: another
    // sharing open goes on, one denying sharing and deletion fail.
    void ExpectOnlySharingOpensGoOn(const std::string& name) const {
        HANDLE shared = Open(name, kRead, kShareAll, OPEN_EXISTING);
        EXPECT_NE(shared, INVALID_HANDLE_VALUE);
        CloseHandle(shared);
        EXPECT_EQ(Open(name, kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(DeleteFileA(Path(name).c_str()));
        EXPECT_ERROR(ERROR_SHARING_VIOLATION);
    }

    ScratchFolder folder_;
};
