// Changing stored values of a unit in place: a text or set of another
// length moves every record behind it, and each must stay reachable and
// unchanged.
#include <gtest/gtest.h>

#include <string>

#include "forms/byte_reader.h"
#include "forms/window_template.h"
#include "tests/forms/template_fixture.h"

namespace {

// A copy of everything a unit record holds, to compare before and after.
std::vector<uint8_t> RecordBytes(WindowTemplate& window, uint32_t index) {
    UnitView unit;
    EXPECT_TRUE(GetUnit(window, index, &unit));
    return std::vector<uint8_t>(unit.record, unit.record + unit.length);
}

class StoredValueTest : public WindowTableTest {
  protected:
    void SetUp() override {
        WindowTableTest::SetUp();
        WindowSource source = TestWindow(true);
        // One more label behind the button, so that two records follow the label.
        UnitSource last = TestLabel("last");
        last.id = 0x16010020;
        AddUnit(&source, last);
        std::vector<uint8_t> segment = WriteTemplateSegment({source});
        ASSERT_TRUE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), 0x1000));
        window_ = FindWindowTemplate(kTestWindowId);
        for (uint32_t i = 0; i < window_->unitCount; ++i)
            before_.push_back(RecordBytes(*window_, i));
    }

    // Every unit but `changed` holds exactly the bytes it held before.
    void ExpectOthersIntact(uint32_t changed) {
        for (uint32_t i = 0; i < window_->unitCount; ++i) {
            if (i != changed) {
                EXPECT_EQ(RecordBytes(*window_, i), before_[i]) << "unit " << i;
            }
        }
    }

    WindowTemplate* window_ = nullptr;
    std::vector<std::vector<uint8_t>> before_;
};

TEST_F(StoredValueTest, LongerAndShorterTagsKeepLaterRecordsIntact) {
    const uint32_t label = 2;
    const std::string longTag(300, 'x');
    for (const std::string& tag : {longTag, std::string("短"), std::string(), longTag}) {
        ASSERT_TRUE(SetUnitTag(window_, label, tag.c_str()));
        UnitView unit;
        ASSERT_TRUE(GetUnit(*window_, label, &unit));
        EXPECT_EQ(UnitTag(unit), tag);
        // The fields around the tag are still where the layout says.
        EXPECT_STREQ(UnitName(unit), "标签1");
        EXPECT_EQ(UnitFlags(unit), kUnitVisible);
        uint32_t length = 0;
        const uint8_t* block = UnitPropertyBlock(unit, &length);
        LabelProps props;
        ASSERT_TRUE(ReadLabelProps(block, length, &props));
        EXPECT_EQ(props.caption, "一个标签");
        ExpectOthersIntact(label);
        EXPECT_EQ(FindUnitIndex(*window_, 0x16010020), 4);
    }
}

TEST_F(StoredValueTest, ChangingTheLastRecordMovesNothingElse) {
    ASSERT_TRUE(SetUnitTag(window_, 4, "a much longer tag than before"));
    ExpectOthersIntact(4);
    UnitView unit;
    ASSERT_TRUE(GetUnit(*window_, 4, &unit));
    EXPECT_STREQ(UnitTag(unit), "a much longer tag than before");
}

TEST_F(StoredValueTest, ANewPropertyBlockReplacesTheOldOne) {
    const uint32_t button = 3;
    ButtonProps props;
    props.caption = std::string(500, 'c');
    props.buttonType = 1;
    std::vector<uint8_t> block = WriteButtonProps(props);
    ASSERT_TRUE(
        SetUnitPropertyBlock(window_, button, block.data(), static_cast<uint32_t>(block.size())));

    UnitView unit;
    ASSERT_TRUE(GetUnit(*window_, button, &unit));
    uint32_t length = 0;
    const uint8_t* stored = UnitPropertyBlock(unit, &length);
    EXPECT_EQ(std::vector<uint8_t>(stored, stored + length), block);
    EXPECT_EQ(FindEventHandler(unit, 0), 0x1000u + 0x200);
    ExpectOthersIntact(button);

    // And back to a short one.
    block = WriteButtonProps(ButtonProps());
    ASSERT_TRUE(
        SetUnitPropertyBlock(window_, button, block.data(), static_cast<uint32_t>(block.size())));
    ExpectOthersIntact(button);
}

TEST_F(StoredValueTest, CursorSetsAndMenuCaptionsChangeLengthToo) {
    std::vector<uint8_t> cursor(40, 0xAB);
    ASSERT_TRUE(SetUnitCursorSet(window_, 2, cursor.data(), static_cast<uint32_t>(cursor.size())));
    ASSERT_TRUE(SetUnitCursorSet(window_, 2, nullptr, 0));
    UnitView unit;
    ASSERT_TRUE(GetUnit(*window_, 2, &unit));
    uint32_t length = 99;
    UnitCursorSet(unit, &length);
    EXPECT_EQ(length, 0u);
    EXPECT_STREQ(UnitTag(unit), "");
    ExpectOthersIntact(2);

    ASSERT_TRUE(SetMenuItemCaption(window_, 1, "很长的菜单项标题"));
    ASSERT_TRUE(GetUnit(*window_, 1, &unit));
    EXPECT_STREQ(MenuItemCaption(unit), "很长的菜单项标题");
    EXPECT_EQ(FindEventHandler(unit, 0), 0x1000u + 0x400);
    // Units 1 and 2 have changed; the others hold what they held.
    for (uint32_t i : {0u, 3u, 4u}) EXPECT_EQ(RecordBytes(*window_, i), before_[i]);
}

TEST_F(StoredValueTest, FixedSizeFieldsChangeInPlace) {
    UnitView unit;
    ASSERT_TRUE(GetUnit(*window_, 2, &unit));
    SetUnitRect(unit, -32627, 5, 32627, 0);
    SetUnitObjectSlot(unit, 0x12345678);
    SetUnitCursorSlot(unit, 0x9ABC);
    SetUnitFlags(unit, kUnitDisabled);
    ASSERT_TRUE(GetUnit(*window_, 2, &unit));
    EXPECT_EQ(UnitLeft(unit), -32627);
    EXPECT_EQ(UnitTop(unit), 5);
    EXPECT_EQ(UnitWidth(unit), 32627);
    EXPECT_EQ(UnitHeight(unit), 0);
    EXPECT_EQ(UnitObjectSlot(unit), 0x12345678u);
    EXPECT_EQ(UnitCursorSlot(unit), 0x9ABCu);
    EXPECT_EQ(UnitFlags(unit), kUnitDisabled);
    ExpectOthersIntact(2);
}

TEST_F(StoredValueTest, ReplacementsOutsideARecordAreRefused) {
    UnitView unit;
    ASSERT_TRUE(GetUnit(*window_, 2, &unit));
    const uint8_t bytes[4] = {1, 2, 3, 4};
    EXPECT_FALSE(ReplaceUnitBytes(window_, 2, unit.length + 1, 0, bytes, 4));
    EXPECT_FALSE(ReplaceUnitBytes(window_, 2, unit.length - 2, 3, bytes, 4));
    EXPECT_FALSE(ReplaceUnitBytes(window_, 9, 0, 0, bytes, 4));
    EXPECT_FALSE(SetUnitTag(window_, 1, "a menu item has no tag"));
    EXPECT_FALSE(SetMenuItemCaption(window_, 2, "a label is no menu item"));
    ExpectOthersIntact(99);
}

}  // namespace
