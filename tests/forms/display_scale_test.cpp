// Windows on a display scale above 100 %: laid out in the display's pixels
// from the 96-DPI template, read back by programs in 96-DPI units, and laid
// out again when the window moves to a display with another scale.
#include "forms/display_scale.h"

#include <cstdlib>

#include "forms/property_access.h"
#include "forms/property_kinds.h"
#include "live_fixture.h"

namespace {

uint32_t Read(uint32_t unitId, int32_t property) {
    return static_cast<uint32_t>(ReadProperty(kLiveWindowId, unitId, property, -1));
}

void Write(uint32_t unitId, int32_t property, uint32_t value) {
    WriteProperty(kLiveWindowId, unitId, property, -1, value, 0);
}

RECT InParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG FontHeight(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    if (font == nullptr || GetObjectA(font, sizeof lf, &lf) == 0) return 0;
    return lf.lfHeight;
}

// The live window with a 12-pixel font on the label.
LiveWindowSource WithLabelFont() {
    LiveWindowSource source;
    LabelProps lp;
    lp.caption = "标签";
    lp.font = MakeFontSet(-12, FW_NORMAL, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    source.label.propertyBlock = WriteLabelProps(lp);
    return source;
}

class DisplayScaleTest : public LiveWindowTest {
  protected:
    void TearDown() override {
        unsetenv("DESK_DPI");
        LiveWindowTest::TearDown();
    }
};

}  // namespace

TEST(DisplayScale, UnitsAndPixelsConvertByTheScaleAndRoundToTheNearest) {
    EXPECT_EQ(ToPixels(337, 96), 337);
    EXPECT_EQ(ToPixels(337, 144), 506);  // 505.5 rounds away from zero
    EXPECT_EQ(ToPixels(-12, 144), -18);
    EXPECT_EQ(ToPixels(222, 192), 444);
    EXPECT_EQ(ToUnits(506, 144), 337);
    EXPECT_EQ(ToUnits(444, 192), 222);
}

TEST_F(DisplayScaleTest, AtOneHundredFiftyPercentEverythingIsLaidOutInTheDisplaysPixels) {
    setenv("DESK_DPI", "144", 1);
    Load(WithLabelFont());

    RECT window;
    GetWindowRect(hwnd_, &window);
    EXPECT_EQ(window.right - window.left, 450);
    EXPECT_EQ(window.bottom - window.top, 300);
    // Centred at its scaled size.
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 450) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);

    RECT button = InParent(Control(kLiveButtonControl));
    EXPECT_EQ(button.left, 15);
    EXPECT_EQ(button.top, 195);
    EXPECT_EQ(button.right - button.left, 180);
    EXPECT_EQ(button.bottom - button.top, 45);
    EXPECT_EQ(FontHeight(Control(kLiveLabelControl)), -18);

    // The program reads and writes 96-DPI units.
    EXPECT_EQ(Read(kLiveButtonId, kPropLeft), 10u);
    EXPECT_EQ(Read(kLiveButtonId, kPropWidth), 120u);
    EXPECT_EQ(Read(kLiveWindowUnit, kPropHeight), 200u);
    Write(kLiveButtonId, kPropTop, 100);
    EXPECT_EQ(InParent(Control(kLiveButtonControl)).top, 150);
    EXPECT_EQ(Read(kLiveButtonId, kPropTop), 100u);
}

TEST_F(DisplayScaleTest, AMoveToADisplayWithAnotherScaleLaysTheWindowOutAgain) {
    Load(WithLabelFont());
    EXPECT_EQ(FontHeight(Control(kLiveLabelControl)), -12);
    Write(kLiveButtonId, kPropLeft, 40);  // a program's move is kept through the change

    RECT suggested = {100, 50, 100 + 600, 50 + 400};
    SendMessageA(hwnd_, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));

    RECT window;
    GetWindowRect(hwnd_, &window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 50);
    EXPECT_EQ(window.right - window.left, 600);
    EXPECT_EQ(window.bottom - window.top, 400);
    RECT button = InParent(Control(kLiveButtonControl));
    EXPECT_EQ(button.left, 80);
    EXPECT_EQ(button.top, 260);
    EXPECT_EQ(button.right - button.left, 240);
    EXPECT_EQ(FontHeight(Control(kLiveLabelControl)), -24);
    EXPECT_EQ(Read(kLiveButtonId, kPropLeft), 40u);
    EXPECT_EQ(Read(kLiveButtonId, kPropWidth), 120u);

    // And back: the same units, the 96-DPI pixels again.
    suggested = RECT{100, 50, 100 + 300, 50 + 200};
    SendMessageA(hwnd_, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    button = InParent(Control(kLiveButtonControl));
    EXPECT_EQ(button.left, 40);
    EXPECT_EQ(button.right - button.left, 120);
    EXPECT_EQ(FontHeight(Control(kLiveLabelControl)), -12);
}
