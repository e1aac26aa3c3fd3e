// desk-only: counts GDI objects and reads windows through the desk's own records
// What each unit kind makes of its property block: window styles, the
// edit box's styles, minimum height and up-down control, the button's
// styles, the label's text format and what its paint draws, and a window
// whose visible flag is clear.
#include <algorithm>

#include "forms/button_unit.h"
#include "forms/editbox_unit.h"
#include "forms/label_unit.h"
#include "forms/property_access.h"
#include "forms/property_kinds.h"
#include "forms/unit_kind.h"
#include "forms/window_unit.h"
#include "live_fixture.h"
#include "platform/desk/gdi32/gdi.h"
#include "platform/desk/user32/window.h"

TEST(UnitKindStyles, WindowBorderStylesAndButtons) {
    WindowProps props;  // fixed border, control box, no caption text
    DWORD style = 0;
    DWORD ex = 0;
    WindowStyles(props, false, &style, &ex);
    EXPECT_EQ(style, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_DLGFRAME));
    EXPECT_EQ(ex, 0u);

    props.borderStyle = 3;  // resizable tool window
    props.maxButton = 1;
    style = ex = 0;
    WindowStyles(props, false, &style, &ex);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_EQ(ex, static_cast<DWORD>(WS_EX_TOOLWINDOW));

    props = WindowProps();
    props.borderStyle = 6;
    props.controlBox = 0;
    style = ex = 0;
    WindowStyles(props, true, &style, &ex);
    EXPECT_EQ(style, 0u)
        << "no caption text and no control box: no caption; embedded: no dialog frame";
    EXPECT_EQ(ex, static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME));

    props.borderStyle = 0;
    props.caption = "有标题";
    style = ex = 0;
    WindowStyles(props, false, &style, &ex);
    EXPECT_EQ(style, 0u) << "border style 0 has no frame at all";
}

TEST(UnitKindStyles, EditBoxAndButtonStyles) {
    EditBoxProps edit;
    EXPECT_EQ(EditBoxStyle(edit), static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL));
    edit.multiLine = 1;
    edit.scrollBars = 3;
    edit.hideSelection = 0;
    edit.align = 2;
    edit.inputMode = 2;
    edit.caseConversion = 2;
    DWORD style = EditBoxStyle(edit);
    for (DWORD bit : {ES_MULTILINE, ES_AUTOVSCROLL, ES_WANTRETURN, ES_AUTOHSCROLL, WS_HSCROLL,
                      WS_VSCROLL, ES_NOHIDESEL, ES_RIGHT, ES_PASSWORD, ES_UPPERCASE}) {
        EXPECT_TRUE(style & bit) << std::hex << bit;
    }
    edit.scrollBars = 2;
    EXPECT_FALSE(EditBoxStyle(edit) & ES_AUTOHSCROLL) << "only a horizontal bar scrolls sideways";

    ButtonProps button;
    EXPECT_EQ(ButtonStyle(button), static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE |
                                                      BS_PUSHBUTTON | BS_CENTER | BS_VCENTER));
    button.buttonType = 1;
    button.horizontalAlign = 0;
    button.verticalAlign = 2;
    EXPECT_EQ(ButtonStyle(button), static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE |
                                                      BS_DEFPUSHBUTTON | BS_LEFT | BS_BOTTOM));
}

TEST(UnitKindStyles, LabelTextFormat) {
    LabelProps label;
    EXPECT_EQ(LabelTextFormat(label), static_cast<UINT>(DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER));
    label.horizontalAlign = 1;
    label.verticalAlign = 2;
    EXPECT_EQ(LabelTextFormat(label),
              static_cast<UINT>(DT_NOPREFIX | DT_CENTER | DT_SINGLELINE | DT_BOTTOM));
    label.horizontalAlign = 2;
    label.wordWrap = 1;
    EXPECT_EQ(LabelTextFormat(label),
              static_cast<UINT>(DT_NOPREFIX | DT_RIGHT | DT_WORDBREAK | DT_VCENTER));
    label.wordWrap = 0;
    label.verticalAlign = 0;
    EXPECT_EQ(LabelTextFormat(label), static_cast<UINT>(DT_NOPREFIX | DT_RIGHT | DT_SINGLELINE));
}

TEST_F(LiveWindowTest, ALowSingleLineBoxGrowsToOneLineAndASpinSitsBesideIt) {
    LiveWindowSource source;
    EditBoxProps props;
    props.spin = 1;
    props.spinMin = 10;
    props.spinMax = 5;
    props.borderStyle = 3;
    source.byteBox.height = 10;
    source.byteBox.propertyBlock = WriteEditBoxProps(props);
    Load(source);

    HWND box = Control(kLiveByteBoxControl);
    RECT rect;
    GetWindowRect(box, &rect);
    // The default GUI font's full-width character is 12 high, plus two edges of 2.
    EXPECT_EQ(rect.bottom - rect.top, 12 + 2 * GetSystemMetrics(SM_CYEDGE));
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_STATICEDGE);

    HWND spin = Control(kLiveByteBoxControl + kSpinIdOffset);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)), box);
    int low = 0;
    int high = 0;
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 5);
    EXPECT_EQ(high, 10);
    EXPECT_TRUE(IsWindowVisible(spin)) << "shown with its edit box";
    EXPECT_TRUE(GetWindowLongA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE);

    EnableWindow(box, FALSE);
    EXPECT_FALSE(IsWindowEnabled(spin)) << "disabled together with the edit box";
    DestroyWindow(box);
    EXPECT_FALSE(IsWindow(spin)) << "it goes with its edit box";
}

