// The property services on a live window and on one that is not loaded:
// clamped positions and sizes, tags, visibility, cursors, texts, fonts by
// sub-index and whole font records, and re-creation of a control whose
// change its live control cannot take.
#include "forms/property_access.h"

#include <cstring>
#include <string>

#include "forms/byte_reader.h"
#include "forms/editbox_unit.h"
#include "forms/font_property.h"
#include "forms/label_numbers.h"
#include "forms/loaded_window.h"
#include "forms/mouse_cursor.h"
#include "forms/property_kinds.h"
#include "forms/unit_object.h"
#include "live_fixture.h"
#include "runtime/memory.h"

namespace {

uint32_t Read(uint32_t unitId, int32_t property, int32_t subIndex = -1) {
    return static_cast<uint32_t>(ReadProperty(kLiveWindowId, unitId, property, subIndex));
}

void Write(uint32_t unitId, int32_t property, uint32_t value, int32_t subIndex = -1) {
    WriteProperty(kLiveWindowId, unitId, property, subIndex, value, 0);
}

std::string ReadText(uint32_t unitId, int32_t property, int32_t subIndex = -1) {
    char* text = FromWord<char>(Read(unitId, property, subIndex));
    std::string copy = text != nullptr ? text : "";
    Release(text);
    return copy;
}

UnitView StoredUnit(WindowTemplate* window, uint32_t unitId) {
    UnitView unit = {};
    EXPECT_TRUE(FindUnit(*window, unitId, &unit));
    return unit;
}

}  // namespace

TEST_F(LiveWindowTest, SizesAndPositionsAreClampedStoredAndApplied) {
    Load();
    HWND label = Control(kLiveLabelControl);
    Write(kLiveLabelId, kPropWidth, 40000);
    EXPECT_EQ(UnitWidth(StoredUnit(template_, kLiveLabelId)), 32627);
    EXPECT_EQ(Read(kLiveLabelId, kPropWidth), 32627u);
    Write(kLiveLabelId, kPropHeight, static_cast<uint32_t>(-5));
    EXPECT_EQ(UnitHeight(StoredUnit(template_, kLiveLabelId)), 0);
    Write(kLiveLabelId, kPropLeft, static_cast<uint32_t>(-40000));
    EXPECT_EQ(UnitLeft(StoredUnit(template_, kLiveLabelId)), -32627);
    Write(kLiveLabelId, kPropTop, 40000);
    EXPECT_EQ(UnitTop(StoredUnit(template_, kLiveLabelId)), 32627);

    RECT rect;
    GetWindowRect(label, &rect);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, -32627);
    EXPECT_EQ(rect.top, 32627);
    EXPECT_EQ(rect.right - rect.left, 32627);
    EXPECT_EQ(rect.bottom - rect.top, 0);

    // Moving keeps the size; sizing keeps the place.
    Write(kLiveLabelId, kPropLeft, 7);
    Write(kLiveLabelId, kPropHeight, 25);
    EXPECT_EQ(static_cast<int32_t>(Read(kLiveLabelId, kPropLeft)), 7);
    EXPECT_EQ(static_cast<int32_t>(Read(kLiveLabelId, kPropTop)), 32627);
    EXPECT_EQ(Read(kLiveLabelId, kPropWidth), 32627u);
    EXPECT_EQ(Read(kLiveLabelId, kPropHeight), 25u);
}

TEST_F(LiveWindowTest, LivePositionsComeFromThePlatformWindow) {
    Load();
    MoveWindow(Control(kLiveButtonControl), 33, 44, 55, 66, TRUE);
    EXPECT_EQ(Read(kLiveButtonId, kPropLeft), 33u);
    EXPECT_EQ(Read(kLiveButtonId, kPropTop), 44u);
    EXPECT_EQ(Read(kLiveButtonId, kPropWidth), 55u);
    EXPECT_EQ(Read(kLiveButtonId, kPropHeight), 66u);
    EXPECT_EQ(UnitLeft(StoredUnit(template_, kLiveButtonId)), 10)
        << "moves by the user are not stored";
    // The window itself: screen co-ordinates.
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    EXPECT_EQ(static_cast<LONG>(Read(kLiveWindowUnit, kPropLeft)), rect.left);
    EXPECT_EQ(static_cast<LONG>(Read(0, kPropTop)), rect.top)
        << "unit id 0 names the window itself";
}

