// Type tags, type classes and the block layouts every command relies on.
#include <gtest/gtest.h>

#include "runtime/value.h"

TEST(TypeTags, NumericTagsAreTheSixNumberKindsOnly) {
    for (uint32_t tag : {DT_BYTE, DT_SHORT, DT_INT, DT_LONG, DT_FLOAT, DT_DOUBLE}) {
        EXPECT_TRUE(IsNumericType(tag)) << std::hex << tag;
    }
    for (uint32_t tag : {DT_BOOL, DT_DATE_TIME, DT_TEXT, DT_BIN, DT_SUB_PTR, DT_NONE}) {
        EXPECT_FALSE(IsNumericType(tag)) << std::hex << tag;
    }
}

TEST(TypeTags, LibraryTypeWithLowByteOneIsNotNumeric) {
    // 0x00020001 is library 2, type 1: its lowest byte is 1 but its class is
    // a library type.
    EXPECT_FALSE(IsNumericType(DT_SQLITEDB));
    EXPECT_FALSE(IsNumericType(DT_WINDOW));
    EXPECT_EQ(TypeClass(DT_SQLITEDB), 3);
    // The third class (top bits 01) is kept apart from both.
    EXPECT_EQ(TypeClass(0x40000101), 2);
    EXPECT_FALSE(IsNumericType(0x40000101));
}

TEST(TypeTags, TypeSizeGivesWidthsOfNumbersAndZeroOtherwise) {
    EXPECT_EQ(TypeSize(DT_BYTE), 1u);
    EXPECT_EQ(TypeSize(DT_SHORT), 2u);
    EXPECT_EQ(TypeSize(DT_INT), 4u);
    EXPECT_EQ(TypeSize(DT_FLOAT), 4u);
    EXPECT_EQ(TypeSize(DT_LONG), 8u);
    EXPECT_EQ(TypeSize(DT_DOUBLE), 8u);
    EXPECT_EQ(TypeSize(DT_BOOL), 0u);
    EXPECT_EQ(TypeSize(DT_TEXT), 0u);
    EXPECT_EQ(TypeSize(DT_INT | DT_ARRAY), 0u);
}

TEST(TypeTags, ArrayFlagMarksArraysAndStripsToTheElementType) {
    EXPECT_TRUE(IsArrayType(DT_TEXT | DT_ARRAY));
    EXPECT_FALSE(IsArrayType(DT_TEXT));
    EXPECT_EQ(ElementType(DT_TEXT | DT_ARRAY), DT_TEXT);
}

TEST(ArgValues, SixtyFourBitValuesKeepTheLowWordFirst) {
    ArgValue v = MakeLong(0x0102030405060708LL);
    EXPECT_EQ(v.low, 0x05060708u);
    EXPECT_EQ(v.high, 0x01020304u);
    EXPECT_EQ(ValueLong(v), 0x0102030405060708LL);
    EXPECT_EQ(ValueDouble(MakeDouble(-2.5)), -2.5);
    static_assert(sizeof(ArgValue) == 12, "three words");
}

TEST(Blocks, EmptyByteSetsAreNullOrLengthZero) {
    EXPECT_EQ(ByteSetLength(nullptr), 0);
    EXPECT_EQ(ByteSetLength(kEmptyByteSet), 0);
    EXPECT_EQ(ArrayDimCount(kEmptyByteSet), 1);
    EXPECT_TRUE(TextIsEmpty(nullptr));
    EXPECT_TRUE(TextIsEmpty(kEmptyText));
}

TEST(Blocks, ArrayElementsFollowTheDimensionSizes) {
    const int32_t block[] = {2, 3, 2, 10, 11, 20, 21, 30, 31};
    EXPECT_EQ(ArrayElementCount(block), 6u);
    EXPECT_EQ(ArrayHeaderSize(block), 12u);
    EXPECT_EQ(static_cast<const int32_t*>(ArrayElements(block))[2], 20);
}
