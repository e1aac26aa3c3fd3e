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
    std::string text = desk::GbkToUtf8("a\xFF" "b", &invalid);
    EXPECT_TRUE(invalid);
    EXPECT_EQ(desk::JsonText("a\xFF" "b"), "\"a\\u00FFb\"");
    EXPECT_EQ(desk::JsonText("q\"\\\r\n"), "\"q\\\"\\\\\\r\\n\"");
    EXPECT_EQ(desk::JsonText("信息："), u8"\"信息：\"");
}

TEST(DeskText, ProgramPathsUseBackslashesAndGbk) {
    EXPECT_EQ(desk::HostPath("PE_Client_Data\\resources.assets"), "PE_Client_Data/resources.assets");
    EXPECT_EQ(desk::ProgramPath(u8"/games/游戏/pe.bin"), "\\games\\游戏\\pe.bin");
    EXPECT_EQ(desk::HostPath("\\games\\游戏\\pe.bin"), u8"/games/游戏/pe.bin");
    // A double-byte character whose trail byte is 0x5C is not a separator.
    EXPECT_EQ(desk::HostPath("\x95\x5C"), desk::GbkToUtf8("\x95\x5C"));
}