TEST_F(LiveWindowTest, AWindowThatIsNotLoadedKeepsOnlyStoredValues) {
    StartWith(LiveWindowSource().Segment());
    template_ = FindWindowTemplate(kLiveWindowId);
    EXPECT_EQ(Read(kLiveButtonId, kPropLeft), 10u);
    Write(kLiveButtonId, kPropLeft, static_cast<uint32_t>(-40000));
    EXPECT_EQ(static_cast<int32_t>(Read(kLiveButtonId, kPropLeft)), -32627);
    Write(kLiveButtonId, kPropWidth, 40000);
    EXPECT_EQ(Read(kLiveButtonId, kPropWidth), 32627u);
    Write(kLiveButtonId, kPropVisible, 0);
    EXPECT_EQ(Read(kLiveButtonId, kPropVisible), 0u);
    EXPECT_EQ(UnitFlags(StoredUnit(template_, kLiveButtonId)), kUnitTabStop);
    EXPECT_FALSE(AnyWindowLoaded());
    // Loading uses the stored values.
    ASSERT_EQ(LoadWindow(template_, 0, 0, nullptr), 1);
    hwnd_ = FindMainHwnd();
    EXPECT_FALSE(IsWindowVisible(Control(kLiveButtonControl)));
    EXPECT_EQ(Read(kLiveButtonId, kPropWidth), 32627u);
}

TEST_F(LiveWindowTest, TagVisibleAndDisabledAreKeptInTheRecordAndShowLive) {
    Load();
    Write(kLiveLabelId, kPropTag, ToWord("一个标记"));
    EXPECT_EQ(ReadText(kLiveLabelId, kPropTag), "一个标记");
    Write(kLiveLabelId, kPropTag, 0);
    EXPECT_EQ(ReadText(kLiveLabelId, kPropTag), "") << "an absent text clears the tag";

    Write(kLiveIntBoxId, kPropVisible, 0);
    EXPECT_FALSE(IsWindowVisible(Control(kLiveIntBoxControl)));
    EXPECT_EQ(Read(kLiveIntBoxId, kPropVisible), 0u);
    Write(kLiveIntBoxId, kPropVisible, 7);
    EXPECT_TRUE(IsWindowVisible(Control(kLiveIntBoxControl)));
    EXPECT_EQ(Read(kLiveIntBoxId, kPropVisible), 1u);

    Write(kLiveButtonId, kPropDisabled, 1);
    EXPECT_FALSE(IsWindowEnabled(Control(kLiveButtonControl)));
    EXPECT_EQ(Read(kLiveButtonId, kPropDisabled), 1u);
    EXPECT_EQ(UnitFlags(StoredUnit(template_, kLiveButtonId)),
              kUnitVisible | kUnitTabStop | kUnitDisabled);
}

TEST_F(LiveWindowTest, MouseCursorsAreStoredByPlatformIdAndReadByNumber) {
    Load();
    uint8_t code[4] = {3, 0, 0, 0};  // the I-beam
    void* set = MakeByteSetBlock(code, sizeof code);
    Write(kLiveLabelId, kPropCursor, ToWord(set));
    Release(set);

    uint32_t length = 0;
    const uint8_t* stored = UnitCursorSet(StoredUnit(template_, kLiveLabelId), &length);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(LoadWord(stored), CursorPlatformId(3));
    EXPECT_NE(UnitCursorSlot(StoredUnit(template_, kLiveLabelId)), 0u)
        << "the cursor is loaded at once";

    void* read = FromWord<void>(Read(kLiveLabelId, kPropCursor));
    ASSERT_EQ(ByteSetLength(read), 4);
    EXPECT_EQ(LoadWord(ByteSetData(read)), 3u);
    Release(read);
}

TEST_F(LiveWindowTest, ALabelCaptionWrittenAbsentIsEmpty) {
    Load();
    Write(kLiveLabelId, 8, ToWord("新标题"));
    EXPECT_EQ(TextOf(Control(kLiveLabelControl)), "新标题");
    Write(kLiveLabelId, 8, 0);
    EXPECT_EQ(ReadText(kLiveLabelId, 8), "");
    EXPECT_EQ(TextOf(Control(kLiveLabelControl)), "");
}

