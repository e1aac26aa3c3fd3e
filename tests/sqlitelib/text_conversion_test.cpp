// The GBK <-> UTF-8 conversions, the scratch text buffers and the name
// comparison, tested below the commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "sqlitelib/codepage.h"
#include "sqlitelib/scratch_buffer.h"

namespace {

using namespace sqlitelib;

// Converts and frees; "(failed)" for a refused text.
std::string Converted(char* (*convert)(const char*), const char* text) {
    char* result = convert(text);
    if (result == nullptr) return "(failed)";
    std::string copy = result;
    std::free(result);
    return copy;
}

TEST(TextConversion, GbkToUtf8RefusesInvalidSequences) {
    EXPECT_EQ(Converted(ToUtf8, "错误代码:0*0E000001（Steam）"),
              std::string(u8"错误代码:0*0E000001（Steam）"));
    EXPECT_EQ(Converted(ToUtf8, nullptr), "");
    EXPECT_EQ(Converted(ToUtf8, "abc\x81"), "(failed)") << "lead byte cut off by the end";
    EXPECT_EQ(Converted(ToUtf8, "\x81\x20x"), "(failed)") << "trail byte below 0x40";
    EXPECT_EQ(Converted(ToUtf8, "\xA2\xAB"), "(failed)") << "a pair with no character";
}

// Code page 936's characters outside GBK's: the euro sign, 0xFF and the
// user-defined areas cross both ways; nothing else does, not even as '?'.
TEST(TextConversion, SingleBytesAndUserDefinedAreasCrossBothWays) {
    const char* gbk = "\x80\xFF\xAA\xA1\xFE\xFE\xA1\x40";
    const std::string utf8 = u8"€\uF8F5\uE000\uE4C5\uE4C6";
    EXPECT_EQ(Converted(ToUtf8, gbk), utf8);
    EXPECT_EQ(Converted(FromUtf8, utf8.c_str()), gbk);
    EXPECT_EQ(Converted(FromUtf8, u8"\u30FB"), "(failed)") << "no look-alike for a missing character";
    EXPECT_EQ(Converted(FromUtf8, u8"a\uE766"), "(failed)") << "past the last user-defined unit";
}

TEST(TextConversion, Utf8ToGbkFollowsTheDecoderRules) {
    EXPECT_EQ(Converted(FromUtf8, u8"怪物掉落修改é"), "怪物掉落修改é");
    EXPECT_EQ(Converted(FromUtf8, "\xE0\xB8\x81"), "(failed)") << "Thai: not in GBK";
    EXPECT_EQ(Converted(FromUtf8, "\xF0\x9F\x98\x80"), "(failed)") << "four-byte lead";
    EXPECT_EQ(Converted(FromUtf8, "a\x80"), "(failed)") << "stray continuation";
    EXPECT_EQ(Converted(FromUtf8, "\xE6\x80"), "(failed)") << "cut off";
    EXPECT_EQ(Converted(FromUtf8,
                        "\xE6\x80"
                        "A"),
              "(failed)")
        << "non-continuation last byte";
    EXPECT_EQ(Converted(FromUtf8, "\xED\xA0\x80"), "(failed)")
        << "a lone surrogate has no GBK form";
    // Overlong forms are refused like everywhere else, even where the value
    // would be a GBK character.
    EXPECT_EQ(Converted(FromUtf8, "\xC0\xAF"), "(failed)") << "overlong slash";
    EXPECT_EQ(Converted(FromUtf8, "x\xC1\x81"), "(failed)") << "overlong A";
    EXPECT_EQ(Converted(FromUtf8, "\xE0\x80\xAF"), "(failed)") << "three-byte overlong slash";
    EXPECT_EQ(Converted(FromUtf8, "\xE0\x81\x81"), "(failed)") << "three-byte overlong A";
}

TEST(ScratchBuffer, PoolBlocksForShortTextsHeapForLongOnesAndAFullPool) {
    ScratchPool pool = {};
    std::vector<std::unique_ptr<ScratchBuffer>> buffers;
    for (int i = 0; i <= kScratchBlockCount; ++i) {
        buffers.push_back(std::make_unique<ScratchBuffer>(pool));
        ASSERT_TRUE(buffers.back()->SetText("x"));
        EXPECT_EQ(buffers.back()->length(), 2u) << "the length counts the zero";
        EXPECT_EQ(buffers.back()->InPool(), i < kScratchBlockCount) << i;
    }
    EXPECT_STREQ(buffers.back()->Text(), "x");
    buffers.clear();
    EXPECT_EQ(pool.inUse, 0) << "blocks go back to the pool";

    // Growing out of a block moves the contents to the heap and frees it.
    ScratchBuffer b(pool);
    std::string text(200, 'a');
    ASSERT_TRUE(b.Append(text.data(), 200));
    EXPECT_TRUE(b.InPool());
    ASSERT_TRUE(b.Append(text.data(), 200));
    EXPECT_FALSE(b.InPool());
    EXPECT_EQ(pool.inUse, 0);
    EXPECT_EQ(b.capacity(), 400u + kScratchSlack);
    EXPECT_EQ(std::string(b.Text(), 400), text + text);
}

TEST(ScratchBuffer, FormatFitsTheAreaOrFails) {
    ScratchBuffer b;
    ASSERT_TRUE(b.Format("SELECT * FROM %s ORDER BY _ROWID_ ", "skill"));
    EXPECT_TRUE(b.Format(""));
    EXPECT_STREQ(b.Text(), "SELECT * FROM skill ORDER BY _ROWID_ ")
        << "an empty pattern changes nothing";
    std::string fits(kScratchFormatSize - 1, 'f');
    EXPECT_TRUE(b.Format("%s", fits.c_str()));
    EXPECT_EQ(std::string(b.Text()), fits);
    EXPECT_FALSE(b.Format("%s!", fits.c_str())) << "never a cut-off text";
    EXPECT_STREQ(b.Text(), "");
}

TEST(CompareNames, IgnoresTheCaseOfAsciiLettersOnly) {
    EXPECT_EQ(CompareNames(":MeMoRy:", ":memory:"), 0);
    EXPECT_EQ(CompareNames(nullptr, ""), 0);
    EXPECT_LT(CompareNames("", "a"), 0);
    EXPECT_NE(CompareNames(":memory: ", ":memory:"), 0);
    EXPECT_GT(CompareNames("\xB0\xA1", "a"), 0) << "bytes compare unsigned";
    // 0x81 0x61 and 0x81 0x41 are two GBK characters: the trail byte 0x61
    // must not be upper-cased as if it were the letter a.
    EXPECT_NE(CompareNames("\x81\x61", "\x81\x41"), 0);
    EXPECT_EQ(CompareNames("ab\x81", "AB\x81"), 0) << "a lead byte at the end";
}

}  // namespace