TEST_F(LiveWindowTest, ALabelPaintsItsCaptionInItsColoursAndFont) {
    LiveWindowSource source;
    LabelProps props;
    props.caption = "着色的";
    props.textColour = 0x00FF00;
    props.backColour = 0x123456;
    props.font = MakeFontSet(-16, 700, 134, 0, 0, 0, 0, "黑体");
    source.label.propertyBlock = WriteLabelProps(props);
    Load(source);
    Pump();  // the paint

    desk::Window* label = desk::Find(Control(kLiveLabelControl));
    ASSERT_NE(label, nullptr);
    ASSERT_GT(label->paint.count, 0);
    EXPECT_EQ(label->paint.text, "着色的");
    EXPECT_EQ(label->paint.textColor, 0x00FF00u);
    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(label->paint.font, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "黑体");
    LOGBRUSH brush = {};
    ASSERT_EQ(GetObjectA(label->paint.background, sizeof brush, &brush),
              static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, 0x123456u);
}

TEST_F(LiveWindowTest, AWindowWithoutItsVisibleFlagGetsItsFirstEventsButStaysHidden) {
    LiveWindowSource source;
    source.window.flags = 0;
    Load(source);
    EXPECT_EQ(Events(), EventLog({{0, 0}, {0, 3}, {0, 4}}));
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    EXPECT_TRUE(GetWindowLongA(Control(kLiveLabelControl), GWL_STYLE) & WS_VISIBLE);

    // Shown later through its visible property, the way the loader shows it.
    Events().clear();
    WriteProperty(kLiveWindowId, kLiveWindowUnit, 5, -1, 1, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_LT(
        std::find(Events().begin(), Events().end(), std::make_pair(0, 10)) - Events().begin(),
        std::find(Events().begin(), Events().end(), std::make_pair(2, -7)) - Events().begin());
    EXPECT_EQ(GetFocus(), Control(kLiveIntBoxControl));
}

TEST_F(LiveWindowTest, FontsAndBrushesGoWithTheirWindow) {
    size_t before = desk::LiveGdiObjects();
    LiveWindowSource source;
    LabelProps props;
    props.backColour = 0x101010;
    props.font = MakeFontSet(-16, 700, 134, 0, 0, 0, 0, "黑体");
    source.label.propertyBlock = WriteLabelProps(props);
    Load(source);
    EXPECT_GT(desk::LiveGdiObjects(), before);
    // Changes make new ones and give the old ones back.
    WriteProperty(kLiveWindowId, kLiveLabelId, kLabelBackColour, -1, 0x202020, 0);
    WriteProperty(kLiveWindowId, kLiveLabelId, kLabelFont, 6, ToWord("楷体"), 0);
    WriteProperty(kLiveWindowId, kLiveIntBoxId, kEditBackColour, -1, 0x303030, 0);
    WriteProperty(kLiveWindowId, kLiveIntBoxId, kEditAlign, -1, 1, 0);  // re-created
    WriteProperty(kLiveWindowId, kLiveButtonId, kButtonFont, 5, 14, 0);
    WriteProperty(kLiveWindowId, kLiveWindowUnit, kWindowBackColour, -1, 0x404040, 0);
    DestroyWindow(hwnd_);
    EXPECT_EQ(desk::LiveGdiObjects(), before);
}

TEST(UnitKindTables, EveryKindCarriesItsPropertiesAndInterface) {
    InstallUnitKinds();
    const LibraryRecord* core = CoreLibraryRecord();
    const struct {
        int number;
        uint32_t count;
        int32_t property;  // an own property ...
        uint32_t kind;     // ... and its value kind
    } kinds[] = {{kUnitKindWindow, 32, 20, kKindIcon},
                 {kUnitKindEditBox, 29, 8, kKindText},
                 {kUnitKindLabel, 29, 15, kKindFont},
                 {kUnitKindButton, 14, 13, kKindFont}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.number);
        const DataTypeDescriptor& d = core->types[k.number - 1];
        ASSERT_EQ(d.propertyCount, k.count);
        ASSERT_NE(d.properties, nullptr);
        ASSERT_NE(d.unitInterface, nullptr);
        EXPECT_NE(d.unitInterface(kOpCreate), nullptr);
        EXPECT_NE(d.unitInterface(kOpGetProperty), nullptr);
        EXPECT_EQ(d.unitInterface(2), nullptr) << "operation 2 is no kind's";
        for (uint32_t i = 0; i < d.propertyCount; ++i) {
            EXPECT_EQ(d.properties[i].type >> 16, i < 8 ? 0xE000u : 0x8000u) << i;
        }
        EXPECT_EQ(PropertyKind(d.properties[kPropCursor]), static_cast<uint32_t>(kKindCursor));
        EXPECT_EQ(PropertyKind(d.properties[k.property]), k.kind);
    }
    EXPECT_NE(core->types[kUnitKindWindow - 1].unitInterface(kOpWindowOptions), nullptr);
    EXPECT_NE(core->types[kUnitKindEditBox - 1].unitInterface(kOpTakesEnter), nullptr);
    EXPECT_NE(core->types[kUnitKindButton - 1].unitInterface(kOpIsDefaultButton), nullptr);
    EXPECT_EQ(core->types[kUnitKindLabel - 1].unitInterface(kOpIsDefaultButton), nullptr);
}
