// MultiByteToWideChar and WideCharToMultiByte: code page 936 and UTF-8 with
// the Win32 rules for lengths, flags and errors, whatever the host locale or
// the system's ANSI code page says (936 is always named: CP_ACP is 1252 on an
// English Windows).
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/win32.h"
#include "tests/support/system_under_test.h"

namespace {

TEST(MultiByteToWideChar, Gbk936LengthsInvalidInputAndBufferSize) {
    std::setlocale(LC_ALL, "C");  // the host locale must not matter
    WCHAR wide[8] = {};
    EXPECT_EQ(MultiByteToWideChar(936, 0, "水\x80", -1, nullptr, 0), 3)
        << "the terminator counts with -1";
    ASSERT_EQ(MultiByteToWideChar(936, 0, "水\x80", 3, wide, 8), 2);
    EXPECT_EQ(wide[0], 0x6C34);
    EXPECT_EQ(wide[1], 0x20AC) << "0x80 is the euro sign in code page 936";

    EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "a\x81 b", -1, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    ASSERT_EQ(MultiByteToWideChar(936, 0, "a\x81 b", -1, wide, 8), 4)
        << "without the flag a lead byte and the byte after it are one default character";
    EXPECT_EQ(wide[1], '?');
    EXPECT_EQ(wide[2], 'b');

    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

// What Windows' code page 936 holds beyond GBK's characters, and what the
// strict flag refuses.
TEST(MultiByteToWideChar, Gbk936SingleBytesUserDefinedAreasAndStrictRefusals) {
    WCHAR wide[8] = {};
    const struct {
        const char* bytes;
        WCHAR unit;
        const char* what;
    } defined[] = {
        {"\xFF", 0xF8F5, "0xFF alone"},
        {"\xAA\xA1", 0xE000, "the first user-defined pair"},
        {"\xA7\xA0", 0xE765, "the last user-defined pair"},
    };
    // Wine decodes 0xFF to U+F8F5 only without the strict flag, though it
    // encodes U+F8F5 as 0xFF.
    const char* why = "MB_ERR_INVALID_CHARS refuses 0xFF in code page 936";
    for (const auto& c : defined) {
        bool wineRefuses = c.unit == 0xF8F5;
        wide[0] = 0;
        EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, c.bytes, -1, wide, 8),
                  wineRefuses ? sut::Documented(2, 0, why) : 2)
            << c.what;
        EXPECT_EQ(wide[0], wineRefuses ? sut::Documented<WCHAR>(c.unit, 0, why) : c.unit) << c.what;
    }
    const char* refused[] = {"\xB0\x20", "x\xC4"};
    for (const char* text : refused) {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, wide, 8), 0) << text;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION)) << text;
    }
    // With the length given, the text's end cuts the pair even though a
    // trail byte follows in memory.
    EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "\xC4\xE3", 1, wide, 8), 0);
    ASSERT_EQ(MultiByteToWideChar(936, 0, "\xC4\xE3", 1, wide, 8), 1);
    EXPECT_EQ(wide[0], '?');
}

TEST(WideCharToMultiByte, Gbk936SubstitutesAndUtf8RefusesADefault) {
    const WCHAR text[] = {0x6C34, 0x0E01, 'x', 0xD83D, 0xDE00, 0};
    char out[16] = {};
    BOOL used = FALSE;
    int n =
        WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text, -1, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), std::string("水?x??") + '\0')
        << "each half of a surrogate pair is a unit without a GBK form";
    EXPECT_TRUE(used);
    n = WideCharToMultiByte(936, 0, text, 1, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), "水");
    EXPECT_FALSE(used);

    // For UTF-8 both default parameters must be null; Wine ignores them.
    const char* why = "WideCharToMultiByte converts to UTF-8 although lpUsedDefaultChar is given";
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, &used),
              sut::Documented(0, 12, why));
    EXPECT_EQ(GetLastError(), sut::Documented<DWORD>(ERROR_INVALID_PARAMETER, 0, why));
    const WCHAR lone[] = {0x6C34, 0xDC00, 0};
    n = WideCharToMultiByte(CP_UTF8, 0, lone, -1, out, sizeof out, nullptr, nullptr);
    EXPECT_EQ(std::string(out, n), std::string("\xE6\xB0\xB4\xEF\xBF\xBD") + '\0');
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, out, sizeof out, nullptr,
                                  nullptr),
              0);
}

TEST(WideCharToMultiByte, Gbk936PrivateUseUnitsAndTheCallersDefault) {
    const WCHAR text[] = {0xE000, 0xF8F5, 0x20AC, 0xAC00, 0};
    char out[16] = {};
    BOOL used = TRUE;
    int n =
        WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text, 3, out, sizeof out, nullptr, &used);
    EXPECT_EQ(std::string(out, n), "\xAA\xA1\xFF\x80");
    EXPECT_FALSE(used) << "user-defined units, 0xFF's and the euro sign have forms";
    n = WideCharToMultiByte(936, 0, text, -1, out, sizeof out, "\xA1\xF9", &used);
    EXPECT_EQ(std::string(out, n), std::string("\xAA\xA1\xFF\x80\xA1\xF9") + '\0')
        << "Hangul takes the caller's double-byte default";
    EXPECT_TRUE(used);
}

TEST(CodePages, SupplementaryCharactersCrossUtf8AsOnePair) {
    WCHAR wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x98\x80", 5, wide, 8), 3);
    EXPECT_EQ(wide[1], 0xD83D);
    EXPECT_EQ(wide[2], 0xDE00);
    char utf8[16] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, 3, utf8, sizeof utf8, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(utf8, 5), "a\xF0\x9F\x98\x80");
    // An overlong form is refused as a whole with the flag, and is one
    // replacement a byte without it.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC0\xAF", 2, wide, 8), 0);
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC0\xAF", 2, wide, 8), 2);
    EXPECT_EQ(wide[0], 0xFFFD);
    EXPECT_EQ(wide[1], 0xFFFD);
}

}  // namespace
