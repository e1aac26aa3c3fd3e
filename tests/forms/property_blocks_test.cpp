// Property blocks of the four unit kinds: older versions read with the
// defaults of the fields they lack, newer ones refused, blocks that end
// early refused, fonts taken only up to the face name's first zero byte.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "forms/button_props.h"
#include "forms/byte_writer.h"
#include "forms/editbox_props.h"
#include "forms/label_props.h"
#include "forms/mouse_cursor.h"
#include "forms/window_props.h"

namespace {

template <typename Props>
using Reader = bool (*)(const uint8_t*, uint32_t, Props*);

template <typename Props>
bool Read(Reader<Props> read, const std::vector<uint8_t>& block, Props* props) {
    return read(block.data(), static_cast<uint32_t>(block.size()), props);
}

// Every block cut short must be refused: each field is needed.
template <typename Props>
void ExpectEveryCutRefused(Reader<Props> read, const std::vector<uint8_t>& block) {
    for (uint32_t cut = 0; cut < block.size(); ++cut) {
        std::vector<uint8_t> shorter(block.begin(), block.begin() + cut);
        Props props;
        EXPECT_FALSE(read(shorter.data(), cut, &props)) << "cut at " << cut;
    }
}

std::vector<uint8_t> WithVersion(std::vector<uint8_t> block, Word version) {
    block[0] = static_cast<uint8_t>(version);
    return block;
}

TEST(WindowProps, RoundTripAndDefaults) {
    WindowProps props;
    props.borderStyle = 1;
    props.backColour = 0x123456;
    props.inTaskBar = 0;
    props.options[0] = 7;
    props.options[1] = 8;
    props.alwaysOnTop = 1;
    props.option30 = 9;
    props.className = "MyClass";
    props.icon = {1, 2, 3};
    props.caption = "标题";
    props.helpFile = "help.hlp";
    std::vector<uint8_t> block = WriteWindowProps(props);
    WindowProps back;
    ASSERT_TRUE(Read(ReadWindowProps, block, &back));
    EXPECT_EQ(WriteWindowProps(back), block);
    EXPECT_EQ(back.className, "MyClass");
    EXPECT_EQ(back.icon, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(back.caption, "标题");
    ExpectEveryCutRefused(ReadWindowProps, block);

    WindowProps defaults;
    EXPECT_EQ(defaults.borderStyle, 2);
    EXPECT_EQ(defaults.backColour, kDefaultColour);
    EXPECT_EQ(defaults.startPosition, 1);
    EXPECT_EQ(defaults.escapeCloses, 1);
}

// A version 1 block: fourteen words, then the byte sets and texts.
std::vector<uint8_t> WindowBlockV1() {
    ByteWriter w;
    w.Word32(1);
    for (Word value : {0u, 3u, 0xFFu, 1u, 1u, 0u, 0u, 0u, 2u, 1u, 0u, 1u, 42u}) w.Word32(value);
    w.Counted("P", 1);  // picture
    w.Counted("", 0);   // icon
    w.Counted("", 0);   // music
    w.CountedText("旧窗口");
    w.CountedText("old.hlp");
    return w.Take();
}

TEST(WindowProps, VersionOneKeepsDefaultsOfLaterFields) {
    WindowProps props;
    ASSERT_TRUE(Read(ReadWindowProps, WindowBlockV1(), &props));
    EXPECT_EQ(props.borderStyle, 0);
    EXPECT_EQ(props.pictureMode, 3);
    EXPECT_EQ(props.backColour, 0xFFu);
    EXPECT_EQ(props.musicMode, 2);
    EXPECT_EQ(props.helpTopic, 42);
    EXPECT_EQ(props.inTaskBar, 1);
    EXPECT_EQ(props.alwaysOnTop, 0);
    EXPECT_EQ(props.className, "");
    EXPECT_EQ(props.picture, (std::vector<uint8_t>{'P'}));
    EXPECT_EQ(props.caption, "旧窗口");
    EXPECT_EQ(props.helpFile, "old.hlp");
    ExpectEveryCutRefused(ReadWindowProps, WindowBlockV1());
}

TEST(PropertyBlocks, VersionsAboveTheNewestAreRefused) {
    WindowProps w;
    LabelProps l;
    EditBoxProps e;
    ButtonProps b;
    EXPECT_FALSE(Read(ReadWindowProps, WithVersion(WriteWindowProps(w), 7), &w));
    EXPECT_FALSE(Read(ReadLabelProps, WithVersion(WriteLabelProps(l), 3), &l));
    EXPECT_FALSE(Read(ReadEditBoxProps, WithVersion(WriteEditBoxProps(e), 3), &e));
    EXPECT_FALSE(Read(ReadButtonProps, WithVersion(WriteButtonProps(b), 2), &b));
    std::vector<uint8_t> negative = WriteButtonProps(b);
    std::memset(negative.data(), 0xFF, 4);
    EXPECT_FALSE(Read(ReadButtonProps, negative, &b));
    // Button version 0 has the same layout as version 1.
    EXPECT_TRUE(Read(ReadButtonProps, WithVersion(WriteButtonProps(b), 0), &b));
}

TEST(LabelProps, RoundTripKeepsEveryField) {
    LabelProps props;
    props.textEffect = 2;
    props.borderStyle = 6;
    props.borderColours[1] = 0x010203;
    props.textColour = 0xFF00FF;
    props.backColours[2] = 0x0A0B0C;
    props.horizontalAlign = 2;
    props.verticalAlign = 0;
    props.wordWrap = 1;
    props.font = MakeFontSet(-12, 700, 134, 3, 2, 1, 34, "微软雅黑");
    props.caption = "文字";
    props.dataSource = "src";
    props.dataColumn = "col";
    std::vector<uint8_t> block = WriteLabelProps(props);
    LabelProps back;
    ASSERT_TRUE(Read(ReadLabelProps, block, &back));
    EXPECT_EQ(WriteLabelProps(back), block);
    EXPECT_EQ(back.borderColours[1], 0x010203u);
    EXPECT_EQ(back.backColours[2], 0x0A0B0Cu);
    EXPECT_EQ(back.dataColumn, "col");
    ASSERT_TRUE(back.font.present);
    EXPECT_EQ(back.font.logfont.lfWeight, 700);
    EXPECT_STREQ(back.font.logfont.lfFaceName, "微软雅黑");
    ExpectEveryCutRefused(ReadLabelProps, block);
}

TEST(LabelProps, VersionOneEndsExactlyAfterTheCaption) {
    LabelProps props;
    props.caption = "旧标签";
    std::vector<uint8_t> v2 = WriteLabelProps(props);
    // Version 1 lacks the two trailing counted texts (two empty ones: 8 bytes).
    std::vector<uint8_t> v1(v2.begin(), v2.end() - 8);
    v1[0] = 1;
    LabelProps back;
    ASSERT_TRUE(Read(ReadLabelProps, v1, &back));
    EXPECT_EQ(back.caption, "旧标签");
    EXPECT_EQ(back.dataSource, "");
    ExpectEveryCutRefused(ReadLabelProps, v1);
    // Read as version 2, the same bytes lack their data source texts.
    v1[0] = 2;
    EXPECT_FALSE(Read(ReadLabelProps, v1, &back));
    // Written back, it becomes a full version 2 block.
    v1[0] = 1;
    ASSERT_TRUE(Read(ReadLabelProps, v1, &back));
    EXPECT_EQ(WriteLabelProps(back), v2);
}

TEST(EditBoxProps, RoundTripAndVersionOne) {
    EditBoxProps props;
    props.borderStyle = 5;
    props.maxLength = 5;
    props.align = 1;
    props.inputMode = 7;
    props.passwordChar = 0x2022;
    props.spin = 2;
    props.spinMin = -10;
    props.spinMax = 10;
    props.selectionStart = 1;
    props.selectionLength = 2;
    props.content = "123";
    std::vector<uint8_t> block = WriteEditBoxProps(props);
    EditBoxProps back;
    ASSERT_TRUE(Read(ReadEditBoxProps, block, &back));
    EXPECT_EQ(WriteEditBoxProps(back), block);
    EXPECT_EQ(back.passwordChar, 0x2022u);
    EXPECT_EQ(back.spinMin, -10);
    EXPECT_EQ(back.content, "123");
    ExpectEveryCutRefused(ReadEditBoxProps, block);

    std::vector<uint8_t> v1(block.begin(), block.end() - 8);
    v1[0] = 1;
    ASSERT_TRUE(Read(ReadEditBoxProps, v1, &back));
    EXPECT_EQ(back.content, "123");

    EditBoxProps defaults;
    EXPECT_EQ(defaults.borderStyle, 1);
    EXPECT_EQ(defaults.backColour, 0xFFFFFFu);
    EXPECT_EQ(defaults.passwordChar, static_cast<uint32_t>('*'));
    EXPECT_EQ(defaults.spinMax, 100);
}

TEST(ButtonProps, RoundTripAndDefaults) {
    ButtonProps props;
    props.buttonType = 1;
    props.horizontalAlign = 0;
    props.picture = {9, 9};
    props.caption = "好";
    std::vector<uint8_t> block = WriteButtonProps(props);
    ButtonProps back;
    ASSERT_TRUE(Read(ReadButtonProps, block, &back));
    EXPECT_EQ(WriteButtonProps(back), block);
    EXPECT_FALSE(back.font.present);
    ExpectEveryCutRefused(ReadButtonProps, block);
    EXPECT_EQ(ButtonProps().caption, "按钮");
    EXPECT_EQ(LabelProps().caption, "标签");
}

TEST(FontSets, FaceNameCountsOnlyUpToItsFirstZero) {
    FontSet font = MakeFontSet(-12, 400, 134, 3, 2, 1, 34, "Arial");
    std::vector<uint8_t> set(kFontSetSize);
    std::memcpy(set.data(), &font.logfont, kFontSetSize);
    // Garbage after the terminator.
    uint32_t face = offsetof(LOGFONTA, lfFaceName);
    std::memcpy(set.data() + face + 6, "junk", 4);
    FontSet read = FontFromSet(set);
    ASSERT_TRUE(read.present);
    EXPECT_STREQ(read.logfont.lfFaceName, "Arial");
    for (int i = 5; i < LF_FACESIZE; ++i) EXPECT_EQ(read.logfont.lfFaceName[i], 0) << i;
    EXPECT_EQ(read.logfont.lfHeight, -12);
    EXPECT_EQ(read.logfont.lfCharSet, 134);

    // A face of 32 bytes without a terminator keeps 31 of them.
    std::memset(set.data() + face, 'A', LF_FACESIZE);
    read = FontFromSet(set);
    EXPECT_EQ(std::strlen(read.logfont.lfFaceName), 31u);

    // Any other length than 60 is the default font.
    EXPECT_FALSE(FontFromSet({}).present);
    EXPECT_FALSE(FontFromSet(std::vector<uint8_t>(59)).present);
    EXPECT_FALSE(FontFromSet(std::vector<uint8_t>(61)).present);
}

TEST(MouseCursors, CodesNumbersAndPlatformIds) {
    EXPECT_EQ(CursorSetCode(nullptr, 0), kCursorNone);
    const uint8_t shortSet[2] = {3, 0x7F};
    EXPECT_EQ(CursorSetCode(shortSet, 2), 3);
    const uint8_t fileImage[8] = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4};
    EXPECT_EQ(CursorSetCode(fileImage, 8), kCursorFileImage);

    EXPECT_EQ(CursorPlatformId(1), 32512u);   // arrow
    EXPECT_EQ(CursorPlatformId(3), 32513u);   // I-beam
    EXPECT_EQ(CursorPlatformId(14), 32649u);  // hand
    EXPECT_EQ(CursorPlatformId(15), 0u);
    for (int32_t n = 1; n <= 14; ++n) {
        EXPECT_EQ(CursorNumber(static_cast<int32_t>(CursorPlatformId(n))), n);
        EXPECT_EQ(CursorNumber(n), n);
    }
    EXPECT_EQ(CursorNumber(0), 0);
    EXPECT_EQ(CursorNumber(12345), 0);

    // Stored sets hold platform ids; reads give the number back.
    const uint8_t wait[4] = {4, 0, 0, 0};
    std::vector<uint8_t> stored = CursorSetForStoring(wait, 4);
    EXPECT_EQ(stored, (std::vector<uint8_t>{0x02, 0x7F, 0, 0}));  // 32514
    EXPECT_EQ(CursorSetForReading(stored.data(), 4), (std::vector<uint8_t>{4, 0, 0, 0}));
    // A file image passes both ways unchanged.
    EXPECT_EQ(CursorSetForStoring(fileImage, 8), std::vector<uint8_t>(fileImage, fileImage + 8));
    EXPECT_EQ(CursorSetForReading(fileImage, 8), std::vector<uint8_t>(fileImage, fileImage + 8));
}

}  // namespace
