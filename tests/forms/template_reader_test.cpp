// Reading template segments into the window table: finding windows and
// units, relocating handlers, and refusing segments that end early or lie
// about their lengths.
#include <gtest/gtest.h>

#include <cstring>

#include "forms/byte_reader.h"
#include "forms/window_template.h"
#include "tests/forms/template_fixture.h"

namespace {

constexpr Word kCodeBase = 0x00401000;

WindowTemplate* ReadOne(const std::vector<uint8_t>& segment) {
    if (!ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase))
        return nullptr;
    return FindWindowTemplate(kTestWindowId);
}

TEST_F(WindowTableTest, EmptySegmentGivesEmptyTable) {
    EXPECT_TRUE(ReadWindowTable(nullptr, 0, kCodeBase));
    EXPECT_EQ(WindowTableCount(), 0u);
    EXPECT_EQ(FindWindowTemplate(kTestWindowId), nullptr);
}

TEST_F(WindowTableTest, WindowWordsTextsAndUnitsAreKeptAsStored) {
    WindowTemplate* window = ReadOne(WriteTemplateSegment({TestWindow(false)}));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->keptWords[0], 0x11111111u);
    EXPECT_EQ(window->keptWords[1], 0x22222222u);
    EXPECT_EQ(window->keptTexts[0], "");
    EXPECT_EQ(window->keptTexts[1], "kept");
    EXPECT_EQ(window->unitCount, 3u);

    UnitView button;
    ASSERT_TRUE(GetUnit(*window, 2, &button));
    EXPECT_EQ(button.id, kTestButtonId);
    EXPECT_FALSE(button.menuItem);
    EXPECT_EQ(UnitType(button), DT_BUTTON);
    EXPECT_STREQ(UnitName(button), "按钮1");
    EXPECT_STREQ(UnitRemark(button), "");
    EXPECT_EQ(UnitLeft(button), -5);
    EXPECT_EQ(UnitTop(button), 7);
    EXPECT_EQ(UnitWidth(button), 80);
    EXPECT_EQ(UnitHeight(button), 24);
    EXPECT_EQ(UnitObjectSlot(button), 0u);
    EXPECT_EQ(UnitFlags(button), kUnitVisible | kUnitTabStop);
    EXPECT_EQ(UnitFocusOrder(button), 3u);
    ASSERT_EQ(UnitChildCount(button), 3u);
    EXPECT_EQ(UnitChild(button, 0), 0x16010099u);
    EXPECT_EQ(UnitChild(button, 1), 0u);
    EXPECT_EQ(UnitChild(button, 2), 0x1601009Au);
    uint32_t cursorLength = 0;
    const uint8_t* cursor = UnitCursorSet(button, &cursorLength);
    EXPECT_EQ(cursorLength, 4u);
    EXPECT_EQ(LoadWord(cursor), 0u);

    uint32_t blockLength = 0;
    const uint8_t* block = UnitPropertyBlock(button, &blockLength);
    ButtonProps props;
    ASSERT_TRUE(ReadButtonProps(block, blockLength, &props));
    EXPECT_EQ(props.caption, "确定");
    EXPECT_EQ(WriteButtonProps(props), std::vector<uint8_t>(block, block + blockLength));
}

TEST_F(WindowTableTest, WindowWithOnlyUnitZeroHasNoControls) {
    WindowSource source;
    source.windowId = kTestWindowId;
    AddUnit(&source, TestWindowUnit());
    WindowTemplate* window = ReadOne(WriteTemplateSegment({source}));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->unitCount, 1u);
    UnitView unit;
    EXPECT_TRUE(GetUnit(*window, 0, &unit));
    EXPECT_EQ(UnitType(unit), DT_WINDOW);
    EXPECT_FALSE(GetUnit(*window, 1, &unit));
    EXPECT_EQ(FindUnitIndex(*window, kTestLabelId), -1);
}

