// desk-only: the desk's conversions between the program and its POSIX host and transcript
// The desk's GBK conversions: paths handed between the program and the
// host, and texts written to the transcript.
#include <gtest/gtest.h>

#include "platform/desk/kernel32/text.h"

TEST(DeskText, GbkAndUtf8RoundTrip) {
    std::string gbk;
    ASSERT_TRUE(desk::Utf8ToGbk(u8"错误代码", &gbk));
    EXPECT_EQ(gbk, "错误代码");  // this literal is GBK in the program
    EXPECT_EQ(desk::GbkToUtf8(gbk), u8"错误代码");
    EXPECT_FALSE(desk::Utf8ToGbk(u8"\u0E01", &gbk)) << "Thai has no GBK form";
}

TEST(DeskText, InvalidGbkBytesStayVisibleInTheTranscript) {
    bool invalid = false;
    EXPECT_EQ(desk::GbkToUtf8("a\x81", &invalid), u8"a\u0081");
    EXPECT_TRUE(invalid) << "a lead byte at the end";
    EXPECT_EQ(desk::JsonText("a\x81"), "\"a\\u0081\"");
    EXPECT_EQ(desk::JsonText("\xA2\xAB"), "\"\\u00A2\\u00AB\"") << "a pair with no character";
    EXPECT_EQ(desk::JsonText("q\"\\\r\n"), "\"q\\\"\\\\\\r\\n\"");
    EXPECT_EQ(desk::JsonText("信息："), u8"\"信息：\"");
}

// 0x80, 0xFF and the user-defined areas are characters of the code page,
// and a single-byte character before a double-byte one spoils neither.
TEST(DeskText, SingleByteAndUserDefinedCharactersAreWrittenAsCharacters) {
    bool invalid = true;
    EXPECT_EQ(desk::GbkToUtf8("\xFF\xAA\xA1", &invalid), u8"\uF8F5\uE000");
    EXPECT_FALSE(invalid);
    EXPECT_EQ(desk::JsonText("\x80你"), u8"\"€你\"");
    EXPECT_EQ(desk::JsonText("x\x80"), u8"\"x€\"") << "the euro sign as the last byte";
    EXPECT_EQ(desk::JsonText("\xFF\xFE\xFE"), u8"\"\uF8F5\uE4C5\"");
    std::string gbk;
    ASSERT_TRUE(desk::Utf8ToGbk(u8"\uE765€", &gbk));
    EXPECT_EQ(gbk, "\xA7\xA0\x80");
    EXPECT_FALSE(desk::Utf8ToGbk("\xC0\xAF", &gbk)) << "an overlong slash";
}

TEST(DeskText, ProgramPathsUseBackslashesAndGbk) {
    EXPECT_EQ(desk::HostPath("PE_Client_Data\\resources.assets"), "PE_Client_Data/resources.assets");
    EXPECT_EQ(desk::ProgramPath(u8"/games/游戏/pe.bin"), "\\games\\游戏\\pe.bin");
    EXPECT_EQ(desk::HostPath("\\games\\游戏\\pe.bin"), u8"/games/游戏/pe.bin");
    // A double-byte character whose trail byte is 0x5C is not a separator.
    EXPECT_EQ(desk::HostPath("\x95\x5C"), desk::GbkToUtf8("\x95\x5C"));
}
