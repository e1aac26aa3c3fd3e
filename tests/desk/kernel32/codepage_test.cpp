// The desk's MultiByteToWideChar and WideCharToMultiByte: code page 936 and
// UTF-8 with the Win32 rules for lengths, flags and errors, whatever the
// host locale says.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/win32.h"

namespace {

TEST(MultiByteToWideChar, Gbk936LengthsInvalidInputAndBufferSize) {
    std::setlocale(LC_ALL, "C");  // the host locale must not matter
    WCHAR wide[8] = {};
    EXPECT_EQ(MultiByteToWideChar(936, 0, "水\x80", -1, nullptr, 0), 3)
        << "the terminator counts with -1";
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "水\x80", 3, wide, 8), 2);
    EXPECT_EQ(wide[0], 0x6C34);
    EXPECT_EQ(wide[1], 0x20AC) << "0x80 is the euro sign in code page 936";

    EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "a\x81 b", -1, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    ASSERT_EQ(MultiByteToWideChar(936, 0, "a\x81 b", -1, wide, 8), 5);
    EXPECT_EQ(wide[1], 0xFFFD) << "without the flag an invalid byte is replaced";

    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 8), 0) << "a code page the desk lacks";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WideCharToMultiByte, Gbk936SubstitutesAndUtf8RefusesADefault) {
    const WCHAR text[] = {0x6C34, 0x0E01, 'x', 0xD83D, 0xDE00, 0};
    char out[16] = {};
    BOOL used = FALSE;
    int n =
        WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text, -1, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), std::string("水?x?") + '\0')
        << "a surrogate pair is one character";
    EXPECT_TRUE(used);
    n = WideCharToMultiByte(936, 0, text, 1, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), "水");
    EXPECT_FALSE(used);

    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    const WCHAR lone[] = {0x6C34, 0xDC00, 0};
    n = WideCharToMultiByte(CP_UTF8, 0, lone, -1, out, sizeof out, nullptr, nullptr);
    EXPECT_EQ(std::string(out, n), std::string("\xE6\xB0\xB4\xEF\xBF\xBD") + '\0');
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, out, sizeof out, nullptr,
                                  nullptr),
              0);
}

}  // namespace