TEST_F(WindowTableTest, HandlersAreRelocatedByTheCodeBaseAndNoHandlerReadsAsNone) {
    WindowTemplate* window = ReadOne(WriteTemplateSegment({TestWindow(true)}));
    ASSERT_NE(window, nullptr);
    UnitView unit;
    ASSERT_TRUE(FindUnit(*window, kTestWindowUnit, &unit));
    EXPECT_EQ(FindEventHandler(unit, 0), kCodeBase + 0x100);
    EXPECT_EQ(FindEventHandler(unit, 1), 0u);  // not bound at all

    ASSERT_TRUE(FindUnit(*window, kTestButtonId, &unit));
    EXPECT_EQ(UnitEventHandler(unit, 0), 0u);  // stored 0xFFFFFFFF
    EXPECT_EQ(FindEventHandler(unit, -7), 0u);
    // The first binding of an index wins.
    EXPECT_EQ(FindEventHandler(unit, 0), kCodeBase + 0x200);

    ASSERT_TRUE(FindUnit(*window, kTestMenuItemId, &unit));
    ASSERT_TRUE(unit.menuItem);
    EXPECT_EQ(FindEventHandler(unit, 0), kCodeBase + 0x400);
    EXPECT_STREQ(MenuItemCaption(unit), "文件(&F)");
    EXPECT_EQ(MenuItemFlags(unit), kMenuChecked | kMenuDisabled);
}

TEST_F(WindowTableTest, UnitsAreFoundByIndexAndById) {
    WindowTemplate* window = ReadOne(WriteTemplateSegment({TestWindow(true)}));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FindUnitIndex(*window, kTestWindowUnit), 0);
    EXPECT_EQ(FindUnitIndex(*window, kTestMenuItemId), 1);
    EXPECT_EQ(FindUnitIndex(*window, kTestLabelId), 2);
    EXPECT_EQ(FindUnitIndex(*window, kTestButtonId), 3);
    EXPECT_EQ(FindUnitIndex(*window, 0x16010055), -1);
    // Invalid ids name nothing, even one whose bytes match a stored id's.
    EXPECT_EQ(FindUnitIndex(*window, 0), -1);
    EXPECT_EQ(FindUnitIndex(*window, 0x16000000), -1);
    EXPECT_EQ(FindUnitIndex(*window, 0x10010010), -1);
    UnitView unit;
    EXPECT_FALSE(FindUnit(*window, 0, &unit));
    EXPECT_FALSE(GetUnit(*window, 4, &unit));
}

TEST(UnitIds, ValidityAndMenuItemTest) {
    EXPECT_TRUE(IsValidId(0x52010001));
    EXPECT_TRUE(IsValidId(0x06010000));
    EXPECT_FALSE(IsValidId(0x52000000));  // no serial number
    EXPECT_FALSE(IsValidId(0x50000001));  // second nibble 0
    EXPECT_TRUE(IsMenuItemId(0x26010012));
    EXPECT_FALSE(IsMenuItemId(0x16010012));
    EXPECT_FALSE(IsMenuItemId(0x36010012));
    EXPECT_FALSE(IsMenuItemId(0x06010000));
}

TEST_F(WindowTableTest, SeveralWindowsAreFoundByTheirIds) {
    WindowSource second = TestWindow(false);
    second.windowId = 0x52010008;
    std::vector<uint8_t> segment = WriteTemplateSegment({TestWindow(true), second});
    ASSERT_TRUE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase));
    EXPECT_EQ(WindowTableCount(), 2u);
    ASSERT_NE(FindWindowTemplate(0x52010008), nullptr);
    EXPECT_EQ(FindWindowTemplate(0x52010008)->unitCount, 3u);
    EXPECT_EQ(FindWindowTemplate(kTestWindowId)->unitCount, 4u);
    EXPECT_EQ(WindowTableAt(1), FindWindowTemplate(0x52010008));
    EXPECT_EQ(FindWindowTemplate(0x52010009), nullptr);
}

