// The text and conversion commands as program code calls them: what each
// type tag turns into, how texts are cut apart, and that every result is a
// new heap block (null when empty) owned by the caller.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core_call.h"

namespace {

using Pieces = std::vector<std::string>;

// The pieces of a returned text array ("<null>" for a null element); the
// elements and the block go back to the heap.
Pieces Split(const char* text, ArgValue separator, ArgValue maximum = MakeOmitted()) {
    void* block = FromWord<void>(CallCore(kCmdSplitText, {MakeText(text), separator, maximum}).low);
    EXPECT_NE(block, nullptr) << "split text never answers null";
    if (block == nullptr) return {};
    EXPECT_EQ(ArrayDimCount(block), 1);
    Pieces pieces;
    const Word* items = static_cast<const Word*>(ArrayElements(block));
    for (uint32_t i = 0; i < ArrayElementCount(block); ++i) {
        const char* piece = FromWord<const char>(items[i]);
        EXPECT_TRUE(piece == nullptr || piece[0] != '\0') << "empty pieces are null";
        pieces.push_back(piece != nullptr ? piece : "<null>");
    }
    ReleaseArray(DT_TEXT, block);
    return pieces;
}

std::string ToText(const ArgValue& value) {
    return TakeText(CallCore(kCmdToText, {value}));
}
bool ToTextIsNull(const ArgValue& value) {
    return CallCore(kCmdToText, {value}).low == 0;
}
double ToNumber(const ArgValue& value) {
    return ValueDouble(CallCore(kCmdToNumber, {value}));
}

ArgValue Typed(uint32_t tag, Word low) {
    return ArgValue{low, 0, tag};
}

ArgValue Float(float f) {
    Word low;
    std::memcpy(&low, &f, sizeof low);
    return Typed(DT_FLOAT, low);
}

ArgValue Date(double days) {
    ArgValue value = MakeDouble(days);
    value.type = DT_DATE_TIME;
    return value;
}

TEST(CharFromCodeAndBlankByteSet, MakeOneByteTextsAndZeroedBlocks) {
    EXPECT_EQ(TakeText(CallCore(kCmdCharFromCode, {Typed(DT_BYTE, 13)})), "\r");
    EXPECT_EQ(TakeText(CallCore(kCmdCharFromCode, {Typed(DT_BYTE, 0x141)})), "A");
    EXPECT_EQ(CallCore(kCmdCharFromCode, {Typed(DT_BYTE, 0x100)}).low, 0u) << "code 0: empty";

    ArgValue result = CallCore(kCmdBlankByteSet, {MakeInt(5)});
    ASSERT_NE(result.low, 0u);
    EXPECT_EQ(ArrayDimCount(FromWord<void>(result.low)), 1);
    EXPECT_EQ(TakeByteSet(result), std::string(5, '\0'));
    EXPECT_EQ(CallCore(kCmdBlankByteSet, {MakeInt(0)}).low, 0u);
    EXPECT_EQ(CallCore(kCmdBlankByteSet, {MakeInt(-3)}).low, 0u);
}

TEST(ToNumber, ReadsTextsWithFullWidthFolding) {
    EXPECT_EQ(ToNumber(MakeText("  42abc")), 42);
    EXPECT_EQ(ToNumber(MakeText("abc")), 0);
    EXPECT_EQ(ToNumber(MakeText("1d3")), 1000);
    EXPECT_EQ(ToNumber(MakeText("１８")), 18);
    EXPECT_EQ(ToNumber(MakeText("－１２．５")), -12.5);
    EXPECT_EQ(ToNumber(MakeText("　４２元")), 42) << "full-width space";
    EXPECT_EQ(ToNumber(MakeText("１ｅ３")), 1000);
    EXPECT_EQ(ToNumber(MakeText("中1")), 0) << "other characters stay what they are";
    EXPECT_EQ(ToNumber(MakeText(nullptr)), 0);
}

TEST(ToNumber, WidensNumbersAndReadsLogicalsAndAddressesAsIntegers) {
    EXPECT_EQ(ToNumber(Typed(DT_BYTE, 0x1C8)), 200) << "unsigned lowest byte";
    EXPECT_EQ(ToNumber(Typed(DT_SHORT, 0xFFFF)), -1);
    EXPECT_EQ(ToNumber(MakeInt(-123456)), -123456);
    EXPECT_EQ(ToNumber(MakeLong(-9007199254740993LL)), -9007199254740992.0) << "nearest double";
    EXPECT_EQ(ToNumber(Float(0.1f)), static_cast<double>(0.1f));
    EXPECT_EQ(ToNumber(MakeDouble(-2.75)), -2.75);
    EXPECT_EQ(ToNumber(Typed(DT_BOOL, 0xFFFFFFFF)), -1);
    EXPECT_EQ(ToNumber(Typed(DT_SUB_PTR, 0xFFFFFFFF)), 4294967295.0);
    int32_t array[3] = {1, 1, 7};
    EXPECT_EQ(ToNumber(Typed(DT_INT | DT_ARRAY, ToWord(array))), 0);
    EXPECT_EQ(ToNumber(Date(45000.5)), 0);
    EXPECT_EQ(ToNumber(Typed(DT_SQLITEDB, 1)), 0);
}

TEST(ToText, WritesNumbersLogicalsAndTextsByType) {
    EXPECT_EQ(ToText(MakeDouble(36.0)), "36");
    EXPECT_EQ(ToText(MakeDouble(0.5)), "0.5");
    EXPECT_EQ(ToText(MakeDouble(1.0 / 3.0)), "0.3333333333333");
    EXPECT_EQ(ToText(MakeInt(-7)), "-7");
    EXPECT_EQ(ToText(Typed(DT_SHORT, 0x8000)), "-32768");
    EXPECT_EQ(ToText(Typed(DT_BYTE, 0xFFFFFFFF)), "255");
    EXPECT_EQ(ToText(MakeLong(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(ToText(Float(1234565.0f)), "1.23457e+06");
    EXPECT_EQ(ToText(Typed(DT_BOOL, 2)), "真");
    EXPECT_EQ(ToText(MakeBool(false)), "假");
    static const char kConstant[] = "SELECT 1";
    ArgValue copy = CallCore(kCmdToText, {MakeText(kConstant)});
    EXPECT_NE(ValueText(copy), kConstant) << "a new block, not the argument";
    EXPECT_EQ(TakeText(copy), "SELECT 1");
    EXPECT_TRUE(ToTextIsNull(MakeText(kEmptyText)));
    EXPECT_TRUE(ToTextIsNull(Typed(DT_SUB_PTR, 0x401000)));
    EXPECT_TRUE(ToTextIsNull(Typed(DT_WINDOW, 1)));
}

TEST(ToText, WritesTheBytesOfByteSetsAndNumericArraysUpToAZero) {
    void* bytes = MakeByteSetBlock("ab\0cd", 5);
    EXPECT_EQ(ToText(MakeByteSet(bytes)), "ab");
    Release(bytes);
    EXPECT_TRUE(ToTextIsNull(MakeByteSet(kEmptyByteSet)));
    int32_t ints[4] = {1, 2, 0x34333231, 0x00363535};
    EXPECT_EQ(ToText(Typed(DT_INT | DT_ARRAY, ToWord(ints))), "1234556");
    uint8_t noZero[11] = {1, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z'};
    EXPECT_EQ(ToText(Typed(DT_BYTE | DT_ARRAY, ToWord(noZero))), "xyz");
    int32_t twoDims[5] = {2, 1, 2, 0x41414141, 0x00424242};
    EXPECT_EQ(ToText(Typed(DT_INT | DT_ARRAY, ToWord(twoDims))), "AAAABBB") << "every element";
    Word textArray[3] = {1, 1, ToWord("no")};
    EXPECT_TRUE(ToTextIsNull(Typed(DT_TEXT | DT_ARRAY, ToWord(textArray))));
}

TEST(ToText, WritesDatesDownToTheLastPartThatIsNotZero) {
    EXPECT_EQ(ToText(Date(0)), "1899年12月30日");
    EXPECT_EQ(ToText(Date(36585)), "2000年2月29日");
    EXPECT_EQ(ToText(Date(36586)), "2000年3月1日");
    EXPECT_EQ(ToText(Date(1.5)), "1899年12月31日12时");
    EXPECT_EQ(ToText(Date(45000 + 10.5 / 24)), "2023年3月15日10时30分");
    EXPECT_EQ(ToText(Date(45000 + 3601.0 / 86400)), "2023年3月15日1时0分1秒");
    EXPECT_EQ(ToText(Date(1.0 / 3.0)), "1899年12月30日8时") << "rounded to the second";
    EXPECT_EQ(ToText(Date(-1.25)), "1899年12月29日6时") << "before day 0 too";
    EXPECT_EQ(ToText(Date(2.0 - 0.1 / 86400)), "1900年1月1日");
    EXPECT_EQ(ToText(Date(-1e9)), "100年1月1日");
    EXPECT_EQ(ToText(Date(2958465.75)), "9999年12月31日");
    EXPECT_EQ(ToText(Date(NAN)), "100年1月1日");
}

TEST(SplitText, CutsAtEverySeparatorKeepingEmptyPieces) {
    EXPECT_EQ(Split("300;2", MakeText(";")), (Pieces{"300", "2"}));
    EXPECT_EQ(Split("300", MakeText(";")), (Pieces{"300"}));
    EXPECT_EQ(Split("a,b,", MakeOmitted()), (Pieces{"a", "b"})) << "default ','";
    EXPECT_EQ(Split("a,,b", MakeText(",")), (Pieces{"a", "<null>", "b"}));
    EXPECT_EQ(Split(",a", MakeText(",")), (Pieces{"<null>", "a"}));
    EXPECT_EQ(Split("a<>b<>c", MakeText("<>")), (Pieces{"a", "b", "c"}));
    EXPECT_EQ(Split(kEmptyText, MakeText(",")), Pieces{});
    EXPECT_EQ(Split("a,b", MakeText(kEmptyText)), (Pieces{"a,b"}));
    EXPECT_EQ(Split("a,b", MakeText(nullptr)), (Pieces{"a,b"})) << "a given null is empty";
}

TEST(SplitText, NeverFindsASeparatorInsideADoubleByteCharacter) {
    // 0xB1 0x41 is one character whose trail byte is 'A'.
    EXPECT_EQ(Split("x\xB1\x41y", MakeText("A")), (Pieces{"x\xB1\x41y"}));
    EXPECT_EQ(Split("\xB1\x41"
                    "A"
                    "\xB1\x41",
                    MakeText("A")),
              (Pieces{"\xB1\x41", "\xB1\x41"}));
    EXPECT_EQ(Split("甲，乙，丙", MakeText("，")), (Pieces{"甲", "乙", "丙"}));
    EXPECT_EQ(Split("a,b\xB0", MakeText(",")), (Pieces{"a", "b\xB0"})) << "broken character";
}

TEST(SplitText, AMaximumCountDropsWhatFollows) {
    EXPECT_EQ(Split("a,b,c", MakeText(","), MakeInt(2)), (Pieces{"a", "b"}));
    EXPECT_EQ(Split("a,b,c", MakeText(","), MakeInt(3)), (Pieces{"a", "b", "c"}));
    EXPECT_EQ(Split("abc", MakeText(","), MakeInt(1)), (Pieces{"abc"}));
    EXPECT_EQ(Split("a,b,c", MakeText(","), MakeOmitted()), (Pieces{"a", "b", "c"}));
    EXPECT_EQ(Split("a,b,c", MakeText(","), MakeInt(0)), Pieces{}) << "a given 0 yields none";
    EXPECT_EQ(Split("a,b,c", MakeText(","), MakeInt(-5)), Pieces{});
}

}  // namespace
