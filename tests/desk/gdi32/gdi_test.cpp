// GDI as the runtime uses it: fonts keep their description, device
// contexts hand back the previous colour or mode, and MulDiv's rounding.
#include <cstring>

#include "platform/win32.h"
#include "tests/desk/gdi32/test_font.h"
#include "tests/desk/msg_recorder.h"

namespace {

TEST(GdiTest, FontsKeepTheirDescription) {
    LOGFONTA lf = Font(-16);
    lf.lfItalic = 1;
    HFONT font = CreateFontIndirectA(&lf);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
    LOGFONTA back = {};
    EXPECT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(std::memcmp(&lf, &back, sizeof lf), 0);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectA(font, sizeof back, &back), 0);  // deleted
}

TEST(GdiTest, DcColoursAndModesReturnThePreviousValue) {
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(SetTextColor(dc, RGB(1, 1, 1)), RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkColor(dc, RGB(2, 2, 2)), RGB(255, 255, 255));
    ReleaseDC(nullptr, dc);
}

TEST(GdiTest, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, -3, 4), -4);
    EXPECT_EQ(MulDiv(7, 8, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 2), -1);  // does not fit
}

}  // namespace