TEST_F(LiveWindowTest, FontPartsAreWrittenOnTopOfTheCurrentFont) {
    Load();
    // No font of its own: the parts come from the default GUI font (宋体 on
    // the desk, as on a Chinese Windows; Wine's is "MS Shell Dlg").
    LOGFONTA gui = {};
    ASSERT_NE(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui), 0);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), gui.lfFaceName);
    // Its size in points at 96 DPI: 9 for the desk's 12 pixels; Wine's
    // English default is 11 pixels, 8 points.
    int guiPixels = gui.lfHeight < 0 ? -gui.lfHeight : gui.lfHeight;
    EXPECT_EQ(Read(kLiveLabelId, kLabelFont, kFontSize), static_cast<uint32_t>(MulDiv(guiPixels, 72, 96)));

    Write(kLiveLabelId, kLabelFont, ToWord("黑体"), kFontFace);
    Write(kLiveLabelId, kLabelFont, 20, kFontSize);
    Write(kLiveLabelId, kLabelFont, 1, kFontBold);
    Write(kLiveLabelId, kLabelFont, static_cast<uint32_t>(-10), kFontAngle);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), "黑体");
    EXPECT_EQ(Read(kLiveLabelId, kLabelFont, kFontSize), 20u);
    EXPECT_EQ(Read(kLiveLabelId, kLabelFont, kFontBold), 1u);
    EXPECT_EQ(Read(kLiveLabelId, kLabelFont, kFontAngle), 3590u)
        << "angles are reduced into 0 to 3599";

    // The control paints with it.
    LOGFONTA used = {};
    HGDIOBJ font =
        reinterpret_cast<HGDIOBJ>(SendMessageA(Control(kLiveLabelControl), WM_GETFONT, 0, 0));
    ASSERT_EQ(GetObjectA(font, sizeof used, &used), static_cast<int>(sizeof used));
    EXPECT_STREQ(used.lfFaceName, "黑体");
    EXPECT_EQ(used.lfWeight, 700);
    EXPECT_EQ(used.lfHeight, -27);
    EXPECT_EQ(used.lfEscapement, 3590);

    Write(kLiveLabelId, kLabelFont, ToWord(""), kFontFace);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), "宋体") << "an empty face name";
    Write(kLiveLabelId, kLabelFont, ToWord("abcdefghijklmnopqrstuvwxyz123456"), kFontFace);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), "宋体") << "a face of 32 bytes";
    Write(kLiveLabelId, kLabelFont, ToWord("abcdefghijklmnopqrstuvwxyz12345"), kFontFace);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), "abcdefghijklmnopqrstuvwxyz12345")
        << "31 bytes fit";
}

TEST_F(LiveWindowTest, WholeFontsComeAndGoAsFontRecords) {
    Load();
    FontRecord record = {450, 1, 1, 0, 1, -3, ""};
    Write(kLiveLabelId, kLabelFont, ToWord(&record), kFontWhole);
    auto* read = FromWord<FontRecord>(Read(kLiveLabelId, kLabelFont, kFontWhole));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->angle, 450);
    EXPECT_EQ(read->bold, 1);
    EXPECT_EQ(read->italic, 1);
    EXPECT_EQ(read->strikeOut, 0);
    EXPECT_EQ(read->underline, 1);
    EXPECT_EQ(read->points, 0) << "a size below 0 counts as 0";
    EXPECT_TRUE(TextIsEmpty(read->face)) << "an empty face name is kept";
    Release(read->face);
    Release(read);

    record.face = "abcdefghijklmnopqrstuvwxyz12345";  // 31 bytes
    Write(kLiveLabelId, kLabelFont, ToWord(&record), kFontWhole);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), "宋体");
    record.face = nullptr;
    Write(kLiveLabelId, kLabelFont, ToWord(&record), kFontWhole);
    EXPECT_EQ(ReadText(kLiveLabelId, kLabelFont, kFontFace), "宋体");

    // No record at all: back to the default GUI font, stored as absent.
    Write(kLiveLabelId, kLabelFont, 0, kFontWhole);
    uint32_t length = 0;
    UnitView unit = StoredUnit(template_, kLiveLabelId);
    const uint8_t* block = UnitPropertyBlock(unit, &length);
    LabelProps props;
    ASSERT_TRUE(ReadLabelProps(block, length, &props));
    EXPECT_FALSE(props.font.present);
}

TEST_F(LiveWindowTest, AChangeTheControlCannotTakeRecreatesItInPlace) {
    Load();
    Write(kLiveIntBoxId, 8, ToWord("-12"));
    HWND old = Control(kLiveIntBoxControl);
    Events().clear();
    Write(kLiveIntBoxId, kEditAlign, 2);
    HWND fresh = Control(kLiveIntBoxControl);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_TRUE(GetWindowLongA(fresh, GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(TextOf(fresh), "-12");
    EXPECT_TRUE(IsWindowVisible(fresh));
    EXPECT_TRUE(Events().empty()) << "events are held while the control is made again";
    EXPECT_EQ(GetWindow(Control(kLiveLabelControl), GW_HWNDNEXT), fresh)
        << "same place in the Z order";
    // It is still the unit: its events and properties reach it.
    Write(kLiveIntBoxId, 8, ToWord("7"));
    EXPECT_EQ(Events(), EventLog({{2, 0}}));
    EXPECT_EQ(Read(kLiveIntBoxId, kEditAlign), 2u);
}

TEST_F(LiveWindowTest, ChoiceValuesBelowZeroBecomeZeroAndLogicalsReadAsOneOnlyForOne) {
    Load();
    Write(kLiveIntBoxId, kEditAlign, static_cast<uint32_t>(-3));
    EXPECT_EQ(Read(kLiveIntBoxId, kEditAlign), 0u);
    Write(kLiveIntBoxId, kEditMultiLine, 5);  // any non-zero is true
    EXPECT_EQ(Read(kLiveIntBoxId, kEditMultiLine), 1u);
    EXPECT_TRUE(GetWindowLongA(Control(kLiveIntBoxControl), GWL_STYLE) & ES_MULTILINE);
}
