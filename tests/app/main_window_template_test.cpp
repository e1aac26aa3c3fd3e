// The main window's template segment read back unit by unit, its icon, and
// the road from the program header through InitializeProgram to the window
// table.
#include "app/main_window_template.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/dropedit_icon.h"
#include "forms/application.h"
#include "forms/button_props.h"
#include "forms/byte_reader.h"
#include "forms/editbox_props.h"
#include "forms/label_props.h"
#include "forms/startup.h"
#include "forms/unit_ids.h"
#include "forms/window_props.h"
#include "forms/window_table.h"
#include "forms/window_template.h"
#include "runtime/runtime_error.h"
#include "support/runtime_error_exit.h"

namespace {

// Arbitrary stand-ins: the routines do not exist yet.
constexpr MainWindowHandlers kHandlers = {0x1234, 0x5678, 0x9ABC};
constexpr Word kCodeBase = 0x00400000;

struct ExpectedUnit {
    uint32_t id;
    const char* name;
    Word type;
    int32_t left, top, width, height;
    const char* caption;  // or an edit box's content
    int32_t fontWeight;   // 0: no font of its own
    uint32_t textColour;
    Word handler;  // event 0's routine, 0 when none
};

const ExpectedUnit kControls[] = {
    {0x16010091, "标签9", DT_LABEL, 208, 120, 182, 32, "水壶获取水的数量", 400, 0, 0},
    {0x16010090, "标签8", DT_LABEL, 17, 121, 111, 32, "附加修改 水壶获取", 700, 0x808080, 0},
    {0x1601008D, "编辑框3", DT_EDIT_BOX, 142, 121, 56, 32, "", 0, 0, 0},
    {0x1601008C, "标签7", DT_LABEL, 176, 5, 152, 32, "非Steam", 700, 0xFF00FF, 0},
    {0x16010081, "标签5", DT_LABEL, 18, 4, 158, 32, "您当前使用的游戏版本为：", 700, 0x008000, 0},
    {0x16010078, "按钮2", DT_BUTTON, 192, 163, 48, 24, "说明", 400, 0, kCodeBase + 0x5678},
    {0x16010022, "按钮1", DT_BUTTON, 82, 163, 96, 24, "确认修改", 400, 0, kCodeBase + 0x9ABC},
    {0x1601001F, "标签3", DT_LABEL, 18, 81, 56, 32, "物品掉落", 700, 0, 0},
    {0x16010020, "编辑框2", DT_EDIT_BOX, 82, 81, 56, 32, "", 0, 0, 0},
    {0x16010021, "标签4", DT_LABEL, 146, 81, 182, 32, "倍     怪物特殊物品的掉落倍率", 400, 0, 0},
    {0x1601001E, "标签2", DT_LABEL, 146, 41, 174, 32, "倍     游戏中[肉]的掉落倍率", 400, 0, 0},
    {0x1601001D, "标签1", DT_LABEL, 18, 41, 56, 32, "货币掉落", 700, 0, 0},
    {0x1601001C, "编辑框1", DT_EDIT_BOX, 82, 41, 56, 32, "", 0, 0, 0},
};

class MainWindowTemplate : public ::testing::Test {
  protected:
    void SetUp() override {
        ReleaseWindowTable();
        segment_ = BuildMainWindowSegment(kHandlers);
        ASSERT_TRUE(
            ReadWindowTable(segment_.data(), static_cast<uint32_t>(segment_.size()), kCodeBase));
        window_ = FindWindowTemplate(kMainWindowId);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { ReleaseWindowTable(); }

    std::vector<uint8_t> segment_;
    WindowTemplate* window_ = nullptr;
};

void ExpectTemplateFont(const FontSet& font, int32_t weight) {
    ASSERT_TRUE(font.present);
    EXPECT_EQ(font.logfont.lfHeight, -12);
    EXPECT_EQ(font.logfont.lfWeight, weight);
    EXPECT_EQ(font.logfont.lfCharSet, 134);
    EXPECT_EQ(font.logfont.lfOutPrecision, 3);
    EXPECT_EQ(font.logfont.lfClipPrecision, 2);
    EXPECT_EQ(font.logfont.lfQuality, 1);
    EXPECT_EQ(font.logfont.lfPitchAndFamily, 34);
    EXPECT_STREQ(font.logfont.lfFaceName, "微软雅黑");
    EXPECT_EQ(font.logfont.lfItalic | font.logfont.lfUnderline | font.logfont.lfStrikeOut, 0);
}

void ExpectCommonDefaults(const UnitView& unit) {
    EXPECT_EQ(UnitEventSource(unit), 0u);
    EXPECT_EQ(UnitParent(unit), 0u);
    EXPECT_EQ(UnitChildCount(unit), 0u);
    EXPECT_EQ(UnitFocusOrder(unit), 0u);
    EXPECT_STREQ(UnitTag(unit), "");
    EXPECT_STREQ(UnitRemark(unit), "");
    uint32_t length = 0;
    const uint8_t* cursor = UnitCursorSet(unit, &length);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(LoadWord(cursor), 0u);
}

TEST_F(MainWindowTemplate, WindowItself) {
    EXPECT_EQ(window_->keptWords[0], 0x014564A8u);
    EXPECT_EQ(window_->keptWords[1], 0x19010002u);
    EXPECT_EQ(window_->keptTexts[0], "");
    EXPECT_EQ(window_->keptTexts[1], "");
    ASSERT_EQ(window_->unitCount, 14u);

    UnitView unit;
    ASSERT_TRUE(GetUnit(*window_, 0, &unit));
    EXPECT_EQ(unit.id, kMainWindowUnitId);
    EXPECT_EQ(UnitType(unit), DT_WINDOW);
    EXPECT_STREQ(UnitName(unit), "");
    EXPECT_EQ(UnitLeft(unit), 50);
    EXPECT_EQ(UnitTop(unit), 50);
    EXPECT_EQ(UnitWidth(unit), 337);
    EXPECT_EQ(UnitHeight(unit), 222);
    EXPECT_EQ(UnitFlags(unit), kUnitVisible);
    ExpectCommonDefaults(unit);
    ASSERT_EQ(UnitEventCount(unit), 1u);
    EXPECT_EQ(FindEventHandler(unit, 0), kCodeBase + 0x1234);

    uint32_t length = 0;
    const uint8_t* block = UnitPropertyBlock(unit, &length);
    EXPECT_EQ(LoadWord(block), 6u);
    WindowProps props;
    ASSERT_TRUE(ReadWindowProps(block, length, &props));
    EXPECT_EQ(props.caption, "Quillmarsh--怪物掉落修改");
    EXPECT_EQ(props.icon, std::vector<uint8_t>(kDropeditIcon, kDropeditIcon + kDropeditIconSize));
    // Every other field keeps its default.
    WindowProps expected;
    expected.caption = props.caption;
    expected.icon = props.icon;
    EXPECT_EQ(WriteWindowProps(props), WriteWindowProps(expected));
    EXPECT_EQ(props.borderStyle, 2);
    EXPECT_EQ(props.startPosition, 1);
    EXPECT_EQ(props.escapeCloses, 1);
    EXPECT_EQ(props.inTaskBar, 1);
}

TEST_F(MainWindowTemplate, EveryControlAsStated) {
    for (uint32_t i = 0; i < 13; ++i) {
        const ExpectedUnit& e = kControls[i];
        SCOPED_TRACE(e.name);
        UnitView unit;
        ASSERT_TRUE(GetUnit(*window_, i + 1, &unit));
        EXPECT_EQ(unit.id, e.id);
        EXPECT_EQ(FindUnitIndex(*window_, e.id), static_cast<int32_t>(i + 1));
        EXPECT_EQ(UnitType(unit), e.type);
        EXPECT_STREQ(UnitName(unit), e.name);
        EXPECT_EQ(UnitLeft(unit), e.left);
        EXPECT_EQ(UnitTop(unit), e.top);
        EXPECT_EQ(UnitWidth(unit), e.width);
        EXPECT_EQ(UnitHeight(unit), e.height);
        ExpectCommonDefaults(unit);
        EXPECT_EQ(UnitEventCount(unit), e.handler != 0 ? 1u : 0u);
        EXPECT_EQ(FindEventHandler(unit, 0), e.handler);

        uint32_t length = 0;
        const uint8_t* block = UnitPropertyBlock(unit, &length);
        if (e.type == DT_LABEL) {
            EXPECT_EQ(UnitFlags(unit), kUnitVisible);
            LabelProps props;
            ASSERT_TRUE(ReadLabelProps(block, length, &props));
            EXPECT_EQ(props.caption, e.caption);
            EXPECT_EQ(props.textColour, e.textColour);
            ExpectTemplateFont(props.font, e.fontWeight);
            LabelProps expected;  // all else as the defaults
            expected.caption = props.caption;
            expected.textColour = props.textColour;
            expected.font = props.font;
            EXPECT_EQ(WriteLabelProps(props), WriteLabelProps(expected));
        } else if (e.type == DT_EDIT_BOX) {
            EXPECT_EQ(UnitFlags(unit), kUnitVisible | kUnitTabStop);
            EditBoxProps props;
            ASSERT_TRUE(ReadEditBoxProps(block, length, &props));
            EditBoxProps expected;
            expected.borderStyle = 5;
            expected.maxLength = 5;
            expected.align = 1;
            expected.inputMode = 7;
            EXPECT_FALSE(props.font.present);
            EXPECT_EQ(WriteEditBoxProps(props), WriteEditBoxProps(expected));
        } else {
            ASSERT_EQ(e.type, DT_BUTTON);
            EXPECT_EQ(UnitFlags(unit), kUnitVisible | kUnitTabStop);
            ButtonProps props;
            ASSERT_TRUE(ReadButtonProps(block, length, &props));
            EXPECT_EQ(props.caption, e.caption);
            ExpectTemplateFont(props.font, e.fontWeight);
            ButtonProps expected;
            expected.caption = props.caption;
            expected.font = props.font;
            EXPECT_EQ(WriteButtonProps(props), WriteButtonProps(expected));
        }
    }
}

TEST_F(MainWindowTemplate, NoHandlerOffsetLeavesTheEventUnbound) {
    std::vector<uint8_t> segment = BuildMainWindowSegment({0xFFFFFFFF, 0xFFFFFFFF, 0});
    ReleaseWindowTable();
    ASSERT_TRUE(ReadWindowTable(segment.data(), static_cast<uint32_t>(segment.size()), kCodeBase));
    UnitView unit;
    ASSERT_TRUE(FindUnit(*FindWindowTemplate(kMainWindowId), kMainWindowUnitId, &unit));
    EXPECT_EQ(FindEventHandler(unit, 0), 0u);
    ASSERT_TRUE(FindUnit(*FindWindowTemplate(kMainWindowId), kApplyButtonId, &unit));
    EXPECT_EQ(FindEventHandler(unit, 0), kCodeBase);  // offset 0 is the code base itself
}

TEST(DropeditIcon, OneThirtyTwoBitPictureOfThirtyTwoPixels) {
    ASSERT_EQ(kDropeditIconSize, 4286u);
    const uint8_t* icon = kDropeditIcon;
    EXPECT_EQ(icon[0] | icon[1] << 8, 0);  // reserved
    EXPECT_EQ(icon[2] | icon[3] << 8, 1);  // an icon, not a cursor
    EXPECT_EQ(icon[4] | icon[5] << 8, 1);  // one picture
    EXPECT_EQ(icon[6], 32);
    EXPECT_EQ(icon[7], 32);
    EXPECT_EQ(icon[12] | icon[13] << 8, 32);  // bits per pixel
    EXPECT_EQ(LoadWord(icon + 14), 4286u - 22);
    EXPECT_EQ(LoadWord(icon + 18), 22u);
    const uint8_t* info = icon + 22;
    EXPECT_EQ(LoadWord(info), 40u);
    EXPECT_EQ(LoadWord(info + 4), 32u);
    EXPECT_EQ(LoadWord(info + 8), 64u);  // colour rows and mask rows
    // Something is drawn, and the corners are transparent in both the
    // alpha channel and the mask.
    const uint8_t* pixels = info + 40;
    const uint8_t* mask = pixels + 32 * 32 * 4;
    uint32_t opaque = 0;
    for (uint32_t i = 0; i < 32 * 32; ++i) opaque += pixels[4 * i + 3] == 255;
    EXPECT_GT(opaque, 200u);
    EXPECT_EQ(pixels[3], 0);          // bottom-left corner's alpha
    EXPECT_EQ(mask[0] & 0x80, 0x80);  // and its mask bit
}

// The whole real segment cut at every point: always refused, never a read
// past the cut (the sanitizer build checks that), nothing kept.
TEST(MainWindowSegment, EveryCutIsRefused) {
    ReleaseWindowTable();
    std::vector<uint8_t> segment = BuildMainWindowSegment(kHandlers);
    for (uint32_t cut = 0; cut < segment.size(); ++cut) {
        std::vector<uint8_t> shorter(segment.begin(), segment.begin() + cut);
        ASSERT_EQ(ReadWindowTable(shorter.data(), cut, kCodeBase), cut == 0) << "cut at " << cut;
        ASSERT_EQ(WindowTableCount(), 0u) << "cut at " << cut;
    }
}

// ---- from the program header to the window table --------------------------

ProgramHeader g_header;
const ProgramImage g_image = {&g_header, nullptr};

void InitializeWithSegment(const std::vector<uint8_t>& segment, uint32_t length) {
    g_header = ProgramHeader{3,      0, 0x10095, kCodeBase, nullptr, 0,      segment.data(),
                             length, 0, nullptr, 0,         nullptr, nullptr};
    g_app.image = &g_image;
    InitializeProgram();
}

int32_t ReportTemplateError(int32_t, const char* message) {
    if (message != nullptr && std::strcmp(message, "载入窗口模板数据段出错!") == 0) {
        std::fputs("template segment error reported\n", stderr);
    }
    return 1;  // handled: no box
}

TEST(MainWindowStartupDeathTest, InitializeProgramReadsTheSegmentTheHeaderNames) {
    std::vector<uint8_t> segment = BuildMainWindowSegment(kHandlers);
    EXPECT_EXIT(
        {
            InitializeWithSegment(segment, static_cast<uint32_t>(segment.size()));
            WindowTemplate* window = FindWindowTemplate(kMainWindowId);
            UnitView unit;
            bool found = window != nullptr && FindUnit(*window, kMainWindowUnitId, &unit) &&
                         FindEventHandler(unit, 0) == kCodeBase + kHandlers.checkGameFile;
            ExitProcess(found ? 7 : 8);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST(MainWindowStartupDeathTest, ATruncatedSegmentIsTheRuntimeError) {
    std::vector<uint8_t> segment = BuildMainWindowSegment(kHandlers);
    EXPECT_EXIT(
        {
            SetUnhandledErrorHook(ReportTemplateError);
            InitializeWithSegment(segment, static_cast<uint32_t>(segment.size()) - 1);
            ExitProcess(8);  // not reached: the error ends the program
        },
        ::testing::ExitedWithCode(kRuntimeErrorExitStatus), "template segment error reported");
}

}  // namespace
