// desk-only: the desk's own font, metric, object count and icon store
// The desk's gdi32 model: its default font and the metric text is measured
// by, objects counted so leaks show, and icons accepted only from image
// bits.
#include "platform/desk/gdi32/gdi.h"
#include "tests/desk/gdi32/test_font.h"
#include "tests/desk/msg_recorder.h"

namespace {

TEST(GdiTest, TheDefaultGuiFontIsSongTwelvePixels) {
    LOGFONTA lf = {};
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf),
              static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(std::string(lf.lfFaceName), std::string("宋体"));
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
    EXPECT_TRUE(DeleteObject(GetStockObject(DEFAULT_GUI_FONT)));  // stock objects survive deletion
    EXPECT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf),
              static_cast<int>(sizeof lf));
}

TEST(GdiTest, TextIsMeasuredHalfWidthForSingleBytesFullWidthForDoubleBytes) {
    HDC dc = GetDC(nullptr);
    SIZE size;
    // A fresh DC measures in the system font, 16 pixels high.
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "ab", 2, &size));
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(size.cy, 16);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(old, GetStockObject(SYSTEM_FONT));
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "ab中", 4, &size));
    EXPECT_EQ(size.cx, 6 + 6 + 12);
    EXPECT_EQ(size.cy, 12);
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "a中", 2,
                                      &size));  // a lone lead byte counts as one narrow character
    EXPECT_EQ(size.cx, 12);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 12);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 12);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmMaxCharWidth, 12);

    LOGFONTA narrow = Font(20, 5);
    HFONT font = CreateFontIndirectA(&narrow);
    SelectObject(dc, font);
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "x文", 3, &size));
    EXPECT_EQ(size.cx, 5 + 10);
    EXPECT_EQ(size.cy, 20);
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    LOGFONTA zero = Font(0);
    HFONT defaultSize = CreateFontIndirectA(&zero);
    SelectObject(dc, defaultSize);
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "x", 1, &size));
    EXPECT_EQ(size.cy, 12);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    DeleteObject(defaultSize);
}

TEST(GdiTest, LiveObjectsAreCountedUntilDeleted) {
    size_t before = desk::LiveGdiObjects();
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    LOGFONTA lf = Font(-12);
    HFONT font = CreateFontIndirectA(&lf);
    EXPECT_EQ(desk::LiveGdiObjects(), before + 2);
    LOGBRUSH lb = {};
    EXPECT_EQ(GetObjectA(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbColor, RGB(10, 20, 30));
    GetSysColorBrush(COLOR_BTNFACE);
    GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(desk::LiveGdiObjects(),
              before + 2);  // system and stock brushes are not the program's
    DeleteObject(brush);
    DeleteObject(font);
    EXPECT_EQ(desk::LiveGdiObjects(), before);
    EXPECT_FALSE(DeleteObject(brush));
}

TEST(GdiTest, DrawTextMeasuresLinesByTheDesksMetric) {
    HDC dc = GetDC(nullptr);
    RECT r = {0, 0, 0, 0};
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(DrawTextA(dc, "ab\r\n中文字", -1, &r, DT_CALCRECT), 24);
    EXPECT_EQ(r.right, 36);
    EXPECT_EQ(r.bottom, 24);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);  // released
}

TEST(GdiTest, IconsComeFromImageBitsOnly) {
    unsigned char dib[40 + 64] = {};
    dib[0] = 40;  // BITMAPINFOHEADER size
    dib[12] = 1;  // one plane
    HICON icon = CreateIconFromResourceEx(dib, sizeof dib, TRUE, 0x00030000, 16, 16, 0);
    ASSERT_NE(icon, nullptr);
    unsigned char junk[40] = {'n', 'o', 't'};
    EXPECT_EQ(CreateIconFromResourceEx(junk, sizeof junk, TRUE, 0x00030000, 16, 16, 0), nullptr);
    EXPECT_EQ(CreateIconFromResourceEx(dib, sizeof dib, TRUE, 0x00020000, 16, 16, 0), nullptr);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)),
              nullptr);  // no resources on the desk

    HWND w = desktest::MakeTopLevel();
    HICON big = LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_EQ(SendMessageA(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
    EXPECT_EQ(SendMessageA(w, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
    EXPECT_EQ(SendMessageA(w, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(big));
    DestroyWindow(w);
}

}  // namespace
