// Input modes: which typed characters pass, and what the content becomes
// when the edit box loses the focus; and the leading-integer reading behind
// the integer modes.
#include "forms/edit_input.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "forms/leading_integer.h"

TEST(InputModeKeys, NumericModesTakeOnlyTheirCharacters) {
    for (int mode : {3, 6, 7, 8}) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(InputModeAccepts(mode, '-'));
        EXPECT_TRUE(InputModeAccepts(mode, '0'));
        EXPECT_TRUE(InputModeAccepts(mode, '9'));
        EXPECT_FALSE(InputModeAccepts(mode, '.'));
        EXPECT_FALSE(InputModeAccepts(mode, 'a'));
        EXPECT_FALSE(InputModeAccepts(mode, '+'));
        EXPECT_FALSE(InputModeAccepts(mode, ' '));
        EXPECT_FALSE(InputModeAccepts(mode, 0xB9));  // lead byte of a Chinese character
    }
    EXPECT_FALSE(InputModeAccepts(5, '-'));
    EXPECT_TRUE(InputModeAccepts(5, '7'));
    for (int mode : {4, 9, 10}) {
        EXPECT_TRUE(InputModeAccepts(mode, '.'));
        EXPECT_TRUE(InputModeAccepts(mode, '-'));
        EXPECT_FALSE(InputModeAccepts(mode, 'e'));
    }
}

TEST(InputModeKeys, ControlCharactersAlwaysPassAndTextModesTakeEverything) {
    for (int mode = 0; mode <= 11; ++mode) {
        EXPECT_TRUE(InputModeAccepts(mode, '\b')) << mode;
        EXPECT_TRUE(InputModeAccepts(mode, 0x01)) << mode;  // Ctrl+A and friends
    }
    for (int mode : {0, 1, 2, 11}) {
        EXPECT_TRUE(InputModeAccepts(mode, 'x')) << mode;
        EXPECT_TRUE(InputModeAccepts(mode, 0xB9)) << mode;
    }
}

TEST(InputModeNormalising, Mode7ClampsTo32BitsAndEmptiesZero) {
    EXPECT_EQ(NormaliseInput(7, "0000"), "");
    EXPECT_EQ(NormaliseInput(7, "99999999999"), "2147483647");
    EXPECT_EQ(NormaliseInput(7, "-99999999999"), "-2147483648");
    EXPECT_EQ(NormaliseInput(7, "2147483647"), "2147483647");
    EXPECT_EQ(NormaliseInput(7, "007"), "7");
    EXPECT_EQ(NormaliseInput(7, "12-3"), "12");
    EXPECT_EQ(NormaliseInput(7, "-"), "");
    EXPECT_EQ(NormaliseInput(7, ""), "");
    EXPECT_EQ(NormaliseInput(7, "  -42abc"), "-42");
    EXPECT_EQ(NormaliseInput(7, "abc5"), "");
}

TEST(InputModeNormalising, OtherIntegerModesClampToTheirRanges) {
    EXPECT_EQ(NormaliseInput(5, "300"), "255");
    EXPECT_EQ(NormaliseInput(5, "-4"), "");
    EXPECT_EQ(NormaliseInput(5, "17"), "17");
    EXPECT_EQ(NormaliseInput(6, "40000"), "32767");
    EXPECT_EQ(NormaliseInput(6, "-40000"), "-32768");
    EXPECT_EQ(NormaliseInput(8, "99999999999"), "99999999999");
    EXPECT_EQ(NormaliseInput(8, "-9223372036854775808"), "-9223372036854775808");
    // Beyond the 64-bit range the reading saturates, as the C library's does.
    EXPECT_EQ(NormaliseInput(8, "123456789012345678901234"), "9223372036854775807");
    EXPECT_EQ(NormaliseInput(8, "-123456789012345678901234"), "-9223372036854775808");
}

TEST(InputModeNormalising, FloatingPointModesUseTheRuntimesNumberRules) {
    EXPECT_EQ(NormaliseInput(10, "1.5d2"), "150");
    EXPECT_EQ(NormaliseInput(10, "-0.25"), "-0.25");
    EXPECT_EQ(NormaliseInput(10, "0.0"), "");
    EXPECT_EQ(NormaliseInput(10, "0x10"), "");  // no hex: "0" then a stop
    EXPECT_EQ(NormaliseInput(10, "inf"), "");
    EXPECT_EQ(NormaliseInput(10, "3.14159265358979"), "3.14159265359");
    EXPECT_EQ(NormaliseInput(9, "3.14159265358979"), "3.14159");
    EXPECT_EQ(NormaliseInput(10, "1e300"), "1e+300");
    EXPECT_EQ(NormaliseInput(10, "2e"), "2");  // an exponent letter without digits is not read
}

TEST(InputModeNormalising, TextModesKeepTheContent) {
    for (int mode : {0, 1, 2, 3, 4}) {
        EXPECT_EQ(NormaliseInput(mode, "0000"), "0000") << mode;
        EXPECT_EQ(NormaliseInput(mode, "-1.x"), "-1.x") << mode;
    }
}

TEST(InputModeNormalising, DateTimesAreRewrittenOrEmptied) {
    EXPECT_EQ(NormaliseInput(11, "2024-03-05"), "2024年3月5日");
    EXPECT_EQ(NormaliseInput(11, "2024/3/5 8:05:09"), "2024年3月5日8时5分9秒");
    EXPECT_EQ(NormaliseInput(11, "2024年2月29日"), "2024年2月29日");
    EXPECT_EQ(NormaliseInput(11, "2023-02-29"), "");  // no such day
    EXPECT_EQ(NormaliseInput(11, "0"), "");
    EXPECT_EQ(NormaliseInput(11, "明天"), "");
}

TEST(LeadingInteger, SaturatesAndStopAtTheFirstOtherCharacter) {
    EXPECT_EQ(ReadLeadingInteger(nullptr), 0);
    EXPECT_EQ(ReadLeadingInteger("\t\n 12 34"), 12);
    EXPECT_EQ(ReadLeadingInteger("+7"), 7);
    EXPECT_EQ(ReadLeadingInteger("--7"), 0);
    EXPECT_EQ(ReadLeadingInteger("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ReadLeadingInteger("9223372036854775808"), INT64_MAX);
    EXPECT_EQ(ReadLeadingInteger("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(ReadLeadingInteger("-9223372036854775809"), INT64_MIN);
}
