// The desk's MultiByteToWideChar and WideCharToMultiByte: code page 936 and
// UTF-8 with the Win32 rules for lengths, flags and errors, whatever the
// host locale says.
#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "platform/win32.h"

namespace {

std::vector<WCHAR> Wide(UINT codePage, DWORD flags, const char* text, int length = -1) {
    int needed = MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
    std::vector<WCHAR> wide(needed > 0 ? needed : 0);
    if (needed > 0) {
        EXPECT_EQ(MultiByteToWideChar(codePage, flags, text, length, wide.data(), needed), needed);
    }
    return wide;
}

TEST(MultiByteToWideChar, Gbk936CountsTheTerminatorOnlyWhenAskedTo) {
    std::setlocale(LC_ALL, "C");  // the host locale must not matter
    EXPECT_EQ(Wide(936, 0, "水a"), (std::vector<WCHAR>{0x6C34, 'a', 0}));
    EXPECT_EQ(Wide(CP_ACP, 0, "水a", 3), (std::vector<WCHAR>{0x6C34, 'a'}));
    EXPECT_EQ(Wide(936, 0, "\x80"), (std::vector<WCHAR>{0x20AC, 0}));
}

TEST(MultiByteToWideChar, InvalidInputFailsWithTheFlagAndIsReplacedWithout) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "a\x81 b", -1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC0\x80", -1, nullptr, 0), 0)
        << "overlong UTF-8";
    EXPECT_EQ(Wide(936, 0, "a\x81 b"), (std::vector<WCHAR>{'a', 0xFFFD, ' ', 'b', 0}));
    EXPECT_EQ(Wide(CP_UTF8, 0, "\xF0\x9F\x98\x80"), (std::vector<WCHAR>{0xD83D, 0xDE00, 0}));
}

TEST(MultiByteToWideChar, ParametersAndBufferSize) {
    WCHAR small[2];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", -1, small, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", 0, small, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, small, 2), 0) << "a code page the desk lacks";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(936, WC_NO_BEST_FIT_CHARS, "abc", -1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST(WideCharToMultiByte, Gbk936SubstitutesWhatItCannotHold) {
    const WCHAR text[] = {0x6C34, 0x0E01, 'x', 0xD83D, 0xDE00, 0};
    char out[16] = {};
    BOOL used = FALSE;
    int n =
        WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text, -1, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), std::string("水?x?") + '\0')
        << "a surrogate pair is one character";
    EXPECT_TRUE(used);
    n = WideCharToMultiByte(936, 0, text, 3, out, sizeof out, "水", &used);
    EXPECT_EQ(std::string(out, n), "水水x");
    const WCHAR plain[] = {0x6C34, 0x20AC, 0};
    n = WideCharToMultiByte(936, 0, plain, -1, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), std::string("水\x80", 3) + '\0');
    EXPECT_FALSE(used);
    EXPECT_EQ(WideCharToMultiByte(936, 0, plain, -1, out, 3, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(WideCharToMultiByte, Utf8HasNoDefaultCharacter) {
    const WCHAR text[] = {0x6C34, 0xD83D, 0xDE00, 0xDC00, 0};
    char out[16] = {};
    BOOL used = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    EXPECT_EQ(std::string(out, n),
              std::string("\xE6\xB0\xB4\xF0\x9F\x98\x80\xEF\xBF\xBD", 10) + '\0')
        << "a lone surrogate becomes U+FFFD";
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, out, sizeof out, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

}  // namespace