// Every cut point: each shorter segment must be refused, and the table
// must stay as it was (here: empty). Under the sanitizer build this also
// proves that no read goes past the cut and nothing leaks.
TEST_F(WindowTableTest, EverySegmentCutShortIsRefused) {
    WindowSource second = TestWindow(false);
    second.windowId = 0x52010008;
    std::vector<uint8_t> segment = WriteTemplateSegment({TestWindow(true), second});
    for (uint32_t cut = 1; cut < segment.size(); ++cut) {
        // A fresh heap copy of exactly `cut` bytes, so that the sanitizer
        // catches a read of the byte behind it.
        std::vector<uint8_t> shorter(segment.begin(), segment.begin() + cut);
        ASSERT_FALSE(ReadWindowTable(shorter.data(), cut, kCodeBase)) << "cut at " << cut;
        ASSERT_EQ(WindowTableCount(), 0u) << "cut at " << cut;
    }
    EXPECT_TRUE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase));
}

TEST_F(WindowTableTest, LengthsThatPointOutsideAreRefused) {
    WindowSource source = TestWindow(false);
    source.keptTexts[1].clear();
    std::vector<uint8_t> good = WriteTemplateSegment({source});
    // Window table head: 4-byte length, id, placeholder; then two kept words,
    // two empty counted texts, the unit count and the unit table's length.
    const uint32_t unitCountAt = 12 + 8 + 8;
    const uint32_t tableAt = unitCountAt + 8;

    auto refused = [&](uint32_t at, Word value) {
        std::vector<uint8_t> bad = good;
        StoreWord(bad.data() + at, value);
        return !ReadWindowTable(bad.data(), static_cast<uint32_t>(bad.size()), kCodeBase);
    };
    EXPECT_TRUE(refused(0, 12));                         // head length not 8 per window
    EXPECT_TRUE(refused(0, 0xFFFFFFF8));                 // head longer than the segment
    EXPECT_TRUE(refused(unitCountAt, 0x40000000));       // more ids than the table holds
    EXPECT_TRUE(refused(tableAt + 12, 0x7FFFFFF0));      // unit 0's offset far outside
    EXPECT_TRUE(refused(tableAt + 12 + 4, 0xFFFFFFFC));  // an offset that would wrap
    // Unit 0's record length reaching past the table.
    EXPECT_TRUE(refused(tableAt + 24, 0x10000));
    EXPECT_EQ(WindowTableCount(), 0u);

    // A child count that would wrap when multiplied.
    source = WindowSource();
    source.windowId = kTestWindowId;
    AddUnit(&source, TestWindowUnit());
    UnitRecordLayout layout;
    std::vector<uint8_t>& record = source.records[0];
    ASSERT_TRUE(ParseUnitRecord(record.data(), static_cast<uint32_t>(record.size()), &layout));
    StoreWord(record.data() + layout.objectSlot + kSlotChildCount, 0x40000001);
    std::vector<uint8_t> segment = WriteTemplateSegment({source});
    EXPECT_FALSE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase));
}

TEST_F(WindowTableTest, ARefusedSegmentLeavesTheTableAsItWas) {
    std::vector<uint8_t> segment = WriteTemplateSegment({TestWindow(false)});
    ASSERT_TRUE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase));
    WindowTemplate* before = FindWindowTemplate(kTestWindowId);
    EXPECT_FALSE(
        ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()) - 1, kCodeBase));
    EXPECT_EQ(WindowTableCount(), 1u);
    EXPECT_EQ(FindWindowTemplate(kTestWindowId), before);
}

TEST_F(WindowTableTest, TheTableOwnsItsCopyOfTheSegment) {
    std::vector<uint8_t> segment = WriteTemplateSegment({TestWindow(false)});
    ASSERT_TRUE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase));
    std::fill(segment.begin(), segment.end(), 0xEE);
    segment.clear();
    segment.shrink_to_fit();
    UnitView label;
    ASSERT_TRUE(FindUnit(*FindWindowTemplate(kTestWindowId), kTestLabelId, &label));
    EXPECT_STREQ(UnitName(label), "标签1");
}

}  // namespace
