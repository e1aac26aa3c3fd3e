// The GBK <-> UTF-8 conversions, the scratch text buffers and the name
// comparison, tested below the commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

TEST(GbkToUtf8, ConvertsCharactersAndRefusesInvalidSequences) {
    EXPECT_EQ(Converted(ToUtf8, "错误代码:0*0E000001"), std::string(u8"错误代码:0*0E000001"));
    EXPECT_EQ(Converted(ToUtf8, "（Steam）"), std::string(u8"（Steam）"));
    EXPECT_EQ(Converted(ToUtf8, "\x80"),
              std::string(u8"€"));  // code page 936's one single-byte extra
    EXPECT_EQ(Converted(ToUtf8, nullptr), "");
    EXPECT_EQ(Converted(ToUtf8, ""), "");
    EXPECT_EQ(Converted(ToUtf8, "abc\x81"), "(failed)") << "lead byte cut off by the end";
    EXPECT_EQ(Converted(ToUtf8, "\x81\x20x"), "(failed)") << "trail byte below 0x40";
    EXPECT_EQ(Converted(ToUtf8, "\xFF\xA1"), "(failed)") << "0xFF leads nothing";
}

TEST(Utf8ToGbk, FollowsTheDecoderRulesAndRefusesWhatGbkLacks) {
    EXPECT_EQ(Converted(FromUtf8, u8"怪物掉落修改"), "怪物掉落修改");
    EXPECT_EQ(Converted(FromUtf8, u8"é·"), "é·");  // two-byte sequences that GBK has
    EXPECT_EQ(Converted(FromUtf8, nullptr), "");
    EXPECT_EQ(Converted(FromUtf8, "\xE0\xB8\x81"), "(failed)") << "Thai: not in GBK";
    EXPECT_EQ(Converted(FromUtf8, "\xF0\x9F\x98\x80"), "(failed)") << "four-byte lead";
    EXPECT_EQ(Converted(FromUtf8, "a\x80"), "(failed)") << "stray continuation";
    EXPECT_EQ(Converted(FromUtf8, "\xE6\x80"), "(failed)") << "cut off";
    EXPECT_EQ(Converted(FromUtf8,
                        "\xE6\x80"
                        "A"),
              "(failed)")
        << "non-continuation last byte";
    EXPECT_EQ(Converted(FromUtf8,
                        "\xC3"
                        "A"),
              "(failed)")
        << "non-continuation second byte";
    EXPECT_EQ(Converted(FromUtf8, "\xED\xA0\x80"), "(failed)")
        << "a lone surrogate has no GBK form";
}

TEST(EngineText, AsciiPassesThroughOthersAreConverted) {
    const char* ascii = "UPDATE t SET a = 1";
    EngineText plain(ascii);
    EXPECT_EQ(plain.get(), ascii) << "ASCII needs no copy";
    EngineText gbk("水壶");
    ASSERT_TRUE(gbk.ok());
    EXPECT_STREQ(gbk.get(), u8"水壶");
    EXPECT_FALSE(EngineText("\x81").ok());
}

TEST(ScratchBuffer, ShortTextsUseThePoolLongOnesTheHeap) {
    ScratchPool pool = {};
    {
        ScratchBuffer small(pool);
        ASSERT_TRUE(small.SetText("short"));
        EXPECT_TRUE(small.InPool());
        EXPECT_EQ(small.length(), 6u) << "the length counts the zero";
        EXPECT_STREQ(small.Text(), "short");
        EXPECT_EQ(pool.inUse, 1);

        std::string big(300, 'b');
        ScratchBuffer large(pool);
        ASSERT_TRUE(large.SetText(big.c_str()));
        EXPECT_FALSE(large.InPool());
        EXPECT_EQ(large.capacity(), 301u + kScratchSlack);
        EXPECT_EQ(large.Text(), big);
        EXPECT_EQ(pool.inUse, 1);
    }
    EXPECT_EQ(pool.inUse, 0) << "blocks go back to the pool";
}

TEST(ScratchBuffer, AFullPoolFallsBackToTheHeap) {
    ScratchPool pool = {};
    ScratchBuffer buffers[kScratchBlockCount + 1] = {
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool), ScratchBuffer(pool),
        ScratchBuffer(pool)};
    for (ScratchBuffer& b : buffers) ASSERT_TRUE(b.SetText("x"));
    for (int i = 0; i < kScratchBlockCount; ++i) EXPECT_TRUE(buffers[i].InPool());
    EXPECT_FALSE(buffers[kScratchBlockCount].InPool());
    EXPECT_STREQ(buffers[kScratchBlockCount].Text(), "x");
    buffers[3].Release();
    ScratchBuffer again(pool);
    ASSERT_TRUE(again.SetText("y"));
    EXPECT_TRUE(again.InPool()) << "a freed block is taken again";
}

TEST(ScratchBuffer, GrowingOutOfAPoolBlockKeepsTheContents) {
    ScratchPool pool = {};
    ScratchBuffer b(pool);
    std::string text(200, 'a');
    ASSERT_TRUE(b.Append(text.data(), 200));
    ASSERT_TRUE(b.Append(text.data(), 200));
    EXPECT_FALSE(b.InPool());
    EXPECT_EQ(pool.inUse, 0);
    EXPECT_EQ(b.length(), 400u);
    EXPECT_EQ(std::string(b.Text(), 400), text + text);
    ASSERT_TRUE(b.Append(nullptr, 5));
    EXPECT_EQ(b.length(), 400u) << "a null source appends nothing";
}

TEST(ScratchBuffer, FormatFitsTheAreaOrFails) {
    ScratchPool pool = {};
    ScratchBuffer b(pool);
    ASSERT_TRUE(b.Format("SELECT * FROM %s ORDER BY _ROWID_ ", "skill"));
    EXPECT_STREQ(b.Text(), "SELECT * FROM skill ORDER BY _ROWID_ ");
    EXPECT_TRUE(b.Format(""));
    EXPECT_STREQ(b.Text(), "SELECT * FROM skill ORDER BY _ROWID_ ")
        << "an empty pattern changes nothing";
    std::string fits(kScratchFormatSize - 1, 'f');
    EXPECT_TRUE(b.Format("%s", fits.c_str()));
    EXPECT_EQ(std::string(b.Text()), fits);
    EXPECT_FALSE(b.Format("%s!", fits.c_str()));
    EXPECT_STREQ(b.Text(), "");
}

TEST(CompareNames, IgnoresAsciiCaseOnly) {
    EXPECT_EQ(CompareNames(":MEMORY:", ":memory:"), 0);
    EXPECT_EQ(CompareNames(":MeMoRy:", ":memory:"), 0);
    EXPECT_EQ(CompareNames(nullptr, ""), 0);
    EXPECT_LT(CompareNames("", "a"), 0);
    EXPECT_GT(CompareNames(":memory:x", ":memory:"), 0);
    EXPECT_NE(CompareNames(":memory: ", ":memory:"), 0);
    EXPECT_GT(CompareNames("\xB0\xA1", "a"), 0) << "bytes compare unsigned";
    // 0x81 0x61 and 0x81 0x41 are two GBK characters: the trail byte 0x61
    // must not be upper-cased as if it were the letter a.
    EXPECT_NE(CompareNames("\x81\x61", "\x81\x41"), 0);
    EXPECT_EQ(CompareNames("ab\x81", "AB\x81"), 0) << "a lead byte at the end";
}

}  // namespace
