// Display scales: the conversions between 96-DPI units and pixels, and a
// loaded window laid out again when it moves to a display with another
// scale.
#include "forms/display_scale.h"

#include "forms/property_access.h"
#include "forms/property_kinds.h"
#include "live_fixture.h"
#include "scaled_window.h"

namespace {

using DisplayScaleTest = LiveWindowTest;

}  // namespace

TEST(DisplayScale, UnitsAndPixelsConvertByTheScaleAndRoundToTheNearest) {
    EXPECT_EQ(ToPixels(337, 96), 337);
    EXPECT_EQ(ToPixels(337, 144), 506);  // 505.5 rounds away from zero
    EXPECT_EQ(ToPixels(-12, 144), -18);
    EXPECT_EQ(ToPixels(222, 192), 444);
    EXPECT_EQ(ToUnits(506, 144), 337);
    EXPECT_EQ(ToUnits(444, 192), 222);
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
