// desk-only: the desk's terminal front end
// The terminal front end's drawing: the main window's place and size on an
// 80 x 24 terminal, its controls' places with double-width characters, the
// focus mark and the caret, scrolled and password edit boxes, hidden
// windows, other windows around the active one, and a terminal too small.
#include "tests/desk/frontends/terminal/fixture.h"

using namespace desktest;

namespace {

class TerminalDraw : public TerminalTest {};

std::string Repeat(const char* utf8, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += utf8;
    return out;
}

}  // namespace

// 337 x 222 with a caption: a client area of 331 x 197 pixels, 56 x 17
// cells, framed 58 x 19, centred at column 11, row 2.
TEST_F(TerminalDraw, TheMainWindowIsAFramedBoxInTheMiddleWithEveryControlAtItsPlace) {
    MakeMainWindow();
    term_->Redraw();
    EXPECT_EQ(Row(2),
              std::string(11, ' ') + u8"┌ Quillmarsh--怪物掉落修改 " + Repeat(u8"─", 27) + u8"[X]┐")
        << Screen();
    EXPECT_EQ(Row(20), std::string(11, ' ') + u8"└" + Repeat(u8"─", 56) + u8"┘");
    // Labels keep their pixel places: x 18 and 176 are columns 3 and 29 of
    // the client area, and a Chinese character takes two cells.
    EXPECT_EQ(Row(4), std::string(11, ' ') + u8"│   您当前使用的游戏版本为：  0.751（Steam）" +
                          std::string(13, ' ') + u8"│");
    EXPECT_EQ(Row(7), std::string(11, ' ') +
                          u8"│   货币掉落  [   2    ] 倍     游戏中[肉]的掉落倍率" +
                          std::string(5, ' ') + u8"│");
    EXPECT_EQ(Row(11), std::string(11, ' ') +
                           u8"│   物品掉落  [   1    ] 倍     怪物特殊物品的掉落倍率   │");
    EXPECT_EQ(Row(14), std::string(11, ' ') +
                           u8"│  附加修改 水壶获取    [   5    ] 水壶获取水的数量      │");
    int col = 0;
    int row = 0;
    ASSERT_TRUE(Locate(u8"[ 确认修改 ]", &col, &row)) << Screen();
    EXPECT_EQ(col, 27);
    EXPECT_EQ(row, 17);
    ASSERT_TRUE(Locate(u8"[ 说明 ]", &col, &row));
    EXPECT_EQ(col, 44);
}

TEST_F(TerminalDraw, TheFocusedButtonIsMarkedAndTheCaretIsInTheFocusedEditBox) {
    MainWindow m = MakeMainWindow();
    SetWindowTextA(m.apply, "确认&修改");  // the access key's mark is not shown
    SendMessageA(m.meat, EM_SETSEL, 1, 1);
    desk::CaretSpot caret = term_->Redraw();
    EXPECT_TRUE(caret.shown);
    EXPECT_EQ(caret.col, 30);  // just after the "2" drawn at column 29
    EXPECT_EQ(caret.row, 7);
    int col = 0;
    int row = 0;
    EXPECT_FALSE(Locate(u8"[>确认修改<]", &col, &row));

    SetFocus(m.apply);
    caret = term_->Redraw();
    EXPECT_FALSE(caret.shown) << "no caret without a focused edit box";
    EXPECT_TRUE(Locate(u8"[>确认修改<]", &col, &row)) << Screen();
    EXPECT_TRUE(AttrAt(col + 2, row) & A_REVERSE);
    EXPECT_TRUE(Locate(u8"[ 说明 ]", &col, &row)) << "only the focused button is marked";
}

TEST_F(TerminalDraw, ATextWiderThanTheBoxScrollsToKeepTheCaretInView) {
    MainWindow m = MakeMainWindow();
    SetWindowTextA(m.meat, "1234567890");  // the limit binds typing only
    SendMessageA(m.meat, EM_SETSEL, 10, 10);
    desk::CaretSpot caret = term_->Redraw();
    EXPECT_NE(Row(7).find("[4567890 ]"), std::string::npos) << Screen();
    EXPECT_EQ(caret.col, 33);

    SendMessageA(m.meat, EM_SETSEL, 0, 2);
    caret = term_->Redraw();
    EXPECT_NE(Row(7).find("[12345678]"), std::string::npos) << Screen();
    EXPECT_TRUE(AttrAt(26, 7) & A_REVERSE) << "the selection is shown";
    EXPECT_TRUE(AttrAt(27, 7) & A_REVERSE);
    EXPECT_FALSE(AttrAt(28, 7) & A_REVERSE);
    EXPECT_EQ(caret.col, 28);
}

TEST_F(TerminalDraw, APasswordBoxShowsItsPasswordCharacterAndHiddenWindowsAreNotDrawn) {
    MainWindow m = MakeMainWindow();
    SetWindowTextA(m.item, "abc");
    SendMessageA(m.item, EM_SETPASSWORDCHAR, '*', 0);
    ShowWindow(m.version, SW_HIDE);
    HWND hidden = CreateWindowExA(0, TestClass(), "隐藏窗口", WS_CAPTION, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    term_->Redraw();
    std::string screen = Screen();
    EXPECT_NE(Row(11).find("[  ***   ]"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("abc"), std::string::npos);
    EXPECT_EQ(screen.find("0.751"), std::string::npos);
    EXPECT_EQ(screen.find(u8"隐藏窗口"), std::string::npos);
}

// The active window is centred; another keeps its pixel offset from it and
// is cut where it leaves the terminal.
TEST_F(TerminalDraw, OtherWindowsKeepTheirOffsetFromTheActiveOneAndAreCutAtTheEdge) {
    MakeMainWindow();
    // 120 px left of the main window and 48 px lower: 20 columns, 4 rows.
    HWND popup = CreateWindowExA(0, TestClass(), "提示", WS_CAPTION | WS_VISIBLE, 791 - 120,
                                 429 + 48, 120, 80, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetActiveWindow(), popup);
    term_->Redraw();
    // Client 114 x 55 pixels: 19 x 5 cells, framed 21 x 7 at column 29, row 8.
    EXPECT_EQ(Row(8).substr(0, 29), std::string(29, ' ')) << Screen();
    EXPECT_EQ(Row(8).substr(29, std::string(u8"┌ 提示 ─").size()), u8"┌ 提示 ─");
    int col = 0;
    int row = 0;
    ASSERT_TRUE(Locate(u8"┌ Quillmarsh--怪物掉落修改", &col, &row)) << Screen();
    EXPECT_EQ(col, 49);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(Row(4).find(u8"[X]"), std::string::npos) << "the main window's right part is cut";
}

TEST_F(TerminalDraw, ATerminalTooSmallSaysSoIgnoresKeysAndAResizeRedrawsTheWindow) {
    MainWindow m = MakeMainWindow();
    Resize(40, 12);
    Send("9");
    TakeAll();
    std::string screen = Screen();
    EXPECT_NE(screen.find(u8"终端太小"), std::string::npos) << screen;
    EXPECT_NE(screen.find(u8"需要 58 x 19，现在 40 x 12"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Quillmarsh"), std::string::npos);
    EXPECT_EQ(TextOf(m.meat), "2") << "a key pressed blind does nothing";

    Resize(80, 24);
    TakeAll();
    screen = Screen();
    EXPECT_EQ(screen.find(u8"终端太小"), std::string::npos);
    EXPECT_NE(screen.find(u8"┌ Quillmarsh--怪物掉落修改"), std::string::npos) << screen;
}
