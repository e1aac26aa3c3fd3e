// desk-only: the display scale is the desk's setting (DESK_DPI); on Windows it is the user's
// A window loaded on a display at 150 %: laid out in the display's pixels
// from the 96-DPI template, read back by programs in 96-DPI units.
#include <cstdlib>

#include "forms/display_scale.h"
#include "forms/property_kinds.h"
#include "live_fixture.h"
#include "scaled_window.h"

namespace {

class DeskScaleTest : public LiveWindowTest {
  protected:
    void TearDown() override {
        unsetenv("DESK_DPI");
        LiveWindowTest::TearDown();
    }
};

}  // namespace

TEST_F(DeskScaleTest, AtOneHundredFiftyPercentEverythingIsLaidOutInTheDisplaysPixels) {
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

